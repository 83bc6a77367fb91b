#include "TestPlatform.h"
// The history screen of both cards, driven from their button: the versions listed newest
// first, the chosen one beside the card, the photo it had, restoring it and saving it as a
// new version; a card saved by another workstation meanwhile; kept photos named by a journal.
#include "Cards.h"
#include "Fixture.h"

#include "app/Screens.h"
#include "catalogue/Opere.h"
#include "history/Cronologia.h"
#include "records/ArtworkArchive.h"
#include "records/ReportArchive.h"
#include "reports/Interventi.h"
#include "reports/PhotoBox.h"
#include "widgets/Buttons.h"
#include "widgets/Messages.h"
#include "widgets/PictureFrame.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTreeView>

namespace {
// Runs act on the history screen the card's button opens.
void onHistory(TestUi& ui, std::function<void(TfrmCronologia*)> act)
{
    ui.onExec([act](QDialog* d) {
        auto* s = qobject_cast<TfrmCronologia*>(d);
        if (!s)
            return -1;
        s->show();
        act(s);
        return s->result();
    });
}

QStringList column(QTreeView* list, int c)
{
    QStringList out;
    for (int r = 0; r < list->model()->rowCount(); ++r)
        out << list->model()->index(r, c).data().toString();
    return out;
}
} // namespace

class TestCronologia : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { f.reset(); }
    void versionsComparedAndRestored();
    void reportPhotosRestoredBoth();
    void cardWithoutHistory_data();
    void cardWithoutHistory();
    void savedByAnotherWorkstation_data();
    void savedByAnotherWorkstation();
    void helpAndKeyboard();
    void unsavedEditsAskedFirst_data();
    void unsavedEditsAskedFirst();
    void cardsRecoverAndCheckpoint();
    void keptPhotoNames_data();
    void keptPhotoNames();

private:
    std::unique_ptr<Fixture> f;
};

void TestCronologia::init()
{
    f.reset();
    f = std::make_unique<Fixture>();
    frmInterventi->today = [] { return QDate(2024, 3, 5); };
}

