// The backup of a laboratory: what the zip holds and how, its manifest, the check that
// refuses every damaged or foreign file, the journaled restore, interrupted runs, a full
// disk, a backup taken while another workstation saves, and the automatic backups.
#include "backup/AutoBackup.h"
#include "backup/BackupReader.h"
#include "backup/BackupWriter.h"
#include "backup/Laboratory.h"
#include "backup/Manifest.h"
#include "backup/Restore.h"
#include "storage/ArchiveFile.h"
#include "storage/ProgramDir.h"
#include "records/ArtworkArchive.h"

#include "FileSizeLimit.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <archive.h>
#include <archive_entry.h>
#include <map>

namespace {
using Snapshot = std::map<QString, QByteArray>; // relative path -> bytes ("<folder>" for folders)

void put(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

QByteArray get(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QByteArray noise(qsizetype size, quint32 seed)
{
    QRandomGenerator random(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    random.fillRange(reinterpret_cast<quint32*>(bytes.data()), size / 4);
    return bytes;
}

// Records of the given size, each starting with its tag.
QByteArray records(int size, int count, const QByteArray& tag)
{
    QByteArray out;
    for (int i = 0; i < count; ++i) {
        QByteArray r = tag + ':' + QByteArray::number(i);
        r.resize(size, ' ');
        out += r;
    }
    return out;
}

// Everything below root, except what the excluded top-level names hold.
Snapshot snapshot(const QString& root, const QStringList& except = {})
{
    Snapshot s;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QString name = QDir(root).relativeFilePath(it.filePath());
        if (except.contains(name.section(u'/', 0, 0)))
            continue;
        s[name] = it.fileInfo().isDir() ? QByteArray("<folder>") : get(it.filePath());
    }
    return s;
}

QString describe(const Snapshot& a, const Snapshot& b)
{
    QStringList d;
    for (const auto& [k, v] : a)
        if (!b.count(k) || b.at(k) != v)
            d << (b.count(k) ? QStringLiteral("changed ") : QStringLiteral("gone ")) + k;
    for (const auto& [k, v] : b)
        if (!a.count(k))
            d << QStringLiteral("new ") + k;
    return d.join(QStringLiteral(", "));
}

#define COMPARE_SNAPSHOTS(actual, expected) QVERIFY2((actual) == (expected), qPrintable(describe((expected), (actual))))

// A small laboratory, with the things beside it that no backup takes.
void fillLaboratory(const QString& root, quint32 seed = 1)
{
    const QDir d(root);
    put(d.filePath("Inventario_Opere.pro"), records(2925, 3, "opera" + QByteArray::number(seed)));
    put(d.filePath("Relazioni_Tecniche_Restauro.pro"), records(11895, 2, "relazione"));
    put(d.filePath("Inventario_Opere.cronologia"), "journal " + QByteArray::number(seed));
    put(d.filePath("unins000.dll"), "[Accesso]\r\nValore=8D4AF7A2DE\r\n");
    put(d.filePath("Contratti.ini"), "[Numerazione Contratti]\r\nInizio=100\r\n");
    put(d.filePath("Brevanto.ini"), "[Schede Interventi]\r\nIntestazione Azienda=Lab\xE0\r\n");
    put(d.filePath("Logo.bmp"), "BM" + noise(4000, seed + 1));
    put(d.filePath("Inventario/Opera_1.jpg"), noise(300000, seed + 2));
    put(d.filePath("Inventario/Cronologia/Opera_1.jpg"), noise(1000, seed + 3));
    put(d.filePath("Restauri/Foto_A_1.jpg"), noise(200000, seed + 4));
    put(d.filePath(QString::fromUtf8("Documenti_Allegati/contratto città, 100%.pdf")), "%PDF-1.4 " + noise(5000, 7));
    QDir().mkpath(d.filePath("Documenti_Allegati/vuota"));
    // Not part of the laboratory.
    put(d.filePath("brevanto"), "the program");
    put(d.filePath("Guida.pdf"), "%PDF manual");
    put(d.filePath("Backup/vecchio.zip"), "an older backup");
    put(d.filePath("altro.txt"), "someone else's file");
}

// The laboratory as a backup must restore it: everything but what no backup takes.
const QStringList kOutside = {"brevanto", "Guida.pdf", "Backup", "altro.txt"};

QString unzip()
{
    return QStandardPaths::findExecutable(QStringLiteral("unzip"));
}

QString run(const QString& program, const QStringList& args, int* exitCode = nullptr)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8")); // names shown in UTF-8
    p.setProcessEnvironment(env);
    p.start(program, args);
    p.waitForFinished(120000);
    if (exitCode)
        *exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return QString::fromUtf8(p.readAllStandardOutput());
}

// A zip made by libarchive with the members given, and a manifest that lists exactly them
// (or the one given): the faults of a foreign or forged backup, one at a time.
struct Member {
    QString name;
    QByteArray bytes;
    int type = AE_IFREG;
};

void writeZip(const QString& path, const QList<Member>& members, const QByteArray& manifest)
{
    archive* a = archive_write_new();
    archive_write_set_format_zip(a);
    archive_write_set_format_option(a, "zip", "hdrcharset", "UTF-8");
    QVERIFY(archive_write_open_filename(a, QFile::encodeName(path).constData()) == ARCHIVE_OK);
    QList<Member> all = members;
    if (!manifest.isNull())
        all.append({laboratory::kManifest, manifest});
    for (const Member& m : all) {
        archive_entry* e = archive_entry_new();
        archive_entry_set_pathname_utf8(e, m.name.toUtf8().constData());
        archive_entry_set_filetype(e, m.type);
        archive_entry_set_perm(e, 0644);
        if (m.type == AE_IFLNK)
            archive_entry_set_symlink(e, m.bytes.constData());
        else
            archive_entry_set_size(e, m.bytes.size());
        QCOMPARE(archive_write_header(a, e), ARCHIVE_OK);
        if (m.type == AE_IFREG)
            archive_write_data(a, m.bytes.constData(), size_t(m.bytes.size()));
        archive_entry_free(e);
    }
    archive_write_close(a);
    archive_write_free(a);
}

QByteArray manifestFor(const QList<Member>& members, qint64 artworks = 0)
{
    Manifest m;
    m.date = QDateTime(QDate(2024, 3, 5), QTime(14, 30));
    m.version = QStringLiteral("1.0");
    m.artworks = artworks;
    for (const Member& x : members)
        m.members.append({x.name, x.type == AE_IFDIR ? 0 : x.bytes.size(),
                          x.type == AE_IFDIR ? QByteArray()
                                             : QCryptographicHash::hash(x.bytes, QCryptographicHash::Sha256).toHex()});
    return m.encode();
}

QByteArray flipped(QByteArray bytes, qsizetype at)
{
    bytes[at] = char(bytes[at] ^ 0x20);
    return bytes;
}

// The offset of a member's data in a zip written by the program: just after its name in its
// local header (no extra fields hold the name's bytes).
qsizetype dataOf(const QByteArray& zip, const QByteArray& name)
{
    const qsizetype at = zip.indexOf(name);
    return at < 0 ? -1 : at + name.size();
}
} // namespace

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
    void restoreBringsBackTheBackup();
    void refused_data();
    void refused();
    void fullDiskLeavesNoFile();
    void cancelledLeavesNoFile();
    void killedBackupLeavesNoFile();
    void temporaryInUseIsKept();
    void killedRestore_data();
    void killedRestore();
    void backupWhileAnotherWorkstationSaves();
    void backupWhileCardsAreSavedWithTheirHistory();
    void automaticBackupDue_data();
    void automaticBackupDue();
    void automaticBackupsKeepTheNewest();
    void automaticBackupKeptAfterTheClockWentBack();

private:
    std::unique_ptr<QTemporaryDir> lab_;
    std::unique_ptr<QTemporaryDir> out_;
    std::unique_ptr<programdir::Override> here_;
    QString labPath(const QString& name) const { return QDir(lab_->path()).filePath(name); }
    QString outPath(const QString& name) const { return QDir(out_->path()).filePath(name); }
    QString backup(const QString& name = QStringLiteral("b.zip"))
    {
        NoProgress quiet;
        return writeBackup(outPath(name), quiet).path;
    }
};

