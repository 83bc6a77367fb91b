// The documentation screen, driven from both cards: photos added (chosen or dropped), refused
// with a message, captioned, dated, phased, turned, moved, removed; stored with the card's save
// and asked about when the card closes without one; its history; printed with the documents.
#include "Cards.h"
#include "Fixture.h"
#include "PdfText.h"
#include "Pictures.h"

#include "app/Screens.h"
#include "catalogue/Opere.h"
#include "documentation/Documentazione.h"
#include "documentation/Exif.h"
#include "documentation/PhotoModel.h"
#include "history/Cronologia.h"
#include "printing/AnteprimaScheda.h"
#include "printing/StampaOpera.h"
#include "printing/StampaScheda.h"
#include "records/ReportArchive.h"
#include "reports/Interventi.h"
#include "reports/WebCam.h"
#include "storage/IniFile.h"
#include "widgets/Buttons.h"
#include "widgets/Messages.h"
#include "widgets/PictureFrame.h"
#include "widgets/WindowPlace.h"
#include "widgets/Zoom.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QTreeView>
#include <QUrl>

using documentation::PhotoModel;

namespace {
// Whether the manual's chapter of messages explains text, in its part on the documentation:
// a row whose message is text, "…" standing for what varies (a name, a number). Each line of
// a message that lists several is looked up on its own.
bool explainedInManual(const QString& text)
{
#ifdef MANUALE
    static const QList<QRegularExpression> rows = [] {
        QList<QRegularExpression> out;
        QFile f(QStringLiteral(MANUALE "/13-messaggi.adoc"));
        if (!f.open(QIODevice::ReadOnly))
            return out;
        const QString chapter = QString::fromUtf8(f.readAll());
        const qsizetype from = chapter.indexOf(QStringLiteral("[[messaggi-documentazione]]"));
        const QString part = chapter.mid(from, chapter.indexOf(QStringLiteral("\n=== "), from + 40) - from);
        for (const QString& line : part.split(u'\n')) {
            if (!line.startsWith(QStringLiteral("| ")) || from < 0)
                continue;
            const QString message = line.mid(2, line.indexOf(QStringLiteral(" | ")) - 2).simplified();
            // "…" stands for what varies; at the end of a message, also for nothing.
            QString pattern = QRegularExpression::escape(message);
            const QString trailing = QRegularExpression::escape(QStringLiteral(" \u2026"));
            if (pattern.endsWith(trailing))
                pattern = pattern.chopped(trailing.size()) + QStringLiteral("(?: .*)?");
            pattern.replace(QRegularExpression::escape(QStringLiteral("\u2026")), QStringLiteral(".*"));
            out << QRegularExpression(QStringLiteral("^") + pattern + QStringLiteral("$"));
        }
        return out;
    }();
    for (const QString& line : text.split(u'\n', Qt::SkipEmptyParts))
        if (std::none_of(rows.begin(), rows.end(),
                         [&](const QRegularExpression& r) { return r.match(line.simplified()).hasMatch(); }))
            return false;
    return !rows.isEmpty();
#else
    Q_UNUSED(text);
    return true; // the manual's sources are checked by the host's build
#endif
}
#define VERIFY_IN_MANUAL(text)                                                                                         \
    QVERIFY2(explainedInManual(text), qPrintable(QStringLiteral("not in the manual: ") + (text)))

// Runs act on the documentation screen that the card's button opens.
void onDocumentation(TestUi& ui, std::function<void(TfrmDocumentazione*)> act)
{
    ui.onExec([act](QDialog* d) {
        auto* s = qobject_cast<TfrmDocumentazione*>(d);
        if (!s)
            return -1;
        s->show();
        act(s);
        return s->result();
    });
}

QString photo(Fixture& f, const QString& name, int orientation = 1, QSize size = {120, 80})
{
    const QString path = f.file(QStringLiteral("scelte/") + name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    writeBytes(path, orientedJpeg(quarteredPicture(size), orientation));
    return path;
}

// The captions of the model's rows: "[phase]" for a heading.
QStringList rows(TfrmDocumentazione* s)
{
    QStringList out;
    for (int r = 0; r < s->model()->rowCount(); ++r) {
        const QModelIndex i = s->model()->index(r);
        out << (i.data(PhotoModel::HeadingRole).toBool() ? QStringLiteral("[%1]").arg(i.data().toString())
                                                         : i.data().toString());
    }
    return out;
}

QImage thumbnailOf(TfrmDocumentazione* s, quint64 id)
{
    return s->model()->index(s->model()->rowOf(id)).data(Qt::DecorationRole).value<QImage>();
}

void waitForAdditions(TfrmDocumentazione* s)
{
    QTRY_VERIFY_WITH_TIMEOUT(!s->adding(), 20000);
}

// Adds files through btnAggiungi, as chosen in the file dialog.
void add(Fixture& f, TfrmDocumentazione* s, const QStringList& files)
{
    f.ui.chooseFiles(files);
    QTest::mouseClick(s->btnAggiungi, Qt::LeftButton);
    waitForAdditions(s);
    QCOMPARE(f.ui.takeFileDialogs().size(), 1);
}

// A stored card of that kind on screen, at position 1.
CardScreen* storedCard(Fixture& f, const QString& kind)
{
    const CardKind k = kindOf(kind);
    k.card->show();
    k.fillMandatory();
    k.card->cmdSalvaClick();
    f.ui.takeMessages();
    return k.card;
}

documentation::WorkingSet& setOf(CardScreen* card)
{
    if (auto* w = qobject_cast<TfrmOpere*>(card))
        return w->documentation();
    return static_cast<TfrmInterventi*>(card)->documentation();
}

QString listOf(const QString& kind)
{
    return documentation::listPath(kind == "opere" ? documentation::Kind::Artwork : documentation::Kind::Report, 1);
}

// Drags data over the list to at and drops it there, as the file manager or the list itself
// does; whether the drop was taken, and as what.
std::pair<bool, Qt::DropAction> drop(QListView* list, QMimeData* data, QPoint at)
{
    const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(at, actions, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &enter);
    QDragMoveEvent move(at, actions, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &move);
    QDropEvent dropped(QPointF(at), actions, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &dropped);
    return {dropped.isAccepted(), dropped.dropAction()};
}
} // namespace

class TestDocumentazione : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { f.reset(); }
    void notStoredYet_data();
    void notStoredYet();
    void addedSavedAndShownAgain_data();
    void addedSavedAndShownAgain();
    void turnedMovedAndRemoved();
    void droppedFromTheFileManager();
    void keyboardZoomAndHelp();
    void webcamOnBothCards();
    void closingTheCardAsks();
    void listOfAnotherWorkstation();
    void damagedListSaid();
    void photosFoundWithoutList();
    void manyPhotosFillIn();
    void historyShowsAndRestores();
    void printedWithTheReport();
    void printedWithTheArtworkSheet();
    void reopenedShowsTheFirstHeading();
    void stateCountsThePhotosShown();
    void emptyListSaysHowToAdd();
    void sizeAndPlaceRemembered();
    void fitsA1280x720Screen();

private:
    std::unique_ptr<Fixture> f;
};

