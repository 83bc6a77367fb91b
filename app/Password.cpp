#include "app/Password.h"

#include "app/PasswordStore.h"
#include "storage/IoError.h"
#include "storage/Text.h"
#include "widgets/Dialogs.h"
#include "widgets/FocusEffect.h"
#include "widgets/Keys.h"
#include "widgets/Style.h"
#include "widgets/Ui.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString kWrong = QStringLiteral("Attenzione: password errata.");
const QString kReadError =
    QStringLiteral("Attenzione: si \u00E8 verificato un errore durante la procedura di lettura della password. "
                   "Si consiglia di reinstallare il software.");
} // namespace

TfrmPassword::TfrmPassword(Ui& ui, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint), ui_(ui)
{
    setObjectName(QStringLiteral("frmPassword"));
    setWindowTitle(QStringLiteral("Brevanto - Accesso"));
    setProperty("screen", QStringLiteral("login"));

    auto* imgLogo = new QLabel(this);
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    imgLogo->setPixmap(style::pixmap(QStringLiteral("logo_login")));
    imgLogo->setAlignment(Qt::AlignCenter);

    auto* lblRigo05 = new QLabel(QStringLiteral("Immetti la password e premi OK."), this);
    lblRigo05->setObjectName(QStringLiteral("lblRigo05"));
    lblRigo05->setProperty("instruction", true);

    auto* editArea = new QWidget(this);
    editArea->setFixedHeight(48);
    txtPassword = new QLineEdit(editArea);
    txtPassword->setObjectName(QStringLiteral("txtPassword"));
    txtPassword->setEchoMode(QLineEdit::Password);
    txtPassword->setProperty("fontRole", QStringLiteral("entryLarge"));
    txtPassword->setGeometry(8, 7, 344, 34);
    new FocusEffect(QStringLiteral("effPassword"), txtPassword);

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setEnabled(false);
    auto* cmdEsci = new QPushButton(QStringLiteral("Esci"), this);
    cmdEsci->setObjectName(QStringLiteral("cmdEsci"));
    auto* btnCambiaPassword = new QPushButton(QStringLiteral("Cambia password"), this);
    btnCambiaPassword->setObjectName(QStringLiteral("btnCambiaPassword"));
    for (QPushButton* b : {cmdOK, cmdEsci, btnCambiaPassword})
        dialogButton(b); // Enter presses the focused button, as Space does

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnCambiaPassword);
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdEsci);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 16, 20, 16);
    layout->addWidget(imgLogo);
    layout->addSpacing(6);
    layout->addWidget(lblRigo05);
    layout->addWidget(editArea, 0, Qt::AlignHCenter);
    editArea->setFixedWidth(360);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->addStretch();
    setFixedSize(420, 250);

    connect(txtPassword, &QLineEdit::textChanged, this, &TfrmPassword::updateOk);
    onEnter(txtPassword, [this] {
        if (!text::trim(txtPassword->text()).isEmpty())
            cmdOKClick();
    });
    connect(cmdOK, &QPushButton::clicked, this, &TfrmPassword::cmdOKClick);
    connect(cmdEsci, &QPushButton::clicked, this, [this] {
        close();
        QApplication::quit();
    });
    connect(btnCambiaPassword, &QPushButton::clicked, this, [this] {
        emit changeRequested();
        hide();
    });
}

void TfrmPassword::comeBack()
{
    txtPassword->clear();
    show();
    txtPassword->setFocus();
}

void TfrmPassword::updateOk()
{
    cmdOK->setEnabled(!text::trim(txtPassword->text()).isEmpty());
}

void TfrmPassword::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    centerOnScreen(this);
    txtPassword->setFocus();
}

void TfrmPassword::cmdOKClick()
{
    QString stored;
    try {
        stored = passwordstore::stored();
    } catch (const IoError&) {
        ui_.message(this, Ui::Kind::Plain, kReadError);
        return;
    }
    if (stored == passwordstore::normalise(txtPassword->text())) {
        emit loggedIn();
        hide();
        return;
    }
    ui_.message(this, Ui::Kind::Plain, kWrong);
    txtPassword->clear();
    txtPassword->setFocus();
}