void TestBackup::init()
{
    lab_ = std::make_unique<QTemporaryDir>();
    out_ = std::make_unique<QTemporaryDir>();
    here_ = std::make_unique<programdir::Override>(lab_->path());
    fillLaboratory(lab_->path());
}

void TestBackup::cleanup()
{
    here_.reset();
    lab_.reset();
    out_.reset();
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
    QCOMPARE(QDir(out_->path()).entryList(QDir::Files | QDir::Hidden), QStringList{"b.zip"});
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
    for (const auto& [name, bytes] : snapshot(lab_->path(), kOutside))
        expected << (bytes == "<folder>" ? name + u'/' : name);
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
        if (member.name.endsWith(u'/')) {
            QVERIFY2(QFileInfo(labPath(member.name)).isDir(), qPrintable(member.name));
            continue;
        }
        const QByteArray bytes = get(labPath(member.name));
        QCOMPARE(member.size, bytes.size());
        QCOMPARE(member.sha256, QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
        ++files;
    }
    QCOMPARE(files, 11);
}

void TestBackup::manifestNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("plain") << "Inventario/Opera_12.jpg";
    QTest::newRow("accents and comma") << QString::fromUtf8("Documenti_Allegati/Perizia città, copia.pdf");
    QTest::newRow("outside windows-1252") << QString::fromUtf8("Documenti_Allegati/Ελληνικά.txt");
    QTest::newRow("percent, equals, semicolon") << "Documenti_Allegati/a%20b=c;d.txt";
    QTest::newRow("folder") << "Documenti_Allegati/vuota/";
}