void TestCronologia::versionsComparedAndRestored()
{
    frmOpere->show();
    kindOf("opere").fillMandatory();
    frmOpere->txtNote->setText("nota prima");
    frmOpere->imgFoto->setImage(filledPicture(Qt::red));
    QTest::mouseClick(frmOpere->cmdSalva, Qt::LeftButton);
    frmOpere->txtNote->setText("nota dopo");
    frmOpere->imgFoto->setImage(filledPicture(Qt::blue));
    QTest::mouseClick(frmOpere->cmdSalva, Qt::LeftButton);
    QCOMPARE(f->ui.takeMessages(), informed(messages::kInserted) + informed(messages::kSavedChanges));
    // The replaced photo is kept beside the history, and its entry names it.
    const QStringList kept = QDir(f->file("Inventario/Cronologia")).entryList(QDir::Files);
    QCOMPARE(kept.size(), 1);
    QVERIFY(kept[0].startsWith("Opera_1_"));
    QCOMPARE(colourOf(QImage(f->file("Inventario/Cronologia/" + kept[0]))), QString("red"));
    QCOMPARE(ArtworkArchive().history(1).front().kept.value(0).file, "Inventario/Cronologia/" + kept[0]);

    frmOpere->txtCapo->setText("titolo non salvato");
    onHistory(f->ui, [](TfrmCronologia* s) {
        QCOMPARE(column(s->lstVersioni, 1), (QStringList{"modificata", "inserita"}));
        QCOMPARE(column(s->lstVersioni, 4).first(), QString("Note"));
        QVERIFY(QDateTime::fromString(column(s->lstVersioni, 0).first(), "dd/MM/yyyy HH:mm:ss").isValid());
        QVERIFY(!column(s->lstVersioni, 2).first().isEmpty()); // the workstation
        QCOMPARE(s->chosen(), 0);
        QCOMPARE(colourOf(s->imgVersione->image()), QString("blue"));
        // The first version beside the card as it stands: the changed rows marked.
        s->choose(1);
        QCOMPARE(colourOf(s->imgVersione->image()), QString("red"));
        QStringList marked;
        for (int r = 0; r < s->grdConfronto->rowCount(); ++r) {
            if (s->grdConfronto->item(r, 0)->data(Qt::UserRole).toBool())
                marked << s->grdConfronto->item(r, 0)->text();
        }
        QCOMPARE(marked, (QStringList{"Titolo opera", "Note"}));
        QCOMPARE(s->grdConfronto->item(13, 1)->text(), QString("nota prima"));
        QCOMPARE(s->grdConfronto->item(13, 2)->text(), QString("nota dopo"));
        QTest::mouseClick(s->btnRipristina, Qt::LeftButton);
    });
    f->ui.answerNext(Ui::Answer::Yes); // the title typed and not saved goes
    QTest::mouseClick(frmOpere->cmdCronologia, Qt::LeftButton);
    QCOMPARE(f->ui.takeExecuted(), QStringList{"frmCronologia"});
    QCOMPARE(f->ui.takeMessages(), (QList<TestUi::Message>{{Ui::Kind::Plain, messages::kUnsavedEdits, {}},
                                                           {Ui::Kind::Information, messages::kRestored, {}}}));
    QCOMPARE(frmOpere->txtNote->text(), QString("nota prima"));
    QCOMPARE(frmOpere->txtCapo->text(), QString("Titolo"));
    QCOMPARE(colourOf(frmOpere->imgFoto->image()), QString("red"));
    QCOMPARE(frmOpere->lblPosizione->text(), QString("1"));
    QCOMPARE(ArtworkArchive().record(1)[TSchedaOpera::Note], QString("nota dopo")); // nothing stored yet

    // Saved, the restored version is a new one: the restore itself can be undone.
    QTest::mouseClick(frmOpere->cmdSalva, Qt::LeftButton);
    QCOMPARE(f->ui.takeMessages(), informed(messages::kSavedChanges));
    const std::vector<journal::Entry> v = ArtworkArchive().history(1);
    QCOMPARE(v.size(), size_t(3));
    QCOMPARE(v[0].what, journal::What::Ripristinata);
    QCOMPARE(ArtworkArchive().record(1)[TSchedaOpera::Note], QString("nota prima"));
    QCOMPARE(colourOf(QImage(f->file("Inventario/Opera_1.jpg"))), QString("red"));
    QCOMPARE(QDir(f->file("Inventario/Cronologia")).entryList(QDir::Files).size(), 2); // the blue one kept too
}

void TestCronologia::reportPhotosRestoredBoth()
{
    frmInterventi->show();
    kindOf("interventi").fillMandatory();
    frmInterventi->foto1->setImage(filledPicture(Qt::red));
    frmInterventi->foto2->setImage(filledPicture(Qt::blue));
    frmInterventi->cmdSalvaClick();
    frmInterventi->foto2->setImage(filledPicture(Qt::red));
    frmInterventi->txtStato->setText("concluso");
    frmInterventi->cmdSalvaClick();
    f->ui.takeMessages();
    onHistory(f->ui, [](TfrmCronologia* s) {
        QVERIFY(s->imgVersione02);
        s->choose(1);
        QCOMPARE(colourOf(s->imgVersione->image()), QString("red"));
        QCOMPARE(colourOf(s->imgVersione02->image()), QString("blue"));
        QCOMPARE(column(s->lstVersioni, 4).first(), QString("Stato avanzamento lavori"));
        s->btnRipristinaClick();
    });
    QTest::mouseClick(frmInterventi->cmdCronologia, Qt::LeftButton);
    f->ui.takeExecuted();
    f->ui.takeMessages();
    QCOMPARE(colourOf(frmInterventi->foto1->image()), QString("red"));
    QCOMPARE(colourOf(frmInterventi->foto2->image()), QString("blue"));
    QVERIFY(!frmInterventi->foto1->imgFoto->isChanged()); // photo 1 was never replaced
    QVERIFY(frmInterventi->foto2->imgFoto->isChanged());
    QCOMPARE(frmInterventi->txtStato->text(), QString());
}

