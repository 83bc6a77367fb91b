#include "storage/Platform.h"

#include "storage/IoError.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace platform {
namespace {
QString shown(const QByteArray& path)
{
    return QString::fromLocal8Bit(path);
}

[[noreturn]] void fail(const char* what, const QByteArray& path, int error = errno)
{
    throw IoError(
        QStringLiteral("%1 %2: %3").arg(QLatin1String(what), shown(path), QString::fromLocal8Bit(std::strerror(error))),
        {}, error == ENOSPC || error == EDQUOT || error == EFBIG);
}

QByteArray parentOf(const QByteArray& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
}

bool writable(const QByteArray& folder, int& error)
{
    if (::faccessat(AT_FDCWD, folder.constData(), W_OK | X_OK, AT_EACCESS) == 0)
        return true;
    error = errno;
    return false;
}
} // namespace

QString systemPath(const QString& path)
{
    return path;
}

QString lastError()
{
    return errno == 0 ? QString() : QString::fromLocal8Bit(std::strerror(errno));
}

void clearLastError()
{
    errno = 0;
}

bool diskFull()
{
    return errno == ENOSPC || errno == EDQUOT || errno == EFBIG;
}

void setDiskFull()
{
    errno = ENOSPC;
}

// A program started from a terminal writes to it already.
void attachConsole()
{ }