void TestDocumentazione::init()
{
    f.reset();
    f = std::make_unique<Fixture>();
    frmInterventi->today = [] { return QDate(2024, 3, 5); };
}

void TestDocumentazione::notStoredYet_data()
{
    QTest::addColumn<QString>("card");
    QTest::newRow("artwork card") << "opere";
    QTest::newRow("report card") << "interventi";
}

void TestDocumentazione::notStoredYet()
{
    QFETCH(QString, card);
    const CardKind k = kindOf(card);
    k.card->show();
    QTest::mouseClick(k.card->cmdDocumentazione, Qt::LeftButton);
    QCOMPARE(f->ui.takeMessages(), informed(messages::kNotSavedYet));
    VERIFY_IN_MANUAL(messages::kNotSavedYet);
    QVERIFY(f->ui.takeExecuted().isEmpty());
}

void TestDocumentazione::addedSavedAndShownAgain_data()
{
    notStoredYet_data();
}

void TestDocumentazione::addedSavedAndShownAgain()
{
    QFETCH(QString, card);
    CardScreen* c = storedCard(*f, card);
    const QStringList phases =
        documentation::phases(card == "opere" ? documentation::Kind::Artwork : documentation::Kind::Report);
    const QString upright = photo(*f, "ritto.jpg", 6);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    quarteredPicture({90, 60}).save(&buffer, "PNG");
    writeBytes(f->file("scelte/scansione.png"), png);
    writeBytes(f->file("scelte/appunti.jpg"), "non una foto");
    QDir().mkpath(f->file("scelte/cartella"));
    onDocumentation(f->ui, [&](TfrmDocumentazione* s) {
        QCOMPARE(s->windowTitle(), QString(" Documentazione fotografica"));
        QStringList offered;
        for (int i = 0; i < s->cboFase->count(); ++i)
            offered << s->cboFase->itemText(i);
        QCOMPARE(offered, QStringList{"Tutte le fasi"} + phases);
        QCOMPARE(s->btnAggiungi->text(), QString::fromUtf8("Aggiungi foto\u2026"));
        QCOMPARE(s->btnWebcam->text(), QString("Acquisisci da webcam"));
        QVERIFY(!s->btnRimuovi->isEnabled()); // nothing chosen in an empty set
        add(*f, s,
            {upright, f->file("scelte/scansione.png"), f->file("scelte/appunti.jpg"), f->file("scelte/cartella")});
        // What could not be added is said in one box, each file by name.
        const QList<TestUi::Message> said = f->ui.takeMessages();
        QCOMPARE(said.size(), 1);
        QCOMPARE(said[0].kind, Ui::Kind::Warning);
        QVERIFY(said[0].text.contains("appunti.jpg") && said[0].text.contains("cartella"));
        VERIFY_IN_MANUAL(said[0].text);
        QCOMPARE(rows(s), (QStringList{"[" + phases[0] + "]", "", ""}));
        // The newest is chosen; the thumbnail of the camera's upright photo is upright.
        QCOMPARE(s->chosen(), s->model()->idAt(2));
        const quint64 first = s->model()->idAt(1);
        QCOMPARE(quartersOf(thumbnailOf(s, first)), quartersOf(quarteredPicture()));
        s->choose(first);
        QTest::keyClicks(s->txtDidascalia, "Fronte in luce radente");
        s->txtDidascalia->insertPlainText(QString::fromUtf8(" \u2014 \u0394")); // any alphabet
        s->dtpData->setDate(QDate(2023, 11, 2));
        s->choose(s->model()->idAt(2));
        s->cboFaseFoto->setCurrentIndex(2);
        emit s->cboFaseFoto->activated(2);
        QCOMPARE(rows(s), (QStringList{"[" + phases[0] + "]", QString::fromUtf8("Fronte in luce radente \u2014 \u0394"),
                                       "[" + phases[2] + "]", ""}));
        QTest::mouseClick(s->btnChiudi, Qt::LeftButton);
    });
    QTest::mouseClick(c->cmdDocumentazione, Qt::LeftButton);
    QCOMPARE(f->ui.takeExecuted(), QStringList{"frmDocumentazione"});
    // Kept with the card, stored only by its save.
    QVERIFY(c->unsavedEdits());
    QVERIFY(!QFileInfo::exists(listOf(card)));
    QTest::mouseClick(c->cmdSalva, Qt::LeftButton);
    QCOMPARE(f->ui.takeMessages(), informed(messages::kSavedChanges));
    QVERIFY(!c->unsavedEdits());
    const documentation::List stored = documentation::decode(readBytes(listOf(card)));
    QCOMPARE(stored.photos.size(), 2);
    QCOMPARE(stored.photos[0].file, QString("ritto.jpg"));
    QCOMPARE(stored.photos[0].caption, QString::fromUtf8("Fronte in luce radente \u2014 \u0394"));
    QCOMPARE(stored.photos[0].taken, QDate(2023, 11, 2));
    QCOMPARE(stored.photos[1].file, QString("scansione.jpg"));
    QCOMPARE(stored.photos[1].phase, phases[2]);
    // Shown again from another card and back: as stored.
    c->cmdAvantiClick();
    c->cmdPrimoClick();
    onDocumentation(f->ui, [&](TfrmDocumentazione* s) {
        QCOMPARE(rows(s).size(), 4);
        QTRY_COMPARE(s->model()->thumbnailsDone(), 2);
        QCOMPARE(quartersOf(thumbnailOf(s, s->model()->idAt(1))), quartersOf(quarteredPicture()));
        // Only one phase shown.
        s->cboFase->setCurrentIndex(3);
        emit s->cboFase->activated(3);
        QCOMPARE(rows(s), (QStringList{"[" + phases[2] + "]", ""}));
    });
    QTest::mouseClick(c->cmdDocumentazione, Qt::LeftButton);
    QCOMPARE(f->ui.takeExecuted(), QStringList{"frmDocumentazione"});
}

