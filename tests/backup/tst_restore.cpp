// The restore: exactly the backup's data in place, the journals' indexes gone with the data
// they indexed, a swap killed at any point completed or undone at the next start, a rename
// that fails undone at once, a swap that cannot succeed refused before it begins, and a
// backup whose names this disk cannot keep apart refused before anything changes.
#include "backup/BackupReader.h"
#include "backup/BackupWriter.h"
#include "backup/Laboratory.h"
#include "backup/Restore.h"
#include "documentation/PhotoList.h"
#include "documentation/Thumbnails.h"
#include "storage/Platform.h"
#include "storage/ProgramDir.h"
#include "storage/SafeFile.h"

#include "BackupFixture.h"

#include <QBuffer>

using namespace backuptest;

class TestRestore : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void restoreBringsBackTheBackup();
    void restoresWhatAnotherZipWriterMade();
    void indexesGoWithTheData();
    void killedRestore_data();
    void killedRestore();
    void undoInterruptedIsFinishedAtStart();
    void readOnlyFolderStopsTheRestoreBeforeTheSwap();
    void failedRenameIsUndone();
    void twoRestoresKeepBothSafetyCopies();
    void namesTheDiskCannotKeepApart();
    void documentationComesBackWithoutItsThumbnails();
    void folderNamedInAnyScript();

private:
    // The laboratory changed after its backup: other contents, a file less, one more.
    Snapshot changeAfterBackup()
    {
        QDir(labPath("Restauri")).removeRecursively();
        QFile::remove(labPath("Logo.bmp"));
        fillLaboratory(lab_->lab(), 9); // other contents under the same names
        QFile::remove(labPath("Logo.bmp"));
        put(labPath("Documenti_Allegati/solo_vecchio.txt"), "old only");
        return snapshot(lab_->lab(), kOutside);
    }
    QStringList safetyCopies() const
    {
        return QDir(labPath("Backup")).entryList({"Brevanto-prima-del-ripristino-*.zip"});
    }

    std::unique_ptr<Lab> lab_;
    QString labPath(const QString& name) const { return lab_->labPath(name); }
    QString outPath(const QString& name) const { return lab_->outPath(name); }
    QString backup(const QString& name = QStringLiteral("b.zip")) const { return lab_->backup(name); }
};

void TestRestore::init()
{
    lab_ = std::make_unique<Lab>();
}

void TestRestore::cleanup()
{
    lab_.reset();
}

// A restore puts back exactly what the backup held: changed files, deleted ones and files
// added since; what lies outside the laboratory stays; the data it replaced is in Backup.
void TestRestore::restoreBringsBackTheBackup()
{
    const Snapshot before = snapshot(lab_->lab(), kOutside);
    const QString zip = backup();
    put(labPath("Inventario_Opere.pro"), records(2925, 5, "dopo"));
    QFile::remove(labPath("Logo.bmp"));
    QFile::remove(labPath("Inventario_Opere.cronologia"));
    put(labPath("Relazioni_Tecniche_Restauro.cronologia"), "a journal the backup has not");
    put(labPath("Documenti_Allegati/nuovo.doc"), "added later");
    QDir(labPath("Restauri")).removeRecursively();
    const Snapshot changed = snapshot(lab_->lab(), kOutside);

    NoProgress quiet;
    const restore::Result r = restore::restoreBackup(zip, quiet);
    COMPARE_SNAPSHOTS(snapshot(lab_->lab(), kOutside), before);
    QCOMPARE(r.restored.artworks, 3);
    QCOMPARE(get(labPath("brevanto")), QByteArray("the program"));
    QCOMPARE(get(labPath("altro.txt")), QByteArray("someone else's file"));
    QVERIFY(!QFileInfo::exists(labPath(restore::kStaging)));

    // The safety copy holds the data that was replaced.
    QCOMPARE(QFileInfo(r.safetyCopy).absolutePath(), QFileInfo(labPath("Backup")).absoluteFilePath());
    QCOMPARE(verifyBackup(r.safetyCopy, quiet).artworks, 5);
    restore::restoreBackup(r.safetyCopy, quiet);
    COMPARE_SNAPSHOTS(snapshot(lab_->lab(), kOutside), changed);
}

