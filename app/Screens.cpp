#include "app/Screens.h"

#include "app/Avvio.h"
#include "app/CambiaPassword.h"
#include "app/Guida.h"
#include "app/HelpTexts.h"
#include "app/Info.h"
#include "app/Password.h"
#include "app/Splash.h"
#include "attachments/AllegaCartella.h"
#include "catalogue/Opere.h"
#include "export/ExpOpere.h"
#include "printing/AnteprimaScheda.h"
#include "printing/StampaOpera.h"
#include "printing/StampaScheda.h"
#include "reports/Calendario.h"
#include "reports/Interventi.h"
#include "reports/Logo.h"
#include "reports/Numerazione.h"
#include "reports/WebCam.h"
#include "search/DaSaldare.h"
#include "search/Opere_Disponibili.h"
#include "search/TrovaInterventi.h"
#include "search/TrovaOpere.h"
#include "taxcodes/CodFisc.h"
#include "taxcodes/PartitaIVA.h"
#include "widgets/Style.h"
#include "widgets/Zoom.h"

#include <QEvent>

#include <QTimer>
#include <functional>
#include <type_traits>
#include <vector>

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
// One program-wide instance: made with the Ui (or without, for a window that needs none),
// destroyed and forgotten.
struct Instance {
    std::function<void(Ui&)> create;
    std::function<void()> destroy;
};

template <class T> Instance instance(T*& screen)
{
    return {[&screen](Ui& ui) {
                if constexpr (std::is_constructible_v<T, Ui&>)
                    screen = new T(ui);
                else
                    screen = new T;
            },
            [&screen] {
                delete screen;
                screen = nullptr;
            }};
}

// Every program-wide screen, in the start-up order; the login first. Dialog screens are
// never shown themselves: each use creates its own.
const std::vector<Instance>& instances()
{
    static const std::vector<Instance> table = {
        instance(frmPassword),        instance(frmCambiaPassword),
        instance(frmGuida),           instance(frmInfo),
        instance(frmSplash),          instance(frmAvvio),
        instance(frmOpere),           instance(frmZoom),
        instance(frmAllegaCartella),  instance(frmCodFisc),
        instance(frmPartitaIva),      instance(frmStampaOpera),
        instance(frmExpOpere),        instance(frmOpere_Disponibili),
        instance(frmTrovaOpere),      instance(frmInterventi),
        instance(frmCalendario),      instance(frmLogo),
        instance(frmWebCam),          instance(frmNumerazione),
        instance(frmAnteprimaScheda), instance(frmStampaScheda),
        instance(frmDaSaldare),       instance(frmTrovaInterventi),
    };
    return table;
}

// The screens hand over to each other through their signals: login, password change and
// launcher; each card back to the launcher, and its help to the help window.
void wire(Ui& ui)
{
    QObject::connect(frmPassword, &TfrmPassword::loggedIn, frmAvvio, [] { frmAvvio->showMaximized(); });
    QObject::connect(frmPassword, &TfrmPassword::changeRequested, frmCambiaPassword, [] { frmCambiaPassword->show(); });
    QObject::connect(frmCambiaPassword, &TfrmCambiaPassword::closed, frmPassword, [] { frmPassword->comeBack(); });
    QObject::connect(frmAvvio, &TfrmAvvio::catalogueRequested, frmOpere, [] { frmOpere->showMaximized(); });
    QObject::connect(frmAvvio, &TfrmAvvio::reportsRequested, frmInterventi, [] { frmInterventi->showMaximized(); });
    auto help = [&ui](QWidget* over, const QString& topic) {
        showHelp(ui, over, helptexts::titleOf(topic), helptexts::text(topic));
    };
    for (CardScreen* card : {static_cast<CardScreen*>(frmOpere), static_cast<CardScreen*>(frmInterventi)}) {
        QObject::connect(card, &CardScreen::closed, frmAvvio, [] { frmAvvio->showMaximized(); });
        QObject::connect(card, &CardScreen::helpRequested, card, help);
    }
    // After a restore no card keeps the old data: both are emptied (what they held is gone
    // with the data it stood on, so nothing is asked), an open one is closed, and each reads
    // the restored archive again when it is next shown.
    QObject::connect(frmAvvio, &TfrmAvvio::dataRestored, frmAvvio, [] {
        frmOpere->ClearArtworkCard();
        frmInterventi->ClearReportCard();
        for (CardScreen* card : {static_cast<CardScreen*>(frmOpere), static_cast<CardScreen*>(frmInterventi)})
            if (card->isVisible())
                card->close();
    });
    // The artwork card's documentation takes its photos from the report card's webcam screen.
    frmOpere->webcam = [&ui](QWidget* over) { return TfrmWebCam::captureStill(ui, over); };
}

void createLogin(Ui& ui)
{
    style::initResources();
    instances().front().create(ui);
}

// Every screen after the login, in the start-up order.
void createOthers(Ui& ui)
{
    for (size_t i = 1; i < instances().size(); ++i)
        instances()[i].create(ui);
    wire(ui);
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
    for (auto it = instances().rbegin(); it != instances().rend(); ++it)
        it->destroy();
}
