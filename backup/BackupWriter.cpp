#include "backup/BackupWriter.h"

#include "backup/BackupReader.h"
#include "backup/Laboratory.h"
#include "backup/Manifest.h"
#include "backup/Sha256.h"
#include "backup/Zip.h"
#include "documentation/PhotoList.h"
#include "storage/ArchiveFile.h"
#include "storage/IoError.h"
#include "storage/Platform.h"
#include "storage/ProgramDir.h"
#include "storage/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cstring>
#include <memory>
#include <optional>
#include <vector>

namespace {
const QString kPrefix = QStringLiteral("Brevanto-backup-");
// Marks the program's temporary backups (".NAME.zip.brevanto-parziale-XXXXXX"): only files
// so named are the program's to clear up.
const QString kTemporaryMark = QStringLiteral("brevanto-parziale-");
constexpr qint64 kBlock = 1024 * 1024;

const QString kNotSaved = QStringLiteral("Attenzione: il backup non \u00E8 stato salvato perch\u00E9 %1");

bool isPhoto(const QByteArray& name)
{
    const QString suffix = QFileInfo(QString::fromUtf8(name)).suffix().toLower();
    return suffix == u"jpg" || suffix == u"jpeg" || suffix == u"bmp";
}

// The program's temporary backups beside their target that nobody holds: left by a backup
// that was killed.
void removeStaleTemporaries(const QString& folder)
{
    static const QRegularExpression temporary(QStringLiteral("^\\..+\\.%1[A-Za-z0-9]{6}$").arg(kTemporaryMark));
    const QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoSymLinks);
    for (const QString& name : names) {
        if (!temporary.match(name).hasMatch())
            continue;
        const QString path = QDir(folder).filePath(name);
        if (!SharedLock::held(path))
            QFile::remove(path);
    }
}

bool sameFile(const platform::Status& a, const platform::Status& b)
{
    return a.kind != platform::Kind::Missing && a.device == b.device && a.inode == b.inode;
}

// A backup must never replace a file of the laboratory, nor lie in one of its folders (each
// backup would then hold the ones before it). Files are compared by what they are on the disk,
// not by their names: case, links and other paths to the same folder change nothing.
void refuseLaboratoryPlace(const QString& target)
{
    const QByteArray root = platform::encodeName(programdir::path());
    QList<platform::Status> folders, files;
    for (const QString& name : laboratory::folders() + QStringList{laboratory::kStaging})
        folders.append(platform::status(root + platform::encodeName(name), true));
    for (const QString& name : laboratory::files() + laboratory::derived())
        files.append(platform::status(root + platform::encodeName(name), true));
    const auto refuse = [&target]() {
        throw IoError(QStringLiteral("%1 is a file of the laboratory or lies in its folders").arg(target),
                      kNotSaved.arg(QStringLiteral("%1 fa parte dei dati del laboratorio, che ogni backup contiene. "
                                                   "Scegliere un file fuori dalle cartelle Inventario, Restauri e "
                                                   "Documenti_Allegati e diverso dai file dei dati.")
                                        .arg(QDir::toNativeSeparators(target))));
    };
    const platform::Status file = platform::status(platform::encodeName(target), true);
    for (const platform::Status& s : files)
        if (sameFile(file, s))
            refuse();
    // From the nearest folder that exists: the backup's folder may be made after this check.
    QString folder = QFileInfo(target).absolutePath();
    while (!QFileInfo(folder).isDir() && folder != QFileInfo(folder).absolutePath())
        folder = QFileInfo(folder).absolutePath();
    folder = QFileInfo(folder).canonicalFilePath();
    // Up to the root, which is its own parent ("/" here, "C:/" or a share's root on Windows).
    for (QString parent; !folder.isEmpty(); folder = parent == folder ? QString() : parent) {
        const platform::Status here = platform::status(platform::encodeName(folder), true);
        for (const platform::Status& s : folders)
            if (sameFile(here, s))
                refuse();
        parent = QFileInfo(folder).absolutePath();
    }
}

void refuseWhilePending()
{
    const QString staging = programdir::file(laboratory::kStaging);
    if (platform::status(platform::encodeName(staging)).kind != platform::Kind::Missing)
        throw IoError(QStringLiteral("a restore is under way or was interrupted (%1 stands)").arg(staging),
                      kNotSaved.arg(QStringLiteral(
                          "il ripristino di un backup \u00E8 in corso o \u00E8 stato interrotto, e i dati potrebbero "
                          "essere in parte vecchi e in parte nuovi. Al prossimo avvio Brevanto completer\u00E0 il "
                          "ripristino (o lo annuller\u00E0); poi si potr\u00E0 fare il backup.")));
}

