// The attachments screen driven from both cards, and the folder operations under it.
#include "Fixture.h"

#include "app/Screens.h"
#include "attachments/AllegaCartella.h"
#include "attachments/Attachments.h"
#include "catalogue/Opere.h"
#include "storage/Cp1252.h"
#include "storage/FileNames.h"
#include "storage/IoError.h"
#include "storage/Platform.h"

#include "reports/Interventi.h"
#include "widgets/Buttons.h"
#include "widgets/PictureFrame.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

class TestAttachments : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { f.reset(); }
    void opensFromTheCardsSlots();
    void browseCopiesIntoTheFolder();
    void sameNameAsksBeforeOverwriting_data();
    void sameNameAsksBeforeOverwriting();
    void cancelledDialogChangesNothing();
    void clearThenCancelOrApply();
    void folderThatCannotBeMadeSaysSoAndKeepsTheSlot();
    void theFoldersOwnCopyIsNotCopiedOntoItself();
    void openStaysInsideTheFolder_data();
    void openStaysInsideTheFolder();
    void largeFilesAreCopiedInBlocks();
    void copyNamedByWindowsOpens();
    void namesTheRecordCanHold_data();
    void namesTheRecordCanHold();
    void nameOutsideTheCodePageSurvivesASave_data();
    void nameOutsideTheCodePageSurvivesASave();
    void namesOtherSystemsRefuse();
    void namesDifferingInCaseAreOneName_data();
    void namesDifferingInCaseAreOneName();

private:
    std::unique_ptr<Fixture> f;
    QString source(const QString& name, const QByteArray& bytes);
};

namespace {
QString folderFile(const Fixture& f, const QString& name)
{
    return f.file("Documenti_Allegati/" + name);
}

// Opens the card's attachments screen and runs act on it.
void onAttach(TestUi& ui, std::function<void(TfrmAllegaCartella*)> act)
{
    ui.onExec([act](QDialog* d) {
        auto* s = qobject_cast<TfrmAllegaCartella*>(d);
        if (!s)
            return -1;
        act(s);
        return s->result();
    });
}
} // namespace

void TestAttachments::init()
{
    f = std::make_unique<Fixture>();
}

QString TestAttachments::source(const QString& name, const QByteArray& bytes)
{
    QDir(f->path()).mkpath("scelti");
    const QString path = f->file("scelti/" + name);
    writeBytes(path, bytes);
    return path;
}

void TestAttachments::opensFromTheCardsSlots()
{
    frmInterventi->show();
    frmInterventi->lblFile[1]->setText("  perizia.pdf ");
    frmInterventi->lblDesc[2]->setText(" solo descrizione ");
    onAttach(f->ui, [](TfrmAllegaCartella* s) {
        QCOMPARE(s->lblMemory->text(), QString("interventi"));
        QCOMPARE(s->txtFile[0]->text(), QString());
        QCOMPARE(s->txtFile[1]->text(), QString("perizia.pdf"));
        QCOMPARE(s->txtDesc[2]->text(), QString("solo descrizione"));
        QVERIFY(!s->btnApri[0]->isEnabled());
        QVERIFY(s->btnApri[1]->isEnabled());
        QVERIFY(!s->btnApri[2]->isEnabled());
        QVERIFY(s->txtFile[0]->isReadOnly());
        s->txtDesc[0]->setText("  descrizione senza file  ");
        QTest::mouseClick(s->btnApplica, Qt::LeftButton);
    });
    QTest::mouseClick(frmInterventi->cmdFile, Qt::LeftButton);
    QCOMPARE(f->ui.takeExecuted(), QStringList{"frmAllegaCartella"});
    QCOMPARE(frmInterventi->lblFile[1]->text(), QString("perizia.pdf"));
    QCOMPARE(frmInterventi->lblDesc[0]->text(), QString("descrizione senza file"));
    QCOMPARE(frmInterventi->lblDesc[2]->text(), QString("solo descrizione"));
}

