#include "backup/BackupReader.h"

#include "backup/Laboratory.h"
#include "backup/Sha256.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <archive.h>
#include <archive_entry.h>
#include <optional>

namespace {
// A manifest larger than this is not one the program wrote.
constexpr qint64 kManifestLimit = 64 * 1024 * 1024;
constexpr qint64 kBlock = 1024 * 1024;

struct Seen {
    qint64 size = 0;
    QByteArray sha256;
};

class ZipReader {
public:
    explicit ZipReader(const QString& path) : a_(archive_read_new())
    {
        if (!a_)
            throw IoError(QStringLiteral("cannot start reading a zip"));
        archive_read_support_format_zip_seekable(a_);
        if (archive_read_open_filename(a_, QFile::encodeName(path).constData(), size_t(kBlock)) != ARCHIVE_OK) {
            if (!QFileInfo(path).isFile() || !QFileInfo(path).isReadable())
                throw IoError(QStringLiteral("cannot read %1: %2").arg(path, error()));
            throw InvalidBackup(QStringLiteral("not a zip: %1").arg(error()));
        }
    }
    ~ZipReader() { archive_read_free(a_); }
    ZipReader(const ZipReader&) = delete;
    ZipReader& operator=(const ZipReader&) = delete;

    archive* get() const { return a_; }
    QString error() const
    {
        const char* e = archive_error_string(a_);
        return QString::fromLocal8Bit(e ? e : "?");
    }

private:
    archive* a_;
};

class Unpacked {
public:
    explicit Unpacked(const QString& path) : file_(path)
    {
        if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate))
            throw IoError(QStringLiteral("cannot write %1: %2").arg(path, file_.errorString()));
    }
    void write(const char* data, qint64 length)
    {
        if (file_.write(data, length) != length)
            throw IoError(QStringLiteral("cannot write %1: %2").arg(file_.fileName(), file_.errorString()));
    }
    void close()
    {
        if (!file_.flush())
            throw IoError(QStringLiteral("cannot write %1: %2").arg(file_.fileName(), file_.errorString()));
        file_.close();
        if (file_.error() != QFileDevice::NoError)
            throw IoError(QStringLiteral("cannot close %1: %2").arg(file_.fileName(), file_.errorString()));
    }

private:
    QFile file_;
};

Manifest readBackup(const QString& path, const QString& folder, Progress& progress)
{
    ZipReader zip(path);
    archive* a = zip.get();
    progress.begin(folder.isEmpty() ? Progress::Step::Verifying : Progress::Step::Unpacking, QFileInfo(path).size());
    QHash<QString, Seen> seen;
    QByteArray manifestBytes;
    bool manifestSeen = false;
    QByteArray block(kBlock, Qt::Uninitialized);
    Sha256 sha;
    for (;;) {
        archive_entry* entry = nullptr;
        const int rc = archive_read_next_header(a, &entry);
        if (rc == ARCHIVE_EOF)
            break;
        if (rc != ARCHIVE_OK)
            throw InvalidBackup(QStringLiteral("damaged zip: %1").arg(zip.error()));
        const char* utf8 = archive_entry_pathname_utf8(entry);
        if (!utf8)
            throw InvalidBackup(QStringLiteral("a member name that is not UTF-8"));
        QString name = QString::fromUtf8(utf8);
        const auto type = archive_entry_filetype(entry);
        if (archive_entry_hardlink(entry) || archive_entry_symlink(entry) || (type != AE_IFREG && type != AE_IFDIR))
            throw InvalidBackup(QStringLiteral("%1 is not a plain file or folder").arg(name));
        if (type == AE_IFDIR && !name.endsWith(u'/'))
            name += u'/';
        else if (type == AE_IFREG && name.endsWith(u'/'))
            throw InvalidBackup(QStringLiteral("%1 is a file named as a folder").arg(name));

        const bool isManifest = name == laboratory::kManifest;
        if (isManifest ? manifestSeen : (laboratory::topLevelOf(name).isEmpty() || seen.contains(name)))
            throw InvalidBackup(QStringLiteral("%1: a member name outside the laboratory, or twice").arg(name));
        if (isManifest)
            manifestSeen = true;

        std::optional<Unpacked> out;
        if (!folder.isEmpty() && !isManifest) {
            const QString target = QDir(folder).filePath(name);
            if (type == AE_IFDIR) {
                if (!QDir().mkpath(target))
                    throw IoError(QStringLiteral("cannot make the folder %1").arg(target));
            } else {
                QDir().mkpath(QFileInfo(target).absolutePath());
                out.emplace(target);
            }
        }
        qint64 size = 0;
        for (;;) {
            const la_ssize_t n = archive_read_data(a, block.data(), size_t(block.size()));
            if (n < 0)
                throw InvalidBackup(QStringLiteral("damaged member %1: %2").arg(name, zip.error()));
            if (n == 0)
                break;
            size += n;
            if (isManifest) {
                if (size > kManifestLimit)
                    throw InvalidBackup(QStringLiteral("manifest too large"));
                manifestBytes.append(block.constData(), n);
                continue;
            }
            sha.add(block.constData(), n);
            if (out)
                out->write(block.constData(), n);
            if (!progress.advance(archive_filter_bytes(a, -1)))
                throw IoError(QStringLiteral("cancelled"));
        }
        if (out)
            out->close();
        if (!isManifest) // the manifest's bytes never reach the hash
            seen.insert(name, {size, type == AE_IFDIR ? QByteArray() : sha.hex()});
    }
    if (!manifestSeen)
        throw InvalidBackup(QStringLiteral("no manifest: not a backup of this program"));

    Manifest manifest;
    try {
        manifest = Manifest::decode(manifestBytes);
    } catch (const IoError& e) {
        throw InvalidBackup(e.cause());
    }
    QSet<QString> listed;
    qint64 artworks = 0, reports = 0;
    for (const Manifest::Member& m : manifest.members) {
        const auto it = seen.constFind(m.name);
        if (it == seen.constEnd() || listed.contains(m.name))
            throw InvalidBackup(QStringLiteral("%1 is listed but not in the zip, or listed twice").arg(m.name));
        if (it->size != m.size || it->sha256 != m.sha256)
            throw InvalidBackup(QStringLiteral("%1 differs from its size or checksum in the manifest").arg(m.name));
        listed.insert(m.name);
        if (m.name == laboratory::kArtworks)
            artworks = laboratory::recordsIn(m.name, m.size);
        else if (m.name == laboratory::kReports)
            reports = laboratory::recordsIn(m.name, m.size);
    }
    if (listed.size() != seen.size())
        throw InvalidBackup(QStringLiteral("the zip holds members the manifest does not list"));
    if (artworks != manifest.artworks || reports != manifest.reports)
        throw InvalidBackup(QStringLiteral("the manifest's counts disagree with the archives"));
    return manifest;
}
} // namespace

Manifest verifyBackup(const QString& path, Progress& progress)
{
    return readBackup(path, {}, progress);
}

Manifest unpackBackup(const QString& path, const QString& folder, Progress& progress)
{
    return readBackup(path, folder, progress);
}