void TestDocumentazione::turnedMovedAndRemoved()
{
    CardScreen* c = storedCard(*f, "interventi");
    QStringList files;
    for (int i = 0; i < 3; ++i)
        files << photo(*f, QStringLiteral("foto%1.jpg").arg(i), 1, QSize(120 + i, 80));
    onDocumentation(f->ui, [&](TfrmDocumentazione* s) {
        activate(s);
        add(*f, s, files);
        const quint64 a = s->model()->idAt(1), b = s->model()->idAt(2), last = s->model()->idAt(3);
        QCOMPARE(s->chosen(), last);
        QVERIFY(s->btnSu->isEnabled() && !s->btnGiu->isEnabled());
        QTest::mouseClick(s->btnSu, Qt::LeftButton);
        QTest::mouseClick(s->btnSu, Qt::LeftButton);
        QCOMPARE(s->model()->idAt(1), last);
        QVERIFY(!s->btnSu->isEnabled());
        QTest::keyClick(s, Qt::Key_Down, Qt::AltModifier);
        QCOMPARE(s->model()->idAt(2), last);
        // Turned a quarter clockwise, in the list at once, in the file at the save.
        s->choose(a);
        QTest::mouseClick(s->btnRuota, Qt::LeftButton);
        QCOMPARE(quartersOf(thumbnailOf(s, a)), quartersOf(quarteredPicture().transformed(QTransform().rotate(90))));
        // Removing asks; No keeps the photo.
        s->choose(b);
        f->ui.answerNext(Ui::Answer::No);
        QTest::mouseClick(s->btnRimuovi, Qt::LeftButton);
        QCOMPARE(s->model()->photoCount(), 3);
        f->ui.answerNext(Ui::Answer::Yes);
        s->lstFoto->setFocus();
        QTest::keyClick(s->lstFoto, Qt::Key_Delete);
        QCOMPARE(s->model()->photoCount(), 2);
        QCOMPARE(s->model()->rowOf(b), -1);
        const QList<TestUi::Message> asked = f->ui.takeMessages();
        QCOMPARE(asked.size(), 2);
        QCOMPARE(asked[0].text, QString::fromUtf8("Rimuovere la foto scelta dalla documentazione? La foto resta nella "
                                                  "cronologia della scheda."));
        QCOMPARE(asked[0].byDefault, Ui::Answer::No); // Enter keeps the photo
        VERIFY_IN_MANUAL(asked[0].text);
        QTest::mouseClick(s->btnChiudi, Qt::LeftButton);
    });
    QTest::mouseClick(c->cmdDocumentazione, Qt::LeftButton);
    f->ui.takeExecuted();
    c->cmdSalvaClick();
    QCOMPARE(f->ui.takeMessages(), informed(messages::kSavedChanges));
    const QString folder = documentation::folder(documentation::Kind::Report, 1);
    QCOMPARE(QDir(folder).entryList({"*.jpg"}, QDir::Files), (QStringList{"foto0.jpg", "foto2.jpg"}));
    QCOMPARE(exif::read(readBytes(folder + "/foto0.jpg")).orientation, 6);
    // Photos never saved before leave nothing in the history's photo folder: the turned one is
    // stored turned, the one removed is gone, and nothing waits to be saved.
    QCOMPARE(QDir(f->file("Restauri/Cronologia")).entryList(QDir::Files), QStringList());
    QCOMPARE(cardfiles::stagedAdditions(documentation::filesFolder(documentation::Kind::Report), 1).size(), 0);
}

void TestDocumentazione::droppedFromTheFileManager()
{
    CardScreen* c = storedCard(*f, "interventi");
    const QString first = photo(*f, "prima.jpg"), second = photo(*f, "seconda.jpg", 1, {100, 100});
    const QString fifo = f->file("scelte/coda");
    if (QProcess::execute("mkfifo", {fifo}) != 0)
        QSKIP("mkfifo is not available");
    onDocumentation(f->ui, [&](TfrmDocumentazione* s) {
        add(*f, s, {first});
        // Dropped on the left half of the photo there: before it; the FIFO is refused and said.
        QMimeData files;
        files.setUrls({QUrl::fromLocalFile(second), QUrl::fromLocalFile(fifo)});
        const QRect tile = s->lstFoto->visualRect(s->model()->index(1));
        const auto [taken, action] = drop(s->lstFoto, &files, tile.topLeft() + QPoint(10, 10));
        QVERIFY(taken);
        QCOMPARE(action, Qt::CopyAction); // never moved from where it is
        waitForAdditions(s);
        const QList<TestUi::Message> said = f->ui.takeMessages();
        QCOMPARE(said.size(), 1);
        QVERIFY(said[0].text.contains("coda") && said[0].text.contains("file speciale"));
        VERIFY_IN_MANUAL(said[0].text);
        QCOMPARE(s->model()->photoCount(), 2);
        const quint64 dropped = s->model()->idAt(1);
        QCOMPARE(setOf(c).find(dropped)->photo.file, QString("seconda.jpg"));
        // Dragged within the list onto the heading of the group: first of it.
        QMimeData* inside = s->model()->mimeData({s->model()->index(2)});
        QVERIFY(drop(s->lstFoto, inside, s->lstFoto->visualRect(s->model()->index(0)).center()).first);
        delete inside;
        QCOMPARE(setOf(c).find(s->model()->idAt(1))->photo.file, QString("prima.jpg"));
        QCOMPARE(s->chosen(), s->model()->idAt(1));
        QTest::mouseClick(s->btnChiudi, Qt::LeftButton);
    });
    QTest::mouseClick(c->cmdDocumentazione, Qt::LeftButton);
    f->ui.takeExecuted();
}

