#include "app/Screens.h"

#include "app/Avvio.h"
#include "attachments/AllegaCartella.h"
#include "app/CambiaPassword.h"
#include "app/Guida.h"
#include "app/HelpTexts.h"
#include "app/Info.h"
#include "app/Splash.h"
#include "app/Password.h"
#include "catalogue/Opere.h"
#include "common/Zoom.h"
#include "reports/Calendario.h"
#include "reports/Interventi.h"
#include "reports/Logo.h"
#include "reports/Numerazione.h"
#include "reports/WebCam.h"
#include "export/ExpOpere.h"
#include "printing/ReportDocument.h"
#include "printing/StampaOpera.h"
#include "search/DaSaldare.h"
#include "search/Opere_Disponibili.h"
#include "search/TrovaInterventi.h"
#include "search/TrovaOpere.h"
#include "taxcodes/CodFisc.h"
#include "taxcodes/PartitaIVA.h"
#include "common/Style.h"

#include <QEvent>
#include <QTimer>

TfrmPassword* frmPassword = nullptr;
TfrmCambiaPassword* frmCambiaPassword = nullptr;
TfrmGuida* frmGuida = nullptr;
TfrmInfo* frmInfo = nullptr;
TfrmSplash* frmSplash = nullptr;
TfrmAvvio* frmAvvio = nullptr;
TfrmOpere* frmOpere = nullptr;
TfrmZoom* frmZoom = nullptr;
TfrmAllegaCartella* frmAllegaCartella = nullptr;
TfrmCodFisc* frmCodFisc = nullptr;
TfrmPartitaIva* frmPartitaIva = nullptr;
TfrmInterventi* frmInterventi = nullptr;
TfrmCalendario* frmCalendario = nullptr;
TfrmLogo* frmLogo = nullptr;
TfrmWebCam* frmWebCam = nullptr;
TfrmNumerazione* frmNumerazione = nullptr;
TfrmOpere_Disponibili* frmOpere_Disponibili = nullptr;
TfrmStampaOpera* frmStampaOpera = nullptr;
TfrmExpOpere* frmExpOpere = nullptr;
TfrmAnteprimaScheda* frmAnteprimaScheda = nullptr;
TfrmStampaScheda* frmStampaScheda = nullptr;
TfrmTrovaOpere* frmTrovaOpere = nullptr;
TfrmDaSaldare* frmDaSaldare = nullptr;
TfrmTrovaInterventi* frmTrovaInterventi = nullptr;

namespace {
// The two cards hand back to the shell: closing one shows the launcher, their help
// button shows the help window.
void wireCards(Ui& ui)
{
    QObject::connect(frmOpere, &TfrmOpere::closed, frmAvvio, [] { frmAvvio->showMaximized(); });
    QObject::connect(frmInterventi, &TfrmInterventi::closed, frmAvvio, [] { frmAvvio->showMaximized(); });
    auto help = [&ui](QWidget* over, const QString& topic) {
        showHelp(ui, over, helptexts::titleOf(topic), helptexts::text(topic));
    };
    QObject::connect(frmOpere, &TfrmOpere::helpRequested, frmOpere, help);
    QObject::connect(frmInterventi, &TfrmInterventi::helpRequested, frmInterventi, help);
}

void createLogin(Ui& ui)
{
    style::initResources();
    frmPassword = new TfrmPassword(ui);
}

// Every screen after the login, in the start-up order.
void createOthers(Ui& ui)
{
    frmCambiaPassword = new TfrmCambiaPassword(ui);
    // Help, information and splash: never shown; each use creates its own window.
    frmGuida = new TfrmGuida(ui);
    frmInfo = new TfrmInfo(ui);
    frmSplash = new TfrmSplash(ui);
    frmAvvio = new TfrmAvvio(ui);
    frmOpere = new TfrmOpere(ui);
    // Dialog screens: these instances are never shown; each use creates its own.
    frmZoom = new TfrmZoom;
    frmAllegaCartella = new TfrmAllegaCartella(ui);
    frmCodFisc = new TfrmCodFisc(ui);
    frmPartitaIva = new TfrmPartitaIva(ui);
    frmStampaOpera = new TfrmStampaOpera(ui);
    frmExpOpere = new TfrmExpOpere(ui);
    frmOpere_Disponibili = new TfrmOpere_Disponibili(ui);
    frmTrovaOpere = new TfrmTrovaOpere(ui);
    frmInterventi = new TfrmInterventi(ui);
    frmCalendario = new TfrmCalendario(ui);
    frmLogo = new TfrmLogo(ui);
    frmWebCam = new TfrmWebCam(ui);
    frmNumerazione = new TfrmNumerazione(ui);
    frmAnteprimaScheda = new TfrmAnteprimaScheda(ui);
    frmStampaScheda = new TfrmStampaScheda(ui);
    frmDaSaldare = new TfrmDaSaldare(ui);
    frmTrovaInterventi = new TfrmTrovaInterventi(ui);
    wireCards(ui);
}

// Creates the other screens once the login window has been painted for the first time,
// so that the user sees it at once.
class AfterFirstPaint : public QObject {
public:
    AfterFirstPaint(Ui& ui, QWidget* login) : QObject(login), ui_(ui) { login->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !done_) {
            done_ = true;
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, [this] {
                createOthers(ui_);
                deleteLater();
            });
        }
        return false;
    }

private:
    Ui& ui_;
    bool done_ = false;
};
} // namespace

void createScreens(Ui& ui)
{
    createLogin(ui);
    createOthers(ui);
}

void startScreens(Ui& ui)
{
    createLogin(ui);
    new AfterFirstPaint(ui, frmPassword);
    frmPassword->show();
}

void destroyScreens()
{
    delete frmTrovaInterventi;
    delete frmDaSaldare;
    delete frmStampaScheda;
    delete frmAnteprimaScheda;
    delete frmNumerazione;
    delete frmWebCam;
    delete frmLogo;
    delete frmCalendario;
    delete frmInterventi;
    delete frmTrovaOpere;
    delete frmOpere_Disponibili;
    delete frmExpOpere;
    delete frmStampaOpera;
    delete frmPartitaIva;
    delete frmCodFisc;
    delete frmAllegaCartella;
    delete frmZoom;
    delete frmOpere;
    delete frmAvvio;
    delete frmSplash;
    delete frmInfo;
    delete frmGuida;
    delete frmCambiaPassword;
    delete frmPassword;
    frmOpere = nullptr;
    frmOpere_Disponibili = nullptr;
    frmStampaOpera = nullptr;
    frmExpOpere = nullptr;
    frmAnteprimaScheda = nullptr;
    frmStampaScheda = nullptr;
    frmTrovaOpere = nullptr;
    frmDaSaldare = nullptr;
    frmTrovaInterventi = nullptr;
    frmZoom = nullptr;
    frmAllegaCartella = nullptr;
    frmCodFisc = nullptr;
    frmPartitaIva = nullptr;
    frmInterventi = nullptr;
    frmCalendario = nullptr;
    frmLogo = nullptr;
    frmWebCam = nullptr;
    frmNumerazione = nullptr;
    frmAvvio = nullptr;
    frmGuida = nullptr;
    frmInfo = nullptr;
    frmSplash = nullptr;
    frmCambiaPassword = nullptr;
    frmPassword = nullptr;
}
