#include "storage/SafeFile.h"

#include "storage/IoError.h"
#include "storage/Platform.h"

#include <QFileInfo>

namespace {
// Why a write through QFile failed. QFile keeps no reason when a write stops part-way, as
// on a full disk ("Unknown error"); the system's own is then still there, which the caller
// cleared before the write.
QString reasonOf(const QFile& file)
{
    const QString system = platform::lastError();
    return system.isEmpty() ? file.errorString() : system;
}
} // namespace

SafeFile::SafeFile(const QString& path, const QString& mark) : path_(path)
{
    // A folder in the file's place, or a file made read-only, is not replaced.
    const platform::Status there = platform::status(platform::encodeName(path));
    if (there.kind == platform::Kind::Folder)
        throw IoError(QStringLiteral("%1 is a folder").arg(path));
    if (there.kind == platform::Kind::File && platform::isReadOnly(path))
        throw IoError(QStringLiteral("%1 is read-only").arg(path));
    const int fd = platform::createBeside(path, mark, &temporary_);
    if (fd < 0)
        throw IoError(QStringLiteral("cannot create a file beside %1: %2").arg(path, platform::lastError()), {},
                      platform::diskFull());
    if (!file_.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) {
        platform::closeFile(fd);
        discard();
        throw IoError(QStringLiteral("cannot write beside %1").arg(path));
    }
    checked_.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

qint64 SafeFile::Checked::writeData(const char* data, qint64 length)
{
    platform::clearLastError();
    const qint64 written = platform::mayChange(platform::Change::Write) ? file_.write(data, length) : -1;
    if (written != length) {
        full = platform::diskFull();
        failed = true;
        setErrorString(reasonOf(file_));
    }
    return written;
}

SafeFile::~SafeFile()
{
    if (!committed_)
        discard();
}

void SafeFile::discard()
{
    if (checked_.isOpen())
        checked_.close();
    if (file_.isOpen())
        file_.close();
    if (!temporary_.isEmpty())
        platform::removeFile(temporary_);
    temporary_.clear();
}

void SafeFile::flush()
{
    platform::clearLastError();
    if (checked_.failed)
        throw IoError(QStringLiteral("cannot write %1: %2").arg(path_, checked_.errorString()), {}, checked_.full);
    if (!file_.flush() || file_.error() != QFileDevice::NoError)
        throw IoError(QStringLiteral("cannot write %1: %2").arg(path_, reasonOf(file_)), {}, platform::diskFull());
}

void SafeFile::finish()
{
    if (finished_)
        return;
    if (committed_ || temporary_.isEmpty())
        throw IoError(QStringLiteral("%1 was already written").arg(path_));
    auto fail = [this](const QString& what, const QString& why) {
        const QString cause = QStringLiteral("%1 %2: %3").arg(what, path_, why);
        const bool full = checked_.full || platform::diskFull();
        discard();
        throw IoError(cause, {}, full);
    };
    platform::clearLastError();
    if (checked_.failed)
        fail(QStringLiteral("cannot write"), checked_.errorString());
    if (!file_.flush() || file_.error() != QFileDevice::NoError)
        fail(QStringLiteral("cannot write"), reasonOf(file_));
    if (!platform::syncFile(file_.handle()))
        fail(QStringLiteral("cannot force to the disk"), platform::lastError());
    checked_.close();
    platform::clearLastError();
    file_.close();
    if (file_.error() != QFileDevice::NoError)
        fail(QStringLiteral("cannot close"), reasonOf(file_));
    finished_ = true;
}

void SafeFile::commit()
{
    finish();
    if (!platform::replaceFile(temporary_, path_)) {
        const QString cause = QStringLiteral("cannot replace %1: %2").arg(path_, platform::lastError());
        discard();
        throw IoError(cause);
    }
    committed_ = true;
    temporary_.clear();
    platform::syncFolder(QFileInfo(path_).absolutePath());
}

bool SafeFile::commitIfFree(const QString& path)
{
    finish();
    try {
        if (!platform::renameIfFree(platform::encodeName(temporary_), platform::encodeName(path)))
            return false;
    } catch (const IoError&) {
        discard();
        throw;
    }
    committed_ = true;
    temporary_.clear();
    platform::syncFolder(QFileInfo(path).absolutePath());
    return true;
}

void writeFileSafely(const QString& path, const QByteArray& bytes)
{
    SafeFile f(path);
    if (f.device().write(bytes) != bytes.size())
        f.flush(); // throws with the reason the write failed
    f.commit();
}

void syncFileSystem(const QString& path)
{
    if (!platform::syncFileSystem(path))
        throw IoError(QStringLiteral("cannot force %1 to the disk: %2").arg(path, platform::lastError()));
}