// A backup as a general zip library writes it (as the program's earlier versions did: every
// member deflated, sizes after the data) is checked and restored like the program's own.
void TestRestore::restoresWhatAnotherZipWriterMade()
{
    const Snapshot before = snapshot(lab_->lab(), kOutside);
    QList<Member> members;
    for (const laboratory::Entry& e : laboratory::collect(lab_->lab()))
        members.append({QString::fromUtf8(e.name),
                        e.isFolder() ? QByteArray() : get(labPath(QString::fromUtf8(e.name))),
                        int(e.isFolder() ? AE_IFDIR : AE_IFREG)});
    const QString zip = outPath("altro.zip");
    writeZip(zip, members, manifestFor(members, 3, 2));
    fillLaboratory(lab_->lab(), 5);
    NoProgress quiet;
    QCOMPARE(verifyBackup(zip, quiet).members.size(), members.size());
    restore::restoreBackup(zip, quiet);
    COMPARE_SNAPSHOTS(snapshot(lab_->lab(), kOutside), before);
}

// The journals' indexes go with the data they were built from, at every restore: the journals
// put back get fresh ones, also when a restore is undone by restoring its safety copy.
void TestRestore::indexesGoWithTheData()
{
    const QString zip = backup();
    const QStringList indexes = {"Inventario_Opere.cronologia.indice", "Relazioni_Tecniche_Restauro.cronologia.indice"};
    for (const QString& index : indexes)
        put(labPath(index), "an index of the journal before the restore");
    NoProgress quiet;
    const restore::Result r = restore::restoreBackup(zip, quiet);
    for (const QString& index : indexes)
        QVERIFY2(!QFileInfo::exists(labPath(index)), qPrintable(index));
    put(labPath(indexes[0]), "an index of the restored journal");
    restore::restoreBackup(r.safetyCopy, quiet);
    QVERIFY(!QFileInfo::exists(labPath(indexes[0])));
}

void TestRestore::killedRestore_data()
{
    QTest::addColumn<int>("step");
    QTest::addColumn<qint64>("after");
    QTest::addColumn<bool>("newData"); // what the folder holds after the next start
    QTest::addColumn<bool>("safetyCopy");
    QTest::newRow("while unpacking") << int(Progress::Step::Unpacking) << qint64(100000) << false << false;
    QTest::newRow("while writing the safety copy") << int(Progress::Step::Writing) << qint64(250000) << false << false;
    QTest::newRow("before the first swap") << int(Progress::Step::Replacing) << qint64(0) << true << true;
    QTest::newRow("halfway through the swap") << int(Progress::Step::Replacing) << qint64(5) << true << true;
    QTest::newRow("after the folders") << int(Progress::Step::Replacing) << qint64(12) << true << true;
    QTest::newRow("after the swap") << int(Progress::Step::Replacing) << qint64(14) << true << true;
    QTest::newRow("while cleaning up") << int(Progress::Step::Cleaning) << qint64(0) << true << true;
}

// kill -9 at any point of a restore: at the next start the folder holds either the old
// data or the new, whole, and from the swap on the safety copy of the old data is there.

// kill -9 at any point of a restore: at the next start the folder holds either the old
// data or the new, whole, and from the swap on the safety copy of the old data is there.
void TestRestore::killedRestore()
{
    QFETCH(int, step);
    QFETCH(qint64, after);
    QFETCH(bool, newData);
    QFETCH(bool, safetyCopy);
    const Snapshot fresh = snapshot(lab_->lab(), kOutside);
    const QString zip = backup();
    const Snapshot old = changeAfterBackup();

    QCOMPARE(helper({"restore", lab_->lab(), zip, QString::number(step), QString::number(after)}).code, -1);

    const restore::Recovered recovered = restore::recoverInterrupted();
    QCOMPARE(recovered.what, newData ? restore::Recovery::Completed : restore::Recovery::Discarded);
    COMPARE_SNAPSHOTS(snapshot(lab_->lab(), kOutside), newData ? fresh : old);
    QVERIFY(!QFileInfo::exists(labPath(restore::kStaging)));
    const QStringList copies = safetyCopies();
    QCOMPARE(copies.size(), safetyCopy ? 1 : 0);
    if (safetyCopy) {
        NoProgress quiet;
        const Manifest m = verifyBackup(labPath("Backup/" + copies[0]), quiet);
        QVERIFY(std::any_of(m.members.begin(), m.members.end(),
                            [](const Manifest::Member& x) { return x.name == "Documenti_Allegati/solo_vecchio.txt"; }));
    }
}

// Another workstation appends cards all through the backups: every archive a backup holds
// is made of whole records, in the order they were saved.

