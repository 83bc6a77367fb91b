#include "backup/Restore.h"

#include "backup/BackupReader.h"
#include "backup/BackupWriter.h"
#include "storage/IoError.h"
#include "storage/Platform.h"
#include "storage/ProgramDir.h"
#include "storage/SafeFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSet>

#include <algorithm>

namespace restore {
namespace {
const QString kMarker = QStringLiteral("scambio");
// The marker's first line: the swap goes forward, or back to the old data.
const QByteArray kForward = "Brevanto: sostituzione in corso\n";
const QByteArray kBackward = "Brevanto: sostituzione annullata\n";

QByteArray staging()
{
    return platform::encodeName(programdir::file(kStaging));
}
QByteArray live(const QString& name)
{
    return platform::encodeName(programdir::file(name));
}
QByteArray fresh(const QString& name = {})
{
    return staging() + "/nuovo" + (name.isEmpty() ? QByteArray() : '/' + name.toUtf8());
}
QByteArray old(const QString& name = {})
{
    return staging() + "/vecchio" + (name.isEmpty() ? QByteArray() : '/' + name.toUtf8());
}

// Present as a file, folder or link (a link is moved, never followed).
bool present(const QByteArray& path)
{
    return platform::status(path).kind != platform::Kind::Missing;
}

// Every top-level name the swap moves, in the order it moves them.
QStringList swapped()
{
    return laboratory::files() + laboratory::folders() + laboratory::derived();
}

struct Marker {
    bool forward = true;
    QSet<QString> incoming; // the top-level names the backup holds
};

QByteArray encode(const Marker& m)
{
    QByteArray text = m.forward ? kForward : kBackward;
    QStringList names(m.incoming.begin(), m.incoming.end());
    names.sort();
    for (const QString& name : names)
        text += name.toUtf8() + '\n';
    return text;
}

Marker readMarker()
{
    const QString path = platform::decodeName(staging()) + u'/' + kMarker;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw IoError(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
    QList<QByteArray> lines = file.readAll().split('\n');
    Marker m;
    const QByteArray heading = lines.isEmpty() ? QByteArray() : lines.takeFirst() + '\n';
    if (heading != kForward && heading != kBackward)
        throw IoError(QStringLiteral("%1 is not a restore marker").arg(path));
    m.forward = heading == kForward;
    for (const QByteArray& line : lines)
        if (!line.isEmpty())
            m.incoming.insert(QString::fromUtf8(line));
    return m;
}

void writeMarker(const Marker& m)
{
    writeFileSafely(platform::decodeName(staging()) + u'/' + kMarker, encode(m));
}

// The swap, from the marker on: idempotent, so that it can run again after a crash at any
// point of it. Every name the backup holds comes in from nuovo/ (what stood there goes to
// vecchio/); every other name of the laboratory, and every index, goes to vecchio/.
void rollForward(const Marker& m, Progress& progress)
{
    platform::makeFolder(old());
    const QStringList names = swapped();
    progress.begin(Progress::Step::Replacing, names.size());
    qint64 done = 0;
    for (const QString& name : names) {
        if (m.incoming.contains(name) && present(fresh(name))) {
            if (present(live(name))) {
                if (present(old(name)))
                    throw IoError(QStringLiteral("%1 stands both in the data and aside").arg(name));
                platform::rename(live(name), old(name));
            }
            platform::rename(fresh(name), live(name));
        } else if (!m.incoming.contains(name) && present(live(name)) && !present(old(name))) {
            platform::rename(live(name), old(name));
        }
        progress.advance(++done); // the swap is never stopped halfway
    }
    syncFileSystem(programdir::path());
}

// The swap undone, from any point of it: what came in from nuovo/ goes back there, and what
// went to vecchio/ comes back. Idempotent like the swap.
void rollBack(const Marker& m)
{
    QStringList names = swapped();
    std::reverse(names.begin(), names.end());
    for (const QString& name : names) {
        if (m.incoming.contains(name) && !present(fresh(name)) && present(live(name)))
            platform::rename(live(name), fresh(name));
        if (present(old(name)) && !present(live(name)))
            platform::rename(old(name), live(name));
    }
    syncFileSystem(programdir::path());
}

// Turns the marker round and undoes the swap; throws SwapInterrupted when that fails too.
void undo(Marker m, const QString& why)
{
    try {
        m.forward = false;
        writeMarker(m);
        rollBack(m);
    } catch (const IoError& e) {
        throw SwapInterrupted(QStringLiteral("%1; undoing it: %2").arg(why, e.cause()));
    }
}

// Removes the staging folder. What cannot be removed (a read-only folder among the replaced
// data) is moved out of the way under a name of its own, so that it no longer marks a
// restore as pending; its path is returned.
QString cleanUp(Progress& progress)
{
    progress.begin(Progress::Step::Cleaning, 1);
    QString leftOver;
    try {
        platform::removeAll(staging());
    } catch (const IoError&) {
        const QString base = programdir::file(kStaging + QStringLiteral("-da-eliminare"));
        for (int n = 1; leftOver.isEmpty(); ++n)
            if (platform::renameIfFree(staging(), platform::encodeName(numberedName(base, n))))
                leftOver = numberedName(base, n);
    }
    progress.advance(1);
    return leftOver;
}

// Every rename the swap will make is one the system allows: a read-only folder, another file
// system or a mount point found now leaves everything as it was.
void proveMovable(const Marker& m)
{
    platform::makeFolder(old());
    const QByteArray root = platform::encodeName(QDir::cleanPath(programdir::path()));
    for (const QString& name : swapped()) {
        QString why;
        if (present(live(name)))
            why = platform::whyNotMovable(live(name), old());
        if (why.isEmpty() && m.incoming.contains(name) && present(fresh(name)))
            why = platform::whyNotMovable(fresh(name), root);
        if (!why.isEmpty())
            throw IoError(why,
                          QStringLiteral("Attenzione: il ripristino non \u00E8 possibile perch\u00E9 \u00AB%1\u00BB "
                                         "non si pu\u00F2 sostituire (per esempio \u00E8 in sola lettura o su "
                                         "un altro disco). Controllare i permessi della cartella del programma e "
                                         "di quanto contiene. Nessun dato \u00E8 stato modificato.")
                              .arg(name));
    }
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

bool pending()
{
    return present(staging());
}

Result restoreBackup(const QString& path, Progress& progress)
{
    recoverInterrupted();
    Result result;
    Marker marker;
    // Unpacked and checked beside the data first: a bad backup leaves everything as it was.
    try {
        if (!QDir().mkpath(platform::decodeName(fresh())))
            throw IoError(QStringLiteral("cannot make the folder %1").arg(platform::decodeName(fresh())));
        result.restored = unpackBackup(path, platform::decodeName(fresh()), progress);
        for (const Manifest::Member& m : result.restored.members)
            marker.incoming.insert(laboratory::topLevelOf(m.name));
        syncFileSystem(platform::decodeName(staging()));
        proveMovable(marker);
        result.safetyCopy = writeSafetyCopy(safetyCopyPath(), progress).path;
        proveMovable(marker);
        writeMarker(marker);
    } catch (...) {
        try {
            platform::removeAll(staging());
        } catch (const IoError&) {
            // the next start discards it: no marker was written
        }
        throw;
    }

    // From here on the data are being replaced: a rename that fails puts back what was moved.
    try {
        rollForward(marker, progress);
    } catch (const IoError& e) {
        undo(marker, e.cause());
        result.leftOver = cleanUp(progress);
        throw IoError(e.cause());
    }
    result.leftOver = cleanUp(progress);
    return result;
}

Recovered recoverInterrupted()
{
    if (!pending())
        return {};
    NoProgress quiet;
    if (!present(staging() + '/' + kMarker.toUtf8())) // interrupted while unpacking: the data was never touched
        return {Recovery::Discarded, cleanUp(quiet)};
    const Marker marker = readMarker();
    Recovery what = Recovery::Completed;
    if (marker.forward) {
        try {
            rollForward(marker, quiet);
        } catch (const IoError& e) {
            undo(marker, e.cause());
            what = Recovery::Undone;
        }
    } else {
        rollBack(marker);
        what = Recovery::Undone;
    }
    return {what, cleanUp(quiet)};
}

} // namespace restore