void TestDocumentazione::keyboardZoomAndHelp()
{
    CardScreen* c = storedCard(*f, "opere");
    const QStringList files = {photo(*f, "a.jpg"), photo(*f, "b.jpg", 3)};
    onDocumentation(f->ui, [&](TfrmDocumentazione* s) {
        activate(s);
        QCOMPARE(QApplication::focusWidget(), s->lstFoto);
        add(*f, s, files);
        s->choose(s->model()->idAt(1));
        // The arrows step over the headings; Enter opens the photo in the zoom window.
        QTest::keyClick(s->lstFoto, Qt::Key_Right);
        QCOMPARE(s->chosen(), s->model()->idAt(2));
        QTest::keyClick(s->lstFoto, Qt::Key_Home);
        QCOMPARE(s->chosen(), s->model()->idAt(1));
        QTest::keyClick(s->lstFoto, Qt::Key_Up); // nothing before the first photo but its heading
        QCOMPARE(s->chosen(), s->model()->idAt(1));
        s->cboFaseFoto->setCurrentIndex(1);
        emit s->cboFaseFoto->activated(1); // the second photo in a group of its own, under a heading
        s->choose(s->model()->idAt(1));
        QTest::keyClick(s->lstFoto, Qt::Key_Down);
        QCOMPARE(s->chosen(), s->model()->idAt(3));
        QTest::keyClick(s->lstFoto, Qt::Key_Up);
        QCOMPARE(s->chosen(), s->model()->idAt(1));
        QString zoomed;
        f->ui.onExec([&zoomed](QDialog* d) {
            if (auto* zoom = qobject_cast<TfrmZoom*>(d))
                zoomed = quartersOf(zoom->imgFoto->image());
            return 1;
        });
        s->lstFoto->setFocus();
        QTest::keyClick(s->lstFoto, Qt::Key_Return);
        QCOMPARE(zoomed, quartersOf(quarteredPicture())); // upright
        f->ui.onExec([](QDialog* d) { return d->objectName() == "frmGuida" ? int(QDialog::Accepted) : -1; });
        QTest::keyClick(s->lstFoto, Qt::Key_F1);
        // Tab goes from the list to the chosen photo's phase, date and caption.
        QTest::keyClick(s->lstFoto, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), s->cboFaseFoto);
        QTest::keyClick(s->cboFaseFoto, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), s->dtpData);
        for (int section = 0; section < 3 && QApplication::focusWidget() == s->dtpData; ++section)
            QTest::keyClick(s->dtpData, Qt::Key_Tab); // day, month, year, then on
        QCOMPARE(QApplication::focusWidget(), s->txtDidascalia);
        QTest::keyClicks(s->txtDidascalia, "uno");
        QTest::keyClick(s->txtDidascalia, Qt::Key_Return); // one paragraph: Enter moves on
        QCOMPARE(s->txtDidascalia->toPlainText(), QString("uno"));
        QCOMPARE(QApplication::focusWidget(), s->btnAggiungi);
        QTest::keyClick(s, Qt::Key_Escape);
    });
    QTest::mouseClick(c->cmdDocumentazione, Qt::LeftButton);
    QCOMPARE(f->ui.takeExecuted(), (QStringList{"frmDocumentazione", "frmZoom", "frmGuida"}));
    QCOMPARE(setOf(c).items()[0].photo.caption, QString("uno"));
}

void TestDocumentazione::webcamOnBothCards()
{
    for (const QString card : {"opere", "interventi"}) {
        CardScreen* c = storedCard(*f, card);
        onDocumentation(f->ui, [&](TfrmDocumentazione* s) {
            QVERIFY(s->btnWebcam->isEnabled());
            // Closed without a capture: nothing is added.
            f->ui.onExec([](QDialog* d) { return d->objectName() == "frmWebCam" ? 0 : -1; });
            QTest::mouseClick(s->btnWebcam, Qt::LeftButton);
            QCOMPARE(s->model()->photoCount(), 0);
            QString mode;
            f->ui.onExec([&mode](QDialog* d) {
                auto* w = qobject_cast<TfrmWebCam*>(d);
                if (!w)
                    return -1;
                mode = w->lblMemory->text();
                w->imgCamera->setImage(quarteredPicture({64, 48}));
                w->btnCatturaClick();
                w->btnImportaFotoClick();
                return 1;
            });
            QTest::mouseClick(s->btnWebcam, Qt::LeftButton);
            QCOMPARE(mode, QString("documentazione"));
            waitForAdditions(s);
            QCOMPARE(s->model()->photoCount(), 1);
            QVERIFY(setOf(c).items()[0].photo.file.startsWith("Webcam_"));
            QCOMPARE(setOf(c).items()[0].photo.taken, QDate::currentDate());
            QTest::mouseClick(s->btnChiudi, Qt::LeftButton);
        });
        QTest::mouseClick(c->cmdDocumentazione, Qt::LeftButton);
        QCOMPARE(f->ui.takeExecuted(), (QStringList{"frmDocumentazione", "frmWebCam", "frmWebCam"}));
        c->cmdSalvaClick();
        QCOMPARE(f->ui.takeMessages(), informed(messages::kSavedChanges));
        c->hide();
    }
}

void TestDocumentazione::closingTheCardAsks()
{
    CardScreen* c = storedCard(*f, "interventi");
    const QString added = photo(*f, "a.jpg");
    onDocumentation(f->ui, [&](TfrmDocumentazione* s) {
        add(*f, s, {added});
        QTest::mouseClick(s->btnChiudi, Qt::LeftButton);
    });
    QTest::mouseClick(c->cmdDocumentazione, Qt::LeftButton);
    f->ui.takeExecuted();
    // The photo waits to be saved, in place only once the card is.
    const QString file = setOf(c).pathOf(setOf(c).items().value(0));
    QVERIFY(QFileInfo::exists(file));
    QVERIFY(!QFileInfo::exists(documentation::folder(documentation::Kind::Report, 1) + "/a.jpg"));
    f->ui.answerNext(Ui::Answer::No);
    QTest::mouseClick(c->cmdEsci, Qt::LeftButton);
    QVERIFY(c->isVisible());
    QVERIFY(QFileInfo::exists(file));
    f->ui.answerNext(Ui::Answer::Yes);
    QTest::mouseClick(c->cmdEsci, Qt::LeftButton);
    QVERIFY(!c->isVisible());
    const QList<TestUi::Message> asked = f->ui.takeMessages();
    QCOMPARE(asked, (QList<TestUi::Message>{{Ui::Kind::Plain, messages::kUnsavedDocumentation, {}},
                                            {Ui::Kind::Plain, messages::kUnsavedDocumentation, {}}}));
    QCOMPARE(asked[0].byDefault, Ui::Answer::No); // Enter keeps the card open
    VERIFY_IN_MANUAL(asked[0].text);
    // The card opens blank; the photo added and never saved is gone.
    QVERIFY(!QFileInfo::exists(file));
}

