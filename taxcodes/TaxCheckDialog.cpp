#include "taxcodes/TaxCheckDialog.h"

#include "widgets/Keys.h"
#include "widgets/Style.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TaxCheckDialog::TaxCheckDialog(Ui& ui, const Look& look, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), ui_(ui)
{
    setObjectName(QString::fromLatin1(look.objectName));
    setWindowTitle(QString::fromUtf8(look.caption));
    setProperty("taxCheck", true);
    setFixedSize(look.clientWidth, 254);

    auto* container = new QWidget(this);
    container->setObjectName(QStringLiteral("panContainer"));
    container->setGeometry((look.clientWidth - 453) / 2, (254 - 222) / 2, 453, 222);
    auto* shape = new QWidget(container);
    shape->setObjectName(QStringLiteral("shpContainer"));
    shape->setAttribute(Qt::WA_StyledBackground);
    shape->setGeometry(8, 8, 437, 169);
    auto* logo = new QLabel(container);
    logo->setObjectName(QStringLiteral("imgLogo"));
    logo->setPixmap(style::pixmap(QString::fromLatin1(look.titlePicture)));
    logo->setGeometry(16, 16, 421, 73);
    auto* title = new QLabel(QString::fromUtf8(look.instruction), container);
    title->setObjectName(QStringLiteral("lblTitolo"));
    title->setProperty("fontRole", QStringLiteral("caption"));
    title->setGeometry(16, 96, 421, 20);
    auto* band = new QWidget(container);
    band->setObjectName(QStringLiteral("shpCodFisc"));
    band->setAttribute(Qt::WA_StyledBackground);
    band->setGeometry(16, 118, 421, 50);

    edit_ = new QLineEdit(container);
    edit_->setObjectName(QString::fromLatin1(look.editName));
    edit_->setMaxLength(look.maxLength);
    edit_->setProperty("fontRole", QStringLiteral("code"));
    edit_->setGeometry(26, 128, 233, 30);
    btnControlla = new QPushButton(QStringLiteral("Controlla"), container);
    btnControlla->setObjectName(QStringLiteral("btnControlla"));
    btnControlla->setGeometry(268, 128, 160, 30);
    auto* btnChiudi = new QPushButton(QStringLiteral("Chiudi"), container);
    btnChiudi->setObjectName(QStringLiteral("btnChiudi"));
    btnChiudi->setGeometry(170, 184, 116, 28);
    for (QPushButton* b : {btnControlla, btnChiudi})
        dialogButton(b);

    onEnter(edit_, [this] { btnControlla->setFocus(); });
    connect(btnControlla, &QPushButton::clicked, this, [this] { btnControllaClick(); });
    connect(btnChiudi, &QPushButton::clicked, this, &QDialog::reject);
}

void TaxCheckDialog::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    edit_->setFocus();
}
