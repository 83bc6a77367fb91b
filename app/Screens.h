#pragma once

class Ui;
class TfrmPassword;
class TfrmCambiaPassword;
class TfrmAvvio;
class TfrmOpere;
class TfrmZoom;
class TfrmCodFisc;
class TfrmPartitaIva;

// The program-wide screen instances, created at start-up in this order.
extern TfrmPassword* frmPassword;
extern TfrmCambiaPassword* frmCambiaPassword;
extern TfrmAvvio* frmAvvio;
extern TfrmOpere* frmOpere;
extern TfrmZoom* frmZoom;
extern TfrmCodFisc* frmCodFisc;
extern TfrmPartitaIva* frmPartitaIva;

void createScreens(Ui& ui);
void destroyScreens();