void TestDocumentazione::listOfAnotherWorkstation()
{
    CardScreen* c = storedCard(*f, "interventi");
    const QString mine = photo(*f, "mia.jpg"), theirs = photo(*f, "altrui.jpg", 1, {80, 80});
    // Another workstation stores its photo after this card was shown.
    documentation::WorkingSet other(documentation::Kind::Report);
    other.load(1);
    other.add(documentation::importFile(other.target(), theirs, {}).photo);
    ReportArchive store;
    store.save(store.read(1), "1", journal::What::Modificata, {&other});
    setOf(c).add(documentation::importFile(setOf(c).target(), mine, {}).photo);
    // Asked; No saves nothing.
    f->ui.answerNext(Ui::Answer::No);
    c->cmdSalvaClick();
    const TestUi::Message asked = f->ui.takeMessages().value(0);
    QVERIFY(asked.text.contains("un'altra postazione ha modificato la documentazione"));
    QCOMPARE(asked.byDefault, Ui::Answer::No);
    VERIFY_IN_MANUAL(asked.text);
    QCOMPARE(documentation::decode(readBytes(listOf("interventi"))).photos.value(0).file, QString("altrui.jpg"));
    f->ui.answerNext(Ui::Answer::Yes);
    c->cmdSalvaClick();
    const QList<TestUi::Message> said = f->ui.takeMessages();
    QCOMPARE(said.size(), 2);
    QCOMPARE(said[1].text, messages::kSavedChanges);
    QCOMPARE(documentation::decode(readBytes(listOf("interventi"))).photos.value(0).file, QString("mia.jpg"));
    // The other's photo is kept in the history's photo folder.
    QCOMPARE(QDir(f->file("Restauri/Cronologia")).entryList(QDir::Files).size(), 1);
}

// A list emptied by hand, with photos in the card's folder: said, and one button lists them.
void TestDocumentazione::photosFoundWithoutList()
{
    CardScreen* c = storedCard(*f, "interventi");
    const QString a = photo(*f, "a.jpg"), b = photo(*f, "b.jpg", 1, {90, 90});
    setOf(c).add(documentation::importFile(setOf(c).target(), a, {}).photo);
    setOf(c).add(documentation::importFile(setOf(c).target(), b, setOf(c).identities()).photo);
    c->cmdSalvaClick();
    QCOMPARE(f->ui.takeMessages(), informed(messages::kSavedChanges));
    writeBytes(listOf("interventi"), {});
    c->cmdPrimoClick();
    onDocumentation(f->ui, [&](TfrmDocumentazione* s) {
        QVERIFY(s->lblAvviso->isVisibleTo(s));
        QVERIFY(s->lblAvviso->text().contains("ci sono 2 foto"));
        QCOMPARE(s->model()->photoCount(), 0);
        QVERIFY(s->btnRiprendiFoto->isVisibleTo(s));
        QTest::mouseClick(s->btnRiprendiFoto, Qt::LeftButton);
        QCOMPARE(s->model()->photoCount(), 2);
        QVERIFY(!s->btnRiprendiFoto->isVisibleTo(s));
        QTest::mouseClick(s->btnChiudi, Qt::LeftButton);
    });
    QTest::mouseClick(c->cmdDocumentazione, Qt::LeftButton);
    f->ui.takeExecuted();
    c->cmdSalvaClick();
    QCOMPARE(f->ui.takeMessages(), informed(messages::kSavedChanges));
    QCOMPARE(documentation::decode(readBytes(listOf("interventi"))).photos.size(), 2);
}

void TestDocumentazione::damagedListSaid()
{
    CardScreen* c = storedCard(*f, "opere");
    QDir().mkpath(QFileInfo(listOf("opere")).absolutePath());
    writeBytes(listOf("opere"),
               "[Documentazione]\r\nFormato=1\r\nFoto=2\r\n\r\n[Foto 1]\r\nFile=a.jpg\r\nFase=Fronte\r\n");
    c->cmdPrimoClick();
    onDocumentation(f->ui, [&](TfrmDocumentazione* s) {
        QVERIFY(s->lblAvviso->isVisibleTo(s));
        QVERIFY(s->lblAvviso->text().contains("danneggiato"));
        QVERIFY(s->lblAvviso->text().contains("1 foto della documentazione non si trova"));
        QCOMPARE(s->model()->photoCount(), 1);
        QCOMPARE(s->model()->index(1).data(PhotoModel::StateRole).toInt(), int(PhotoModel::Missing));
        QVERIFY(!s->btnRuota->isEnabled()); // a missing photo cannot be turned, only removed
        QVERIFY(s->btnRimuovi->isEnabled());
        VERIFY_IN_MANUAL(s->lblAvviso->text());
        // Zoomed, it says that it is missing.
        s->zoom();
        const QList<TestUi::Message> said = f->ui.takeMessages();
        QCOMPARE(said.size(), 1);
        QVERIFY(said[0].text.contains(QString::fromUtf8("non si trova pi\u00F9")));
        VERIFY_IN_MANUAL(said[0].text);
    });
    QTest::mouseClick(c->cmdDocumentazione, Qt::LeftButton);
    f->ui.takeExecuted();
    // A later program's list: shown, never changed.
    writeBytes(listOf("opere"), "[Documentazione]\r\nFormato=9\r\nFoto=0\r\n");
    onDocumentation(f->ui, [&](TfrmDocumentazione* s) {
        QVERIFY(s->lblAvviso->text().contains(QString::fromUtf8("versione pi\u00F9 recente")));
        VERIFY_IN_MANUAL(s->lblAvviso->text());
        QVERIFY(!s->btnAggiungi->isEnabled());
        QVERIFY(!s->btnWebcam->isEnabled());
    });
    QTest::mouseClick(c->cmdDocumentazione, Qt::LeftButton);
    f->ui.takeExecuted();
}

