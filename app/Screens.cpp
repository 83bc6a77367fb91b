#include "app/Screens.h"

#include "app/Avvio.h"
#include "app/CambiaPassword.h"
#include "app/Guida.h"
#include "app/Info.h"
#include "app/Splash.h"
#include "app/Password.h"
#include "catalogue/Opere.h"
#include "catalogue/Zoom.h"
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
}

void destroyScreens()
{
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
    frmAvvio = nullptr;
    frmGuida = nullptr;
    frmInfo = nullptr;
    frmSplash = nullptr;
    frmCambiaPassword = nullptr;
    frmPassword = nullptr;
}