// Every name comes back from the manifest as it went in.
void TestBackup::manifestNames()
{
    QFETCH(QString, name);
    Manifest m;
    m.date = QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5));
    m.version = QStringLiteral("1.0");
    const bool folder = name.endsWith(u'/');
    m.members.append({name, folder ? 0 : 7, folder ? QByteArray() : QByteArray(64, 'a')});
    m.members.append({QStringLiteral("Logo.bmp"), 1, QByteArray(64, 'b')});
    const Manifest back = Manifest::decode(m.encode());
    QCOMPARE(back.members, m.members);
    QCOMPARE(back.date, m.date);
}

void TestBackup::memberNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("top");
    QTest::newRow("archive") << "Inventario_Opere.pro"
                             << "Inventario_Opere.pro";
    QTest::newRow("journal") << "Relazioni_Tecniche_Restauro.cronologia"
                             << "Relazioni_Tecniche_Restauro.cronologia";
    QTest::newRow("photo") << "Restauri/Foto_A_3.jpg"
                           << "Restauri";
    QTest::newRow("deep") << "Restauri/Cronologia/x/Foto_A_3.jpg"
                          << "Restauri";
    QTest::newRow("folder") << "Documenti_Allegati/"
                            << "Documenti_Allegati";
    QTest::newRow("dot-dot") << "Inventario/../../etc/passwd"
                             << "";
    QTest::newRow("dot-dot at the top") << "../Inventario_Opere.pro"
                                        << "";
    QTest::newRow("absolute") << "/Inventario_Opere.pro"
                              << "";
    QTest::newRow("dot") << "Inventario/./x.jpg"
                         << "";
    QTest::newRow("empty part") << "Inventario//x.jpg"
                                << "";
    QTest::newRow("backslash") << "Inventario\\..\\x"
                               << "";
    QTest::newRow("control character") << "Inventario/a\nb"
                                       << "";
    QTest::newRow("the executable") << "brevanto"
                                    << "";
    QTest::newRow("the manual") << "Guida.pdf"
                                << "";
    QTest::newRow("the Backup folder") << "Backup/x.zip"
                                       << "";
    QTest::newRow("below a file") << "Logo.bmp/x"
                                  << "";
    QTest::newRow("a file as a folder") << "Logo.bmp/"
                                        << "";
    QTest::newRow("case differs") << "inventario/x.jpg"
                                  << "";
}

