// The screen table of the manual: one row per picture. Adding a screen is adding a row.
#include "Studio.h"

#include "app/Avvio.h"
#include "app/CambiaPassword.h"
#include "app/Password.h"
#include "app/Screens.h"
#include "backup/BackupActions.h"
#include "catalogue/Opere.h"
#include "documentation/Documentazione.h"
#include "documentation/PhotoModel.h"
#include "printing/AnteprimaScheda.h"
#include "printing/StampaOpera.h"
#include "printing/StampaScheda.h"
#include "reports/Calendario.h"
#include "reports/Interventi.h"
#include "reports/PhotoBox.h"
#include "reports/WebCam.h"
#include "search/SearchScreen.h"
#include "taxcodes/PartitaIVA.h"
#include "widgets/Messages.h"
#include "widgets/QtUi.h"

#include <QAbstractItemView>
#include <QDeadlineTimer>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {
constexpr QSize kDesktop(1280, 800);

QWidget* named(QWidget* parent, const char* name)
{
    return parent->findChild<QWidget*>(QString::fromLatin1(name));
}

void type(QDialog* d, const char* edit, const QString& text)
{
    if (auto* e = d->findChild<QLineEdit*>(QString::fromLatin1(edit)))
        e->setText(text);
}

// The artwork card on its first work, the one with a photo, a tax code and attachments.
TfrmOpere* artworkCard()
{
    frmOpere->show();
    frmOpere->cmdPrimoClick();
    return frmOpere;
}

// The report card on its last report, the one with long texts.
TfrmInterventi* reportCard()
{
    frmInterventi->show();
    frmInterventi->cmdUltimoClick();
    return frmInterventi;
}

void hideCards()
{
    frmOpere->hide();
    frmInterventi->hide();
}

std::optional<Picture> clickOnLauncher(Studio& s, const char* control)
{
    frmAvvio->show();
    return s.nextScreen([&] { QTest::mouseClick(named(frmAvvio, control), Qt::LeftButton); });
}

std::optional<Picture> message(QWidget* over, Ui::Kind kind, const QString& text)
{
    return Studio::realModal([&] { QtUi().message(over, kind, text); });
}

// A backup written from the launcher into target, and the real message box that ends it; with
// restoring, the question that a restore of that backup asks before it replaces anything.
std::optional<Picture> backupMessage(Studio& s, const QString& target, bool restoring)
{
    hideCards();
    frmAvvio->show();
    s.ui.takeMessages(); // what the screens before said
    s.ui.chooseFile(target);
    backupactions::backupNow(s.ui, frmAvvio);
    QList<TestUi::Message> said = s.ui.takeMessages();
    if (said.size() != 1 || said.front().kind != Ui::Kind::Information)
        return std::nullopt;
    if (!restoring)
        return message(frmAvvio, Ui::Kind::Information, said.front().text);
    s.ui.chooseFile(target);
    s.ui.answerNext(Ui::Answer::No);
    backupactions::restore(s.ui, frmAvvio);
    said = s.ui.takeMessages();
    if (said.size() != 1)
        return std::nullopt;
    const QString question = said.front().text;
    return Studio::realModal([&] { QtUi().question(frmAvvio, question); });
}

// Searches with the criteria given and shows the results.
std::function<void(QDialog*)> searching(std::vector<std::pair<const char*, QString>> criteria, bool results)
{
    return [criteria = std::move(criteria), results](QDialog* d) {
        for (const auto& [edit, text] : criteria)
            type(d, edit, text);
        if (results)
            static_cast<SearchScreen*>(d)->btnCercaClick();
    };
}

std::optional<Picture> printedPage(Studio& s, const char* document, int page, const std::function<void()>& open,
                                   const std::function<void(QDialog*)>& print)
{
    s.printNextTo(QString::fromLatin1(document));
    s.nextScreen(open, print);
    return s.page(QString::fromLatin1(document), page);
}

std::optional<Picture> reportPage(Studio& s, int page)
{
    reportCard();
    return printedPage(
        s, "relazione", page, [] { frmInterventi->cmdStampaClick(); },
        [](QDialog* d) { static_cast<TfrmStampaScheda*>(d)->btnStampaClick(); });
}

