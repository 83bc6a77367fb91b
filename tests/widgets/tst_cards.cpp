// What both cards do alike, tested on both: every toolbar and photo button reaches its
// action, the mandatory check, saving (append, update, failure), browsing, an empty or
// unreadable archive, duplicating, and a field table that covers the record.
#include "Cards.h"
#include "Fixture.h"
#include "Pictures.h"

#include "app/Avvio.h"
#include "app/Screens.h"
#include "catalogue/Opere.h"
#include "records/ArtworkArchive.h"
#include "records/ReportArchive.h"
#include "reports/Interventi.h"
#include "reports/PhotoBox.h"
#include "reports/WebCam.h"
#include "widgets/Buttons.h"
#include "widgets/Messages.h"
#include "widgets/PictureFrame.h"
#include "widgets/Zoom.h"

#include <QAbstractButton>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRegularExpression>

namespace {
void addCards()
{
    QTest::addColumn<QString>("card");
    QTest::newRow("artwork card") << "opere";
    QTest::newRow("report card") << "interventi";
}

QByteArray stored(const CardKind& k, const QStringList& keys)
{
    QByteArray all;
    for (const QString& key : keys)
        all += k.record(key);
    return all;
}
} // namespace

class TestCards : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { f.reset(); }
    void fieldTableCoversTheRecord();
    void buttonsReachTheirActions_data();
    void buttonsReachTheirActions();
    void mandatoryFields_data();
    void mandatoryFields();
    void saveAppendsThenUpdatesInPlace_data() { addCards(); }
    void saveAppendsThenUpdatesInPlace();
    void saveFailureKeepsTheCardUnsaved_data() { addCards(); }
    void saveFailureKeepsTheCardUnsaved();
    void browsing_data() { addCards(); }
    void browsing();
    void emptyOrUnreadableArchive_data() { addCards(); }
    void emptyOrUnreadableArchive();
    void duplicate_data() { addCards(); }
    void duplicate();
    void statusHints_data();
    void statusHints();
    void photosShownUpright_data();
    void photosShownUpright();
    void toolbarInTheManual_data() { addCards(); }
    void toolbarInTheManual();

private:
    std::unique_ptr<Fixture> f;
};

void TestCards::init()
{
    f.reset(); // the screens of one test are gone before the next builds its own
    f = std::make_unique<Fixture>();
    frmInterventi->today = [] { return QDate(2024, 3, 5); };
}

void TestCards::fieldTableCoversTheRecord()
{
    QCOMPARE(fieldTableProblem(frmOpere->fieldTable()), QString());
    QCOMPARE(fieldTableProblem(frmInterventi->fieldTable()), QString());
}

