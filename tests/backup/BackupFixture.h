#pragma once
// What the backup and restore tests share: a small laboratory in a temporary program folder,
// snapshots of folders by the bytes of their names, forged zips, and runs of the helper
// process that kills itself or makes a folder read-only halfway.
#include "backup/BackupWriter.h"
#include "backup/Laboratory.h"
#include "backup/Manifest.h"
#include "storage/Platform.h"
#include "storage/ProgramDir.h"

#include "TestPlatform.h"
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <QtTest>

#include <archive.h>
#include <archive_entry.h>
#include <map>
#include <memory>

namespace backuptest {
// relative path (the bytes of its names) -> bytes ("<folder>" for folders, "<link>" for links)
using Snapshot = std::map<QByteArray, QByteArray>;

inline void put(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

// A file whose name need not be UTF-8.
inline void putBytes(const QByteArray& path, const QByteArray& bytes)
{
    QFile f;
    const int fd = platform::createFile(path);
    if (fd < 0 || !f.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", path.constData());
}

inline QByteArray getBytes(const QByteArray& path)
{
    QFile f;
    try {
        if (f.open(platform::openRegularFile(path), QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
            return f.readAll();
    } catch (const IoError&) { }
    return "<missing>";
}

inline QByteArray get(const QString& path)
{
    return getBytes(platform::encodeName(path));
}

inline QByteArray noise(qsizetype size, quint32 seed)
{
    QRandomGenerator random(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    random.fillRange(reinterpret_cast<quint32*>(bytes.data()), size / 4);
    return bytes;
}

// Records of the given size, each starting with its tag.
inline QByteArray records(int size, int count, const QByteArray& tag)
{
    QByteArray out;
    for (int i = 0; i < count; ++i) {
        QByteArray r = tag + ':' + QByteArray::number(i);
        r.resize(size, ' ');
        out += r;
    }
    return out;
}

inline void walk(const QByteArray& root, const QByteArray& below, const QStringList& except, Snapshot& s)
{
    for (const QByteArray& name : platform::folderNames(root + '/' + below)) {
        const QByteArray relative = below.isEmpty() ? name : below + '/' + name;
        if (below.isEmpty() && except.contains(QString::fromUtf8(name)))
            continue;
        const platform::Status st = platform::status(root + '/' + relative);
        if (st.kind == platform::Kind::Folder) {
            s[relative] = "<folder>";
            walk(root, relative, except, s);
        } else {
            s[relative] = st.kind == platform::Kind::File ? getBytes(root + '/' + relative) : QByteArray("<link>");
        }
    }
}

// Everything below root, except what the excluded top-level names hold.
inline Snapshot snapshot(const QString& root, const QStringList& except = {})
{
    Snapshot s;
    walk(platform::encodeName(root), {}, except, s);
    return s;
}

inline QString describe(const Snapshot& a, const Snapshot& b)
{
    QStringList d;
    for (const auto& [k, v] : a) {
        if (!b.count(k)) {
            d << QStringLiteral("gone ") + laboratory::shown(k);
        } else if (const QByteArray& w = b.at(k); w != v) {
            qsizetype at = 0;
            while (at < v.size() && at < w.size() && v[at] == w[at])
                ++at;
            d << QStringLiteral("changed %1 (%2 bytes, were %3; from byte %4)")
                     .arg(laboratory::shown(k))
                     .arg(w.size())
                     .arg(v.size())
                     .arg(at);
        }
    }
    for (const auto& [k, v] : b)
        if (!a.count(k))
            d << QStringLiteral("new ") + laboratory::shown(k);
    return d.join(QStringLiteral(", "));
}

#define COMPARE_SNAPSHOTS(actual, expected) QVERIFY2((actual) == (expected), qPrintable(describe((expected), (actual))))

// A small laboratory, with the things beside it that no backup takes.
inline void fillLaboratory(const QString& root, quint32 seed = 1)
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
inline const QStringList kOutside = {"brevanto", "Guida.pdf", "Backup", "altro.txt"};

inline QString unzip()
{
    return QStandardPaths::findExecutable(QStringLiteral("unzip"));
}

inline QString run(const QString& program, const QStringList& args, int* exitCode = nullptr)
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

// A zip made by libarchive (another implementation) with the members given, and a manifest
// that lists exactly them (or the one given): the faults of a foreign or forged backup.
struct Member {
    QString name;
    QByteArray bytes;
    int type = AE_IFREG;
};

inline void writeZip(const QString& path, const QList<Member>& members, const QByteArray& manifest)
{
    archive* a = archive_write_new();
    archive_write_set_format_zip(a);
    archive_write_set_format_option(a, "zip", "hdrcharset", "UTF-8");
    QVERIFY(archive_write_open_filename(a, platform::encodeName(path).constData()) == ARCHIVE_OK);
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

inline QByteArray manifestFor(const QList<Member>& members, qint64 artworks = 0, qint64 reports = 0)
{
    Manifest m;
    m.date = QDateTime(QDate(2024, 3, 5), QTime(14, 30));
    m.version = QStringLiteral("1.0");
    m.artworks = artworks;
    m.reports = reports;
    for (const Member& x : members) {
        const bool folder = x.type == AE_IFDIR;
        m.members.append(
            {x.name.toUtf8(), folder ? 0 : x.bytes.size(),
             folder ? QByteArray() : QCryptographicHash::hash(x.bytes, QCryptographicHash::Sha256).toHex()});
    }
    return m.encode();
}

inline QByteArray flipped(QByteArray bytes, qsizetype at)
{
    bytes[at] = char(bytes[at] ^ 0x20);
    return bytes;
}

// The offset of a member's data in a zip written by the program: just after its name in its
// local header (no extra fields hold the name's bytes).
inline qsizetype dataOf(const QByteArray& zip, const QByteArray& name)
{
    const qsizetype at = zip.indexOf(name);
    return at < 0 ? -1 : at + name.size();
}

// The general-purpose flags of the local header that carries name (bit 11: the name is UTF-8).
inline int localFlags(const QByteArray& zip, const QByteArray& name)
{
    const qsizetype at = zip.indexOf(name) - 30;
    if (at < 0 || zip.mid(at, 4) != QByteArray("PK\x03\x04", 4))
        return -1;
    return quint8(zip[at + 6]) | quint8(zip[at + 7]) << 8;
}

struct HelperRun {
    int code = -1; // -1: killed
    QString userText;
    QString cause;
};

// The helper process (see backuphelper.cpp) on the program folder.
inline HelperRun helper(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(BACKUPHELPER), args);
    if (!p.waitForFinished(60000))
        return {};
    const QStringList lines = QString::fromUtf8(p.readAllStandardError()).split(u'\n');
    // Killed, it ends as crashed, or with the code 137 where the system tells no crash (Windows).
    const bool killed = p.exitStatus() != QProcess::NormalExit || p.exitCode() == 137;
    return {killed ? -1 : p.exitCode(), lines.value(0).trimmed(), lines.value(1).trimmed()};
}

// Hands the folders to the user the helper runs as with --user (when the tests run as root).
inline void giveToUser(const QStringList& folders)
{
    if (!testplatform::ignoresPermissions())
        return;
    for (const QString& folder : folders)
        QProcess::execute(QStringLiteral("chown"), {"-R", "65534:65534", folder});
}

// A program folder with a laboratory, an output folder, and backups of it.
class Lab {
public:
    Lab() : here_(lab_.path()) { fillLaboratory(lab_.path()); }
    // QTemporaryDir cannot remove a name that is not UTF-8.
    ~Lab()
    {
        platform::removeAll(platform::encodeName(lab_.path()));
        platform::removeAll(platform::encodeName(out_.path()));
    }
    QString labPath(const QString& name) const { return QDir(lab_.path()).filePath(name); }
    QString outPath(const QString& name) const { return QDir(out_.path()).filePath(name); }
    QString lab() const { return lab_.path(); }
    QString out() const { return out_.path(); }
    QString backup(const QString& name = QStringLiteral("b.zip")) const
    {
        NoProgress quiet;
        return writeBackup(outPath(name), quiet).path;
    }

private:
    QTemporaryDir lab_;
    QTemporaryDir out_;
    programdir::Override here_;
};
} // namespace backuptest