void TestAttachments::browseCopiesIntoTheFolder()
{
    frmOpere->show();
    const QString chosen = source("restauro.jpg", "the photo bytes");
    f->ui.chooseFile(chosen);
    onAttach(f->ui, [](TfrmAllegaCartella* s) {
        QCOMPARE(s->lblMemory->text(), QString("opere"));
        QTest::mouseClick(s->btnSfoglia[2], Qt::LeftButton);
        QCOMPARE(s->txtFile[2]->text(), QString("restauro.jpg"));
        QVERIFY(s->btnApri[2]->isEnabled());
        QTest::mouseClick(s->btnApri[2], Qt::LeftButton);
        QTest::mouseClick(s->btnApplica, Qt::LeftButton);
    });
    frmOpere->cmdFileClick();
    const QList<Ui::FileDialog> dialogs = f->ui.takeFileDialogs();
    QCOMPARE(dialogs.size(), 1);
    QCOMPARE(dialogs[0].title, QString("Selezionare il file da allegare:"));
    QCOMPARE(dialogs[0].filters, QStringList{"Tutti i file (*.*)"});
    QCOMPARE(readBytes(folderFile(*f, "restauro.jpg")), QByteArray("the photo bytes"));
    QCOMPARE(f->ui.takeOpened(), QStringList{"\"" + folderFile(*f, "restauro.jpg") + "\""});
    QCOMPARE(frmOpere->lblFile[2]->text(), QString("restauro.jpg"));
    f->ui.takeExecuted();
}

void TestAttachments::sameNameAsksBeforeOverwriting_data()
{
    QTest::addColumn<bool>("overwrite");
    QTest::newRow("Yes replaces the copy") << true;
    QTest::newRow("No keeps the copy") << false;
}

void TestAttachments::sameNameAsksBeforeOverwriting()
{
    QFETCH(bool, overwrite);
    QDir(f->path()).mkpath("Documenti_Allegati");
    writeBytes(folderFile(*f, "perizia.pdf"), "older copy");
    const QString chosen = source("perizia.pdf", "newer file");
    TfrmAllegaCartella s(f->ui, frmOpere, frmOpere->lblFile, frmOpere->lblDesc);
    f->ui.chooseFile(chosen);
    f->ui.answerNext(overwrite ? Ui::Answer::Yes : Ui::Answer::No);
    s.btnSfogliaClick(0);
    QCOMPARE(
        f->ui.takeMessages(),
        (QList<TestUi::Message>{{Ui::Kind::Plain,
                                 QString::fromUtf8("Attenzione: nella cartella dei documenti allegati \u00E8 presente "
                                                   "un file con lo stesso nome.\r\n\r\nSi vuole sovrascrivere il file "
                                                   "esistente?"),
                                 {}}}));
    f->ui.takeFileDialogs();
    QCOMPARE(s.txtFile[0]->text(), QString("perizia.pdf"));
    QCOMPARE(readBytes(folderFile(*f, "perizia.pdf")), overwrite ? QByteArray("newer file") : QByteArray("older copy"));
}

void TestAttachments::cancelledDialogChangesNothing()
{
    TfrmAllegaCartella s(f->ui, frmOpere, frmOpere->lblFile, frmOpere->lblDesc);
    s.txtFile[1]->setText("vecchio.doc");
    f->ui.chooseFile({});
    s.btnSfogliaClick(1);
    f->ui.takeFileDialogs();
    QCOMPARE(s.txtFile[1]->text(), QString("vecchio.doc"));
    QVERIFY(s.btnApri[1]->isEnabled());
    QVERIFY(!QFileInfo::exists(attachments::folder()));
}

void TestAttachments::clearThenCancelOrApply()
{
    frmOpere->lblFile[0]->setText("contratto.pdf");
    frmOpere->lblDesc[0]->setText("Contratto");
    for (bool apply : {false, true}) {
        TfrmAllegaCartella s(f->ui, frmOpere, frmOpere->lblFile, frmOpere->lblDesc);
        s.lblMemory->setText("opere");
        QTest::mouseClick(s.imgCancella[0], Qt::LeftButton);
        QCOMPARE(s.txtFile[0]->text(), QString());
        QVERIFY(!s.btnApri[0]->isEnabled());
        QCOMPARE(s.txtDesc[0]->text(), QString("Contratto"));
        QTest::mouseClick(apply ? s.btnApplica : s.btnAnnulla, Qt::LeftButton);
        QCOMPARE(frmOpere->lblFile[0]->text(), apply ? QString() : QString("contratto.pdf"));
        QCOMPARE(frmOpere->lblDesc[0]->text(), QString("Contratto"));
    }
}