void TestDocumentazione::manyPhotosFillIn()
{
    CardScreen* c = storedCard(*f, "interventi");
    documentation::WorkingSet& set = setOf(c);
    for (int i = 0; i < 40; ++i)
        set.add(documentation::importFile(set.target(), photo(*f, QStringLiteral("f%1.jpg").arg(i), 1, {200 + i, 150}),
                                          set.identities())
                    .photo);
    c->cmdSalvaClick();
    f->ui.takeMessages();
    // The cache beside the photos is only a cache: without it, every thumbnail is made again.
    QVERIFY(QDir(documentation::folder(documentation::Kind::Report, 1) + "/Miniature").removeRecursively());
    onDocumentation(f->ui, [&](TfrmDocumentazione* s) {
        QCOMPARE(s->model()->photoCount(), 40);
        QTRY_COMPARE_WITH_TIMEOUT(s->model()->thumbnailsDone(), 40, 20000);
        QTRY_COMPARE(s->lblStato->text(), QString("40 foto"));
        QCOMPARE(
            QDir(documentation::folder(documentation::Kind::Report, 1) + "/Miniature").entryList(QDir::Files).size(),
            40);
    });
    QTest::mouseClick(c->cmdDocumentazione, Qt::LeftButton);
    f->ui.takeExecuted();
}

void TestDocumentazione::historyShowsAndRestores()
{
    CardScreen* c = storedCard(*f, "interventi");
    documentation::WorkingSet& set = setOf(c);
    for (const char* name : {"a.jpg", "b.jpg"}) {
        documentation::Imported r = documentation::importFile(
            set.target(), photo(*f, QString::fromLatin1(name), 1, {100 + int(set.items().size()), 70}),
            set.identities());
        QCOMPARE(r.outcome, documentation::Imported::Outcome::Added);
        r.photo.phase = "Prima del restauro";
        r.photo.caption = QString::fromLatin1(name);
        set.add(r.photo);
    }
    c->cmdSalvaClick();
    set.remove(set.items()[1].id);
    set.setCaption(set.items()[0].id, "ritoccata");
    c->cmdSalvaClick();
    f->ui.takeMessages();
    QStringList changed;
    f->ui.onExec([&changed](QDialog* d) {
        auto* h = qobject_cast<TfrmCronologia*>(d);
        if (!h)
            return -1;
        for (int r = 0; r < h->lstVersioni->model()->rowCount(); ++r)
            changed << h->lstVersioni->model()->index(r, 4).data().toString();
        h->choose(1);
        h->btnRipristinaClick();
        return h->result();
    });
    QTest::mouseClick(c->cmdCronologia, Qt::LeftButton);
    QCOMPARE(changed.value(0), QString("Documentazione: 1 foto rimossa, 1 didascalia"));
    QCOMPARE(changed.value(1), QString("Documentazione: 2 foto aggiunte"));
    QCOMPARE(f->ui.takeMessages(), informed(messages::kRestored));
    QCOMPARE(set.items().size(), 2);
    QCOMPARE(set.items()[1].photo.caption, QString("b.jpg"));
    c->cmdSalvaClick();
    const documentation::List stored = documentation::decode(readBytes(listOf("interventi")));
    QCOMPARE(stored.photos.size(), 2);
    QCOMPARE(stored.photos[0].caption, QString("a.jpg"));
    QCOMPARE(f->ui.takeMessages(), informed(messages::kSavedChanges));
    // The restored photo's bytes came back from the history's photo folder.
    QCOMPARE(readBytes(documentation::folder(documentation::Kind::Report, 1) + "/" + stored.photos[1].file),
             readBytes(f->file("scelte/b.jpg")));
}

void TestDocumentazione::printedWithTheReport()
{
    REQUIRE_POPPLER();
    CardScreen* c = storedCard(*f, "interventi");
    documentation::WorkingSet& set = setOf(c);
    const QString longCaption = QString("Saggio di pulitura ").repeated(12) + "fine della didascalia";
    for (int i = 0; i < 5; ++i) {
        documentation::Imported r = documentation::importFile(
            set.target(), photo(*f, QStringLiteral("p%1.jpg").arg(i), i == 0 ? 6 : 1, {120 + i, 80}), set.identities());
        QCOMPARE(r.outcome, documentation::Imported::Outcome::Added);
        r.photo.phase = "Durante il restauro";
        r.photo.caption = i == 2 ? longCaption : QStringLiteral("Didascalia %1").arg(i);
        set.add(r.photo);
    }
    c->cmdSalvaClick();
    f->ui.takeMessages();
    QFile::remove(set.pathOf(set.items()[4])); // deleted behind the program's back
    c->cmdPrimoClick();
    const QString pdf = f->file("relazione.pdf");
    f->ui.onPrint([pdf](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    });
    QString offered;
    f->ui.onExec([&offered](QDialog* d) {
        auto* s = qobject_cast<TfrmStampaScheda*>(d);
        if (!s)
            return -1;
        if (s->chkDocumentazione->isEnabled() && s->chkDocumentazione->isChecked())
            offered = s->chkDocumentazione->text();
        s->cboFotoPerPagina->setCurrentText("2");
        s->btnStampaClick();
        return 1;
    });
    QTest::mouseClick(c->cmdStampa, Qt::LeftButton);
    f->ui.takeExecuted();
    QCOMPARE(offered, QString("Stampa la documentazione fotografica")); // checked at first
    const PdfText text = PdfText::read(pdf);
    QCOMPARE(text.pages, 2 + 3);
    for (int p = 2; p < 5; ++p) {
        QVERIFY(text.layout[p].contains("DOCUMENTAZIONE FOTOGRAFICA"));
        QVERIFY(text.layout[p].contains(QStringLiteral("Pagina %1 di 5").arg(p + 1)));
    }
    QVERIFY(text.layout[0].contains("Pagina 1 di 5"));
    QVERIFY(text.layout[2].contains("Foto n. 1") && text.layout[2].contains("Durante il restauro"));
    // The long caption is printed whole, smaller; the missing photo says so.
    QVERIFY(text.layout[3].simplified().contains("fine della didascalia"));
    QVERIFY(text.layout[4].contains("Foto non disponibile"));
    // Remembered for the next print.
    QCOMPARE(IniFile(f->file("Brevanto.ini")).read("Stampa", "FotoPerPagina"), QString("2"));
    // Photos upright, and at no more than 300 dots per inch at their printed size.
    const QList<QImage> images = PdfText::images(pdf);
    QCOMPARE(images.size(), 3 + 4); // the logo and the report's two frames, then the four photos found
    QCOMPARE(quartersOf(images[3]), quartersOf(quarteredPicture()));
    // A page range of the added pages prints just that page, numbered as in the whole.
    f->ui.onPrint([pdf](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(4, 4);
        return true;
    });
    f->ui.onExec([](QDialog* d) {
        static_cast<TfrmStampaScheda*>(d)->btnStampaClick();
        return 1;
    });
    QTest::mouseClick(c->cmdStampa, Qt::LeftButton);
    f->ui.takeExecuted();
    const PdfText one = PdfText::read(pdf);
    QCOMPARE(one.pages, 1);
    QVERIFY(one.layout[0].contains("Pagina 4 di 5"));
    // The preview shows the very pages printed, with the choices remembered.
    const QString previewed = f->file("anteprima.pdf");
    f->ui.onPreview([previewed](const Ui::Paint& paint, const Ui::Print&) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setFullPage(true);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(previewed);
        paint(printer);
    });
    f->ui.onExec([](QDialog* d) {
        auto* s = qobject_cast<TfrmAnteprimaScheda*>(d);
        if (!s)
            return -1;
        s->btnStampaClick();
        return 1;
    });
    QTest::mouseClick(static_cast<TfrmInterventi*>(c)->cmdAnteprima, Qt::LeftButton);
    QCOMPARE(f->ui.takeExecuted(), (QStringList{"frmAnteprimaScheda", "QPrintPreview"}));
    const PdfText preview = PdfText::read(previewed);
    QCOMPARE(preview.pages, text.pages);
    for (int p = 0; p < text.pages; ++p)
        QCOMPARE(preview.layout[p].simplified(), text.layout[p].simplified());
    QCOMPARE(PdfText::images(previewed).size(), images.size());
}

