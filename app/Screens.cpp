#include "app/Screens.h"

#include "app/Avvio.h"
#include "app/CambiaPassword.h"
#include "app/Password.h"
#include "catalogue/Opere.h"
#include "catalogue/Zoom.h"
#include "common/Style.h"

TfrmPassword* frmPassword = nullptr;
TfrmCambiaPassword* frmCambiaPassword = nullptr;
TfrmAvvio* frmAvvio = nullptr;
TfrmOpere* frmOpere = nullptr;
TfrmZoom* frmZoom = nullptr;

void createScreens(Ui& ui)
{
    style::initResources();
    frmPassword = new TfrmPassword(ui);
    frmCambiaPassword = new TfrmCambiaPassword(ui);
    frmAvvio = new TfrmAvvio(ui);
    frmOpere = new TfrmOpere(ui);
    frmZoom = new TfrmZoom; // the zoom shown is created anew by each use
}

void destroyScreens()
{
    delete frmZoom;
    delete frmOpere;
    delete frmAvvio;
    delete frmCambiaPassword;
    delete frmPassword;
    frmOpere = nullptr;
    frmZoom = nullptr;
    frmAvvio = nullptr;
    frmCambiaPassword = nullptr;
    frmPassword = nullptr;
}