void TestCards::buttonsReachTheirActions_data()
{
    QTest::addColumn<QString>("card");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("effect"); // what only this button does
    const QString saveTitle = "Selezionare la cartella in cui si desidera salvare il file Jpeg.";
    for (const char* card : {"opere", "interventi"}) {
        const QString c = QString::fromLatin1(card);
        auto row = [&](const char* button, const QString& effect) {
            QTest::newRow(qPrintable(c + " " + button)) << c << QString::fromLatin1(button) << effect;
        };
        // The card stands on card 3 of 5.
        row("cmdPrimo", "position 1");
        row("cmdIndietro", "position 2");
        row("cmdAvanti", "position 4");
        row("cmdUltimo", "position 5");
        row("cmdNuovo", "new card");
        row("cmdDuplica", "message " + messages::kDuplicated);
        row("cmdSalva", "message " + mandatoryOf(c)[1].second); // the card shown has its first
        row("cmdFile", "screen frmAllegaCartella " + c);
        row("cmdGuida", "screen frmGuida");
        row("cmdEsci", "closed");
        row("btnCaricaFoto", "photo 1 red");
        row("btnSalvaFoto", "save dialog " + saveTitle);
        row("btnCancFoto", "photo 1 cleared");
        row("btnZoomFoto", "zoom red");
    }
    QTest::newRow("opere cmdTrova") << "opere"
                                    << "cmdTrova"
                                    << "screen frmTrovaOpere opere";
    QTest::newRow("opere cmdStampa") << "opere"
                                     << "cmdStampa"
                                     << "screen frmStampaOpera";
    QTest::newRow("opere cmdEsporta") << "opere"
                                      << "cmdEsporta"
                                      << "screen frmExpOpere";
    QTest::newRow("opere cmdSegnalati") << "opere"
                                        << "cmdSegnalati"
                                        << "screen frmOpere_Disponibili";
    QTest::newRow("opere btnCodFisc") << "opere"
                                      << "btnCodFisc"
                                      << "screen frmCodFisc";
    QTest::newRow("interventi cmdTrova") << "interventi"
                                         << "cmdTrova"
                                         << "screen frmTrovaInterventi interventi";
    QTest::newRow("interventi impCliente") << "interventi"
                                           << "impCliente"
                                           << "screen frmTrovaOpere interventi";
    QTest::newRow("interventi cmdStampa") << "interventi"
                                          << "cmdStampa"
                                          << "screen frmStampaScheda";
    QTest::newRow("interventi cmdAnteprima") << "interventi"
                                             << "cmdAnteprima"
                                             << "screen frmAnteprimaScheda";
    QTest::newRow("interventi cmdNonPagati") << "interventi"
                                             << "cmdNonPagati"
                                             << "screen frmDaSaldare";
    QTest::newRow("interventi cmdNumerazione") << "interventi"
                                               << "cmdNumerazione"
                                               << "screen frmNumerazione contratti";
    QTest::newRow("interventi btnLogo") << "interventi"
                                        << "btnLogo"
                                        << "screen frmLogo";
    QTest::newRow("interventi btnCaricaFoto02") << "interventi"
                                                << "btnCaricaFoto02"
                                                << "photo 2 red";
    QTest::newRow("interventi btnSalvaFoto02") << "interventi"
                                               << "btnSalvaFoto02"
                                               << "save dialog " + saveTitle;
    QTest::newRow("interventi btnCancFoto02") << "interventi"
                                              << "btnCancFoto02"
                                              << "photo 2 cleared";
    QTest::newRow("interventi btnZoomFoto02") << "interventi"
                                              << "btnZoomFoto02"
                                              << "zoom green";
    QTest::newRow("interventi btnAcquisisciFoto") << "interventi"
                                                  << "btnAcquisisciFoto"
                                                  << "screen frmWebCam foto01";
    QTest::newRow("interventi btnAcquisisciFoto02") << "interventi"
                                                    << "btnAcquisisciFoto02"
                                                    << "screen frmWebCam foto02";
}

