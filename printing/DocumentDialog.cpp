#include "printing/DocumentDialog.h"

#include "printing/PrintJob.h"
#include "storage/Text.h"
#include "widgets/Keys.h"
#include "widgets/Ui.h"

#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

QString printedValue(const QWidget* control)
{
    return text::trim(cardfields::value(control)).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

DocumentDialog::DocumentDialog(Ui& ui, const char* objectName, const char* caption, const QString& action,
                               QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), ui_(ui)
{
    setObjectName(QString::fromLatin1(objectName));
    setWindowTitle(QString::fromUtf8(caption));
    setProperty("documentDialog", true);
    setFixedSize(364, 287);
    shpSfondo = new QWidget(this);
    shpSfondo->setObjectName(QStringLiteral("shpSfondo"));
    shpSfondo->setAttribute(Qt::WA_StyledBackground);
    shpSfondo->setGeometry(18, 18, 326, 215);
    btnAnnulla = new QPushButton(QStringLiteral("Annulla"), this);
    btnAnnulla->setObjectName(QStringLiteral("btnAnnulla"));
    btnAnnulla->setGeometry(18, 243, 145, 28);
    btnStampa = new QPushButton(action, this);
    btnStampa->setObjectName(QStringLiteral("btnStampa"));
    btnStampa->setGeometry(200, 243, 145, 28);
    for (QPushButton* b : {btnAnnulla, btnStampa})
        dialogButton(b);
    connect(btnAnnulla, &QPushButton::clicked, this, &QDialog::reject);
}

QLabel* DocumentDialog::instruction(const char* name, const QString& title, const QString& body, const QRect& geometry)
{
    auto* label =
        new QLabel(QStringLiteral("<p style='font-size:11pt; font-weight:bold; color:#1F3B5C'>%1</p><p>%2</p>")
                       .arg(title.toHtmlEscaped(), body.toHtmlEscaped()),
                   this);
    label->setObjectName(QString::fromLatin1(name));
    label->setProperty("listHelp", true);
    label->setTextFormat(Qt::RichText);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(geometry);
    label->setContentsMargins(8, 4, 8, 4);
    return label;
}

Printed DocumentDialog::print(const report::Template& t, QWidget* over)
{
    return printWithDialog(ui_, over ? over : this, t);
}

void DocumentDialog::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!e->spontaneous() && parentWidget())
        move(parentWidget()->window()->frameGeometry().center() - rect().center());
}