void TestAttachments::folderThatCannotBeMadeSaysSoAndKeepsTheSlot()
{
    writeBytes(f->file("Documenti_Allegati"), "a file where the folder should be");
    const QString chosen = source("relazione.pdf", "bytes");
    TfrmAllegaCartella s(f->ui, frmOpere, frmOpere->lblFile, frmOpere->lblDesc);
    s.txtFile[0]->setText("precedente.pdf");
    f->ui.chooseFile(chosen);
    s.btnSfogliaClick(0);
    f->ui.takeFileDialogs();
    const QList<TestUi::Message> shown = f->ui.takeMessages();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].kind, Ui::Kind::Warning);
    QVERIFY(shown[0].text.contains(QString::fromUtf8("\u00ABrelazione.pdf\u00BB")));
    QVERIFY(shown[0].text.contains("documenti allegati"));
    QCOMPARE(s.txtFile[0]->text(), QString("precedente.pdf"));
}

void TestAttachments::theFoldersOwnCopyIsNotCopiedOntoItself()
{
    QDir(f->path()).mkpath("Documenti_Allegati");
    writeBytes(folderFile(*f, "video.mp4"), QByteArray(100000, 'v'));
    TfrmAllegaCartella s(f->ui, frmOpere, frmOpere->lblFile, frmOpere->lblDesc);
    f->ui.chooseFile(folderFile(*f, "video.mp4"));
    s.btnSfogliaClick(1);
    f->ui.takeFileDialogs();
    QCOMPARE(s.txtFile[1]->text(), QString("video.mp4"));
    QCOMPARE(readBytes(folderFile(*f, "video.mp4")), QByteArray(100000, 'v'));
    QCOMPARE(QDir(attachments::folder()).entryList(QDir::Files | QDir::Hidden), QStringList{"video.mp4"});
}

void TestAttachments::openStaysInsideTheFolder_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("opened"); // empty: nothing opened
    QTest::newRow("bare name") << "perizia.pdf"
                               << "perizia.pdf";
    QTest::newRow("climbing out") << "../../etc/passwd"
                                  << "passwd";
    QTest::newRow("absolute path") << "/home/user/segreto.txt"
                                   << "segreto.txt";
    QTest::newRow("backslashes") << "..\\..\\Windows\\win.ini"
                                 << "win.ini";
    QTest::newRow("parent alone") << ".."
                                  << "";
    QTest::newRow("NUL inside") << QString::fromUtf8("..\0x.pdf", 8) << "";
    QTest::newRow("control character") << "perizia\x01.pdf"
                                       << "";
    QTest::newRow("line break") << "perizia\n.pdf"
                                << "";
}

void TestAttachments::openStaysInsideTheFolder()
{
    QFETCH(QString, stored);
    QFETCH(QString, opened);
    frmOpere->lblFile[0]->setText(stored);
    TfrmAllegaCartella s(f->ui, frmOpere, frmOpere->lblFile, frmOpere->lblDesc);
    // A name is shown as far as its first NUL.
    QVERIFY(!s.txtFile[0]->text().contains(QChar(0)));
    s.btnApriClick(0);
    QCOMPARE(f->ui.takeOpened(), opened.isEmpty() ? QStringList{} : QStringList{"\"" + folderFile(*f, opened) + "\""});
    // A name that leads nowhere opens nothing, and says so.
    const QList<TestUi::Message> shown = f->ui.takeMessages();
    QCOMPARE(shown.size(), opened.isEmpty() ? 1 : 0);
    if (!shown.isEmpty())
        QVERIFY(shown[0].text.startsWith(QString::fromUtf8("Attenzione: il nome del file allegato non \u00E8 valido")));
}