void TestCronologia::cardWithoutHistory_data()
{
    QTest::addColumn<bool>("stored");
    QTest::addColumn<QString>("message");
    QTest::newRow("a card not saved yet") << false << messages::kNotSavedYet;
    QTest::newRow("a card an older installation saved") << true << messages::kNoHistoryYet;
}

void TestCronologia::cardWithoutHistory()
{
    QFETCH(bool, stored);
    QFETCH(QString, message);
    if (stored) {
        TSchedaOpera r;
        r[TSchedaOpera::Titolo] = "vecchia";
        writeBytes(f->file("Inventario_Opere.pro"), r.encode());
    }
    frmOpere->show();
    if (stored)
        frmOpere->cmdPrimoClick();
    QTest::mouseClick(frmOpere->cmdCronologia, Qt::LeftButton);
    QCOMPARE(f->ui.takeMessages(), (QList<TestUi::Message>{{Ui::Kind::Information, message, {}}}));
    QCOMPARE(f->ui.takeExecuted(), QStringList());
}

void TestCronologia::savedByAnotherWorkstation_data()
{
    QTest::addColumn<QString>("card");
    QTest::addColumn<bool>("replace");
    QTest::newRow("artwork card, No") << "opere" << false;
    QTest::newRow("artwork card, Yes") << "opere" << true;
    QTest::newRow("report card, Yes") << "interventi" << true;
}

void TestCronologia::savedByAnotherWorkstation()
{
    QFETCH(QString, card);
    QFETCH(bool, replace);
    const CardKind k = kindOf(card);
    writeBytes(f->file(k.archive), k.record("uno") + k.record("due"));
    k.card->show();
    k.card->cmdUltimoClick();
    k.fillMandatory();
    k.key->setText("mia");
    // Meanwhile another workstation saves the same card.
    RecordStore(f->file(k.archive), k.size).save(k.record("altrui"), "2", journal::What::Modificata);
    const QByteArray before = readBytes(f->file(k.archive));
    f->ui.answerNext(replace ? Ui::Answer::Yes : Ui::Answer::No);
    QTest::mouseClick(k.card->cmdSalva, Qt::LeftButton);
    QList<TestUi::Message> shown = f->ui.takeMessages();
    QCOMPARE(shown.first().text, messages::kSavedElsewhere);
    if (!replace) {
        QCOMPARE(shown.size(), 1);
        QCOMPARE(readBytes(f->file(k.archive)), before);
        QCOMPARE(k.key->text(), QString("mia")); // the edits stay on the card
        return;
    }
    QCOMPARE(shown.mid(1), informed(messages::kSavedChanges));
    const std::vector<journal::Entry> v = RecordStore(f->file(k.archive), k.size).history(2);
    QCOMPARE(v.size(), size_t(3)); // mine, the other workstation's, and what was there
    QVERIFY(v[1].record == k.record("altrui"));
    // Saved again: no question, the card shows what it saved.
    QTest::mouseClick(k.card->cmdSalva, Qt::LeftButton);
    QCOMPARE(f->ui.takeMessages(), informed(messages::kSavedChanges));
}