void TestCards::buttonsReachTheirActions()
{
    QFETCH(QString, card);
    QFETCH(QString, button);
    QFETCH(QString, effect);
    const CardKind k = kindOf(card);
    writeBytes(f->file(k.archive), stored(k, {"uno", "due", "tre", "quattro", "cinque"}));
    frmAvvio->show();
    k.card->show();
    k.card->cmdUltimoClick();
    k.card->cmdIndietroClick();
    k.card->cmdIndietroClick();
    QCOMPARE(k.card->lblPosizione->text(), QString("3"));
    // Photo 1 red, photo 2 green: what a photo button acts on shows.
    PictureFrame* photo1 = child<PictureFrame>(k.card, "imgFoto");
    PictureFrame* photo2 = card == "interventi" ? child<PictureFrame>(k.card, "imgFoto02") : nullptr;
    photo1->setImage(filledPicture(Qt::green));
    if (photo2)
        photo2->setImage(filledPicture(Qt::green));
    photo1->setImage(filledPicture(Qt::red));

    QString seen;
    QString shown;
    if (effect.startsWith("screen") || effect.startsWith("zoom"))
        f->ui.onExec([&](QDialog* d) {
            shown = d->objectName();
            if (auto* memory = d->findChild<QLabel*>("lblMemory"); memory && !memory->text().isEmpty())
                shown += " " + memory->text();
            if (auto* zoom = qobject_cast<TfrmZoom*>(d))
                shown = "zoom " + colourOf(zoom->imgFoto->image());
            return int(QDialog::Rejected);
        });
    QImage red = filledPicture(Qt::red);
    QVERIFY(red.save(f->file("rossa.bmp"), "BMP"));
    if (button.startsWith("btnCaricaFoto")) {
        // The other photo starts green, so that the one loaded shows.
        photo1->setImage(filledPicture(Qt::green));
        f->ui.chooseFile(f->file("rossa.bmp"));
    } else if (button.startsWith("btnSalvaFoto")) {
        f->ui.chooseFile(QString()); // cancelled
    }
    QTest::mouseClick(child<QAbstractButton>(k.card, qPrintable(button)), Qt::LeftButton);

    const QList<TestUi::Message> messages = f->ui.takeMessages();
    const QList<Ui::FileDialog> dialogs = f->ui.takeFileDialogs();
    f->ui.takeExecuted();
    if (!shown.isEmpty())
        seen = shown.startsWith("zoom") ? shown : "screen " + shown;
    else if (!messages.isEmpty())
        seen = "message " + messages.first().text;
    else if (!dialogs.isEmpty() && button.startsWith("btnSalvaFoto"))
        seen = "save dialog " + dialogs.first().title;
    else if (button.startsWith("btnCaricaFoto") || button.startsWith("btnCancFoto")) {
        const bool loaded = button.startsWith("btnCaricaFoto");
        const bool second = button.endsWith("02");
        PictureFrame* acted = second ? photo2 : photo1;
        PictureFrame* other = second ? photo1 : photo2;
        if (loaded)
            seen = colourOf(acted->image()) == "red" && (!other || colourOf(other->image()) == "green")
                       ? QString("photo %1 red").arg(second ? 2 : 1)
                       : "photo unchanged";
        else
            seen = colourOf(acted->image()) == "other" ? QString("photo %1 cleared").arg(second ? 2 : 1) : "photo kept";
    } else if (!k.card->isVisible())
        seen = "closed";
    else if (k.card->lblPosizione->text().isEmpty())
        seen = "new card";
    else
        seen = "position " + k.card->lblPosizione->text();
    QCOMPARE(seen, effect);
}

void TestCards::mandatoryFields_data()
{
    QTest::addColumn<QString>("card");
    QTest::addColumn<QString>("empty");
    QTest::addColumn<QString>("message");
    for (const char* card : {"opere", "interventi"})
        for (const auto& [control, message] : mandatoryOf(QString::fromLatin1(card)))
            QTest::newRow(qPrintable(QString::fromLatin1(card) + " " + control))
                << QString::fromLatin1(card) << control << message;
}

void TestCards::mandatoryFields()
{
    QFETCH(QString, card);
    QFETCH(QString, empty);
    QFETCH(QString, message);
    const CardKind k = kindOf(card);
    k.card->show();
    k.fillMandatory();
    child<QLineEdit>(k.card, qPrintable(empty))->setText("   "); // blanks count as empty
    QTest::mouseClick(k.card->cmdSalva, Qt::LeftButton);
    QCOMPARE(f->ui.takeMessages(), (QList<TestUi::Message>{{Ui::Kind::Warning, message, {}}}));
    QCOMPARE(k.card->focusWidget()->objectName(), empty);
    QVERIFY(QFileInfo(f->file(k.archive)).size() == 0);
    QCOMPARE(k.card->lblPosizione->text(), QString());
}

