// The backup of a laboratory: what the zip holds and how, names as the bytes the disk holds,
// its manifest, the check that refuses every damaged or foreign file, where a backup may go
// and what it may replace, a full disk, interrupted runs, a backup taken while another
// workstation saves, and the automatic backups.
#include "backup/AutoBackup.h"
#include "backup/BackupReader.h"
#include "backup/BackupWriter.h"
#include "backup/Laboratory.h"
#include "backup/Manifest.h"
#include "backup/Restore.h"
#include "records/ArtworkArchive.h"
#include "storage/ArchiveFile.h"
#include "storage/Platform.h"
#include "storage/ProgramDir.h"

#include "BackupFixture.h"
#include "TestPlatform.h"

#include <QDirIterator>
#include <cstring>

using namespace backuptest;

class TestBackup : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void zipHoldsTheLaboratory();
    void manifestListsEveryMember();
    void manifestNames_data();
    void manifestNames();
    void memberNames_data();
    void memberNames();
    void namesAsTheirBytes_data();
    void namesAsTheirBytes();
    void whatIsNoFileIsTold();
    void unreadableIsNamed_data();
    void unreadableIsNamed();
    void refused_data();
    void refused();
    void fifoIsNotWaitedFor();
    void targetsRefused_data();
    void targetsRefused();
    void backupsReplaceOnlyBackups();
    void noBackupWhileARestoreIsPending();
    void fullDiskKeepsTheSystemsReason();
    void cancelledLeavesNoFile();
    void killedBackupLeavesNoFile();
    void onlyOwnTemporariesAreRemoved();
    void backupWhileAnotherWorkstationSaves();
    void backupWhileCardsAreSavedWithTheirHistory();
    void automaticBackupDue_data();
    void automaticBackupDue();
    void automaticBackupsKeepTheNewest();
    void automaticBackupKeptAfterTheClockWentBack();
    void automaticBackupsOfOneMinuteBothStay();
    void automaticBackupInsideTheLaboratoryRefused();

private:
    std::unique_ptr<Lab> lab_;
    QString labPath(const QString& name) const { return lab_->labPath(name); }
    QString outPath(const QString& name) const { return lab_->outPath(name); }
    QString backup(const QString& name = QStringLiteral("b.zip")) const { return lab_->backup(name); }
};

void TestBackup::init()
{
    lab_ = std::make_unique<Lab>();
}

void TestBackup::cleanup()
{
    lab_.reset();
}

// Every file of the laboratory and nothing else; a zip any tool reads; photos stored as
// they are, the rest compressed.
void TestBackup::zipHoldsTheLaboratory()
{
    NoProgress quiet;
    const BackupSummary s = writeBackup(outPath("b.zip"), quiet);
    QCOMPARE(s.artworks, 3);
    QCOMPARE(s.reports, 2);
    QCOMPARE(s.bytes, QFileInfo(outPath("b.zip")).size());
    QCOMPARE(QDir(lab_->out()).entryList(QDir::Files | QDir::Hidden), QStringList{"b.zip"});
    if (unzip().isEmpty())
        QSKIP("unzip is not installed (./build.sh test installs it)");
    int rc = -1;
    run(unzip(), {"-tq", outPath("b.zip")}, &rc);
    QCOMPARE(rc, 0);

    // zipinfo: one line per member, its method before the date and its name last.
    QMap<QString, QString> method;
    for (const QString& line : run(unzip(), {"-Z", outPath("b.zip")}).split(u'\n')) {
        const QStringList f = line.split(u' ', Qt::SkipEmptyParts);
        if (f.size() >= 9 && (f[0].startsWith(u'-') || f[0].startsWith(u'd')))
            method[f.mid(8).join(u' ')] = f[5];
    }
    QStringList expected;
    for (const auto& [name, bytes] : snapshot(lab_->lab(), kOutside))
        expected << QString::fromUtf8(bytes == "<folder>" ? name + '/' : name);
    expected << laboratory::kManifest;
    expected.sort();
    QStringList names = method.keys();
    names.sort();
    QCOMPARE(names, expected);
    QCOMPARE(method["Inventario/Opera_1.jpg"], QString("stor"));
    QCOMPARE(method["Logo.bmp"], QString("stor"));
    QCOMPARE(method["Inventario_Opere.pro"].left(3), QString("def"));
    QCOMPARE(method["Brevanto.ini"].left(3), QString("def"));
}

// The manifest: an INI text in Windows-1252 with the counts, the version and each member's
// size and SHA-256 as another implementation computes it.