void writeLine(Stream to, const QString& line)
{
    std::FILE* stream = to == Stream::Error ? stderr : stdout;
    std::fputs((line + u'\n').toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

QByteArray encodeName(const QString& path)
{
    return QFile::encodeName(path);
}

QString decodeName(const QByteArray& bytes)
{
    return QFile::decodeName(bytes);
}

int openFile(const QString& path, Open how)
{
    const int flags = how == Open::Read ? O_RDONLY : how == Open::ReadWrite ? O_RDWR : O_RDWR | O_CREAT;
    if (how == Open::ReadWriteCreate && !mayChange(Change::Create))
        return -1;
    return ::open(encodeName(path).constData(), flags | O_CLOEXEC, 0666);
}

void closeFile(int fd)
{
    if (fd >= 0)
        ::close(fd);
}

qint64 fileSize(int fd)
{
    struct stat st { };
    return ::fstat(fd, &st) == 0 ? qint64(st.st_size) : -1;
}

qint64 readAt(int fd, qint64 at, char* into, qint64 length)
{
    qint64 done = 0;
    while (done < length) {
        const ssize_t got = ::pread(fd, into + done, size_t(length - done), off_t(at + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return -1;
        if (got == 0)
            break;
        done += got;
    }
    return done;
}

bool writeAt(int fd, qint64 at, const char* from, qint64 length)
{
    if (!mayChange(Change::Write))
        return false;
    qint64 done = 0;
    while (done < length) {
        const ssize_t put = ::pwrite(fd, from + done, size_t(length - done), off_t(at + done));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        done += put;
    }
    return true;
}

bool truncateFile(int fd, qint64 length)
{
    return mayChange(Change::Truncate) && ::ftruncate(fd, off_t(length)) == 0;
}

bool syncFile(int fd, bool dataOnly)
{
    return mayChange(Change::Sync) && (dataOnly ? ::fdatasync(fd) : ::fsync(fd)) == 0;
}

// Open-file-description locks: owned by the open file, not the process, so that two opens in
// one program exclude each other as two workstations do; carried by network file systems.
Locked lockFile(int fd, Lock how)
{
    struct flock whole { };
    whole.l_type = how == Lock::Shared ? F_RDLCK : F_WRLCK;
    whole.l_whence = SEEK_SET;
    int rc;
    do
        rc = ::fcntl(fd, F_OFD_SETLKW, &whole);
    while (rc != 0 && errno == EINTR);
    if (rc == 0)
        return Locked::Yes;
    return errno == ENOLCK || errno == EOPNOTSUPP || errno == EINVAL || errno == ENOSYS ? Locked::NoLocks
                                                                                        : Locked::Failed;
}

void unlockFile(int fd)
{
    struct flock whole { };
    whole.l_type = F_UNLCK;
    whole.l_whence = SEEK_SET;
    ::fcntl(fd, F_OFD_SETLK, &whole);
}

bool lockIsFree(int fd)
{
    struct flock whole { };
    whole.l_type = F_WRLCK;
    whole.l_whence = SEEK_SET;
    // On a file system without locks nobody can be holding one; any other failure counts as held.
    if (::fcntl(fd, F_OFD_GETLK, &whole) != 0)
        return errno == ENOLCK || errno == EOPNOTSUPP || errno == EINVAL || errno == ENOSYS;
    return whole.l_type == F_UNLCK;
}

int createBeside(const QString& path, const QString& mark, QString* created)
{
    const QFileInfo target(path);
    if (!mayChange(Change::Create))
        return -1;
    QByteArray pattern = encodeName(target.absolutePath() + QStringLiteral("/.") + target.fileName() + u'.' + mark
                                    + QStringLiteral("XXXXXX"));
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0)
        return -1;
    // The permissions of the file being replaced, or those a new file gets.
    struct stat st { };
    mode_t mode;
    if (::lstat(encodeName(path).constData(), &st) == 0 && S_ISREG(st.st_mode)) {
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::fchmod(fd, mode);
    *created = QFile::decodeName(pattern);
    return fd;
}

bool replaceFile(const QString& from, const QString& to)
{
    return mayChange(Change::Rename) && std::rename(encodeName(from).constData(), encodeName(to).constData()) == 0;
}

bool removeFile(const QString& path)
{
    return mayChange(Change::Remove) && (::unlink(encodeName(path).constData()) == 0 || errno == ENOENT);
}

bool hardLink(const QString& existing, const QString& link)
{
    return mayChange(Change::Link) && ::link(encodeName(existing).constData(), encodeName(link).constData()) == 0;
}

void syncFolder(const QString& folder)
{
    const int fd = ::open(encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return; // some file systems cannot open a folder: the rename itself has happened
    ::fsync(fd);
    ::close(fd);
}

bool syncFileSystem(const QString& path)
{
    const int fd = ::open(encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const int rc = ::syncfs(fd);
    const int error = errno;
    ::close(fd);
    errno = error;
    return rc == 0;
}

bool isReadOnly(const QString& path)
{
    struct stat st { };
    return ::lstat(encodeName(path).constData(), &st) == 0 && S_ISREG(st.st_mode) && (st.st_mode & 0222) == 0;
}

// Both are asked once per run: every save names them, and the user database is a file.
QString hostName()
{
    static const QString name = [] {
        char bytes[256] = {};
        if (::gethostname(bytes, sizeof bytes - 1) != 0)
            return QString();
        return QString::fromLocal8Bit(bytes);
    }();
    return name;
}

QString userName()
{
    static const QString name = [] {
        if (const passwd* pw = ::getpwuid(::geteuid()); pw && pw->pw_name)
            return QString::fromLocal8Bit(pw->pw_name);
        return qEnvironmentVariable("USER");
    }();
    return name;
}

Status status(const QByteArray& path, bool follow)
{
    struct stat st { };
    if ((follow ? ::stat(path.constData(), &st) : ::lstat(path.constData(), &st)) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return {};
        fail("cannot examine", path);
    }
    const Kind kind = S_ISREG(st.st_mode)   ? Kind::File
                      : S_ISDIR(st.st_mode) ? Kind::Folder
                      : S_ISLNK(st.st_mode) ? Kind::Link
                                            : Kind::Other;
    return {kind, qint64(st.st_size), quint64(st.st_dev), quint64(st.st_ino)};
}

QList<QByteArray> folderNames(const QByteArray& path)
{
    DIR* dir = ::opendir(path.constData());
    if (!dir)
        fail("cannot list", path);
    QList<QByteArray> names;
    errno = 0;
    while (const dirent* e = ::readdir(dir)) {
        const QByteArray name(e->d_name);
        if (name != "." && name != "..")
            names.append(name);
        errno = 0;
    }
    const int error = errno;
    ::closedir(dir);
    if (error != 0)
        fail("cannot list", path, error);
    return names;
}

int openRegularFile(const QByteArray& path)
{
    // Without O_NONBLOCK the open of a FIFO waits for a writer that may never come.
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        fail("cannot open", path);
    struct stat st { };
    const bool examined = ::fstat(fd, &st) == 0;
    const int error = errno;
    if (!examined || !S_ISREG(st.st_mode) || ::fcntl(fd, F_SETFL, 0) != 0) {
        const int cause = !examined ? error : errno;
        ::close(fd);
        if (examined && !S_ISREG(st.st_mode))
            throw IoError(QStringLiteral("%1 is not a regular file").arg(shown(path)));
        fail("cannot open", path, cause);
    }
    return fd;
}

int createFile(const QByteArray& path)
{
    if (!mayChange(Change::Create))
        fail("cannot create", path);
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST)
        fail("cannot create", path);
    return fd;
}

bool makeFolder(const QByteArray& path)
{
    if (!mayChange(Change::Folder))
        fail("cannot make the folder", path);
    if (::mkdir(path.constData(), 0777) == 0)
        return true;
    if (errno != EEXIST)
        fail("cannot make the folder", path);
    return false;
}

void rename(const QByteArray& from, const QByteArray& to)
{
    if (!mayChange(Change::Rename) || std::rename(from.constData(), to.constData()) != 0)
        throw IoError(QStringLiteral("cannot rename %1 to %2: %3")
                          .arg(shown(from), shown(to), QString::fromLocal8Bit(std::strerror(errno))));
}

bool renameIfFree(const QByteArray& from, const QByteArray& to)
{
    if (!mayChange(Change::Rename))
        fail("cannot rename", from);
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno == EEXIST)
        return false;
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
        fail("cannot rename", from);
    // A file system without that flag: a hard link cannot replace either.
    if (::link(from.constData(), to.constData()) == 0) {
        ::unlink(from.constData());
        return true;
    }
    if (errno == EEXIST)
        return false;
    // Nor links (FAT, exFAT): the name is looked at just before the rename.
    if (status(to).kind != Kind::Missing)
        return false;
    rename(from, to);
    return true;
}

void removeAll(const QByteArray& path)
{
    const Status s = status(path);
    if (s.kind == Kind::Missing)
        return;
    if (!mayChange(Change::Remove))
        fail("cannot remove", path);
    if (s.kind == Kind::Folder) {
        for (const QByteArray& name : folderNames(path))
            removeAll(path + '/' + name);
        if (::rmdir(path.constData()) != 0)
            fail("cannot remove", path);
    } else if (::unlink(path.constData()) != 0 && errno != ENOENT) {
        fail("cannot remove", path);
    }
}

QString whyNotMovable(const QByteArray& path, const QByteArray& into)
{
    struct stat item {
    }, from{}, to{};
    const QByteArray parent = parentOf(path);
    if (::lstat(path.constData(), &item) != 0 || ::stat(parent.constData(), &from) != 0
        || ::stat(into.constData(), &to) != 0)
        return QStringLiteral("cannot examine %1 or %2: %3")
            .arg(shown(path), shown(into), QString::fromLocal8Bit(std::strerror(errno)));
    if (item.st_dev != from.st_dev)
        return QStringLiteral("%1 is a mount point").arg(shown(path));
    if (item.st_dev != to.st_dev)
        return QStringLiteral("%1 and %2 are on different file systems").arg(shown(path), shown(into));
    int error = 0;
    for (const QByteArray& folder : {parent, into})
        if (!writable(folder, error))
            return QStringLiteral("%1 cannot be changed: %2")
                .arg(shown(folder), QString::fromLocal8Bit(std::strerror(error)));
    // A folder that changes parent has its ".." rewritten.
    if (S_ISDIR(item.st_mode) && parent != into && !writable(path, error))
        return QStringLiteral("%1 cannot be moved: %2").arg(shown(path), QString::fromLocal8Bit(std::strerror(error)));
    // In a folder with the sticky bit only the owner of the file or of the folder may move it.
    const uid_t me = ::geteuid();
    if ((from.st_mode & S_ISVTX) && me != 0 && me != item.st_uid && me != from.st_uid)
        return QStringLiteral("%1 belongs to another user").arg(shown(path));
    return {};
}

qint64 freeSpace(const QByteArray& path)
{
    struct statvfs fs { };
    if (::statvfs(path.constData(), &fs) != 0)
        return -1;
    return qint64(fs.f_bavail) * qint64(fs.f_frsize);
}

bool holdsName(const QByteArray& part)
{
    return !part.isEmpty() && !part.contains('/') && !part.contains('\0');
}

} // namespace platform