void TestCards::saveAppendsThenUpdatesInPlace()
{
    QFETCH(QString, card);
    const CardKind k = kindOf(card);
    const QByteArray seven = stored(k, {"1", "2", "3", "4", "5", "6", "7"});
    writeBytes(f->file(k.archive), seven);
    k.card->show();
    k.fillMandatory();
    k.key->setText("nuova");
    QTest::mouseClick(k.card->cmdSalva, Qt::LeftButton);
    QCOMPARE(f->ui.takeMessages(), (QList<TestUi::Message>{{Ui::Kind::Information, messages::kInserted, {}}}));
    QCOMPARE(k.card->lblPosizione->text(), QString("8"));
    QByteArray all = readBytes(f->file(k.archive));
    QCOMPARE(all.size(), 8 * k.size);
    QCOMPARE(all.left(7 * k.size), seven);
    QVERIFY(all.mid(7 * k.size).contains("nuova"));
    const QByteArray eighth = all.mid(7 * k.size);

    // Card 3 updated where it stands; every other record as it was.
    k.card->cmdPrimoClick();
    k.card->cmdAvantiClick();
    k.card->cmdAvantiClick();
    k.fillMandatory();
    k.key->setText("terza");
    QTest::mouseClick(k.card->cmdSalva, Qt::LeftButton);
    QCOMPARE(f->ui.takeMessages(), (QList<TestUi::Message>{{Ui::Kind::Information, messages::kSavedChanges, {}}}));
    QCOMPARE(k.card->lblPosizione->text(), QString("3"));
    all = readBytes(f->file(k.archive));
    QCOMPARE(all.size(), 8 * k.size);
    QCOMPARE(all.left(2 * k.size), seven.left(2 * k.size));
    QVERIFY(all.mid(2 * k.size, k.size).contains("terza"));
    QCOMPARE(all.mid(3 * k.size, 4 * k.size), seven.mid(3 * k.size));
    QCOMPARE(all.mid(7 * k.size), eighth);
}

void TestCards::saveFailureKeepsTheCardUnsaved()
{
    QFETCH(QString, card);
    const CardKind k = kindOf(card);
    // A folder in the archive's place cannot be opened as the archive, even by root.
    QVERIFY(QDir(f->path()).mkdir(k.archive));
    k.card->show();
    k.fillMandatory();
    k.key->setText("sulla scheda");
    QTest::mouseClick(k.card->cmdSalva, Qt::LeftButton);
    QCOMPARE(f->ui.takeMessages(), (QList<TestUi::Message>{{k.saveFailure, messages::kArchiveAccess, {}}}));
    QCOMPARE(k.card->lblPosizione->text(), QString());
    QCOMPARE(k.key->text(), QString("sulla scheda"));
    QVERIFY(messages::kArchiveAccess.contains(QStringLiteral("archivio.\n\r\n\rAccertarsi")));
}

void TestCards::browsing()
{
    QFETCH(QString, card);
    const CardKind k = kindOf(card);
    writeBytes(f->file(k.archive), stored(k, {"Uno", "Due", "Tre"}) + QByteArray(100, 'p')); // and a torn last record
    k.card->show();
    auto at = [&] { return std::pair{k.card->lblPosizione->text(), k.key->text()}; };
    using P = std::pair<QString, QString>;
    auto press = [&](PictureButton* b) { QTest::mouseClick(b, Qt::LeftButton); };
    press(k.card->cmdAvanti); // from a blank card: the first
    QCOMPARE(at(), P("1", "Uno"));
    press(k.card->cmdIndietro); // on card 1: nothing
    QCOMPARE(at(), P("1", "Uno"));
    press(k.card->cmdAvanti);
    QCOMPARE(at(), P("2", "Due"));
    press(k.card->cmdUltimo); // the torn record is not a card
    QCOMPARE(at(), P("3", "Tre"));
    k.key->setText("modificato");
    press(k.card->cmdAvanti); // on the last card: nothing, no message
    QCOMPARE(at(), P("3", "modificato"));
    press(k.card->cmdIndietro);
    QCOMPARE(at(), P("2", "Due"));
    press(k.card->cmdPrimo);
    QCOMPARE(at(), P("1", "Uno"));
    press(k.card->cmdNuovo);
    f->ui.takeMessages();
    press(k.card->cmdIndietro); // from a blank card: the first
    QCOMPARE(at(), P("1", "Uno"));
}