// The manifest: an INI text in Windows-1252 with the counts, the version and each member's
// size and SHA-256 as another implementation computes it.
void TestBackup::manifestListsEveryMember()
{
    backup();
    if (unzip().isEmpty())
        QSKIP("unzip is not installed (./build.sh test installs it)");
    const QByteArray text = run(unzip(), {"-p", outPath("b.zip"), laboratory::kManifest}).toLatin1();
    QVERIFY(text.contains("\r\n"));
    const Manifest m = Manifest::decode(text);
    QCOMPARE(m.artworks, 3);
    QCOMPARE(m.reports, 2);
    QCOMPARE(m.version, QString("1.0"));
    QVERIFY(qAbs(m.date.secsTo(QDateTime::currentDateTime())) < 3600);
    int files = 0;
    for (const Manifest::Member& member : m.members) {
        if (member.name.endsWith('/')) {
            QVERIFY2(QFileInfo(labPath(QString::fromUtf8(member.name))).isDir(), member.name.constData());
            continue;
        }
        const QByteArray bytes = get(labPath(QString::fromUtf8(member.name)));
        QCOMPARE(member.size, bytes.size());
        QCOMPARE(member.sha256, QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
        ++files;
    }
    QCOMPARE(files, 11);
}

void TestBackup::manifestNames_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::newRow("plain") << QByteArray("Inventario/Opera_12.jpg");
    QTest::newRow("accents and comma") << QByteArray("Documenti_Allegati/Perizia citt\xC3\xA0, copia.pdf");
    QTest::newRow("outside windows-1252") << QByteArray("Documenti_Allegati/\xCE\x95\xCE\xBB.txt");
    QTest::newRow("not UTF-8") << QByteArray("Documenti_Allegati/citt\xE0.pdf");
    QTest::newRow("line break, backslash") << QByteArray("Documenti_Allegati/a\r\nb\\c.pdf");
    QTest::newRow("spaces first and last") << QByteArray("Documenti_Allegati/ nota .txt ");
    QTest::newRow("percent, equals, semicolon") << QByteArray("Documenti_Allegati/a%20b=c;d.txt");
    QTest::newRow("folder") << QByteArray("Documenti_Allegati/vuota/");
}

// Every name comes back from the manifest as it went in, byte for byte.
void TestBackup::manifestNames()
{
    QFETCH(QByteArray, name);
    Manifest m;
    m.date = QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5));
    m.version = QStringLiteral("1.0");
    const bool folder = name.endsWith('/');
    m.members.append({name, folder ? 0 : 7, folder ? QByteArray() : QByteArray(64, 'a')});
    m.members.append({"Logo.bmp", 1, QByteArray(64, 'b')});
    const Manifest back = Manifest::decode(m.encode());
    QCOMPARE(back.members, m.members);
    QCOMPARE(back.date, m.date);
}

void TestBackup::memberNames_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QString>("top");
    const struct {
        const char* row;
        QByteArray name;
        const char* top;
    } rows[] = {
        {"archive", "Inventario_Opere.pro", "Inventario_Opere.pro"},
        {"journal", "Relazioni_Tecniche_Restauro.cronologia", "Relazioni_Tecniche_Restauro.cronologia"},
        {"photo", "Restauri/Foto_A_3.jpg", "Restauri"},
        {"deep", "Restauri/Cronologia/x/Foto_A_3.jpg", "Restauri"},
        {"folder", "Documenti_Allegati/", "Documenti_Allegati"},
        {"kept photos' folder", "Inventario/Cronologia/", "Inventario"},
        {"a file named Cronologia among the documents", "Documenti_Allegati/Cronologia", "Documenti_Allegati"},
        {"not UTF-8", "Documenti_Allegati/citt\xE0.pdf", "Documenti_Allegati"},
        {"backslash", "Documenti_Allegati/a\\b.pdf", "Documenti_Allegati"},
        {"line break", "Documenti_Allegati/a\nb.pdf", "Documenti_Allegati"},
        {"dot-dot", "Inventario/../../etc/passwd", ""},
        {"dot-dot at the top", "../Inventario_Opere.pro", ""},
        {"absolute", "/Inventario_Opere.pro", ""},
        {"dot", "Inventario/./x.jpg", ""},
        {"empty part", "Inventario//x.jpg", ""},
        {"NUL byte", QByteArray("Inventario/a\0b", 13), ""},
        {"the executable", "brevanto", ""},
        {"the manual", "Guida.pdf", ""},
        {"the Backup folder", "Backup/x.zip", ""},
        {"an index", "Inventario_Opere.cronologia.indice", ""},
        {"below a file", "Logo.bmp/x", ""},
        {"a file as a folder", "Logo.bmp/", ""},
        {"a file where a folder belongs", "Inventario", ""},
        {"a file where kept photos belong", "Restauri/Cronologia", ""},
        {"case differs", "inventario/x.jpg", ""},
    };
    for (const auto& r : rows)
        QTest::newRow(r.row) << r.name << QString::fromLatin1(r.top);
}

void TestBackup::memberNames()
{
    QFETCH(QByteArray, name);
    QFETCH(QString, top);
    QCOMPARE(laboratory::topLevelOf(name), top);
}