void TestAttachments::namesTheRecordCanHold_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("stored");
    QTest::newRow("plain") << "LEGGIMI"
                           << "LEGGIMI";
    QTest::newRow("accents of the code page")
        << QString::fromUtf8("Citt\u00E0 d'\u00C9lite.pdf") << QString::fromUtf8("Citt\u00E0 d'\u00C9lite.pdf");
    QTest::newRow("Greek and Japanese") << QString::fromUtf8(
        "Relazione_\u0395\u03BB\u03BB\u03AC\u03B4\u03B1_\u65E5\u672C.pdf")
                                        << "Relazione_Ellada.pdf";
    QTest::newRow("Cyrillic") << QString::fromUtf8("\u0414\u043E\u043A\u043B\u0430\u0434.docx") << "Doklad.docx";
    QTest::newRow("accents the code page lacks")
        << QString::fromUtf8("\u0141\u00F3d\u017A \u0219i Cluj.jpg") << QString::fromUtf8("L\u00F3dz si Cluj.jpg");
    QTest::newRow("nothing to spell") << QString::fromUtf8("\u65E5\u672C.pdf") << "allegato.pdf";
    QTest::newRow("inner run") << QString::fromUtf8("a\u65E5\u672Cb.txt") << "a_b.txt";
    QTest::newRow("emoji") << QString::fromUtf8("foto \U0001F600.jpg") << "foto.jpg";
    QTest::newRow("control character") << "riga\nnuova.txt"
                                       << "riga_nuova.txt";
    QTest::newRow("too long") << QString(300, u'x') + ".pdf" << QString(246, u'x') + ".pdf";
    QTest::newRow("a dot inside a long name") << "Restauro.campagna fotografica 2024"
                                              << "Restauro.campagna fotografica 2024";
    // Names the record holds but a file system refuses.
    QTest::newRow("backslash") << "a\\b.pdf"
                               << "a_b.pdf";
    QTest::newRow("Windows' reserved characters") << "a:b?.pdf"
                                                  << "a_b.pdf";
    QTest::newRow("every reserved character") << "1\\2/3:4*5?6\"7<8>9|0.txt"
                                              << "1_2_3_4_5_6_7_8_9_0.txt";
    QTest::newRow("trailing dots and spaces") << "verbale. . ."
                                              << "verbale";
    QTest::newRow("trailing dot after the extension") << "verbale.pdf."
                                                      << "verbale.pdf";
    QTest::newRow("device name") << "CON.pdf"
                                 << "CON_.pdf";
    QTest::newRow("device name in lower case") << "nul"
                                               << "nul_";
    QTest::newRow("device name, two extensions") << "com1.tar.gz"
                                                 << "com1_.tar.gz";
    QTest::newRow("device name with a space") << "LPT9 .doc"
                                              << "LPT9_ .doc";
    QTest::newRow("not a device name") << "CONSOLE.pdf"
                                       << "CONSOLE.pdf";
    QTest::newRow("COM0 is no device") << "COM0.pdf"
                                       << "COM0.pdf";
}

void TestAttachments::namesTheRecordCanHold()
{
    QFETCH(QString, chosen);
    QFETCH(QString, stored);
    const QString name = attachments::storableName(chosen);
    QCOMPARE(name, stored);
    QVERIFY(name.size() <= attachments::kMaxName);
    for (QChar c : name)
        QVERIFY(cp1252::holds(c) && c.category() != QChar::Other_Control && !QString("\\/:*?\"<>|").contains(c));
    QVERIFY(!filenames::isDeviceName(name));
    QVERIFY(!name.endsWith(u'.') && !name.endsWith(u' '));
    QCOMPARE(attachments::portableName(chosen).change == filenames::Change::None, name == chosen);
}

// "a\\b.pdf" is a legal name on Linux and what a pasted Windows path becomes. It is attached
// as "a_b.pdf": the slot and the copy agree, and another card's "b.pdf" is never touched.
void TestAttachments::namesOtherSystemsRefuse()
{
#ifdef Q_OS_WIN
    QSKIP("Windows makes no file whose name holds a backslash; namesTheRecordCanHold covers the rule there.");
#endif
    QDir(f->path()).mkpath("Documenti_Allegati");
    writeBytes(folderFile(*f, "b.pdf"), "another card's document");
    const QString chosen = source("a\\b.pdf", "the chosen document");
    frmOpere->show();
    f->ui.chooseFile(chosen);
    onAttach(f->ui, [&](TfrmAllegaCartella* s) {
        QTest::mouseClick(s->btnSfoglia[0], Qt::LeftButton);
        QCOMPARE(s->txtFile[0]->text(), QString("a_b.pdf"));
        QTest::mouseClick(s->btnApplica, Qt::LeftButton);
    });
    QTest::mouseClick(frmOpere->cmdFile, Qt::LeftButton);
    f->ui.takeExecuted();
    f->ui.takeFileDialogs();
    QCOMPARE(
        f->ui.takeMessages(),
        (QList<TestUi::Message>{
            {Ui::Kind::Information,
             QString::fromUtf8("Il file \u00ABa\\b.pdf\u00BB \u00E8 stato allegato con il nome \u00ABa_b.pdf\u00BB, "
                               "perch\u00E9 il suo nome non \u00E8 valido come nome di file in Windows."),
             {}}}));
    QCOMPARE(readBytes(folderFile(*f, "a_b.pdf")), QByteArray("the chosen document"));
    QCOMPARE(readBytes(folderFile(*f, "b.pdf")), QByteArray("another card's document"));
    QCOMPARE(frmOpere->lblFile[0]->text(), QString("a_b.pdf"));
}

