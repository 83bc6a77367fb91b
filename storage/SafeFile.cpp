#include "storage/SafeFile.h"

#include "storage/IoError.h"
#include "storage/Platform.h"

#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QString lastError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// The permissions a new file gets, or those of the file being replaced.
mode_t modeFor(const QString& path)
{
    struct stat st { };
    if (::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISREG(st.st_mode))
        return st.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Why a write through QFile failed. QFile keeps no reason when a write stops part-way, as
// on a full disk ("Unknown error"); the system's own is then still in errno, which the caller
// cleared before the write.
QString reasonOf(const QFile& file)
{
    return errno != 0 ? lastError() : file.errorString();
}

void syncFolder(const QString& folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return; // some file systems cannot open a folder: the rename itself has happened
    ::fsync(fd);
    ::close(fd);
}
} // namespace

SafeFile::SafeFile(const QString& path, const QString& mark) : path_(path)
{
    // A folder in the file's place, or a file made read-only, is not replaced.
    struct stat st { };
    if (::lstat(QFile::encodeName(path).constData(), &st) == 0) {
        if (S_ISDIR(st.st_mode))
            throw IoError(QStringLiteral("%1 is a folder").arg(path));
        if (S_ISREG(st.st_mode) && (st.st_mode & 0222) == 0)
            throw IoError(QStringLiteral("%1 is read-only").arg(path));
    }
    const QFileInfo target(path);
    QByteArray pattern = QFile::encodeName(target.absolutePath() + QStringLiteral("/.") + target.fileName() + u'.'
                                           + mark + QStringLiteral("XXXXXX"));
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0)
        throw IoError(QStringLiteral("cannot create a file beside %1: %2").arg(path, lastError()));
    temporary_ = QFile::decodeName(pattern);
    ::fchmod(fd, modeFor(path));
    if (!file_.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        discard();
        throw IoError(QStringLiteral("cannot write beside %1").arg(path));
    }
    checked_.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

qint64 SafeFile::Checked::writeData(const char* data, qint64 length)
{
    errno = 0;
    const qint64 written = file_.write(data, length);
    if (written != length) {
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
        ::unlink(QFile::encodeName(temporary_).constData());
    temporary_.clear();
}

void SafeFile::flush()
{
    errno = 0;
    if (checked_.failed)
        throw IoError(QStringLiteral("cannot write %1: %2").arg(path_, checked_.errorString()));
    if (!file_.flush() || file_.error() != QFileDevice::NoError)
        throw IoError(QStringLiteral("cannot write %1: %2").arg(path_, reasonOf(file_)));
}

void SafeFile::finish()
{
    if (finished_)
        return;
    if (committed_ || temporary_.isEmpty())
        throw IoError(QStringLiteral("%1 was already written").arg(path_));
    auto fail = [this](const QString& what, const QString& why) {
        const QString cause = QStringLiteral("%1 %2: %3").arg(what, path_, why);
        discard();
        throw IoError(cause);
    };
    errno = 0;
    if (checked_.failed)
        fail(QStringLiteral("cannot write"), checked_.errorString());
    if (!file_.flush() || file_.error() != QFileDevice::NoError)
        fail(QStringLiteral("cannot write"), reasonOf(file_));
    if (::fsync(file_.handle()) != 0)
        fail(QStringLiteral("cannot force to the disk"), lastError());
    checked_.close();
    errno = 0;
    file_.close();
    if (file_.error() != QFileDevice::NoError)
        fail(QStringLiteral("cannot close"), reasonOf(file_));
    finished_ = true;
}

void SafeFile::commit()
{
    finish();
    if (std::rename(QFile::encodeName(temporary_).constData(), QFile::encodeName(path_).constData()) != 0) {
        const QString cause = QStringLiteral("cannot replace %1: %2").arg(path_, lastError());
        discard();
        throw IoError(cause);
    }
    committed_ = true;
    temporary_.clear();
    syncFolder(QFileInfo(path_).absolutePath());
}

bool SafeFile::commitIfFree(const QString& path)
{
    finish();
    try {
        if (!platform::renameIfFree(QFile::encodeName(temporary_), QFile::encodeName(path)))
            return false;
    } catch (const IoError&) {
        discard();
        throw;
    }
    committed_ = true;
    temporary_.clear();
    syncFolder(QFileInfo(path).absolutePath());
    return true;
}

void writeFileSafely(const QString& path, const QByteArray& bytes)
{
    SafeFile f(path);
    if (f.device().write(bytes) != bytes.size())
        throw IoError(QStringLiteral("cannot write %1: %2").arg(path, f.device().errorString()));
    f.commit();
}

void syncFileSystem(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw IoError(QStringLiteral("cannot open %1: %2").arg(path, lastError()));
    const int rc = ::syncfs(fd);
    const QString cause = lastError();
    ::close(fd);
    if (rc != 0)
        throw IoError(QStringLiteral("cannot force %1 to the disk: %2").arg(path, cause));
}