void TestBackup::namesAsTheirBytes_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<bool>("utf8"); // the zip's flag: the name is UTF-8 beyond ASCII
    QTest::newRow("Latin-1, as an unzip of a Windows zip leaves") << QByteArray("citt\xE0.pdf") << false;
    QTest::newRow("Windows-1252 quotes") << QByteArray("\x93perizia\x94.doc") << false;
    QTest::newRow("UTF-8") << QByteArray("citt\xC3\xA0.pdf") << true;
    QTest::newRow("accent written apart (NFD)") << QByteArray("citta\xCC\x80.pdf") << true;
    QTest::newRow("line break") << QByteArray("verbale\n2024.pdf") << false;
    QTest::newRow("backslash") << QByteArray("C:\\Documenti\\perizia.pdf") << false;
    QTest::newRow("control character, trailing space") << QByteArray("nota\x01 ") << false;
}

// A file is backed up under the bytes of its name, whatever they encode, the zip's UTF-8 flag
// set only where the name is UTF-8; the check accepts it, any tool reads the zip, and the
// restore puts the file back under the same bytes.
void TestBackup::namesAsTheirBytes()
{
    QFETCH(QByteArray, name);
    QFETCH(bool, utf8);
#ifdef Q_OS_WIN
    // Windows keeps names in UTF-16 and refuses line breaks, backslashes and control characters.
    if (!utf8)
        QSKIP("Windows makes no file with this name.");
#endif
    const QByteArray member = "Documenti_Allegati/" + name;
    putBytes(platform::encodeName(lab_->lab()) + '/' + member, "the document");
    putBytes(platform::encodeName(lab_->lab()) + "/Documenti_Allegati/vuota/" + name, "");
    const Snapshot before = snapshot(lab_->lab(), kOutside);

    NoProgress quiet;
    const QString zip = backup();
    const Manifest m = verifyBackup(zip, quiet);
    QVERIFY(std::any_of(m.members.begin(), m.members.end(),
                        [&](const Manifest::Member& x) { return x.name == member && x.size == 12; }));
    const QByteArray bytes = get(zip);
    QCOMPARE(localFlags(bytes, member) & 0x800, utf8 ? 0x800 : 0);
    QCOMPARE(localFlags(bytes, "Inventario_Opere.pro"), 0);
    if (!unzip().isEmpty()) {
        int rc = -1;
        run(unzip(), {"-tq", zip}, &rc);
        QCOMPARE(rc, 0);
    }

    platform::removeAll(platform::encodeName(labPath("Documenti_Allegati")));
    restore::restoreBackup(zip, quiet);
    COMPARE_SNAPSHOTS(snapshot(lab_->lab(), kOutside), before);
}

// What stands among the laboratory's files but is no file (a link, a FIFO, a folder where the
// logo belongs) is not backed up, and the backup says so.
void TestBackup::whatIsNoFileIsTold()
{
    // Where the system has no FIFOs, or links need rights, the folder in the logo's place stays.
    const bool link = testplatform::makeSymlink(outPath("altrove.txt"), labPath("Documenti_Allegati/collegamento.pdf"));
    const bool fifo = testplatform::makeFifo(labPath("Restauri/coda"));
    QFile::remove(labPath("Logo.bmp"));
    QDir().mkpath(labPath("Logo.bmp"));
    NoProgress quiet;
    const BackupSummary s = writeBackup(outPath("b.zip"), quiet);
    QStringList expected{"Logo.bmp"};
    if (fifo)
        expected << "Restauri/coda";
    if (link)
        expected << "Documenti_Allegati/collegamento.pdf";
    QCOMPARE(s.leftOut, expected);
    QVERIFY(leftOutText(s).contains(QString::fromUtf8(fifo ? "«Restauri/coda»" : "«Logo.bmp»")));
    const Manifest m = verifyBackup(s.path, quiet);
    for (const Manifest::Member& x : m.members)
        QVERIFY2(!x.name.contains("coda") && !x.name.contains("collegamento") && !x.name.startsWith("Logo"),
                 x.name.constData());
}

void TestBackup::unreadableIsNamed_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("folder");
    QTest::addColumn<QString>("told");
    QTest::newRow("a file") << QString::fromUtf8("Documenti_Allegati/riservato è.pdf") << false
                            << QString::fromUtf8("il file «Documenti_Allegati/riservato è.pdf»");
    QTest::newRow("a folder") << "Restauri/chiusa" << true << QString::fromUtf8("la cartella «Restauri/chiusa»");
}