// Two names that differ only in case are one file on Windows: choosing "perizia.pdf" where
// "Perizia.PDF" is asks before replacing it, and the folder never holds both.
void TestAttachments::namesDifferingInCaseAreOneName_data()
{
    QTest::addColumn<bool>("replace");
    QTest::newRow("Yes replaces it") << true;
    QTest::newRow("No keeps it") << false;
}

void TestAttachments::namesDifferingInCaseAreOneName()
{
    QFETCH(bool, replace);
    QDir(f->path()).mkpath("Documenti_Allegati");
    writeBytes(folderFile(*f, "Perizia.PDF"), "the earlier copy");
    const QString chosen = source("perizia.pdf", "the new copy");
    frmOpere->show();
    f->ui.chooseFile(chosen);
    f->ui.answerNext(replace ? Ui::Answer::Yes : Ui::Answer::No);
    onAttach(f->ui, [&](TfrmAllegaCartella* s) {
        QTest::mouseClick(s->btnSfoglia[0], Qt::LeftButton);
        QTest::mouseClick(s->btnApplica, Qt::LeftButton);
    });
    QTest::mouseClick(frmOpere->cmdFile, Qt::LeftButton);
    f->ui.takeExecuted();
    f->ui.takeFileDialogs();
    QCOMPARE(f->ui.takeMessages().size(), 1); // the question about replacing the file
    QCOMPARE(QDir(f->file("Documenti_Allegati")).entryList(QDir::Files), QStringList{"Perizia.PDF"});
    QCOMPARE(readBytes(folderFile(*f, "Perizia.PDF")),
             replace ? QByteArray("the new copy") : QByteArray("the earlier copy"));
    if (replace)
        QCOMPARE(frmOpere->lblFile[0]->text(), QString("Perizia.PDF"));
}

void TestAttachments::nameOutsideTheCodePageSurvivesASave_data()
{
    QTest::addColumn<QString>("card");
    QTest::addColumn<bool>("taken"); // the folder already has a file of the new name
    QTest::newRow("artwork card") << "opere" << false;
    QTest::newRow("report card") << "interventi" << false;
    QTest::newRow("artwork card, name taken") << "opere" << true;
}

void TestAttachments::nameOutsideTheCodePageSurvivesASave()
{
    QFETCH(QString, card);
    QFETCH(bool, taken);
    const QString chosenName = QString::fromUtf8("Relazione_\u0395\u03BB\u03BB\u03AC\u03B4\u03B1_\u65E5\u672C.pdf");
    const QString chosen = source(chosenName, "the report bytes");
    if (taken) {
        QDir(f->path()).mkpath("Documenti_Allegati");
        writeBytes(folderFile(*f, "Relazione_Ellada.pdf"), "another card's file");
    }
    const QString name = taken ? "Relazione_Ellada (2).pdf" : "Relazione_Ellada.pdf";
    QWidget* screen = card == "opere" ? static_cast<QWidget*>(frmOpere) : frmInterventi;
    screen->show();
    if (card == "opere") {
        frmOpere->txtCapo->setText("Annunciazione");
        frmOpere->txtColore->setText("Anonimo");
        frmOpere->txtTessuto->setText("1500");
        frmOpere->txtCliente->setText("Rossi");
    } else {
        for (QLineEdit* e : {frmInterventi->txtNumScheda, frmInterventi->txtData, frmInterventi->txtAzienda,
                             frmInterventi->txtCliente, frmInterventi->txtRecapito, frmInterventi->txtVeicolo,
                             frmInterventi->txtTarga, frmInterventi->txtChilometraggio})
            e->setText("x");
    }
    f->ui.chooseFile(chosen);
    onAttach(f->ui, [&](TfrmAllegaCartella* s) {
        QTest::mouseClick(s->btnSfoglia[0], Qt::LeftButton);
        QCOMPARE(s->txtFile[0]->text(), name);
        QTest::mouseClick(s->btnApplica, Qt::LeftButton);
    });
    QTest::mouseClick(child<QAbstractButton>(screen, "cmdFile"), Qt::LeftButton);
    f->ui.takeExecuted();
    f->ui.takeFileDialogs();
    // The user is told the name it was attached under.
    QCOMPARE(
        f->ui.takeMessages(),
        (QList<TestUi::Message>{{Ui::Kind::Information,
                                 QString::fromUtf8("Il file \u00AB") + chosenName
                                     + QString::fromUtf8("\u00BB \u00E8 stato allegato con il nome \u00AB") + name
                                     + QString::fromUtf8("\u00BB, perch\u00E9 il suo nome contiene caratteri che la "
                                                         "scheda non pu\u00F2 conservare."),
                                 {}}}));
    QCOMPARE(readBytes(folderFile(*f, name)), QByteArray("the report bytes"));
    if (taken)
        QCOMPARE(readBytes(folderFile(*f, "Relazione_Ellada.pdf")), QByteArray("another card's file"));
    // Saved, browsed away and back: the slot, the file and Apri agree.
    QTest::mouseClick(child<QAbstractButton>(screen, "cmdSalva"), Qt::LeftButton);
    f->ui.takeMessages();
    QTest::mouseClick(child<QAbstractButton>(screen, "cmdNuovo"), Qt::LeftButton);
    QTest::mouseClick(child<QAbstractButton>(screen, "cmdPrimo"), Qt::LeftButton);
    QCOMPARE(child<QLabel>(screen, "lblFile01")->text(), name);
    onAttach(f->ui, [](TfrmAllegaCartella* s) {
        QTest::mouseClick(s->btnApri[0], Qt::LeftButton);
        QTest::mouseClick(s->btnAnnulla, Qt::LeftButton);
    });
    QTest::mouseClick(child<QAbstractButton>(screen, "cmdFile"), Qt::LeftButton);
    f->ui.takeExecuted();
    QCOMPARE(f->ui.takeOpened(), QStringList{"\"" + folderFile(*f, name) + "\""});
}