std::vector<Shot> table()
{
    return {
        {"accesso",
         [](Studio&) -> std::optional<Picture> {
             frmPassword->findChild<QLineEdit*>(QStringLiteral("txtPassword"))
                 ->setText(QStringLiteral("primaverilenza"));
             return Studio::window(frmPassword);
         }},
        {"cambia_password", [](Studio&) -> std::optional<Picture> { return Studio::window(frmCambiaPassword); }},
        {"avvio", [](Studio&) -> std::optional<Picture> { return Studio::window(frmAvvio, kDesktop); }},
        {"guida", [](Studio& s) { return clickOnLauncher(s, "imgGuida"); }},
        {"info", [](Studio& s) { return clickOnLauncher(s, "imgInfo"); }},
        {"splash", [](Studio& s) { return clickOnLauncher(s, "imgCopyright"); }},
        {"opere",
         [](Studio&) -> std::optional<Picture> {
             frmAvvio->hide();
             return Studio::window(artworkCard(), kDesktop);
         }},
        {"zoom", [](Studio& s) { return s.nextScreen([] { artworkCard()->btnZoomFotoClick(); }); }},
        {"messaggio_campo",
         [](Studio&) { return message(artworkCard(), Ui::Kind::Warning, frmOpere->fieldTable().front().mandatory); }},
        {"opere_disponibili", [](Studio& s) { return s.nextScreen([] { artworkCard()->cmdSegnalatiClick(); }); }},
        {"trova_opere",
         [](Studio& s) {
             return s.nextScreen([] { artworkCard()->cmdTrovaClick(); },
                                 searching({{"txtColore", QStringLiteral("varrini")}}, false));
         }},
        {"trova_opere_elenco",
         [](Studio& s) {
             return s.nextScreen([] { artworkCard()->cmdTrovaClick(); },
                                 searching({{"txtColore", QStringLiteral("varrini")}}, true));
         }},
        {"stampa_opera", [](Studio& s) { return s.nextScreen([] { artworkCard()->cmdStampaClick(); }); }},
        {"scheda_opera_pagina",
         [](Studio& s) {
             artworkCard();
             return printedPage(
                 s, "scheda_opera", 1, [] { frmOpere->cmdStampaClick(); },
                 [](QDialog* d) { static_cast<TfrmStampaOpera*>(d)->btnStampaClick(); });
         }},
        {"esporta", [](Studio& s) { return s.nextScreen([] { artworkCard()->cmdEsportaClick(); }); }},
        {"allega", [](Studio& s) { return s.nextScreen([] { artworkCard()->cmdFileClick(); }); }},
        {"codfisc", [](Studio& s) { return s.nextScreen([] { artworkCard()->btnCodFiscClick(); }); }},
        {"partitaiva",
         [](Studio& s) -> std::optional<Picture> {
             auto* check = new TfrmPartitaIva(s.ui, artworkCard());
             check->txtPartitaIva->setText(QStringLiteral("04827150485"));
             return Studio::window(check);
         }},
        {"interventi",
         [](Studio&) -> std::optional<Picture> {
             hideCards();
             return Studio::window(reportCard(), kDesktop);
         }},
        {"numerazione", [](Studio& s) { return s.nextScreen([] { reportCard()->cmdNumerazioneClick(); }); }},
        {"logo", [](Studio& s) { return s.nextScreen([] { reportCard()->btnLogoClick(); }); }},
        {"calendario",
         [](Studio& s) -> std::optional<Picture> {
             auto* calendar = new TfrmCalendario(s.ui, reportCard(), frmInterventi->txtData, QDate(2025, 5, 26));
             return Studio::window(calendar);
         }},
        {"webcam",
         [](Studio& s) -> std::optional<Picture> {
             auto* webcam = new TfrmWebCam(s.ui, reportCard(), frmInterventi->foto1);
             return Studio::window(webcam);
         }},
        {"trova_interventi",
         [](Studio& s) {
             return s.nextScreen([] { reportCard()->cmdTrovaClick(); },
                                 searching({{"txtCliente", QStringLiteral("ferraresi")}}, false));
         }},
        {"trova_interventi_elenco",
         [](Studio& s) {
             return s.nextScreen([] { reportCard()->cmdTrovaClick(); },
                                 searching({{"txtCliente", QStringLiteral("ferraresi")}}, true));
         }},
        {"elenco_pagina",
         [](Studio& s) {
             reportCard();
             return printedPage(
                 s, "elenco_relazioni", 1, [] { frmInterventi->cmdTrovaClick(); },
                 [](QDialog* d) {
                     static_cast<SearchScreen*>(d)->btnCercaClick();
                     static_cast<SearchScreen*>(d)->btnStampaClick();
                 });
         }},
        {"da_saldare", [](Studio& s) { return s.nextScreen([] { reportCard()->cmdNonPagatiClick(); }); }},
        {"stampa_scheda", [](Studio& s) { return s.nextScreen([] { reportCard()->cmdStampaClick(); }); }},
        {"stampa_dialogo",
         [](Studio&) {
             QPrinter printer(QPrinter::HighResolution);
             printer.setFromTo(1, 3);
             printer.setPrintRange(QPrinter::AllPages);
             printer.setOutputFileName(QStringLiteral("/home/laboratorio/Relazione 108.pdf"));
             // With its options open: pages and copies.
             return Studio::realModal([&] { QtUi().printDialog(reportCard(), printer); }, {},
                                      [](QWidget* dialog) {
                                          for (QPushButton* b : dialog->findChildren<QPushButton*>())
                                              if (b->text().contains(QStringLiteral(">>")))
                                                  b->click();
                                      });
         }},
        {"anteprima_scheda", [](Studio& s) { return s.nextScreen([] { reportCard()->cmdAnteprimaClick(); }); }},
        {"anteprima",
         [](Studio& s) {
             // The preview window itself: the real one, shown over the report card.
             std::optional<Picture> taken;
             s.ui.onPreview([&](const Ui::Paint& paint, const Ui::Print& print) {
                 taken = Studio::realModal([&] { QtUi().preview(frmInterventi, paint, print); }, kDesktop);
             });
             s.nextScreen([] { reportCard()->cmdAnteprimaClick(); },
                          [](QDialog* d) { static_cast<TfrmAnteprimaScheda*>(d)->btnStampaClick(); });
             return taken;
         }},
        // The photographic documentation of the report, its second photo chosen, every thumbnail made.
        {"documentazione",
         [](Studio& s) {
             hideCards();
             return s.nextScreen([] { reportCard()->cmdDocumentazioneClick(); },
                                 [](QDialog* d) {
                                     auto* screen = static_cast<TfrmDocumentazione*>(d);
                                     screen->resize(kDesktop - QSize(80, 120));
                                     const QDeadlineTimer deadline(20000);
                                     while (screen->model()->thumbnailsDone() < screen->model()->photoCount()
                                            && !deadline.hasExpired())
                                         QTest::qWait(50);
                                     screen->choose(screen->model()->idAt(2));
                                     QTest::qWait(300); // the chosen photo's larger picture
                                 });
         }},
        // The question before a photo is removed from the documentation, No chosen by default.
        {"domanda_documentazione",
         [](Studio& s) -> std::optional<Picture> {
             hideCards();
             QString question;
             s.nextScreen([] { reportCard()->cmdDocumentazioneClick(); },
                          [&](QDialog* d) {
                              auto* screen = static_cast<TfrmDocumentazione*>(d);
                              screen->choose(screen->model()->idAt(1));
                              s.ui.answerNext(Ui::Answer::No);
                              screen->btnRimuoviClick();
                              question = s.ui.takeMessages().value(0).text;
                          });
             if (question.isEmpty())
                 return std::nullopt;
             return Studio::realModal([&] { QtUi().question(reportCard(), question, Ui::Answer::No); });
         }},
        {"relazione_pagina1", [](Studio& s) { return reportPage(s, 1); }},
        {"relazione_pagina2", [](Studio& s) { return reportPage(s, 2); }},
        {"relazione_testi_completi", [](Studio& s) { return reportPage(s, 3); }},
        {"relazione_documentazione", [](Studio& s) { return reportPage(s, 4); }},
        {"messaggio_archivio",
         [](Studio&) { return message(reportCard(), Ui::Kind::Error, messages::kArchiveAccess); }},
        // The history screen: pictured once the cards have its button. A card saved twice
        // has versions to show; the older is chosen, so that the changed field shows.
        {"cronologia",
         [](Studio& s) -> std::optional<Picture> {
             hideCards();
             QWidget* button = named(artworkCard(), "cmdCronologia");
             if (!button)
                 return std::nullopt;
             frmOpere->txtNote->setText(
                 QStringLiteral("Provenienza: eredità Ferraresi. Esposto a Siena nel 1998 e nel 2024."));
             frmOpere->cmdSalvaClick();
             return s.nextScreen([&] { QTest::mouseClick(button, Qt::LeftButton); },
                                 [](QDialog* d) {
                                     if (auto* list = d->findChild<QAbstractItemView*>(QStringLiteral("lstVersioni"));
                                         list && list->model())
                                         list->setCurrentIndex(list->model()->index(1, 0));
                                 });
         }},
        // Backup and restore: pictured once the launcher has their buttons.
        {"backup",
         [](Studio&) -> std::optional<Picture> {
             hideCards();
             QWidget* backup = named(frmAvvio, "btnBackup");
             QWidget* restore = named(frmAvvio, "btnRipristino");
             if (!backup || !restore)
                 return std::nullopt;
             Picture launcher = Studio::window(frmAvvio, kDesktop);
             const auto place = [](QWidget* w) { return QRect(w->mapTo(frmAvvio, QPoint(0, 0)), w->size()); };
             const QRect area = place(backup).united(place(restore)).adjusted(-40, -30, 40, 30);
             launcher.image = frmAvvio->grab(area).toImage();
             return launcher;
         }},
        // A backup made from the launcher, and what it says at the end; then the restore's
        // question for that backup (answered No: the sample laboratory stays as it is).
        {"backup_salvato",
         [](Studio& s) -> std::optional<Picture> {
             QTemporaryDir away(QDir::tempPath() + QStringLiteral("/Backup-XXXXXX"));
             return backupMessage(s, away.filePath(QStringLiteral("Brevanto-backup-20261210-1730.zip")), false);
         }},
        {"ripristino_domanda",
         [](Studio& s) -> std::optional<Picture> {
             QTemporaryDir away(QDir::tempPath() + QStringLiteral("/Backup-XXXXXX"));
             return backupMessage(s, away.filePath(QStringLiteral("Brevanto-backup-20261210-1730.zip")), true);
         }},
    };
}
} // namespace

const std::vector<Shot>& shots()
{
    static const std::vector<Shot> all = table();
    return all;
}