void TestBackup::memberNames()
{
    QFETCH(QString, name);
    QFETCH(QString, top);
    QCOMPARE(laboratory::topLevelOf(name), top);
}

// A restore puts back exactly what the backup held: changed files, deleted ones and files
// added since; what lies outside the laboratory stays; the data it replaced is in Backup.
void TestBackup::restoreBringsBackTheBackup()
{
    const Snapshot before = snapshot(lab_->path(), kOutside);
    const QString zip = backup();
    put(labPath("Inventario_Opere.pro"), records(2925, 5, "dopo"));
    QFile::remove(labPath("Logo.bmp"));
    QFile::remove(labPath("Inventario_Opere.cronologia"));
    put(labPath("Relazioni_Tecniche_Restauro.cronologia"), "a journal the backup has not");
    put(labPath("Documenti_Allegati/nuovo.doc"), "added later");
    QDir(labPath("Restauri")).removeRecursively();
    const Snapshot changed = snapshot(lab_->path(), kOutside);

    NoProgress quiet;
    const restore::Result r = restore::restoreBackup(zip, quiet);
    COMPARE_SNAPSHOTS(snapshot(lab_->path(), kOutside), before);
    QCOMPARE(r.restored.artworks, 3);
    QCOMPARE(get(labPath("brevanto")), QByteArray("the program"));
    QCOMPARE(get(labPath("altro.txt")), QByteArray("someone else's file"));
    QVERIFY(!QFileInfo::exists(labPath(restore::kStaging)));

    // The safety copy holds the data that was replaced.
    QCOMPARE(QFileInfo(r.safetyCopy).absolutePath(), QFileInfo(labPath("Backup")).absoluteFilePath());
    QCOMPARE(verifyBackup(r.safetyCopy, quiet).artworks, 5);
    restore::restoreBackup(r.safetyCopy, quiet);
    COMPARE_SNAPSHOTS(snapshot(lab_->path(), kOutside), changed);
}

void TestBackup::refused_data()
{
    QTest::addColumn<QString>("fault");
    for (const char* fault :
         {"empty file", "text file", "truncated to half", "end cut off", "flipped byte in a photo",
          "flipped byte in an archive", "flipped byte in the manifest", "zip of other files", "dot-dot member",
          "absolute member", "link member", "member the manifest lacks", "listed member missing", "size disagrees",
          "checksum disagrees", "count disagrees", "manifest twice"})
        QTest::newRow(fault) << QString::fromLatin1(fault);
}

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
    else if (fault == "manifest twice")
        writeZip(path, fine + QList<Member>{{laboratory::kManifest, manifestFor(fine)}}, manifestFor(fine));
    QVERIFY(QFileInfo::exists(path));
    QVERIFY2(get(path) != good, "the fault changed nothing");

    const Snapshot before = snapshot(lab_->path());
    NoProgress quiet;
    QVERIFY_THROWS_EXCEPTION(InvalidBackup, verifyBackup(path, quiet));
    QVERIFY_THROWS_EXCEPTION(InvalidBackup, restore::restoreBackup(path, quiet));
    COMPARE_SNAPSHOTS(snapshot(lab_->path()), before);
    QVERIFY(!QFileInfo::exists("/tmp/fuori.txt") || fault != "absolute member");
}

