#include "backup/Restore.h"

#include "backup/BackupReader.h"
#include "backup/BackupWriter.h"
#include "backup/Laboratory.h"
#include "storage/IoError.h"
#include "storage/ProgramDir.h"
#include "storage/SafeFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace restore {
namespace {
const QString kMarker = QStringLiteral("scambio");
const QByteArray kMarkerHeading = "Brevanto: sostituzione in corso\n";

QString staging()
{
    return programdir::file(kStaging);
}

// Present as a file, folder or link (a link is moved, never followed).
bool present(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

void move(const QString& from, const QString& to)
{
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        throw IoError(
            QStringLiteral("cannot rename %1 to %2: %3").arg(from, to, QString::fromLocal8Bit(std::strerror(errno))));
}

// The swap, from the marker on: idempotent, so that it can run again after a crash at any
// point of it. Every name the backup holds comes in from nuovo/ (what stood there goes to
// vecchio/); every other laboratory name goes to vecchio/.
void rollForward(Progress& progress)
{
    QFile marker(QDir(staging()).filePath(kMarker));
    if (!marker.open(QIODevice::ReadOnly))
        throw IoError(QStringLiteral("cannot read %1: %2").arg(marker.fileName(), marker.errorString()));
    QList<QByteArray> lines = marker.readAll().split('\n');
    if (lines.isEmpty() || lines.takeFirst() + '\n' != kMarkerHeading)
        throw IoError(QStringLiteral("%1 is not a restore marker").arg(marker.fileName()));
    QSet<QString> incoming;
    for (const QByteArray& line : lines)
        if (!line.isEmpty())
            incoming.insert(QString::fromUtf8(line));

    const QString fresh = staging() + QStringLiteral("/nuovo/");
    const QString old = staging() + QStringLiteral("/vecchio/");
    QDir().mkpath(old);
    const QStringList names = laboratory::files() + laboratory::folders();
    progress.begin(Progress::Step::Replacing, names.size());
    qint64 done = 0;
    for (const QString& name : names) {
        const QString live = programdir::file(name);
        if (incoming.contains(name) && present(fresh + name)) {
            if (present(live)) {
                if (present(old + name))
                    throw IoError(QStringLiteral("%1 stands both in the data and aside").arg(name));
                move(live, old + name);
            }
            move(fresh + name, live);
        } else if (!incoming.contains(name) && present(live) && !present(old + name)) {
            move(live, old + name);
        }
        progress.advance(++done); // the swap is never stopped halfway
    }
    syncFileSystem(programdir::path());
}

void cleanUp(Progress& progress)
{
    progress.begin(Progress::Step::Cleaning, 1);
    // The old data goes first, the marker last: until then a restart completes the swap.
    QDir(staging() + QStringLiteral("/vecchio")).removeRecursively();
    QDir(staging() + QStringLiteral("/nuovo")).removeRecursively();
    QFile::remove(QDir(staging()).filePath(kMarker));
    QDir(staging()).removeRecursively();
    progress.advance(1);
}

QString safetyCopyPath()
{
    const QString folder = programdir::file(laboratory::kBackupFolder);
    if (!QDir().mkpath(folder))
        throw IoError(QStringLiteral("cannot make the folder %1").arg(folder));
    return folder + QStringLiteral("/Brevanto-prima-del-ripristino-")
           + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")) + QStringLiteral(".zip");
}
} // namespace

Result restoreBackup(const QString& path, Progress& progress)
{
    recoverInterrupted();
    Result result;
    // Unpacked and checked beside the data first: a bad backup leaves everything as it was.
    const QString fresh = staging() + QStringLiteral("/nuovo");
    try {
        if (!QDir().mkpath(fresh))
            throw IoError(QStringLiteral("cannot make the folder %1").arg(fresh));
        result.restored = unpackBackup(path, fresh, progress);
        syncFileSystem(staging());
        result.safetyCopy = writeBackup(safetyCopyPath(), progress).path;
    } catch (...) {
        QDir(staging()).removeRecursively();
        throw;
    }
    QSet<QString> names;
    for (const Manifest::Member& m : result.restored.members)
        names.insert(laboratory::topLevelOf(m.name));
    QByteArray marker = kMarkerHeading;
    for (const QString& name : names)
        marker += name.toUtf8() + '\n';
    writeFileSafely(QDir(staging()).filePath(kMarker), marker);

    // From here on the data are being replaced: whatever stops the swap, the next start
    // completes it.
    try {
        rollForward(progress);
    } catch (const IoError& e) {
        throw SwapInterrupted(e.cause());
    }
    cleanUp(progress);
    return result;
}

Recovery recoverInterrupted()
{
    if (!present(staging()))
        return Recovery::None;
    NoProgress quiet;
    if (!present(QDir(staging()).filePath(kMarker))) {
        // Interrupted while unpacking: the data was never touched.
        if (!QDir(staging()).removeRecursively())
            throw IoError(QStringLiteral("cannot remove %1").arg(staging()));
        return Recovery::Discarded;
    }
    rollForward(quiet);
    cleanUp(quiet);
    return Recovery::Completed;
}

} // namespace restore
