#pragma once

class Ui;
class TfrmPassword;
class TfrmCambiaPassword;
class TfrmGuida;
class TfrmInfo;
class TfrmSplash;
class TfrmAvvio;
class TfrmOpere;
class TfrmZoom;
class TfrmAllegaCartella;
class TfrmCodFisc;
class TfrmPartitaIva;
class TfrmInterventi;
class TfrmCalendario;
class TfrmLogo;
class TfrmWebCam;
class TfrmNumerazione;
class TfrmOpere_Disponibili;
class TfrmStampaOpera;
class TfrmExpOpere;
class TfrmAnteprimaScheda;
class TfrmStampaScheda;
class TfrmTrovaOpere;
class TfrmDaSaldare;
class TfrmTrovaInterventi;

// The program-wide screen instances, created at start-up in this order.
extern TfrmPassword* frmPassword;
extern TfrmCambiaPassword* frmCambiaPassword;
extern TfrmGuida* frmGuida;
extern TfrmInfo* frmInfo;
extern TfrmSplash* frmSplash;
extern TfrmAvvio* frmAvvio;
extern TfrmOpere* frmOpere;
extern TfrmZoom* frmZoom;
extern TfrmAllegaCartella* frmAllegaCartella;
extern TfrmCodFisc* frmCodFisc;
extern TfrmPartitaIva* frmPartitaIva;
extern TfrmStampaOpera* frmStampaOpera;
extern TfrmExpOpere* frmExpOpere;
extern TfrmOpere_Disponibili* frmOpere_Disponibili;
extern TfrmTrovaOpere* frmTrovaOpere;
extern TfrmInterventi* frmInterventi;
extern TfrmCalendario* frmCalendario;
extern TfrmLogo* frmLogo;
extern TfrmWebCam* frmWebCam;
extern TfrmNumerazione* frmNumerazione;
extern TfrmAnteprimaScheda* frmAnteprimaScheda;
extern TfrmStampaScheda* frmStampaScheda;
extern TfrmDaSaldare* frmDaSaldare;
extern TfrmTrovaInterventi* frmTrovaInterventi;

// Creates every screen at once (tests, tools).
void createScreens(Ui& ui);
// The program's start: creates and shows the login screen, then creates the other
// screens, in the same order, right after the login's first paint.
void startScreens(Ui& ui);
void destroyScreens();