// A laboratory folder unpacked from a zip made on Windows holds the card's copy under its
// Windows-1252 bytes: Apri gives it the name the card has, and opens it.
void TestAttachments::copyNamedByWindowsOpens()
{
    if (!platform::holdsName("citt\xe0.pdf"))
        QSKIP("this system's names are always Unicode");
    QDir(f->path()).mkpath("Documenti_Allegati");
    const int fd = platform::createFile(platform::encodeName(attachments::folder()) + "/citt\xe0.pdf");
    QVERIFY(fd >= 0);
    QVERIFY(platform::writeAt(fd, 0, "the contract", 12));
    platform::closeFile(fd);
    frmOpere->lblFile[0]->setText(QString::fromUtf8("citt\u00E0.pdf"));
    TfrmAllegaCartella s(f->ui, frmOpere, frmOpere->lblFile, frmOpere->lblDesc);
    s.btnApriClick(0);
    QCOMPARE(f->ui.takeOpened(), QStringList{"\"" + folderFile(*f, QString::fromUtf8("citt\u00E0.pdf")) + "\""});
    QCOMPARE(readBytes(folderFile(*f, QString::fromUtf8("citt\u00E0.pdf"))), QByteArray("the contract"));
    QVERIFY(filenames::foreignNames(attachments::folder()).isEmpty());
}

void TestAttachments::largeFilesAreCopiedInBlocks()
{
    QByteArray big(18 * 1024 * 1024 + 17, Qt::Uninitialized);
    for (qsizetype i = 0; i < big.size(); ++i)
        big[i] = char(i * 7 + i / 4096);
    const QString from = source("video.mp4", big);
    QDir(f->path()).mkpath("Documenti_Allegati");
    QList<qint64> steps;
    attachments::copy(from, folderFile(*f, "video.mp4"), [&](qint64 done, qint64 total) {
        steps << done;
        return total == big.size();
    });
    QVERIFY(steps.size() >= 4);
    QCOMPARE(steps.last(), big.size());
    QCOMPARE(readBytes(folderFile(*f, "video.mp4")), big);
    // Stopped half way: the folder keeps what it had.
    writeBytes(folderFile(*f, "video.mp4"), "older");
    QVERIFY_THROWS_EXCEPTION(IoError, attachments::copy(from, folderFile(*f, "video.mp4"),
                                                        [](qint64 done, qint64) { return done < 8 * 1024 * 1024; }));
    QCOMPARE(readBytes(folderFile(*f, "video.mp4")), QByteArray("older"));
}

QTEST_MAIN(TestAttachments)
#include "tst_attachments.moc"
