#include "app/Guida.h"

#include "app/OpenURL.h"
#include "storage/ProgramDir.h"
#include "widgets/Buttons.h"
#include "widgets/Dialogs.h"
#include "widgets/Style.h"
#include "widgets/Ui.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TfrmGuida::TfrmGuida(Ui& ui, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), ui_(ui)
{
    setObjectName(QStringLiteral("frmGuida"));
    setWindowTitle(QStringLiteral(" Guida all'utilizzo del software"));
    setFixedSize(670, 572);

    auto* imgLogo = new QLabel(this);
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    imgLogo->setPixmap(style::pixmap(QStringLiteral("title_guida")));
    lblTitolo = new QLabel(QStringLiteral("Argomento della guida."), this);
    lblTitolo->setObjectName(QStringLiteral("lblTitolo"));
    lblTitolo->setProperty("fontRole", QStringLiteral("helpTitle"));
    txtGuida = new QPlainTextEdit(this);
    txtGuida->setObjectName(QStringLiteral("txtGuida"));
    txtGuida->setReadOnly(true);
    txtGuida->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    txtGuida->setProperty("fontRole", QStringLiteral("entry"));
    txtGuida->setFixedSize(625, 350);

    auto* imgPDF = new ClickLabel(QStringLiteral("imgPDF"), this);
    imgPDF->setPixmap(style::pixmap(QStringLiteral("ico_pdf")));
    lnkWeb = new LinkLabel(QStringLiteral("lnkWeb"), QStringLiteral("Visualizza guida in formato PDF"), this);
    lnkWeb->addIcon(imgPDF);
    connect(lnkWeb, &LinkLabel::activated, this,
            [this] { TMisc::Open(ui_, QStringLiteral("\"%1\"").arg(programdir::file(QStringLiteral("Guida.pdf")))); });
    auto* link = new QHBoxLayout;
    link->addWidget(imgPDF);
    link->addWidget(lnkWeb);
    link->addStretch();

    auto* btnChiudi = closeButton(this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(22, 12, 22, 14);
    layout->addWidget(imgLogo);
    layout->addWidget(lblTitolo);
    layout->addWidget(txtGuida);
    layout->addLayout(link);
    layout->addWidget(btnChiudi, 0, Qt::AlignRight);
}

void TfrmGuida::setTopic(const QString& title, const QString& text)
{
    lblTitolo->setText(title);
    txtGuida->setPlainText(text);
}

void showHelp(Ui& ui, QWidget* parent, const QString& title, const QString& text)
{
    auto help = std::make_unique<TfrmGuida>(ui, parent);
    help->setTopic(title, text);
    execOnce(ui, std::move(help));
}