// What one backup's members share while libzip asks them for their bytes, one after the other.
struct Run {
    QString root;
    Progress& progress;
    Manifest& manifest;
    Sha256 sha;
    qint64 done = 0;
    // An archive and its journal are read under one hold of the archive's lock, the one their
    // writers take: the backup has whole records and a history that agrees with them.
    QString guarded;
    std::optional<SharedLock> guard;
    QByteArray block; // the file being read: one at a time

    void guardFor(const QString& g)
    {
        if (g == guarded)
            return;
        guard.reset();
        guarded = g;
        if (!g.isEmpty())
            guard.emplace(root + g);
    }
};

// A file of the laboratory, read when libzip asks for it. One that cannot be read is named.
class LabFile : public zipfile::Source {
public:
    LabFile(Run& run, qsizetype slot)
        : run_(run), slot_(slot), name_(run.manifest.members[slot].name), list_(laboratory::listOf(name_))
    { }

    qint64 open() override
    {
        run_.guardFor(laboratory::guardOf(name_));
        try {
            if (!in_.open(platform::openRegularFile(platform::encodeName(run_.root) + name_),
                          QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle))
                throw IoError(QStringLiteral("cannot read %1: %2").arg(shown(), in_.errorString()));
        } catch (const IoError& e) {
            throw unreadable(e.cause());
        }
        size_ = in_.size();
        return size_;
    }
    qint64 read(char* to, qint64 max) override
    {
        QByteArray& block_ = run_.block;
        if (at_ == block_.size()) {
            if (done_ == size_)
                return 0;
            block_.resize(qMin(kBlock, size_ - done_));
            for (qint64 got = 0; got < block_.size();) {
                const qint64 n = in_.read(block_.data() + got, block_.size() - got);
                if (n < 0)
                    throw unreadable(QStringLiteral("cannot read %1: %2").arg(shown(), in_.errorString()));
                if (n == 0)
                    throw unreadable(
                        QStringLiteral("%1 ended after %2 of %3 bytes").arg(shown()).arg(done_ + got).arg(size_));
                got += n;
            }
            at_ = 0;
            done_ += block_.size();
            if (!list_.archive.isEmpty() && listBytes_.size() < documentation::kLargestList)
                listBytes_ += block_; // a card's documentation list: its photos are counted
            run_.sha.add(block_.constData(), block_.size());
            run_.done += block_.size();
            if (!run_.progress.advance(run_.done))
                throw IoError(QStringLiteral("backup cancelled"));
        }
        const qint64 n = qMin(max, block_.size() - at_);
        std::memcpy(to, block_.constData() + at_, size_t(n));
        at_ += n;
        return n;
    }
    void close() override
    {
        in_.close();
        run_.block.clear();
        Manifest::Member& m = run_.manifest.members[slot_];
        m.size = size_;
        m.sha256 = run_.sha.hex();
        if (name_ == laboratory::kArtworks.toUtf8())
            run_.manifest.artworks = laboratory::recordsIn(name_, size_);
        else if (name_ == laboratory::kReports.toUtf8())
            run_.manifest.reports = laboratory::recordsIn(name_, size_);
        if (!list_.archive.isEmpty())
            run_.manifest.documentation.append(
                {list_.archive, list_.position, qint64(documentation::decode(listBytes_).photos.size())});
    }

private:
    QString shown() const { return laboratory::shown(name_); }
    IoError unreadable(const QString& cause) const
    {
        return IoError(cause, kNotSaved.arg(QStringLiteral("non si \u00E8 potuto leggere il file \u00AB%1\u00BB dei "
                                                           "dati. Controllare che il file sia leggibile.")
                                                .arg(shown())));
    }

    Run& run_;
    qsizetype slot_;
    QByteArray name_;
    QFile in_;
    qint64 size_ = 0;
    qint64 done_ = 0;
    qint64 at_ = 0; // in the run's block
    laboratory::ListOf list_;
    QByteArray listBytes_;
};

// The manifest, the last member: made when libzip asks for it, once every other was read.
class ManifestFile : public zipfile::Source {
public:
    explicit ManifestFile(Run& run) : run_(run) { }
    qint64 open() override
    {
        run_.guardFor({});
        bytes_ = run_.manifest.encode();
        return bytes_.size();
    }
    qint64 read(char* to, qint64 max) override
    {
        const qint64 n = qMin(max, bytes_.size() - at_);
        std::memcpy(to, bytes_.constData() + at_, size_t(n));
        at_ += n;
        return n;
    }
    void close() override { }

private:
    Run& run_;
    QByteArray bytes_;
    qint64 at_ = 0;
};