void TestCards::emptyOrUnreadableArchive()
{
    QFETCH(QString, card);
    const CardKind k = kindOf(card);
    k.card->show();
    const QList<TestUi::Message> empty{{Ui::Kind::Information, messages::kEmptyArchive, {}}};
    for (PictureButton* b : {k.card->cmdPrimo, k.card->cmdUltimo, k.card->cmdAvanti, k.card->cmdIndietro}) {
        k.card->lblPosizione->setText(b == k.card->cmdAvanti ? "3" : "");
        QTest::mouseClick(b, Qt::LeftButton);
        QCOMPARE(f->ui.takeMessages(), empty);
        QCOMPARE(k.card->lblPosizione->text(), QString());
    }
    // The first action created the empty archive.
    QCOMPARE(QFileInfo(f->file(k.archive)).size(), 0);
    // On card 1 "previous" does nothing even when the archive has become empty.
    k.card->lblPosizione->setText("1");
    k.card->cmdIndietroClick();
    QVERIFY(f->ui.takeMessages().isEmpty());

    QVERIFY(QFile::remove(f->file(k.archive)));
    QVERIFY(QDir(f->path()).mkdir(k.archive));
    k.key->setText("sulla scheda");
    k.card->lblPosizione->setText("4");
    const QList<TestUi::Message> access{{Ui::Kind::Error, messages::kArchiveAccess, {}}};
    for (PictureButton* b : {k.card->cmdPrimo, k.card->cmdAvanti, k.card->cmdUltimo, k.card->cmdIndietro}) {
        QTest::mouseClick(b, Qt::LeftButton);
        QCOMPARE(f->ui.takeMessages(), access);
    }
    QCOMPARE(k.key->text(), QString("sulla scheda"));
    QCOMPARE(k.card->lblPosizione->text(), QString("4"));
}

void TestCards::duplicate()
{
    QFETCH(QString, card);
    const CardKind k = kindOf(card);
    const QByteArray five = stored(k, {"a", "b", "c", "d", "e"});
    writeBytes(f->file(k.archive), five);
    k.card->show();
    QTest::mouseClick(k.card->cmdDuplica, Qt::LeftButton);
    QCOMPARE(f->ui.takeMessages(), (QList<TestUi::Message>{{Ui::Kind::Warning, messages::kDuplicateUnsaved, {}}}));

    k.card->cmdUltimoClick();
    k.card->lblFile[0]->setText("f.pdf");
    k.card->lblDesc[1]->setText("Perizia");
    PictureFrame* photo = child<PictureFrame>(k.card, "imgFoto");
    photo->setImage(filledPicture(Qt::red));
    QTest::mouseClick(k.card->cmdDuplica, Qt::LeftButton);
    QCOMPARE(f->ui.takeMessages(), (QList<TestUi::Message>{{Ui::Kind::Information, messages::kDuplicated, {}}}));
    QCOMPARE(k.card->lblPosizione->text(), QString());
    QCOMPARE(k.card->lblFile[0]->text(), QString());
    QCOMPARE(k.card->lblDesc[1]->text(), QString());
    QVERIFY(colourOf(photo->image()) != "red");
    QCOMPARE(k.card->focusWidget()->objectName(), k.firstField);

    // Saved as a new card after the others, which stay as they were.
    k.fillMandatory();
    QTest::mouseClick(k.card->cmdSalva, Qt::LeftButton);
    QCOMPARE(f->ui.takeMessages(), (QList<TestUi::Message>{{Ui::Kind::Information, messages::kInserted, {}}}));
    QCOMPARE(k.card->lblPosizione->text(), QString("6"));
    QCOMPARE(readBytes(f->file(k.archive)).left(5 * k.size), five);
}