// A disk that fills up while the zip is written: an error, no file under the name, no
// temporary file.
void TestBackup::fullDiskLeavesNoFile()
{
    NoProgress quiet;
    {
        FileSizeLimit limit(200 * 1024);
        QVERIFY_THROWS_EXCEPTION(IoError, writeBackup(outPath("b.zip"), quiet));
    }
    QCOMPARE(QDir(out_->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
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
        QCOMPARE(QDir(out_->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
    }
}

// kill -9 halfway: no file under the final name; the temporary file it left is removed by
// the next backup into the same folder.
void TestBackup::killedBackupLeavesNoFile()
{
    QProcess p;
    p.start(QStringLiteral(BACKUPHELPER),
            {"backup", lab_->path(), outPath("b.zip"), QString::number(int(Progress::Step::Writing)), "250000"});
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitStatus(), QProcess::CrashExit);
    const QStringList left = QDir(out_->path()).entryList(QDir::Files | QDir::Hidden);
    QCOMPARE(left.size(), 1);
    QVERIFY2(left[0].startsWith(".b.zip."), qPrintable(left[0]));

    backup(QStringLiteral("c.zip"));
    QCOMPARE(QDir(out_->path()).entryList(QDir::Files | QDir::Hidden), QStringList{"c.zip"});
}

// A temporary file that a running backup holds (another workstation's) is left alone.
void TestBackup::temporaryInUseIsKept()
{
    const QString busy = outPath(".d.zip.AbC123");
    put(busy, "being written");
    QFile held(busy);
    QVERIFY(held.open(QIODevice::ReadOnly));
    {
        FileLock lock(held.handle(), FileLock::Mode::Shared);
        backup();
        QVERIFY(QFileInfo::exists(busy));
    }
    held.close();
    backup();
    QVERIFY(!QFileInfo::exists(busy));
}

void TestBackup::killedRestore_data()
{
    QTest::addColumn<int>("step");
    QTest::addColumn<qint64>("after");
    QTest::addColumn<bool>("newData"); // what the folder holds after the next start
    QTest::addColumn<bool>("safetyCopy");
    QTest::newRow("while unpacking") << int(Progress::Step::Unpacking) << qint64(100000) << false << false;
    QTest::newRow("while writing the safety copy") << int(Progress::Step::Writing) << qint64(250000) << false << false;
    QTest::newRow("before the first swap") << int(Progress::Step::Replacing) << qint64(0) << true << true;
    QTest::newRow("halfway through the swap") << int(Progress::Step::Replacing) << qint64(5) << true << true;
    QTest::newRow("after the swap") << int(Progress::Step::Replacing) << qint64(12) << true << true;
    QTest::newRow("while cleaning up") << int(Progress::Step::Cleaning) << qint64(0) << true << true;
}

// kill -9 at any point of a restore: at the next start the folder holds either the old
// data or the new, whole, and from the swap on the safety copy of the old data is there.
void TestBackup::killedRestore()
{
    QFETCH(int, step);
    QFETCH(qint64, after);
    QFETCH(bool, newData);
    QFETCH(bool, safetyCopy);
    const Snapshot fresh = snapshot(lab_->path(), kOutside);
    const QString zip = backup();
    QDir(labPath("Restauri")).removeRecursively();
    QFile::remove(labPath("Logo.bmp"));
    fillLaboratory(lab_->path(), 9); // other contents under the same names
    QFile::remove(labPath("Logo.bmp"));
    put(labPath("Documenti_Allegati/solo_vecchio.txt"), "old only");
    const Snapshot old = snapshot(lab_->path(), kOutside);

    QProcess p;
    p.start(QStringLiteral(BACKUPHELPER),
            {"restore", lab_->path(), zip, QString::number(step), QString::number(after)});
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitStatus(), QProcess::CrashExit);

    const restore::Recovery recovered = restore::recoverInterrupted();
    QCOMPARE(recovered, newData ? restore::Recovery::Completed : restore::Recovery::Discarded);
    COMPARE_SNAPSHOTS(snapshot(lab_->path(), kOutside), newData ? fresh : old);
    QVERIFY(!QFileInfo::exists(labPath(restore::kStaging)));
    const QStringList copies = QDir(labPath("Backup")).entryList({"Brevanto-prima-del-ripristino-*.zip"});
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
    saver.start(QStringLiteral(SAVER), {lab_->path(), "S", "300"});
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

QTEST_GUILESS_MAIN(TestBackup)
#include "tst_backup.moc"