BackupSummary write(const QString& target, Progress& progress, Placement placement, bool duringRestore)
{
    if (!duringRestore)
        refuseWhilePending();
    refuseLaboratoryPlace(target);
    QString name = target;
    int number = 1;
    if (placement == Placement::FreeName) {
        while (platform::status(platform::encodeName(name)).kind != platform::Kind::Missing)
            name = numberedName(target, ++number);
    } else if (platform::status(platform::encodeName(target)).kind != platform::Kind::Missing && !isBackup(target)) {
        throw IoError(QStringLiteral("%1 exists and is no backup of this program").arg(target),
                      kNotSaved.arg(QStringLiteral("%1 esiste gi\u00E0 e non \u00E8 un backup di Brevanto: non viene "
                                                   "sostituito. Scegliere un altro nome.")
                                        .arg(QDir::toNativeSeparators(target))));
    }
    removeStaleTemporaries(QFileInfo(target).absolutePath());

    const QString root = programdir::path();
    BackupSummary summary;
    QList<QByteArray> leftOut;
    const QList<laboratory::Entry> entries = laboratory::collect(root, &leftOut);
    for (const QByteArray& n : leftOut)
        summary.leftOut.append(laboratory::shown(n));
    qint64 total = 0;
    for (const laboratory::Entry& e : entries)
        total += e.size;

    SafeFile file(name, kTemporaryMark);
    // Another backup's clean-up into the same folder must see this file is being written.
    const SharedLock inUse(file.temporaryPath());
    Manifest manifest;
    manifest.date = QDateTime::currentDateTime();
    manifest.date.setTime(
        QTime(manifest.date.time().hour(), manifest.date.time().minute(), manifest.date.time().second()));
    manifest.version = QStringLiteral(BREVANTO_VERSION);

    progress.begin(Progress::Step::Writing, total);
    {
        Run run{root, progress, manifest, {}, 0, {}, {}, {}};
        zipfile::Writer zip(file.temporaryPath());
        std::vector<std::unique_ptr<LabFile>> files;
        for (const laboratory::Entry& e : entries) {
            manifest.members.append({e.name, 0, {}});
            if (e.isFolder()) {
                zip.addFolder(e.name);
                continue;
            }
            files.push_back(std::make_unique<LabFile>(run, manifest.members.size() - 1));
            zip.addFile(e.name, isPhoto(e.name), *files.back());
        }
        ManifestFile list(run);
        zip.addFile(laboratory::kManifest.toUtf8(), false, list);
        zip.close();
    }
    // Read back in full before it takes its name: every member's checksum and the manifest.
    const Manifest written = verifyBackup(file.temporaryPath(), progress);
    if (written.members != manifest.members)
        throw IoError(QStringLiteral("the backup read back differs from what was written"));
    if (placement == Placement::Replace)
        file.commit();
    else
        while (!file.commitIfFree(name))
            name = numberedName(target, ++number);
    summary.path = name;
    summary.date = manifest.date;
    summary.artworks = manifest.artworks;
    summary.reports = manifest.reports;
    summary.bytes = QFileInfo(name).size();
    return summary;
}
} // namespace

void checkBackupTarget(const QString& target)
{
    refuseWhilePending();
    refuseLaboratoryPlace(target);
}

QString defaultBackupName(const QDateTime& when)
{
    return kPrefix + when.toString(QStringLiteral("yyyyMMdd-HHmm")) + QStringLiteral(".zip");
}

QString leftOutText(const BackupSummary& s)
{
    if (s.leftOut.isEmpty())
        return {};
    QStringList names;
    for (const QString& name : s.leftOut.mid(0, 5))
        names << QStringLiteral("\u00AB%1\u00BB").arg(name);
    if (s.leftOut.size() > 5)
        names << QStringLiteral("e altri %1").arg(s.leftOut.size() - 5);
    return QStringLiteral("Non contiene, perch\u00E9 non sono file ma collegamenti o simili: %1.")
        .arg(names.join(QStringLiteral(", ")));
}

QString numberedName(const QString& target, int n)
{
    if (n <= 1)
        return target;
    const QFileInfo info(target);
    const QString suffix = info.suffix().isEmpty() ? QString() : u'.' + info.suffix();
    return target.chopped(suffix.size()) + u'-' + QString::number(n) + suffix;
}

BackupSummary writeBackup(const QString& target, Progress& progress, Placement placement)
{
    return write(target, progress, placement, false);
}

BackupSummary writeSafetyCopy(const QString& target, Progress& progress)
{
    return write(target, progress, Placement::FreeName, true);
}