// A swap killed halfway while it was being undone is undone at the next start: the old data.
void TestRestore::undoInterruptedIsFinishedAtStart()
{
    const QString zip = backup();
    const Snapshot old = changeAfterBackup();
    QCOMPARE(helper({"restore", lab_->lab(), zip, QString::number(int(Progress::Step::Replacing)), "11"}).code, -1);
    // As the undo leaves it when it is stopped before its first rename.
    const QString marker = labPath(restore::kStaging + "/scambio");
    QByteArray text = get(marker);
    QVERIFY(text.startsWith("Brevanto: sostituzione in corso\n"));
    writeFileSafely(marker, text.replace("in corso", "annullata"));

    const restore::Recovered recovered = restore::recoverInterrupted();
    QCOMPARE(recovered.what, restore::Recovery::Undone);
    COMPARE_SNAPSHOTS(snapshot(lab_->lab(), kOutside), old);
    QVERIFY(!restore::pending());
}

// A folder the swap cannot move (read-only, for an ordinary user) is found before the swap
// begins: the user is told which, and nothing has changed.
void TestRestore::readOnlyFolderStopsTheRestoreBeforeTheSwap()
{
    const QString zip = backup();
    const Snapshot old = changeAfterBackup();
    QVERIFY(QFile::setPermissions(labPath("Documenti_Allegati"), QFile::ReadOwner | QFile::ExeOwner));
    giveToUser({lab_->lab(), lab_->out()});
    const HelperRun r = helper({"restore", lab_->lab(), zip, "0", "999999999999", "--user"});
    QFile::setPermissions(labPath("Documenti_Allegati"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (r.code == 77)
        QSKIP("cannot run as an ordinary user here");
    QCOMPARE(r.code, 1);
    QVERIFY2(r.userText.contains(QString::fromUtf8("«Documenti_Allegati» non si può sostituire")),
             qPrintable(r.userText));
    QVERIFY(r.userText.endsWith(QString::fromUtf8("Nessun dato è stato modificato.")));
    COMPARE_SNAPSHOTS(snapshot(lab_->lab(), kOutside), old);
    QVERIFY(!restore::pending());
    QCOMPARE(safetyCopies(), QStringList());
}

// A rename that fails once the swap has begun (a folder made read-only meanwhile) moves back
// what was moved: the folder holds exactly the old data, and no restore is left pending.
void TestRestore::failedRenameIsUndone()
{
    const QString zip = backup();
    const Snapshot old = changeAfterBackup();
    giveToUser({lab_->lab(), lab_->out()});
    // Inventario is the tenth name swapped, Restauri the eleventh.
    const HelperRun r = helper({"restore", lab_->lab(), zip, QString::number(int(Progress::Step::Replacing)), "10",
                                "--user", "--readonly=" + labPath("Restauri")});
    QFile::setPermissions(labPath("Restauri"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (r.code == 77)
        QSKIP("cannot run as an ordinary user here");
    QCOMPARE(r.code, 1);
    QCOMPARE(r.userText, QString()); // the screen says the restore failed and nothing changed
    QVERIFY2(r.cause.contains("Restauri") && r.cause.contains(QString::fromLocal8Bit(std::strerror(EACCES))),
             qPrintable(r.cause));
    COMPARE_SNAPSHOTS(snapshot(lab_->lab(), kOutside), old);
    QVERIFY(!restore::pending());
    QCOMPARE(restore::recoverInterrupted().what, restore::Recovery::None);
}

// Two restores within one second keep both copies of the data they replaced.
void TestRestore::twoRestoresKeepBothSafetyCopies()
{
    const QString zip = backup();
    // The names the next seconds would give are taken already, as by a restore just before.
    const QDateTime now = QDateTime::currentDateTime();
    QStringList taken;
    for (int s = 0; s < 30; ++s) {
        taken << "Brevanto-prima-del-ripristino-" + now.addSecs(s).toString("yyyyMMdd-HHmmss") + ".zip";
        QVERIFY(QFile::copy(zip, labPath("Backup/" + taken.last())));
    }
    NoProgress quiet;
    const restore::Result r = restore::restoreBackup(zip, quiet);
    QVERIFY2(QFileInfo(r.safetyCopy).fileName().endsWith("-2.zip"), qPrintable(r.safetyCopy));
    QCOMPARE(safetyCopies().size(), 31);
    for (const QString& name : taken)
        QCOMPARE(get(labPath("Backup/" + name)), get(zip));
}

// Two members that the disk takes for one (here a file and a folder of one name; a file
// system that ignores case does the same with "Foto.jpg" and "foto.jpg") are found while
// unpacking: the restore is refused naming them, and nothing has changed.
void TestRestore::namesTheDiskCannotKeepApart()
{
    const QString path = outPath("x.zip");
    const QList<Member> members = {{"Documenti_Allegati/", {}, AE_IFDIR},
                                   {"Documenti_Allegati/perizia", "a file"},
                                   {"Documenti_Allegati/perizia/", {}, AE_IFDIR},
                                   {"Documenti_Allegati/perizia/allegato.pdf", "below a folder of that name"}};
    writeZip(path, members, manifestFor(members));
    NoProgress quiet;
    QCOMPARE(verifyBackup(path, quiet).members.size(), 4);
    const Snapshot before = snapshot(lab_->lab());
    try {
        restore::restoreBackup(path, quiet);
        QFAIL("the backup was restored");
    } catch (const InvalidBackup&) {
        QFAIL("the backup is valid; this disk cannot hold it");
    } catch (const IoError& e) {
        QVERIFY2(e.userText().startsWith(QString::fromUtf8("Attenzione: il backup non si può ripristinare in questa "
                                                           "cartella: ")),
                 qPrintable(e.userText()));
        QVERIFY2(e.userText().contains(QString::fromUtf8("«Documenti_Allegati/perizia»")), qPrintable(e.userText()));
    }
    COMPARE_SNAPSHOTS(snapshot(lab_->lab()), before);
}

QTEST_GUILESS_MAIN(TestRestore)
// A laboratory in a folder named in any script (on Windows, also outside the ANSI code
// page), backed up into a file so named, is restored whole.
void TestRestore::folderNamedInAnyScript()
{
    QTemporaryDir top;
    const QString lab =
        QDir(top.path()).filePath(QString::fromUtf8("Laborat\u03CCrio \u0391\u03B8\u03AE\u03BD\u03B1 citt\u00E0"));
    fillLaboratory(lab);
    programdir::Override here(lab);
    const Snapshot before = snapshot(lab, kOutside);
    NoProgress quiet;
    const QString zip =
        writeBackup(QDir(top.path()).filePath(QString::fromUtf8("copia \u03A9\u03BC\u03AD\u03B3\u03B1.zip")), quiet)
            .path;
    QVERIFY(QFileInfo::exists(zip));
    put(QDir(lab).filePath("Inventario_Opere.pro"), records(2925, 5, "dopo"));
    put(QDir(lab).filePath(QString::fromUtf8("Documenti_Allegati/\u03C0\u03B5\u03C1\u03AF.pdf")), "added later");
    restore::restoreBackup(zip, quiet);
    COMPARE_SNAPSHOTS(snapshot(lab, kOutside), before);
}

#include "tst_restore.moc"

// The cards' photographic documentation goes into the backup with its lists and photos and
// comes back with them; the thumbnails are a cache: left out, and made again when wanted. The
// manifest says how many photos each card's list names.
void TestRestore::documentationComesBackWithoutItsThumbnails()
{
    const auto listOf = [](int photos) {
        QList<documentation::Photo> list;
        for (int i = 1; i <= photos; ++i)
            list.append({QStringLiteral("Foto_%1.jpg").arg(i), QStringLiteral("Particolare"), QStringLiteral("Saggio"),
                         QDate(2024, 3, i), 10, quint32(i)});
        return documentation::encode(list);
    };
    QImage picture(64, 48, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(picture.save(&buffer, "JPEG"));
    put(labPath("Restauri/Documentazione/2/Elenco.ini"), listOf(3));
    for (int i = 1; i <= 3; ++i)
        put(labPath(QStringLiteral("Restauri/Documentazione/2/Foto_%1.jpg").arg(i)), jpeg);
    put(labPath("Inventario/Documentazione/1/Elenco.ini"), listOf(1));
    put(labPath("Inventario/Documentazione/1/Foto_1.jpg"), jpeg);
    const Snapshot before = snapshot(lab_->lab(), kOutside);
    // The thumbnails' cache as the documentation screen makes it.
    QVERIFY(!thumbnails::load(labPath("Restauri/Documentazione/2/Foto_1.jpg")).isNull());
    QVERIFY(QFileInfo::exists(labPath("Restauri/Documentazione/2/Miniature/Foto_1.jpg")));

    const QString zip = backup();
    NoProgress quiet;
    const Manifest m = verifyBackup(zip, quiet);
    for (const Manifest::Member& member : m.members)
        QVERIFY2(!member.name.contains("Miniature"), member.name.constData());
    QCOMPARE(m.documentation, (QList<Manifest::Documented>{{QStringLiteral("Inventario_Opere.pro"), 1, 1},
                                                           {QStringLiteral("Relazioni_Tecniche_Restauro.pro"), 2, 3}}));

    QDir(labPath("Restauri/Documentazione")).removeRecursively();
    put(labPath("Inventario/Documentazione/1/Elenco.ini"), listOf(0));
    restore::restoreBackup(zip, quiet);
    COMPARE_SNAPSHOTS(snapshot(lab_->lab(), kOutside), before);
    QVERIFY(!thumbnails::load(labPath("Restauri/Documentazione/2/Foto_3.jpg")).isNull());
}