void TestDocumentazione::printedWithTheArtworkSheet()
{
    REQUIRE_POPPLER();
    CardScreen* c = storedCard(*f, "opere");
    documentation::WorkingSet& set = setOf(c);
    set.add(documentation::importFile(set.target(), photo(*f, "fronte.jpg"), {}).photo);
    c->cmdSalvaClick();
    f->ui.takeMessages();
    const QString pdf = f->file("scheda.pdf");
    for (bool documented : {true, false}) {
        f->ui.onPrint([pdf](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            return true;
        });
        f->ui.onExec([documented](QDialog* d) {
            auto* s = qobject_cast<TfrmStampaOpera*>(d);
            if (!s)
                return -1;
            s->chkDocumentazione->setChecked(documented);
            s->btnStampaClick();
            return 1;
        });
        QTest::mouseClick(c->cmdStampa, Qt::LeftButton);
        f->ui.takeExecuted();
        const PdfText text = PdfText::read(pdf);
        QCOMPARE(text.pages, documented ? 2 : 1);
        if (documented) {
            QVERIFY(text.layout[1].contains("DOCUMENTAZIONE FOTOGRAFICA"));
            QVERIFY(text.layout[1].contains("Titolo")); // the work's title in the sheet's band
            QVERIFY(text.layout[1].contains("Pagina 2 di 2"));
            QVERIFY(text.layout[1].contains("Stampa eseguita in data")); // the sheet's foot
        }
        // Every page numbered, the sheet's own too.
        QVERIFY2(text.layout[0].contains(documented ? "Pagina 1 di 2" : "Pagina 1 di 1"), qPrintable(text.layout[0]));
    }
    QCOMPARE(IniFile(f->file("Brevanto.ini")).read("Stampa", "Documentazione"), QString("No"));
}

namespace {
// A stored report card with photos in its documentation: count photos, the first ones
// "Prima del restauro", the last two "Dopo il restauro".
CardScreen* cardWithPhotos(Fixture& f, int count)
{
    CardScreen* c = storedCard(f, "interventi");
    documentation::WorkingSet& set = setOf(c);
    for (int i = 0; i < count; ++i) {
        documentation::Imported r = documentation::importFile(
            set.target(), photo(f, QStringLiteral("f%1.jpg").arg(i), 1, {100 + i, 80}), set.identities());
        r.photo.phase = i >= count - 2 ? QStringLiteral("Dopo il restauro") : QStringLiteral("Prima del restauro");
        set.add(r.photo);
    }
    c->cmdSalvaClick();
    f.ui.takeMessages();
    c->cmdPrimoClick();
    return c;
}

void showPhase(TfrmDocumentazione* s, const QString& phase)
{
    const int i = s->cboFase->findText(phase);
    QVERIFY(i >= 0);
    s->cboFase->setCurrentIndex(i);
    emit s->cboFase->activated(i);
}
} // namespace

// Opened again on a card with many photos, the list starts at its top: the first phase's
// heading is in sight, with the first photo chosen under it.
void TestDocumentazione::reopenedShowsTheFirstHeading()
{
    CardScreen* c = cardWithPhotos(*f, 14);
    for (int opening = 0; opening < 2; ++opening) {
        onDocumentation(f->ui, [&](TfrmDocumentazione* s) {
            QVERIFY(QTest::qWaitForWindowExposed(s));
            QTRY_VERIFY(s->lstFoto->verticalScrollBar()->maximum() > 0); // more than fits
            QTest::qWait(50);
            QCOMPARE(s->chosen(), s->model()->idAt(1));
            const QRect heading = s->lstFoto->visualRect(s->model()->index(0));
            QVERIFY2(s->lstFoto->viewport()->rect().contains(heading),
                     qPrintable(QStringLiteral("heading at %1,%2, scrolled by %3")
                                    .arg(heading.x())
                                    .arg(heading.y())
                                    .arg(s->lstFoto->verticalScrollBar()->value())));
            QTest::mouseClick(s->btnChiudi, Qt::LeftButton);
        });
        QTest::mouseClick(c->cmdDocumentazione, Qt::LeftButton);
        QCOMPARE(f->ui.takeExecuted(), QStringList{"frmDocumentazione"});
    }
}

// The state line counts the photos the list shows: those of the phase chosen, and all of them.
void TestDocumentazione::stateCountsThePhotosShown()
{
    CardScreen* c = cardWithPhotos(*f, 7);
    onDocumentation(f->ui, [&](TfrmDocumentazione* s) {
        QTRY_COMPARE(s->lblStato->text(), QString("7 foto"));
        showPhase(s, "Dopo il restauro");
        QTRY_COMPARE(s->lblStato->text(),
                     QString::fromUtf8("2 foto della fase \u00ABDopo il restauro\u00BB (7 in tutto)"));
        showPhase(s, "Particolare");
        QTRY_COMPARE(s->lblStato->text(), QString::fromUtf8("0 foto della fase \u00ABParticolare\u00BB (7 in tutto)"));
        showPhase(s, "Tutte le fasi");
        QTRY_COMPARE(s->lblStato->text(), QString("7 foto"));
    });
    QTest::mouseClick(c->cmdDocumentazione, Qt::LeftButton);
    f->ui.takeExecuted();
}

