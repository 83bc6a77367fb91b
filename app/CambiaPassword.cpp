#include "app/CambiaPassword.h"

#include "app/Crypt.h"
#include "app/PasswordStore.h"
#include "storage/IoError.h"
#include "storage/Text.h"
#include "widgets/Dialogs.h"
#include "widgets/FocusEffect.h"
#include "widgets/Keys.h"
#include "widgets/Style.h"
#include "widgets/Ui.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString kOldWrong = QStringLiteral("Attenzione: vecchia password errata.");
const QString kNotConfirmed = QStringLiteral("Attenzione: la nuova password non \u00E8 stata confermata correttamente. "
                                             "E' necessario reinserire entrambi i valori.");
const QString kNotStorable =
    QStringLiteral("Attenzione: la nuova password contiene caratteri non ammessi o supera i 255 caratteri.");
const QString kDone = QStringLiteral("Modifica della password completata con successo.");
const QString kError =
    QStringLiteral("Attenzione: si \u00E8 verificato un errore durante la procedura di modifica della password. "
                   "Si consiglia di reinstallare il software.");
} // namespace

TfrmCambiaPassword::TfrmCambiaPassword(Ui& ui, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint), ui_(ui)
{
    setObjectName(QStringLiteral("frmCambiaPassword"));
    setWindowTitle(QStringLiteral(" Cambia password"));
    setProperty("screen", QStringLiteral("login"));

    auto* imgLogo = new QLabel(this);
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    imgLogo->setPixmap(style::pixmap(QStringLiteral("logo_login")));
    imgLogo->setAlignment(Qt::AlignCenter);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(2);
    const struct {
        const char* label;
        const char* labelName;
        const char* edit;
        const char* effect;
    } rows[] = {
        {"Vecchia password:", "lblRigo05", "txtPasswordOld", "effPasswordOld"},
        {"Nuova password:", "lblRigo06", "txtPasswordNew", "effPasswordNew"},
        {"Conferma nuova password:", "lblRigo07", "txtConferma", "effConferma"},
    };
    QLineEdit* edits[3];
    for (int i = 0; i < 3; ++i) {
        auto* label = new QLabel(QString::fromUtf8(rows[i].label), this);
        label->setObjectName(QString::fromLatin1(rows[i].labelName));
        label->setProperty("instruction", true);
        auto* area = new QWidget(this);
        area->setFixedSize(300, 46);
        auto* edit = new QLineEdit(area);
        edit->setObjectName(QString::fromLatin1(rows[i].edit));
        edit->setEchoMode(QLineEdit::Password);
        edit->setProperty("fontRole", QStringLiteral("entryLarge"));
        edit->setGeometry(8, 6, 284, 34);
        new FocusEffect(QString::fromLatin1(rows[i].effect), edit);
        grid->addWidget(label, i, 0, Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(area, i, 1);
        edits[i] = edit;
        connect(edit, &QLineEdit::textChanged, this, &TfrmCambiaPassword::updateOk);
    }
    txtPasswordOld = edits[0];
    txtPasswordNew = edits[1];
    txtConferma = edits[2];
    for (int i = 0; i < 3; ++i)
        onEnter(edits[i], [next = edits[(i + 1) % 3]] { next->setFocus(); });

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setEnabled(false);
    auto* cmdEsci = new QPushButton(QStringLiteral("Chiudi"), this);
    cmdEsci->setObjectName(QStringLiteral("cmdEsci"));
    for (QPushButton* b : {cmdOK, cmdEsci})
        dialogButton(b); // Enter presses the focused button, as Space does
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdEsci);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 16, 20, 16);
    layout->addWidget(imgLogo);
    layout->addSpacing(8);
    layout->addLayout(grid);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    setFixedSize(560, 350);

    connect(cmdOK, &QPushButton::clicked, this, &TfrmCambiaPassword::cmdOKClick);
    connect(cmdEsci, &QPushButton::clicked, this, &QWidget::close);
}

void TfrmCambiaPassword::updateOk()
{
    cmdOK->setEnabled(!text::trim(txtPasswordOld->text()).isEmpty() && !text::trim(txtPasswordNew->text()).isEmpty()
                      && !text::trim(txtConferma->text()).isEmpty());
}

void TfrmCambiaPassword::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    centerOnScreen(this);
    txtPasswordOld->clear();
    txtPasswordNew->clear();
    txtConferma->clear();
    txtPasswordOld->setFocus();
}

void TfrmCambiaPassword::closeEvent(QCloseEvent* e)
{
    e->accept();
    emit closed();
}

void TfrmCambiaPassword::cmdOKClick()
{
    try {
        if (passwordstore::normalise(txtPasswordOld->text()) != passwordstore::stored()) {
            ui_.message(this, Ui::Kind::Plain, kOldWrong);
            txtPasswordOld->clear();
            txtPasswordOld->setFocus();
            return;
        }
        if (text::trim(txtPasswordNew->text()) != text::trim(txtConferma->text())) {
            ui_.message(this, Ui::Kind::Plain, kNotConfirmed);
            txtPasswordNew->clear();
            txtConferma->clear();
            txtPasswordNew->setFocus();
            return;
        }
        // A password the store cannot hold would be reported as changed and never match again.
        if (!Crypt::storable(passwordstore::normalise(txtPasswordNew->text()))) {
            ui_.message(this, Ui::Kind::Warning, kNotStorable);
            txtPasswordNew->setFocus();
            return;
        }
        passwordstore::store(txtPasswordNew->text());
    } catch (const IoError&) {
        ui_.message(this, Ui::Kind::Plain, kError);
        return;
    }
    ui_.message(this, Ui::Kind::Plain, kDone);
    close();
}
