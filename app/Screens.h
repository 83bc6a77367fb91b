#pragma once

class Ui;
class TfrmPassword;
class TfrmCambiaPassword;
class TfrmAvvio;
class TfrmOpere;
class TfrmZoom;

// The program-wide screen instances, created at start-up in this order.
extern TfrmPassword* frmPassword;
extern TfrmCambiaPassword* frmCambiaPassword;
extern TfrmAvvio* frmAvvio;
extern TfrmOpere* frmOpere;
extern TfrmZoom* frmZoom;

void createScreens(Ui& ui);
void destroyScreens();