// What the backup cannot read stops it with a message that names it (for an ordinary user:
// root reads everything).
void TestBackup::unreadableIsNamed()
{
    QFETCH(QString, name);
    QFETCH(bool, folder);
    QFETCH(QString, told);
    if (folder)
        QDir().mkpath(labPath(name));
    else
        put(labPath(name), "private");
    QFile::setPermissions(labPath(name), {});
    giveToUser({lab_->lab(), lab_->out()});
    const HelperRun r = helper({"backup", lab_->lab(), outPath("b.zip"), "0", "999999999999", "--user"});
    QFile::setPermissions(labPath(name), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (r.code == 77)
        QSKIP("cannot run as an ordinary user here");
    QCOMPARE(r.code, 1);
    QVERIFY2(
        r.userText.startsWith(QString::fromUtf8("Attenzione: il backup non è stato salvato perché non si è potut")),
        qPrintable(r.userText));
    QVERIFY2(r.userText.contains(told), qPrintable(r.userText));
    QVERIFY2(r.cause.contains(QString::fromLocal8Bit(std::strerror(EACCES))), qPrintable(r.cause));
    QCOMPARE(QDir(lab_->out()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
}

void TestBackup::refused_data()
{
    QTest::addColumn<QString>("fault");
    for (const char* fault : {"empty file",
                              "text file",
                              "truncated to half",
                              "end cut off",
                              "flipped byte in a photo",
                              "flipped byte in an archive",
                              "flipped byte in the manifest",
                              "zip of other files",
                              "dot-dot member",
                              "absolute member",
                              "link member",
                              "member the manifest lacks",
                              "listed member missing",
                              "size disagrees",
                              "checksum disagrees",
                              "count disagrees",
                              "manifest twice",
                              "a file where a folder belongs",
                              "a file where kept photos belong",
                              "a file named as a folder"})
        QTest::newRow(fault) << QString::fromLatin1(fault);
}

// Every damaged or foreign file is refused by the check and by the restore, and the program
// folder stays byte for byte as it was.

// Every damaged or foreign file is refused by the check and by the restore, and the program
// folder stays byte for byte as it was.
void TestBackup::refused()
{
    QFETCH(QString, fault);
    const QString path = outPath("x.zip");
    const QByteArray good = get(backup());
    const QList<Member> fine = {{"Logo.bmp", "BM logo"}, {"Inventario/", {}, AE_IFDIR}};
    const auto forged = [&](QList<Member> members, const QList<Member>& listed) {
        writeZip(path, members, manifestFor(listed));
    };
    if (fault == "empty file")
        put(path, {});
    else if (fault == "text file")
        put(path, "[Backup]\r\nData=2024-01-01T00:00:00\r\n");
    else if (fault == "truncated to half")
        put(path, good.left(good.size() / 2));
    else if (fault == "end cut off")
        put(path, good.left(good.size() - 10));
    else if (fault == "flipped byte in a photo")
        put(path, flipped(good, dataOf(good, "Inventario/Opera_1.jpg") + 50000));
    else if (fault == "flipped byte in an archive")
        put(path, flipped(good, dataOf(good, "Inventario_Opere.pro") + 40));
    else if (fault == "flipped byte in the manifest")
        put(path, flipped(good, dataOf(good, laboratory::kManifest.toUtf8()) + 30));
    else if (fault == "zip of other files")
        writeZip(path, {{"foto.jpg", "a photo"}, {"lettera.txt", "testo"}}, QByteArray());
    else if (fault == "dot-dot member")
        forged(fine + QList<Member>{{"Inventario/../../fuori.txt", "x"}},
               fine + QList<Member>{{"Inventario/../../fuori.txt", "x"}});
    else if (fault == "absolute member")
        forged(fine + QList<Member>{{"/tmp/fuori.txt", "x"}}, fine + QList<Member>{{"/tmp/fuori.txt", "x"}});
    else if (fault == "link member")
        forged(fine + QList<Member>{{"Inventario/Opera_1.jpg", "/etc/passwd", AE_IFLNK}}, fine);
    else if (fault == "member the manifest lacks")
        forged(fine + QList<Member>{{"Contratti.ini", "[x]"}}, fine);
    else if (fault == "listed member missing")
        forged(fine, fine + QList<Member>{{"Contratti.ini", "[x]"}});
    else if (fault == "size disagrees")
        forged(fine + QList<Member>{{"Contratti.ini", "[x]"}}, fine + QList<Member>{{"Contratti.ini", "[xy]"}});
    else if (fault == "checksum disagrees")
        forged(fine + QList<Member>{{"Contratti.ini", "[x]"}}, fine + QList<Member>{{"Contratti.ini", "[y]"}});
    else if (fault == "count disagrees")
        writeZip(path, {{"Inventario_Opere.pro", records(2925, 2, "a")}},
                 manifestFor({{"Inventario_Opere.pro", records(2925, 2, "a")}}, 3));
    else if (fault == "a file where a folder belongs")
        forged({{"Logo.bmp", "BM logo"}, {"Inventario", "not a folder"}},
               {{"Logo.bmp", "BM logo"}, {"Inventario", "not a folder"}});
    else if (fault == "a file where kept photos belong")
        forged(fine + QList<Member>{{"Inventario/Cronologia", "x"}},
               fine + QList<Member>{{"Inventario/Cronologia", "x"}});
    else if (fault == "a file named as a folder") {
        QByteArray zip = get(backup());
        const qsizetype at = zip.lastIndexOf("Contratti.ini"); // in the central directory
        zip.replace(at, 13, "Contratti.in/");
        put(path, zip);
    } else if (fault == "manifest twice")
        writeZip(path, fine + QList<Member>{{laboratory::kManifest, manifestFor(fine)}}, manifestFor(fine));
    QVERIFY(QFileInfo::exists(path));
    QVERIFY2(get(path) != good, "the fault changed nothing");

    const Snapshot before = snapshot(lab_->lab());
    NoProgress quiet;
    QVERIFY_THROWS_EXCEPTION(InvalidBackup, verifyBackup(path, quiet));
    QVERIFY_THROWS_EXCEPTION(InvalidBackup, restore::restoreBackup(path, quiet));
    COMPARE_SNAPSHOTS(snapshot(lab_->lab()), before);
    QVERIFY(!QFileInfo::exists("/tmp/fuori.txt") || fault != "absolute member");
}

// A disk that fills up while the zip is written: an error, no file under the name, no
// temporary file.

// A FIFO (or device) given to the check is refused at once, not waited on.
void TestBackup::fifoIsNotWaitedFor()
{
    const QString fifo = outPath("coda.zip");
    if (!testplatform::makeFifo(fifo))
        QSKIP("This system has no named pipes in its folders.");
    NoProgress quiet;
    try {
        verifyBackup(fifo, quiet);
        QFAIL("a FIFO was taken for a backup");
    } catch (const InvalidBackup&) {
        QFAIL("a FIFO is not a damaged backup but no file");
    } catch (const IoError& e) {
        QVERIFY2(e.cause().contains("not a regular file"), qPrintable(e.cause()));
    }
    QVERIFY(!isBackup(fifo));
}

void TestBackup::targetsRefused_data()
{
    QTest::addColumn<QString>("target"); // <lab> and <out> stand for the two folders
    QTest::addColumn<QString>("why");
    const QString data = QString::fromUtf8("fa parte dei dati del laboratorio");
    const QString other = QString::fromUtf8("esiste già e non è un backup di Brevanto");
    QTest::newRow("an archive") << "<lab>/Inventario_Opere.pro" << data;
    QTest::newRow("a journal's index") << "<lab>/Inventario_Opere.cronologia.indice" << data;
    QTest::newRow("the settings, by another name") << "<out>/impostazioni.zip" << data;
    QTest::newRow("inside the attachments") << "<lab>/Documenti_Allegati/b.zip" << data;
    QTest::newRow("inside kept photos") << "<lab>/Inventario/Cronologia/b.zip" << data;
    QTest::newRow("in a folder yet to be made there") << "<lab>/Restauri/Copie/b.zip" << data;
    QTest::newRow("through a link to the photos") << "<out>/foto/b.zip" << data;
    QTest::newRow("a file that is no backup") << "<out>/tesi.zip" << other;
    QTest::newRow("a zip that is no backup") << "<out>/altro.zip" << other;
}

// A backup never replaces a file of the laboratory or lands in its folders (where each backup
// would hold the ones before it), wherever the path leads, and never replaces a file that is
// not a backup of this program: refused in Italian, and nothing changes.
void TestBackup::targetsRefused()
{
    QFETCH(QString, target);
    QFETCH(QString, why);
    target.replace("<lab>", lab_->lab()).replace("<out>", lab_->out());
    put(labPath("Inventario_Opere.cronologia.indice"), "index");
    if (!testplatform::makeSymlink(labPath("Brevanto.ini"), outPath("impostazioni.zip")))
        QSKIP("Links need rights this system does not give an ordinary user.");
    if (!testplatform::makeSymlink(labPath("Inventario"), outPath("foto")))
        QSKIP("Links need rights this system does not give an ordinary user.");
    put(outPath("tesi.zip"), "chapter one");
    writeZip(outPath("altro.zip"), {{"lettera.txt", "testo"}}, QByteArray());
    const Snapshot lab = snapshot(lab_->lab());
    const Snapshot out = snapshot(lab_->out());
    NoProgress quiet;
    try {
        writeBackup(target, quiet);
        QFAIL("the backup was written");
    } catch (const IoError& e) {
        QVERIFY2(e.userText().startsWith(QString::fromUtf8("Attenzione: il backup non è stato salvato perché ")),
                 qPrintable(e.userText()));
        QVERIFY2(e.userText().contains(why), qPrintable(e.userText()));
    }
    COMPARE_SNAPSHOTS(snapshot(lab_->lab()), lab);
    COMPARE_SNAPSHOTS(snapshot(lab_->out()), out);
}

// An existing backup of this program is replaced when asked; a free name keeps both, as two
// backups of the same minute into one folder need.
void TestBackup::backupsReplaceOnlyBackups()
{
    NoProgress quiet;
    const QString first = backup();
    put(labPath("Contratti.ini"), "[Numerazione Contratti]\r\nInizio=200\r\n");
    QCOMPARE(backup(), first);
    QCOMPARE(QDir(lab_->out()).entryList(QDir::Files | QDir::Hidden), QStringList{"b.zip"});
    const BackupSummary second = writeBackup(first, quiet, Placement::FreeName);
    const BackupSummary third = writeBackup(first, quiet, Placement::FreeName);
    QCOMPARE(second.path, outPath("b-2.zip"));
    QCOMPARE(third.path, outPath("b-3.zip"));
    for (const QString& zip : {first, second.path, third.path})
        QCOMPARE(verifyBackup(zip, quiet).artworks, 3);
    QCOMPARE(QDir(lab_->out()).entryList(QDir::Files | QDir::Hidden), (QStringList{"b-2.zip", "b-3.zip", "b.zip"}));
}

// While a restore is under way or interrupted (its staging folder stands) no backup is taken,
// by hand or automatic, and the user is told why.
void TestBackup::noBackupWhileARestoreIsPending()
{
    QDir().mkpath(labPath(restore::kStaging + "/nuovo"));
    NoProgress quiet;
    const auto refusedForTheRestore = [](const std::function<void()>& work) {
        try {
            work();
        } catch (const IoError& e) {
            return e.userText().contains(
                QString::fromUtf8("il ripristino di un backup è in corso o è stato interrotto"));
        }
        return false;
    };
    QVERIFY(refusedForTheRestore([&] { writeBackup(outPath("b.zip"), quiet); }));
    QVERIFY(refusedForTheRestore([&] { autobackup::runIfDue(QDateTime::currentDateTime(), quiet); }));
    QCOMPARE(QDir(lab_->out()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
    QVERIFY(!QFileInfo::exists(labPath("Backup/" + autobackup::fileName(QDateTime::currentDateTime()))));
}

// A disk that fills up while the zip is written: an error that keeps the system's reason, no
// file under the name, no temporary file.
void TestBackup::fullDiskKeepsTheSystemsReason()
{
    NoProgress quiet;
    {
        const auto limit = testplatform::limitFileSize(200 * 1024);
        if (!limit)
            QSKIP("This system cannot make a disk full on request.");
        try {
            writeBackup(outPath("b.zip"), quiet);
            QFAIL("the backup was written");
        } catch (const IoError& e) {
            QVERIFY2(e.cause().contains(QString::fromLocal8Bit(std::strerror(EFBIG))), qPrintable(e.cause()));
            QVERIFY2(!e.cause().contains("Unknown error"), qPrintable(e.cause()));
        }
    }
    QCOMPARE(QDir(lab_->out()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
}

void TestBackup::cancelledLeavesNoFile()
{
    struct StopAt : Progress {
        Step stopIn;
        Step current = Step::Writing;
        explicit StopAt(Step s) : stopIn(s) { }
        void begin(Step s, qint64) override { current = s; }
        bool advance(qint64 done) override { return !(current == stopIn && done > 0); }
    };
    for (Progress::Step step : {Progress::Step::Writing, Progress::Step::Verifying}) {
        StopAt stop(step);
        QVERIFY_THROWS_EXCEPTION(IoError, writeBackup(outPath("b.zip"), stop));
        QCOMPARE(QDir(lab_->out()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
    }
}

// kill -9 halfway: no file under the final name; the temporary file it left is removed by
// the next backup into the same folder.

// kill -9 halfway: no file under the final name; the temporary file it left is removed by
// the next backup into the same folder.
void TestBackup::killedBackupLeavesNoFile()
{
    QProcess p;
    p.start(QStringLiteral(BACKUPHELPER),
            {"backup", lab_->lab(), outPath("b.zip"), QString::number(int(Progress::Step::Writing)), "250000"});
    QVERIFY(p.waitForFinished(60000));
    QVERIFY(p.exitStatus() == QProcess::CrashExit || p.exitCode() == 137); // killed (137: Windows)
    const QStringList left = QDir(lab_->out()).entryList(QDir::Files | QDir::Hidden);
    QCOMPARE(left.size(), 1);
    QVERIFY2(left[0].startsWith(".b.zip.brevanto-parziale-"), qPrintable(left[0]));

    backup(QStringLiteral("c.zip"));
    QCOMPARE(QDir(lab_->out()).entryList(QDir::Files | QDir::Hidden), QStringList{"c.zip"});
}

// A temporary file that a running backup holds (another workstation's) is left alone.

// The clean-up before a backup removes only the program's own temporary files, and not one
// that another workstation's backup is writing; other programs' files stay.
void TestBackup::onlyOwnTemporariesAreRemoved()
{
    const QStringList others = {".tesi.zip.backup", ".d.zip.AbC123", ".b.zip.x7Gq2W", ".rsync.zip.Qw3rTy"};
    for (const QString& name : others)
        put(outPath(name), "someone else's");
    const QString busy = outPath(".d.zip.brevanto-parziale-AbC123");
    const QString stale = outPath(".e.zip.brevanto-parziale-XyZ789");
    put(busy, "being written");
    put(stale, "left by a killed backup");
    QFile held(busy);
    QVERIFY(held.open(QIODevice::ReadOnly));
    {
        FileLock lock(held.handle(), FileLock::Mode::Shared);
        backup();
        QVERIFY(QFileInfo::exists(busy));
        QVERIFY(!QFileInfo::exists(stale));
    }
    held.close();
    backup();
    QVERIFY(!QFileInfo::exists(busy));
    for (const QString& name : others)
        QCOMPARE(get(outPath(name)), QByteArray("someone else's"));
}

void TestBackup::backupWhileAnotherWorkstationSaves()
{
    const QString archive = labPath("Inventario_Opere.pro");
    QFile::remove(archive);
    QProcess appender;
    appender.start(QStringLiteral(APPENDER), {archive, "A", "15000"});
    QVERIFY(appender.waitForStarted());
    if (unzip().isEmpty())
        QSKIP("unzip is not installed (./build.sh test installs it)");
    int taken = 0;
    qint64 largest = 0;
    for (bool appending = true; appending;) {
        appending = !appender.waitForFinished(0); // one more backup after the last append
        const QString zip = backup(QStringLiteral("b%1.zip").arg(taken++));
        QProcess p;
        p.start(unzip(), {"-p", zip, "Inventario_Opere.pro"});
        QVERIFY(p.waitForFinished(60000));
        const QByteArray bytes = p.readAllStandardOutput();
        QCOMPARE(bytes.size() % 2925, 0);
        for (qsizetype i = 0; i < bytes.size() / 2925; ++i)
            QCOMPARE(QByteArray(bytes.constData() + i * 2925), "A:" + QByteArray::number(i));
        NoProgress quiet;
        QCOMPARE(verifyBackup(zip, quiet).artworks, bytes.size() / 2925);
        largest = qMax(largest, bytes.size() / 2925);
        QFile::remove(zip);
    }
    QCOMPARE(appender.exitCode(), 0);
    qInfo("%d backups taken while appending, the largest with %lld cards", taken, largest);
}

// Another workstation saves cards with their history all through the backups: each backup
// holds an archive and a journal that agree, the newest version of every card in the journal
// being that card in the archive, and no card in the journal that the archive has not.

void TestBackup::backupWhileCardsAreSavedWithTheirHistory()
{
    if (unzip().isEmpty())
        QSKIP("unzip is not installed (./build.sh test installs it)");
    const QStringList names{"Inventario_Opere.pro", "Inventario_Opere.cronologia"};
    for (const QString& name : names)
        QFile::remove(labPath(name));
    QProcess saver;
    saver.start(QStringLiteral(SAVER), {lab_->lab(), "S", "300"});
    QVERIFY(saver.waitForStarted());
    int taken = 0;
    qint64 largest = 0;
    for (bool saving = true; saving;) {
        saving = !saver.waitForFinished(0); // one more backup after the last save
        const QString zip = backup(QStringLiteral("h%1.zip").arg(taken++));
        QTemporaryDir copy;
        for (const QString& name : names) {
            QProcess p;
            p.start(unzip(), {"-p", zip, name});
            QVERIFY(p.waitForFinished(60000));
            if (p.exitCode() == 0)
                put(QDir(copy.path()).filePath(name), p.readAllStandardOutput());
        }
        QFile::remove(zip);
        if (!QFile::exists(QDir(copy.path()).filePath(names[0])))
            continue; // taken before the first save
        programdir::Override there(copy.path());
        ArtworkArchive store;
        std::map<qint64, QByteArray> newest;
        store.journal().scan([&](const journal::Entry& e) {
            newest[e.position] = e.record;
            return true;
        });
        QCOMPARE(qint64(newest.size()), store.count());
        for (const auto& [k, record] : newest)
            QVERIFY2(record == store.read(k), qPrintable(QStringLiteral("card %1").arg(k)));
        largest = qMax(largest, store.count());
    }
    QCOMPARE(saver.exitCode(), 0);
    QCOMPARE(largest, 300);
    qInfo("%d backups taken while saving", taken);
}

void TestBackup::automaticBackupDue_data()
{
    QTest::addColumn<QString>("settings");
    QTest::addColumn<QStringList>("existing");
    QTest::addColumn<bool>("due");
    const QStringList none;
    const QStringList today = {"Brevanto-backup-automatico-20240310-0900.zip"};
    const QStringList yesterday = {"Brevanto-backup-automatico-20240301-1000.zip",
                                   "Brevanto-backup-automatico-20240309-2300.zip"};
    QTest::newRow("first ever") << "" << none << true;
    QTest::newRow("one today") << "" << today << false;
    QTest::newRow("newest yesterday") << "" << yesterday << true;
    QTest::newRow("turned off") << "Giorni=0\r\n" << none << false;
    QTest::newRow("every 3 days, 1 day ago") << "Giorni=3\r\n" << yesterday << false;
    QTest::newRow("every 3 days, 9 days ago") << "Giorni=3\r\n"
                                              << QStringList{"Brevanto-backup-automatico-20240301-1000.zip"} << true;
    QTest::newRow("a manual backup does not count") << "" << QStringList{"Brevanto-backup-20240310-0900.zip"} << true;
    QTest::newRow("dated after today") << "" << QStringList{"Brevanto-backup-automatico-20250101-0000.zip"} << true;
    QTest::newRow("unreadable number") << "Giorni=mai\r\n" << today << false;
    QTest::newRow("a second one today") << ""
                                        << QStringList{"Brevanto-backup-automatico-20240309-0900.zip",
                                                       "Brevanto-backup-automatico-20240310-0900-2.zip"}
                                        << false;
}

void TestBackup::automaticBackupDue()
{
    QFETCH(QString, settings);
    QFETCH(QStringList, existing);
    QFETCH(bool, due);
    put(labPath("Brevanto.ini"), "[Backup]\r\n" + settings.toLatin1());
    for (const QString& name : existing)
        put(labPath("Backup/" + name), "x");
    const autobackup::Settings s = autobackup::settings();
    QCOMPARE(s.folder, QFileInfo(labPath("Backup")).absoluteFilePath());
    QCOMPARE(autobackup::due(s, QDateTime(QDate(2024, 3, 10), QTime(18, 0))), due);
}

// Cartella relative to the program folder; Copie the number kept; other files stay.

// Cartella relative to the program folder; Copie the number kept; other files stay.
void TestBackup::automaticBackupsKeepTheNewest()
{
    put(labPath("Brevanto.ini"), "[Backup]\r\nCartella=Copie/Auto\r\nCopie=3\r\n");
    const QStringList older = {"Brevanto-backup-automatico-20240101-1000.zip",
                               "Brevanto-backup-automatico-20240102-1000.zip",
                               "Brevanto-backup-automatico-20240103-1000.zip"};
    for (const QString& name : older)
        put(labPath("Copie/Auto/" + name), "x");
    put(labPath("Copie/Auto/Brevanto-backup-20240101-0900.zip"), "a manual one");
    NoProgress quiet;
    const QDateTime now(QDate(2024, 3, 10), QTime(18, 5));
    const std::optional<BackupSummary> made = autobackup::runIfDue(now, quiet);
    QVERIFY(made);
    QCOMPARE(made->path, labPath("Copie/Auto/Brevanto-backup-automatico-20240310-1805.zip"));
    QCOMPARE(verifyBackup(made->path, quiet).artworks, 3);
    QCOMPARE(QDir(labPath("Copie/Auto")).entryList(QDir::Files),
             (QStringList{"Brevanto-backup-20240101-0900.zip", older[1], older[2],
                          "Brevanto-backup-automatico-20240310-1805.zip"}));
    QVERIFY(!autobackup::runIfDue(now.addSecs(3600), quiet));
}

// A backup dated after today (the clock was put back) never makes the one just written go.

// A backup dated after today (the clock was put back) never makes the one just written go.
void TestBackup::automaticBackupKeptAfterTheClockWentBack()
{
    put(labPath("Brevanto.ini"), "[Backup]\r\nCopie=1\r\n");
    const QString later = "Brevanto-backup-automatico-20250101-0000.zip";
    put(labPath("Backup/" + later), "x");
    NoProgress quiet;
    const std::optional<BackupSummary> made = autobackup::runIfDue(QDateTime(QDate(2024, 3, 10), QTime(18, 5)), quiet);
    QVERIFY(made);
    QVERIFY(QFileInfo::exists(made->path));
    QVERIFY(!QFileInfo::exists(labPath("Backup/" + later)));
    QCOMPARE(verifyBackup(made->path, quiet).artworks, 3);
}

// An automatic backup whose name another of the same minute has taken (two workstations
// closing at once) takes the next number, and both stay.
void TestBackup::automaticBackupsOfOneMinuteBothStay()
{
    put(labPath("Brevanto.ini"), "[Backup]\r\nCopie=3\r\n");
    const QString taken = labPath("Backup/Brevanto-backup-automatico-20240311-1805.zip");
    QVERIFY(QFile::copy(backup(), taken));
    // One dated later makes it due at once: the clock was put back.
    put(labPath("Backup/Brevanto-backup-automatico-20240312-0900.zip"), "x");
    NoProgress quiet;
    const std::optional<BackupSummary> made = autobackup::runIfDue(QDateTime(QDate(2024, 3, 11), QTime(18, 5)), quiet);
    QVERIFY(made);
    QCOMPARE(made->path, labPath("Backup/Brevanto-backup-automatico-20240311-1805-2.zip"));
    QCOMPARE(verifyBackup(taken, quiet).artworks, 3);
    QCOMPARE(verifyBackup(made->path, quiet).artworks, 3);
    QCOMPARE(QDir(labPath("Backup")).entryList({"Brevanto-backup-automatico-*"}).size(), 3);
}

// Cartella inside the laboratory's folders would make each backup hold the ones before it:
// refused in Italian, and not even the folder is made.
void TestBackup::automaticBackupInsideTheLaboratoryRefused()
{
    put(labPath("Brevanto.ini"), "[Backup]\r\nCartella=Documenti_Allegati/Copie\r\n");
    NoProgress quiet;
    try {
        autobackup::runIfDue(QDateTime::currentDateTime(), quiet);
        QFAIL("the backup was written");
    } catch (const IoError& e) {
        QVERIFY2(e.userText().contains(QString::fromUtf8("fa parte dei dati del laboratorio")),
                 qPrintable(e.userText()));
    }
    QVERIFY(!QFileInfo::exists(labPath("Documenti_Allegati/Copie")));
}

QTEST_GUILESS_MAIN(TestBackup)
#include "tst_backup.moc"