void TestCards::statusHints_data()
{
    QTest::addColumn<QString>("card");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<QString>("blank"); // a control without a hint of its own: it empties the line
    const struct {
        const char* card;
        const char* control;
        const char* hint;
        const char* blank;
    } rows[] = {
        {"opere", "cmdNuovo", "Prepara la schermata per l'inserimento di una nuova scheda.", "imgTitolo"},
        {"opere", "cmdSalva", "Salva la scheda in archivio.", "imgFoto"},
        {"opere", "cmdDuplica",
         "Prepara la schermata per l'inserimento di una nuova scheda duplicando i dati correnti.", "txtCapo"},
        {"opere", "cmdSegnalati", "Visualizza il riepilogo delle opere d'arte non vendute.", "frmOpere"},
        {"opere", "cmdGuida", "Visualizza la pagina della guida sensibile al contesto.", "imgTitolo"},
        {"opere", "cmdEsci", "Esci da questa schermata di lavoro.", "frmOpere"},
        {"opere", "btnZoomFoto", "Visualizza la foto nelle sue dimensioni reali.", "frmOpere"},
        {"opere", "btnCodFisc", "Controlla il codice fiscale.", "frmOpere"},
        {"opere", "cmdDocumentazione",
         "Documentazione fotografica: tutte le foto della scheda corrente, con fase e didascalia.", "frmOpere"},
        {"interventi", "cmdDocumentazione",
         "Documentazione fotografica: tutte le foto della scheda corrente, con fase e didascalia.", "imgFoto02"},
        {"opere", "chkSegnala", "Spunta questa casella per annotare che l'opera d'arte \u00E8 stata venduta.",
         "frmOpere"},
        {"interventi", "cmdNuovo", "Prepara la schermata per l'emissione di una nuova scheda.", "imgFoto02"},
        {"interventi", "cmdNonPagati", "Visualizza il riepilogo dei conti non ancora saldati dai committenti.",
         "imgFoto02"},
        {"interventi", "cmdNumerazione", "Imposta il numero iniziale per la numerazione dei documenti.", "imgFoto02"},
        {"interventi", "cmdGuida", "Visualizza la guida in linea.", "txtNote"},
        {"interventi", "cmdEsci", "Esci da questa schermata.", "imgFoto02"},
        {"interventi", "btnLogo", "Imposta il logo del Laboratorio di Restauro.", "imgFoto02"},
        {"interventi", "impCliente", "Importa i dati dall'archivio delle opere d'arte.", "imgFoto02"},
        {"interventi", "chkPagato",
         "Spunta questa casella per annotare che il conto \u00E8 stato saldato dal committente.", "imgFoto02"},
        {"interventi", "btnAcquisisciFoto02", "Acquisisci la foto da webcam.", "imgFoto02"},
        {"interventi", "btnZoomFoto", "Visualizza la foto nelle sue dimensioni reali.", "imgFoto02"},
    };
    for (const auto& r : rows)
        QTest::newRow(qPrintable(QString::fromLatin1(r.card) + " " + r.control))
            << QString::fromLatin1(r.card) << QString::fromLatin1(r.control) << QString::fromUtf8(r.hint)
            << QString::fromLatin1(r.blank);
}

