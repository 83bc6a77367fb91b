#include "app/Screens.h"

#include "app/Avvio.h"
#include "app/CambiaPassword.h"
#include "app/Password.h"
#include "catalogue/Opere.h"
#include "common/Style.h"

TfrmPassword* frmPassword = nullptr;
TfrmCambiaPassword* frmCambiaPassword = nullptr;
TfrmAvvio* frmAvvio = nullptr;
TfrmOpere* frmOpere = nullptr;

void createScreens(Ui& ui)
{
    style::initResources();
    frmPassword = new TfrmPassword(ui);
    frmCambiaPassword = new TfrmCambiaPassword(ui);
    frmAvvio = new TfrmAvvio(ui);
    frmOpere = new TfrmOpere(ui);
}

void destroyScreens()
{
    delete frmOpere;
    delete frmAvvio;
    delete frmCambiaPassword;
    delete frmPassword;
    frmOpere = nullptr;
    frmAvvio = nullptr;
    frmCambiaPassword = nullptr;
    frmPassword = nullptr;
}
