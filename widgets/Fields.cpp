#include "widgets/Fields.h"

#include "storage/Amount.h"
#include "widgets/Keys.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

QLineEdit* cardEdit(const QString& name, int maxLength, QWidget* parent)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setMaxLength(maxLength);
    e->setProperty("card", true);
    return e;
}

QLabel* fieldLabel(const QString& text, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setProperty("field", true);
    return l;
}

QVBoxLayout* labelledField(const QString& caption, QWidget* control, QWidget* beside)
{
    auto* cell = new QVBoxLayout;
    cell->setSpacing(1);
    cell->addWidget(fieldLabel(caption, control->parentWidget()));
    if (beside) {
        auto* line = new QHBoxLayout;
        line->setSpacing(4);
        line->addWidget(control, 1);
        line->addWidget(beside);
        cell->addLayout(line);
    } else {
        cell->addWidget(control);
    }
    return cell;
}

QWidget* styledPanel(const QString& name, QWidget* parent)
{
    auto* w = new QWidget(parent);
    w->setObjectName(name);
    w->setAttribute(Qt::WA_StyledBackground);
    return w;
}

void makeAmountField(QLineEdit* e)
{
    e->setProperty("amount", true);
    filterKeys(e, [](int, const QString& t) {
        return t.size() == 1 && ((t.at(0) >= u'0' && t.at(0) <= u'9') || t.at(0) == u',');
    });
    onFocusOut(e, [e] { e->setText(amount::format(e->text())); });
}
