#include "backup/BackupWriter.h"

#include "backup/BackupReader.h"
#include "backup/Laboratory.h"
#include "backup/Manifest.h"
#include "backup/Sha256.h"
#include "storage/ArchiveFile.h"
#include "storage/IoError.h"
#include "storage/ProgramDir.h"
#include "storage/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <archive.h>
#include <archive_entry.h>
#include <cerrno>
#include <optional>

namespace {
const QString kPrefix = QStringLiteral("Brevanto-backup-");

// The zip being written, through libarchive, into a device.
class ZipWriter {
public:
    explicit ZipWriter(QIODevice& out) : a_(archive_write_new()), out_(out)
    {
        if (!a_)
            throw IoError(QStringLiteral("cannot start a zip"));
        check(archive_write_set_format_zip(a_));
        check(archive_write_set_format_option(a_, "zip", "hdrcharset", "UTF-8"));
        check(archive_write_set_bytes_per_block(a_, 256 * 1024));
        check(archive_write_set_bytes_in_last_block(a_, 1));
        check(archive_write_open2(a_, this, nullptr, &ZipWriter::write, nullptr, nullptr));
    }
    ~ZipWriter()
    {
        if (!closed_)
            archive_write_fail(a_); // nothing more is written into a file being thrown away
        archive_write_free(a_);
    }
    ZipWriter(const ZipWriter&) = delete;
    ZipWriter& operator=(const ZipWriter&) = delete;

    void begin(const QString& name, qint64 size, bool store)
    {
        finishEntry();
        struct Entry {
            archive_entry* e = archive_entry_new();
            ~Entry() { archive_entry_free(e); }
        } entry;
        const bool folder = name.endsWith(u'/');
        archive_entry_set_pathname_utf8(entry.e, name.toUtf8().constData());
        archive_entry_set_filetype(entry.e, folder ? AE_IFDIR : AE_IFREG);
        archive_entry_set_perm(entry.e, folder ? 0755 : 0644);
        archive_entry_set_size(entry.e, size);
        archive_entry_set_mtime(entry.e, time(nullptr), 0);
        check(store || folder ? archive_write_zip_set_compression_store(a_)
                              : archive_write_zip_set_compression_deflate(a_));
        check(archive_write_header(a_, entry.e));
        open_ = true;
    }
    void data(const char* bytes, qint64 length)
    {
        while (length > 0) {
            const la_ssize_t n = archive_write_data(a_, bytes, size_t(length));
            if (n <= 0)
                check(ARCHIVE_FATAL);
            bytes += n;
            length -= n;
        }
    }
    void close()
    {
        finishEntry();
        check(archive_write_close(a_));
        closed_ = true;
    }

private:
    static la_ssize_t write(archive* a, void* self, const void* buffer, size_t length)
    {
        auto* w = static_cast<ZipWriter*>(self);
        if (w->out_.write(static_cast<const char*>(buffer), qint64(length)) != qint64(length)) {
            archive_set_error(a, EIO, "%s", qPrintable(w->out_.errorString()));
            return -1;
        }
        return la_ssize_t(length);
    }
    void finishEntry()
    {
        if (open_)
            check(archive_write_finish_entry(a_));
        open_ = false;
    }
    void check(int rc)
    {
        if (rc != ARCHIVE_OK)
            throw IoError(QStringLiteral("cannot write the zip: %1")
                              .arg(QString::fromLocal8Bit(archive_error_string(a_) ? archive_error_string(a_) : "?")));
    }

    archive* a_;
    QIODevice& out_;
    bool open_ = false;
    bool closed_ = false;
};

bool isPhoto(const QString& name)
{
    const QString suffix = QFileInfo(name).suffix().toLower();
    return suffix == u"jpg" || suffix == u"jpeg" || suffix == u"bmp";
}

// The temporary files of backups (".NAME.zip.XXXXXX" beside their target) that nobody holds:
// left by a backup that was killed.
void removeStaleTemporaries(const QString& folder)
{
    static const QRegularExpression temporary(QStringLiteral("^\\..+\\.zip\\.[A-Za-z0-9]{6}$"));
    const QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoSymLinks);
    for (const QString& name : names) {
        if (!temporary.match(name).hasMatch())
            continue;
        const QString path = QDir(folder).filePath(name);
        if (!SharedLock::held(path))
            QFile::remove(path);
    }
}
} // namespace

QString defaultBackupName(const QDateTime& when)
{
    return kPrefix + when.toString(QStringLiteral("yyyyMMdd-HHmm")) + QStringLiteral(".zip");
}

BackupSummary writeBackup(const QString& target, Progress& progress)
{
    const QString root = programdir::path();
    removeStaleTemporaries(QFileInfo(target).absolutePath());
    const QList<laboratory::Entry> entries = laboratory::collect(root);
    qint64 total = 0;
    for (const laboratory::Entry& e : entries)
        total += e.size;

    SafeFile file(target);
    // Another backup's clean-up into the same folder must see this file is being written.
    const SharedLock inUse(file.temporaryPath());
    Manifest manifest;
    manifest.date = QDateTime::currentDateTime();
    manifest.date.setTime(
        QTime(manifest.date.time().hour(), manifest.date.time().minute(), manifest.date.time().second()));
    manifest.version = QStringLiteral(BREVANTO_VERSION);

    progress.begin(Progress::Step::Writing, total);
    qint64 done = 0;
    auto advance = [&](qint64 more) {
        done += more;
        if (!progress.advance(done))
            throw IoError(QStringLiteral("backup cancelled"));
    };
    {
        ZipWriter zip(file.device());
        Sha256 sha;
        // An archive and its journal are read under one hold of the archive's lock, the one
        // their writers take: the backup has whole records and a history that agrees with them.
        QString guarded;
        std::optional<SharedLock> guard;
        for (const laboratory::Entry& e : entries) {
            if (e.isFolder()) {
                zip.begin(e.name, 0, true);
                manifest.members.append({e.name, 0, {}});
                continue;
            }
            qint64 size = 0;
            const auto begin = [&](qint64 n) {
                size = n;
                zip.begin(e.name, n, isPhoto(e.name));
            };
            const auto sink = [&](const char* bytes, qint64 length) {
                sha.add(bytes, length);
                zip.data(bytes, length);
                advance(length);
            };
            const QString path = root + e.name;
            if (const QString g = laboratory::guardOf(e.name); g != guarded) {
                guard.reset();
                guarded = g;
                if (!g.isEmpty())
                    guard.emplace(root + g);
            }
            readFileWhole(path, begin, sink);
            manifest.members.append({e.name, size, sha.hex()});
            if (e.name == laboratory::kArtworks)
                manifest.artworks = laboratory::recordsIn(e.name, size);
            else if (e.name == laboratory::kReports)
                manifest.reports = laboratory::recordsIn(e.name, size);
        }
        const QByteArray list = manifest.encode();
        zip.begin(laboratory::kManifest, list.size(), false);
        zip.data(list.constData(), list.size());
        zip.close();
    }
    file.flush();

    // Read back in full before it takes its name: every member's checksum and the manifest.
    const Manifest written = verifyBackup(file.temporaryPath(), progress);
    if (written.members != manifest.members)
        throw IoError(QStringLiteral("the backup read back differs from what was written"));
    file.commit();
    return {target, manifest.date, manifest.artworks, manifest.reports, QFileInfo(target).size()};
}