void TestCronologia::helpAndKeyboard()
{
    frmOpere->show();
    kindOf("opere").fillMandatory();
    frmOpere->cmdSalvaClick();
    frmOpere->txtNote->setText("seconda");
    frmOpere->cmdSalvaClick();
    f->ui.takeMessages();
    onHistory(f->ui, [](TfrmCronologia* s) {
        activate(s);
        QCOMPARE(QApplication::focusWidget(), s->lstVersioni);
        QTest::keyClick(s->lstVersioni, Qt::Key_F1);
        QTest::keyClick(s->lstVersioni, Qt::Key_Down);
        QCOMPARE(s->chosen(), 1);
        // Enter and a double click only choose a version; the card stays as it is.
        QTest::keyClick(s->lstVersioni, Qt::Key_Return);
        QVERIFY(s->isVisible());
        QCOMPARE(frmOpere->txtNote->text(), QString("seconda"));
        const QRect first = s->lstVersioni->visualRect(s->lstVersioni->model()->index(0, 1));
        QTest::mouseDClick(s->lstVersioni->viewport(), Qt::LeftButton, {}, first.center());
        QCOMPARE(s->chosen(), 0);
        QVERIFY(s->isVisible());
        QCOMPARE(frmOpere->txtNote->text(), QString("seconda"));
        // Ripristina over a card without edits asks nothing.
        QTest::keyClick(s->lstVersioni, Qt::Key_Down);
        QTest::keyClick(s->btnRipristina, Qt::Key_Return);
    });
    f->ui.onExec([](QDialog* d) { return d->objectName() == "frmGuida" ? int(QDialog::Accepted) : -1; });
    QTest::mouseClick(frmOpere->cmdCronologia, Qt::LeftButton);
    QCOMPARE(f->ui.takeExecuted(), (QStringList{"frmCronologia", "frmGuida"}));
    QCOMPARE(f->ui.takeMessages(), (QList<TestUi::Message>{{Ui::Kind::Information, messages::kRestored, {}}}));
    QCOMPARE(frmOpere->txtNote->text(), QString());
}

void TestCronologia::unsavedEditsAskedFirst_data()
{
    QTest::addColumn<QString>("card");
    QTest::addColumn<QString>("edit"); // what the user changed on the card and did not save
    QTest::addColumn<bool>("load"); // the answer to the question
    QTest::newRow("artwork card, a field, No") << "opere"
                                               << "field" << false;
    QTest::newRow("artwork card, the photo, No") << "opere"
                                                 << "photo" << false;
    QTest::newRow("artwork card, a field, Yes") << "opere"
                                                << "field" << true;
    QTest::newRow("report card, a field, No") << "interventi"
                                              << "field" << false;
    QTest::newRow("report card, a photo, Yes") << "interventi"
                                               << "photo" << true;
}

void TestCronologia::unsavedEditsAskedFirst()
{
    QFETCH(QString, card);
    QFETCH(QString, edit);
    QFETCH(bool, load);
    const CardKind k = kindOf(card);
    k.card->show();
    k.fillMandatory();
    k.key->setText("prima");
    k.card->cmdSalvaClick();
    k.key->setText("seconda");
    k.card->cmdSalvaClick();
    f->ui.takeMessages();
    PictureFrame* photo = card == "opere" ? frmOpere->imgFoto : frmInterventi->foto1->imgFoto;
    if (edit == "field")
        k.key->setText("non salvata");
    else
        photo->setImage(filledPicture(Qt::blue));
    const QString typed = k.key->text();
    bool open = false;
    onHistory(f->ui, [&](TfrmCronologia* s) {
        s->choose(1);
        QTest::mouseClick(s->btnRipristina, Qt::LeftButton);
        open = s->isVisible();
    });
    f->ui.answerNext(load ? Ui::Answer::Yes : Ui::Answer::No);
    QTest::mouseClick(k.card->cmdCronologia, Qt::LeftButton);
    f->ui.takeExecuted();
    QList<TestUi::Message> shown = f->ui.takeMessages();
    QCOMPARE(shown.value(0), (TestUi::Message{Ui::Kind::Plain, messages::kUnsavedEdits, {}}));
    if (!load) {
        // No changes nothing: the screen stays open, the card keeps its edits.
        QCOMPARE(shown.size(), 1);
        QVERIFY(open);
        QCOMPARE(k.key->text(), typed);
        if (edit == "photo")
            QCOMPARE(colourOf(photo->image()), QString("blue"));
        return;
    }
    QCOMPARE(shown.mid(1), (QList<TestUi::Message>{{Ui::Kind::Information, messages::kRestored, {}}}));
    QCOMPARE(k.key->text(), QString("prima"));
}