void TestCards::statusHints()
{
    QFETCH(QString, card);
    QFETCH(QString, control);
    QFETCH(QString, hint);
    QFETCH(QString, blank);
    const CardKind k = kindOf(card);
    k.card->show();
    QCOMPARE(k.card->panInfo->text(), messages::kReady);
    auto move = [](QWidget* w) {
        QMouseEvent e(QEvent::MouseMove, QPointF(2, 2), w->mapToGlobal(QPointF(2, 2)), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    };
    move(child<QWidget>(k.card, qPrintable(control)));
    QCOMPARE(k.card->panInfo->text(), hint);
    move(blank == k.card->objectName() ? k.card : child<QWidget>(k.card, qPrintable(blank)));
    QCOMPARE(k.card->panInfo->text(), QString());
}

void TestCards::photosShownUpright_data()
{
    QTest::addColumn<QString>("card");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<QString>("file");
    QTest::newRow("artwork photo") << "opere"
                                   << ""
                                   << "Inventario/Opera_1.jpg";
    QTest::newRow("report photo A") << "interventi"
                                    << ""
                                    << "Restauri/Foto_A_1.jpg";
    QTest::newRow("report photo B") << "interventi"
                                    << "02"
                                    << "Restauri/Foto_B_1.jpg";
}

// A portrait photo from a camera held upright: landscape pixels and an orientation tag. The
// frame and the zoom show it upright, the file is stored as it came, and it shows upright
// again when the card is read back from the archive.
void TestCards::photosShownUpright()
{
    QFETCH(QString, card);
    QFETCH(QString, suffix);
    QFETCH(QString, file);
    const CardKind k = kindOf(card);
    const QByteArray jpeg = orientedJpeg(quarteredPicture({90, 150}), 6);
    writeBytes(f->file("ritratto.jpg"), jpeg);
    k.card->show();
    auto* frame = child<PictureFrame>(k.card, qPrintable("imgFoto" + suffix));
    f->ui.chooseFile(f->file("ritratto.jpg"));
    QTest::mouseClick(child<QAbstractButton>(k.card, qPrintable("btnCaricaFoto" + suffix)), Qt::LeftButton);
    f->ui.takeFileDialogs();
    QCOMPARE(frame->image().size(), QSize(90, 150));
    QCOMPARE(quartersOf(frame->image()), QString("red green blue white"));

    QString zoomed;
    f->ui.onExec([&](QDialog* d) {
        if (auto* zoom = qobject_cast<TfrmZoom*>(d))
            zoomed = quartersOf(zoom->imgFoto->image());
        return int(QDialog::Rejected);
    });
    QTest::mouseClick(child<QAbstractButton>(k.card, qPrintable("btnZoomFoto" + suffix)), Qt::LeftButton);
    QCOMPARE(f->ui.takeExecuted(), QStringList{"frmZoom"});
    QCOMPARE(zoomed, QString("red green blue white"));

    k.fillMandatory();
    QTest::mouseClick(k.card->cmdSalva, Qt::LeftButton);
    QCOMPARE(f->ui.takeMessages().size(), 1);
    QCOMPARE(readBytes(f->file(file)), jpeg);
    k.card->cmdNuovoClick();
    k.card->cmdPrimoClick();
    QCOMPARE(frame->image().size(), QSize(90, 150));
    QCOMPARE(quartersOf(frame->image()), QString("red green blue white"));
}

namespace {
// The pictures of a card's toolbar buttons, as the manual names them ("tb_salva.png"); the
// arrows after the first are one line of the manual's table, with the first.
QStringList toolbarPictures(CardScreen* card)
{
    QStringList pictures;
    for (PictureButton* b : card->findChild<QWidget*>("panToolbar")->findChildren<PictureButton*>()) {
        if (b == card->cmdIndietro || b == card->cmdAvanti || b == card->cmdUltimo)
            continue;
        pictures << b->property("picture").toString() + QStringLiteral(".png");
    }
    return pictures;
}

// The pictures a chapter's first table of buttons shows.
QStringList tablePictures(const QString& chapter)
{
#ifdef MANUALE
    QFile f(QStringLiteral(MANUALE "/") + chapter);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QString text = QString::fromUtf8(f.readAll());
    const qsizetype from = text.indexOf(QStringLiteral("|==="));
    const QString table = text.mid(from, text.indexOf(QStringLiteral("|==="), from + 4) - from);
    QStringList pictures;
    static const QRegularExpression picture(QStringLiteral("\\{program-pictures\\}/(tb_\\w+\\.png)"));
    for (const QRegularExpressionMatch& m : picture.globalMatch(table))
        pictures << m.captured(1);
    return pictures;
#else
    Q_UNUSED(chapter);
    return {};
#endif
}
} // namespace

// The toolbar table of each card's chapter in the manual shows every button of the card's
// toolbar; the report card's chapter names those it shares with the artwork card in that one's.
void TestCards::toolbarInTheManual()
{
#ifndef MANUALE
    QSKIP("the manual's sources are checked by the host's build");
#endif
    QFETCH(QString, card);
    const QStringList artwork = tablePictures(QStringLiteral("03-archivio-opere.adoc"));
    QVERIFY(artwork.size() > 5);
    QStringList shown = artwork;
    if (card == "interventi") {
        const QStringList shared = toolbarPictures(frmOpere);
        shown.removeIf([&shared](const QString& p) { return !shared.contains(p); });
        shown += tablePictures(QStringLiteral("04-relazioni.adoc"));
    }
    const QStringList pictures = toolbarPictures(kindOf(card).card);
    QVERIFY(pictures.size() > 10);
    for (const QString& p : pictures)
        QVERIFY2(shown.contains(p), qPrintable(p + QStringLiteral(" is not in the manual's table")));
}

QTEST_MAIN(TestCards)
#include "tst_cards.moc"
