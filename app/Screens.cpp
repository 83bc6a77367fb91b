#include "app/Screens.h"

#include "app/Avvio.h"
#include "app/CambiaPassword.h"
#include "app/Guida.h"
#include "app/Info.h"
#include "app/Splash.h"
#include "app/Password.h"
#include "catalogue/Opere.h"
#include "catalogue/Zoom.h"
#include "reports/Calendario.h"
#include "reports/Interventi.h"
#include "reports/Logo.h"
#include "reports/Numerazione.h"
#include "reports/WebCam.h"
#include "taxcodes/CodFisc.h"
#include "taxcodes/PartitaIVA.h"
#include "common/Style.h"

TfrmPassword* frmPassword = nullptr;
TfrmCambiaPassword* frmCambiaPassword = nullptr;
TfrmGuida* frmGuida = nullptr;
TfrmInfo* frmInfo = nullptr;
TfrmSplash* frmSplash = nullptr;
TfrmAvvio* frmAvvio = nullptr;
TfrmOpere* frmOpere = nullptr;
TfrmZoom* frmZoom = nullptr;
TfrmCodFisc* frmCodFisc = nullptr;
TfrmPartitaIva* frmPartitaIva = nullptr;
TfrmInterventi* frmInterventi = nullptr;
TfrmCalendario* frmCalendario = nullptr;
TfrmLogo* frmLogo = nullptr;
TfrmWebCam* frmWebCam = nullptr;
TfrmNumerazione* frmNumerazione = nullptr;

void createScreens(Ui& ui)
{
    style::initResources();
    frmPassword = new TfrmPassword(ui);
    frmCambiaPassword = new TfrmCambiaPassword(ui);
    // Help, information and splash: never shown; each use creates its own window.
    frmGuida = new TfrmGuida(ui);
    frmInfo = new TfrmInfo(ui);
    frmSplash = new TfrmSplash(ui);
    frmAvvio = new TfrmAvvio(ui);
    frmOpere = new TfrmOpere(ui);
    // Dialog screens: these instances are never shown; each use creates its own.
    frmZoom = new TfrmZoom;
    frmCodFisc = new TfrmCodFisc(ui);
    frmPartitaIva = new TfrmPartitaIva(ui);
    frmInterventi = new TfrmInterventi(ui);
    frmCalendario = new TfrmCalendario(ui);
    frmLogo = new TfrmLogo(ui);
    frmWebCam = new TfrmWebCam(ui);
    frmNumerazione = new TfrmNumerazione(ui);
}

void destroyScreens()
{
    delete frmNumerazione;
    delete frmWebCam;
    delete frmLogo;
    delete frmCalendario;
    delete frmInterventi;
    delete frmPartitaIva;
    delete frmCodFisc;
    delete frmZoom;
    delete frmOpere;
    delete frmAvvio;
    delete frmSplash;
    delete frmInfo;
    delete frmGuida;
    delete frmCambiaPassword;
    delete frmPassword;
    frmOpere = nullptr;
    frmZoom = nullptr;
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
