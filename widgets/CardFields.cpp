#include "widgets/CardFields.h"

#include "storage/Text.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace {
const QString kYes = QStringLiteral("S\u00EC");
const QString kNo = QStringLiteral("No");
} // namespace

namespace cardfields {

QString value(const QWidget* control)
{
    if (auto* e = qobject_cast<const QLineEdit*>(control))
        return e->text();
    if (auto* m = qobject_cast<const QPlainTextEdit*>(control))
        return m->toPlainText().replace(u'\n', QStringLiteral("\r\n"));
    if (auto* c = qobject_cast<const QCheckBox*>(control))
        return c->isChecked() ? kYes : kNo;
    if (auto* l = qobject_cast<const QLabel*>(control))
        return l->text();
    return {};
}

void setValue(QWidget* control, const QString& text)
{
    if (auto* e = qobject_cast<QLineEdit*>(control)) {
        e->setText(text);
        e->setCursorPosition(0);
    } else if (auto* m = qobject_cast<QPlainTextEdit*>(control)) {
        m->setPlainText(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    } else if (auto* c = qobject_cast<QCheckBox*>(control)) {
        if (text == kYes || text == kNo)
            c->setChecked(text == kYes);
    } else if (auto* l = qobject_cast<QLabel*>(control)) {
        l->setText(text);
    }
}

void clear(QWidget* control)
{
    if (auto* e = qobject_cast<QLineEdit*>(control))
        e->clear();
    else if (auto* m = qobject_cast<QPlainTextEdit*>(control))
        m->clear();
    else if (auto* c = qobject_cast<QCheckBox*>(control))
        c->setChecked(false);
    else if (auto* l = qobject_cast<QLabel*>(control))
        l->clear();
}

} // namespace cardfields