// A list without photos says how to add some, also for a phase shown empty; once a photo is
// there it says nothing.
void TestDocumentazione::emptyListSaysHowToAdd()
{
    CardScreen* c = storedCard(*f, "opere");
    const QString added = photo(*f, "a.jpg");
    onDocumentation(f->ui, [&](TfrmDocumentazione* s) {
        auto* hint = child<QLabel>(s->lstFoto, "lblVuoto");
        QVERIFY(hint->isVisible());
        QVERIFY2(hint->text().contains(QString::fromUtf8("\u00ABAggiungi foto\u2026\u00BB")), qPrintable(hint->text()));
        QVERIFY(hint->text().contains("trascinarle qui"));
        QVERIFY(s->lstFoto->viewport()->rect().contains(hint->geometry()));
        add(*f, s, {added});
        QVERIFY(!hint->isVisible());
        showPhase(s, "Retro");
        QVERIFY(hint->isVisible());
        QVERIFY2(hint->text().startsWith(QString::fromUtf8("Nessuna foto nella fase \u00ABRetro\u00BB.")),
                 qPrintable(hint->text()));
        // Below the heading of the phase shown, never over it.
        QVERIFY(!hint->geometry().intersects(s->lstFoto->visualRect(s->model()->index(0))));
        QTest::mouseClick(s->btnChiudi, Qt::LeftButton);
    });
    QTest::mouseClick(c->cmdDocumentazione, Qt::LeftButton);
    f->ui.takeExecuted();
}

// The screen opens as large as it was left (kept in Brevanto.ini), and the first time on most
// of the screen; never larger than the screen's available area, never out of it.
void TestDocumentazione::sizeAndPlaceRemembered()
{
    CardScreen* c = storedCard(*f, "interventi");
    const QRect area = c->screen()->availableGeometry();
    const QRect room = area.marginsRemoved(windowplace::kFrame);
    QRect first, left(room.left() + 20, room.top() + 10, room.width() - 60, room.height() - 40);
    onDocumentation(f->ui, [&](TfrmDocumentazione* s) {
        first = s->geometry();
        s->setGeometry(left);
        QTest::mouseClick(s->btnChiudi, Qt::LeftButton);
    });
    QTest::mouseClick(c->cmdDocumentazione, Qt::LeftButton);
    f->ui.takeExecuted();
    QVERIFY2(room.contains(first), qPrintable(QStringLiteral("%1x%2").arg(first.width()).arg(first.height())));
    QVERIFY(first.width() >= room.width() * 0.85 || first.height() >= room.height() * 0.85);
    QCOMPARE(IniFile(f->file("Brevanto.ini")).read("Documentazione", "Finestra"),
             QStringLiteral("%1,%2,%3,%4").arg(left.x()).arg(left.y()).arg(left.width()).arg(left.height()));
    QRect again;
    onDocumentation(f->ui, [&](TfrmDocumentazione* s) {
        again = s->geometry();
        QTest::mouseClick(s->btnChiudi, Qt::LeftButton);
    });
    QTest::mouseClick(c->cmdDocumentazione, Qt::LeftButton);
    f->ui.takeExecuted();
    QCOMPARE(again, left);
    // Left on a larger screen, or partly off this one: inside this screen's area.
    IniFile(f->file("Brevanto.ini")).write("Documentazione", "Finestra", "-300,200,4000,3000");
    onDocumentation(f->ui, [&](TfrmDocumentazione* s) {
        again = s->geometry();
        QTest::mouseClick(s->btnChiudi, Qt::LeftButton);
    });
    QTest::mouseClick(c->cmdDocumentazione, Qt::LeftButton);
    f->ui.takeExecuted();
    QVERIFY2(
        room.contains(again),
        qPrintable(QStringLiteral("%1,%2 %3x%4").arg(again.x()).arg(again.y()).arg(again.width()).arg(again.height())));
}

// On a screen of 1280 x 720 (1920 x 1080 at 150 %), with a title bar and a task bar, the screen
// opens inside it and every control stays whole and in sight.
void TestDocumentazione::fitsA1280x720Screen()
{
    CardScreen* c = cardWithPhotos(*f, 3);
    const QRect screen(0, 0, 1280, 720 - 40); // less a task bar
    onDocumentation(f->ui, [&](TfrmDocumentazione* s) {
        const QRect placed = windowplace::fitted(QRect(0, 0, 1600, 1000), s->minimumSizeHint(), screen);
        QVERIFY(screen.marginsRemoved(windowplace::kFrame).contains(placed));
        QVERIFY2(
            s->minimumSizeHint().width() <= placed.width() && s->minimumSizeHint().height() <= placed.height(),
            qPrintable(
                QStringLiteral("at least %1x%2").arg(s->minimumSizeHint().width()).arg(s->minimumSizeHint().height())));
        s->setGeometry(placed);
        QVERIFY(QTest::qWaitForWindowExposed(s));
        QTest::qWait(50);
        QList<QRect> taken;
        for (QWidget* w :
             std::initializer_list<QWidget*>{s->cboFase, s->lstFoto, s->lblStato, s->imgAnteprima, s->lblNumero,
                                             s->cboFaseFoto, s->txtDidascalia, s->dtpData, s->btnAggiungi, s->btnWebcam,
                                             s->btnRimuovi, s->btnRuota, s->btnSu, s->btnGiu, s->btnChiudi}) {
            QVERIFY2(w->isVisible(), qPrintable(w->objectName()));
            const QRect r(w->mapTo(s, QPoint(0, 0)), w->size());
            QVERIFY2(s->rect().contains(r), qPrintable(w->objectName()));
            QVERIFY2(w->width() >= w->minimumSizeHint().width() && w->height() >= w->minimumSizeHint().height(),
                     qPrintable(w->objectName()));
            for (const QRect& other : std::as_const(taken))
                QVERIFY2(!other.intersects(r), qPrintable(w->objectName() + " overlaps another control"));
            taken << r;
        }
        // The list shows at least a row of photos.
        QVERIFY(s->lstFoto->viewport()->height() >= documentation::PhotoDelegate::kTile.height() + 40);
        QTest::mouseClick(s->btnChiudi, Qt::LeftButton);
    });
    QTest::mouseClick(c->cmdDocumentazione, Qt::LeftButton);
    f->ui.takeExecuted();
}

QTEST_MAIN(TestDocumentazione)
#include "tst_documentazione.moc"