void TestCronologia::cardsRecoverAndCheckpoint()
{
    frmOpere->show();
    kindOf("opere").fillMandatory();
    frmOpere->txtNote->setText("salvata");
    frmOpere->cmdSalvaClick();
    f->ui.takeMessages();
    ArtworkArchive store;
    QVERIFY(store.journal().synced() < store.journal().end()); // the record waits for a checkpoint
    // Closing the card is one: the archive on the disk holds every save.
    frmOpere->close();
    QCOMPARE(store.journal().synced(), store.journal().end());
    // A save whose record a power failure took: the card, opened again, shows it back.
    store.save(store.read(1), "1", journal::What::Modificata); // so that a save waits again
    TSchedaOpera later = store.record(1);
    later[TSchedaOpera::Note] = "dopo il guasto";
    store.save(later.encode(), "1", journal::What::Modificata);
    TSchedaOpera lost = later;
    lost[TSchedaOpera::Note] = "salvata";
    writeBytes(f->file("Inventario_Opere.pro"), lost.encode());
    frmOpere->show();
    frmOpere->cmdPrimoClick();
    QCOMPARE(frmOpere->txtNote->text(), QString("dopo il guasto"));
}

void TestCronologia::keptPhotoNames_data()
{
    // A kept photo's name as a journal gives it ("ABS/" stands for the program folder), and
    // whether the history shows its file.
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("shown");
    QTest::newRow("an artwork's kept photo") << "Inventario/Cronologia/ok.jpg" << true;
    QTest::newRow("a report's kept photo") << "Restauri/Cronologia/ok.jpg" << true;
    QTest::newRow("a photo not kept") << "Inventario/Opera_1.jpg" << false;
    QTest::newRow("up from the folder") << "Inventario/Cronologia/../Opera_1.jpg" << false;
    QTest::newRow("out of the program folder") << "../fuori.jpg" << false;
    QTest::newRow("an absolute path") << "ABS/Inventario/Opera_1.jpg" << false;
    QTest::newRow("an absolute path into the folder") << "ABS/Inventario/Cronologia/ok.jpg" << false;
    QTest::newRow("backslashes") << "Inventario\\Cronologia\\ok.jpg" << false;
    QTest::newRow("a drive") << "Inventario/Cronologia/C:ok.jpg" << false;
    QTest::newRow("a folder below") << "Inventario/Cronologia/sotto/ok.jpg" << false;
    QTest::newRow("a link out of the folder") << "Inventario/Cronologia/link.jpg" << false;
    QTest::newRow("the folder itself") << "Inventario/Cronologia/" << false;
    QTest::newRow("a missing file") << "Inventario/Cronologia/manca.jpg" << false;
}

void TestCronologia::keptPhotoNames()
{
    QFETCH(QString, name);
    QFETCH(bool, shown);
    for (const char* file : {"Inventario/Opera_1.jpg", "Inventario/Cronologia/ok.jpg", "Restauri/Cronologia/ok.jpg",
                             "Inventario/Cronologia/sotto/ok.jpg"}) {
        QVERIFY(QDir().mkpath(QFileInfo(f->file(file)).absolutePath()));
        writeBytes(f->file(file), "jpeg");
    }
    if (!testplatform::makeSymlink("../Opera_1.jpg", f->file("Inventario/Cronologia/link.jpg")))
        QSKIP("Links need rights this system does not give an ordinary user.");
    name.replace("ABS/", f->path() + "/");
    // The version before a save that kept a photo shows the kept file in its frame.
    journal::Entry newer;
    newer.record = TSchedaOpera().encode();
    newer.kept = {{0, name}};
    journal::Entry older = newer;
    older.kept.clear();
    const std::vector<history::Version> v =
        history::versions({newer, older}, history::kindOf<TSchedaOpera>({0}), {QString()});
    QCOMPARE(v[1].photos.value(0), shown ? programdir::file(name) : QString());
}

QTEST_MAIN(TestCronologia)
#include "tst_cronologia.moc"
