#include "storage/Platform.h"

#include "storage/FileNames.h"
#include "storage/IoError.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QThread>

#include <functional>

#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <lmcons.h>
#include <windows.h>

// Windows as Windows does it: wide-character paths (long ones and network shares through the
// "\\?\" prefix), byte-range locks on one byte far past any data (so that they only exclude
// other lockers, as the POSIX advisory locks do, and never a reader), FlushFileBuffers for
// the disk, MoveFileExW with write-through for replacing, retried while another program (a
// virus scanner, the indexer) holds the file for a moment.
namespace platform {
namespace {
// The byte the whole-file locks are taken on: past any file this program writes, where a
// lock keeps out other lockers only, never a read or write of the data.
constexpr qint64 kLockOffset = qint64(0x7FFFFFFF) << 32;

// The position a read, write or lock of the system's calls starts at.
OVERLAPPED positionAt(qint64 offset)
{
    OVERLAPPED where{};
    where.Offset = DWORD(offset & 0xFFFFFFFF);
    where.OffsetHigh = DWORD(offset >> 32);
    return where;
}

// The last failure, kept per thread as the system keeps it.
thread_local DWORD lastFailure = 0;

void noteFailure()
{
    lastFailure = GetLastError();
}

std::wstring wide(const QString& path)
{
    return systemPath(path).toStdWString();
}

std::wstring wide(const QByteArray& path)
{
    return wide(QString::fromUtf8(path));
}

QString describe(DWORD error)
{
    wchar_t* text = nullptr;
    const DWORD n =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    QString out = n > 0 ? QString::fromWCharArray(text, int(n)).trimmed() : QStringLiteral("error %1").arg(error);
    if (text)
        LocalFree(text);
    return out;
}

[[noreturn]] void fail(const char* what, const QByteArray& path)
{
    noteFailure();
    throw IoError(QStringLiteral("%1 %2: %3").arg(QLatin1String(what), decodeName(path), describe(lastFailure)), {},
                  lastFailure == ERROR_DISK_FULL || lastFailure == ERROR_HANDLE_DISK_FULL);
}

HANDLE handleOf(int fd)
{
    return reinterpret_cast<HANDLE>(_get_osfhandle(fd));
}

// Another program holding the file for a moment: a virus scanner, the indexer, a backup.
bool transient(DWORD error)
{
    return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED || error == ERROR_LOCK_VIOLATION;
}

// Runs step until it succeeds, or for about two seconds while the failure is transient.
template <class Step> bool retried(Step step)
{
    for (int attempt = 0;; ++attempt) {
        if (step())
            return true;
        noteFailure();
        if (!transient(lastFailure) || attempt >= 40)
            return false;
        QThread::msleep(50);
    }
}

// A descriptor of the C runtime over a new handle, so that QFile can take it over.
int descriptorOf(HANDLE h, bool readOnly)
{
    if (h == INVALID_HANDLE_VALUE) {
        noteFailure();
        return -1;
    }
    const int fd =
        _open_osfhandle(reinterpret_cast<intptr_t>(h), _O_BINARY | _O_NOINHERIT | (readOnly ? _O_RDONLY : 0));
    if (fd < 0) {
        noteFailure();
        CloseHandle(h);
    }
    return fd;
}

// Opened as POSIX opens: others may read, write, rename and delete it meanwhile.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

HANDLE openHandle(const std::wstring& path, DWORD access, DWORD disposition, DWORD flags = FILE_ATTRIBUTE_NORMAL)
{
    return CreateFileW(path.c_str(), access, kShareAll, nullptr, disposition, flags, nullptr);
}

bool isDeviceName(const QString& part)
{
    return filenames::isDeviceName(part);
}
} // namespace

QString systemPath(const QString& path)
{
    QString p = QDir::toNativeSeparators(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
    if (p.startsWith(QStringLiteral("\\\\?\\")))
        return p;
    if (p.startsWith(QStringLiteral("\\\\")))
        return QStringLiteral("\\\\?\\UNC\\") + p.mid(2);
    return QStringLiteral("\\\\?\\") + p;
}

QString lastError()
{
    return lastFailure == 0 ? QString() : describe(lastFailure);
}

void clearLastError()
{
    lastFailure = 0;
    SetLastError(0);
}

bool diskFull()
{
    return lastFailure == ERROR_DISK_FULL || lastFailure == ERROR_HANDLE_DISK_FULL;
}

void setDiskFull()
{
    SetLastError(ERROR_DISK_FULL);
    lastFailure = ERROR_DISK_FULL;
}

QString hostName()
{
    static const QString name = [] {
        wchar_t buffer[256];
        DWORD size = 256;
        return GetComputerNameExW(ComputerNameDnsHostname, buffer, &size) ? QString::fromWCharArray(buffer, int(size))
                                                                          : QString();
    }();
    return name;
}

QString userName()
{
    static const QString name = [] {
        wchar_t buffer[UNLEN + 1];
        DWORD size = UNLEN + 1;
        return GetUserNameW(buffer, &size) && size > 0 ? QString::fromWCharArray(buffer, int(size - 1))
                                                       : qEnvironmentVariable("USERNAME");
    }();
    return name;
}

// A program with windows has no console of its own: started from a prompt or a scheduled
// task, it writes to the one that started it; started from the Start menu, to none, and
// nothing flashes on the screen.
void attachConsole()
{
    if (GetFileType(GetStdHandle(STD_OUTPUT_HANDLE)) != FILE_TYPE_UNKNOWN)
        return; // redirected to a file or a pipe already
    if (!AttachConsole(ATTACH_PARENT_PROCESS))
        return;
    // The standard handles of a program with windows stay empty: they become the console's.
    const HANDLE console = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                       nullptr, OPEN_EXISTING, 0, nullptr);
    if (console == INVALID_HANDLE_VALUE)
        return;
    SetStdHandle(STD_OUTPUT_HANDLE, console);
    SetStdHandle(STD_ERROR_HANDLE, console);
    std::freopen("CONOUT$", "w", stdout);
    std::freopen("CONOUT$", "w", stderr);
}

void writeLine(Stream to, const QString& line)
{
    std::FILE* stream = to == Stream::Error ? stderr : stdout;
    std::fflush(stream);
    const HANDLE h = GetStdHandle(to == Stream::Error ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    if (h != INVALID_HANDLE_VALUE && h != nullptr && GetConsoleMode(h, &mode)) {
        // A console shows the text as it is, accents included.
        const QString text = line + QStringLiteral("\r\n");
        DWORD written = 0;
        WriteConsoleW(h, reinterpret_cast<const wchar_t*>(text.utf16()), DWORD(text.size()), &written, nullptr);
        return;
    }
    // A file or a pipe: the stream is in text mode and ends each line with CR LF itself.
    std::fputs((line + u'\n').toUtf8().constData(), stream);
    std::fflush(stream);
}

int openFile(const QString& path, Open how)
{
    const DWORD access = how == Open::Read ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
    const DWORD disposition = how == Open::ReadWriteCreate ? OPEN_ALWAYS : OPEN_EXISTING;
    if (how == Open::ReadWriteCreate && !mayChange(Change::Create))
        return -1;
    return descriptorOf(openHandle(wide(path), access, disposition), how == Open::Read);
}

void closeFile(int fd)
{
    if (fd >= 0)
        _close(fd);
}

qint64 fileSize(int fd)
{
    LARGE_INTEGER size;
    if (!GetFileSizeEx(handleOf(fd), &size)) {
        noteFailure();
        return -1;
    }
    return size.QuadPart;
}

qint64 readAt(int fd, qint64 at, char* into, qint64 length)
{
    const HANDLE h = handleOf(fd);
    qint64 done = 0;
    while (done < length) {
        OVERLAPPED where = positionAt(at + done);
        DWORD got = 0;
        const DWORD ask = DWORD(qMin<qint64>(length - done, 1 << 30));
        if (!ReadFile(h, into + done, ask, &got, &where)) {
            if (GetLastError() == ERROR_HANDLE_EOF)
                break;
            noteFailure();
            return -1;
        }
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
    const HANDLE h = handleOf(fd);
    qint64 done = 0;
    while (done < length) {
        OVERLAPPED where = positionAt(at + done);
        DWORD put = 0;
        const DWORD give = DWORD(qMin<qint64>(length - done, 1 << 30));
        if (!WriteFile(h, from + done, give, &put, &where) || put == 0) {
            noteFailure();
            return false;
        }
        done += put;
    }
    return true;
}

bool truncateFile(int fd, qint64 length)
{
    if (!mayChange(Change::Truncate))
        return false;
    FILE_END_OF_FILE_INFO end{};
    end.EndOfFile.QuadPart = length;
    if (SetFileInformationByHandle(handleOf(fd), FileEndOfFileInfo, &end, sizeof end))
        return true;
    noteFailure();
    return false;
}

bool syncFile(int fd, bool)
{
    if (!mayChange(Change::Sync))
        return false;
    if (FlushFileBuffers(handleOf(fd)))
        return true;
    noteFailure();
    return false;
}

Locked lockFile(int fd, Lock how)
{
    OVERLAPPED where = positionAt(kLockOffset);
    const DWORD flags = how == Lock::Exclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0;
    if (LockFileEx(handleOf(fd), flags, 0, 1, 0, &where))
        return Locked::Yes;
    noteFailure();
    // A share or file system without byte-range locks is used without them, as on Linux.
    return lastFailure == ERROR_NOT_SUPPORTED || lastFailure == ERROR_INVALID_FUNCTION ? Locked::NoLocks
                                                                                       : Locked::Failed;
}

void unlockFile(int fd)
{
    OVERLAPPED where = positionAt(kLockOffset);
    UnlockFileEx(handleOf(fd), 0, 1, 0, &where);
}

bool lockIsFree(int fd)
{
    OVERLAPPED where = positionAt(kLockOffset);
    const HANDLE h = handleOf(fd);
    if (LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &where)) {
        UnlockFileEx(h, 0, 1, 0, &where);
        return true;
    }
    const DWORD error = GetLastError();
    return error == ERROR_NOT_SUPPORTED || error == ERROR_INVALID_FUNCTION;
}

int createBeside(const QString& path, const QString& mark, QString* created)
{
    if (!mayChange(Change::Create))
        return -1;
    const QFileInfo target(path);
    for (int attempt = 0; attempt < 100; ++attempt) {
        QString suffix;
        for (int i = 0; i < 6; ++i)
            suffix += QLatin1Char("abcdefghijklmnopqrstuvwxyz0123456789"[QRandomGenerator::global()->bounded(36)]);
        const QString name = target.absolutePath() + QStringLiteral("/.") + target.fileName() + u'.' + mark + suffix;
        const HANDLE h = openHandle(wide(name), GENERIC_READ | GENERIC_WRITE, CREATE_NEW);
        if (h == INVALID_HANDLE_VALUE && GetLastError() == ERROR_FILE_EXISTS)
            continue;
        const int fd = descriptorOf(h, false);
        if (fd >= 0)
            *created = name;
        return fd;
    }
    SetLastError(ERROR_FILE_EXISTS);
    noteFailure();
    return -1;
}

bool replaceFile(const QString& from, const QString& to)
{
    if (!mayChange(Change::Rename))
        return false;
    const std::wstring source = wide(from), target = wide(to);
    return retried([&] {
        return MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    });
}

bool removeFile(const QString& path)
{
    if (!mayChange(Change::Remove))
        return false;
    const std::wstring name = wide(path);
    if (retried([&] { return DeleteFileW(name.c_str()) != 0; }))
        return true;
    return lastFailure == ERROR_FILE_NOT_FOUND || lastFailure == ERROR_PATH_NOT_FOUND;
}

bool hardLink(const QString& existing, const QString& link)
{
    if (!mayChange(Change::Link))
        return false;
    if (CreateHardLinkW(wide(link).c_str(), wide(existing).c_str(), nullptr))
        return true;
    noteFailure();
    return false;
}

// NTFS writes its folder entries through its own journal, and MOVEFILE_WRITE_THROUGH has
// forced the rename; a folder has nothing more to force.
void syncFolder(const QString&)
{ }

// Forcing a whole volume needs an administrator; each file the caller wrote went through
// FlushFileBuffers already where it mattered, so what is left is forcing the folder's files.
bool syncFileSystem(const QString& path)
{
    const std::function<bool(const QString&)> force = [&](const QString& at) -> bool {
        const QFileInfo info(at);
        if (info.isDir()) {
            for (const QString& name :
                 QDir(at).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
                if (!force(at + u'/' + name))
                    return false;
            return true;
        }
        if (!info.isFile())
            return true;
        const HANDLE h = openHandle(wide(at), GENERIC_WRITE, OPEN_EXISTING);
        if (h == INVALID_HANDLE_VALUE) {
            noteFailure();
            return lastFailure == ERROR_ACCESS_DENIED; // a read-only file was never written
        }
        const bool ok = FlushFileBuffers(h);
        if (!ok)
            noteFailure();
        CloseHandle(h);
        return ok;
    };
    return force(path);
}

bool isReadOnly(const QString& path)
{
    const DWORD attributes = GetFileAttributesW(wide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)
           && (attributes & FILE_ATTRIBUTE_READONLY);
}

QByteArray encodeName(const QString& path)
{
    return path.toUtf8();
}

QString decodeName(const QByteArray& bytes)
{
    return QString::fromUtf8(bytes);
}

Status status(const QByteArray& path, bool follow)
{
    const std::wstring name = wide(path);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(name.c_str(), GetFileExInfoStandard, &data)) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_NAME)
            return {};
        fail("cannot examine", path);
    }
    Status s;
    const bool link = data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT;
    if (link && !follow)
        s.kind = Kind::Link;
    else if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        s.kind = Kind::Folder;
    else
        s.kind = Kind::File;
    s.size = (qint64(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    // The file itself: its volume and its number there.
    const HANDLE h = CreateFileW(name.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                                 FILE_FLAG_BACKUP_SEMANTICS | (follow ? 0 : FILE_FLAG_OPEN_REPARSE_POINT), nullptr);
    if (h != INVALID_HANDLE_VALUE) {
        BY_HANDLE_FILE_INFORMATION info{};
        if (GetFileInformationByHandle(h, &info)) {
            s.device = info.dwVolumeSerialNumber;
            s.inode = (quint64(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
        }
        CloseHandle(h);
    }
    return s;
}

QList<QByteArray> folderNames(const QByteArray& path)
{
    WIN32_FIND_DATAW found{};
    const std::wstring pattern = wide(path) + L"\\*";
    const HANDLE h = FindFirstFileW(pattern.c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) {
        if (GetLastError() == ERROR_FILE_NOT_FOUND)
            return {};
        fail("cannot list", path);
    }
    QList<QByteArray> names;
    do {
        const QString name = QString::fromWCharArray(found.cFileName);
        if (name != u"." && name != u"..")
            names.append(name.toUtf8());
    } while (FindNextFileW(h, &found));
    const DWORD error = GetLastError();
    FindClose(h);
    if (error != ERROR_NO_MORE_FILES) {
        SetLastError(error);
        fail("cannot list", path);
    }
    return names;
}

int openRegularFile(const QByteArray& path)
{
    const HANDLE h = openHandle(wide(path), GENERIC_READ, OPEN_EXISTING);
    if (h == INVALID_HANDLE_VALUE)
        fail("cannot open", path);
    // A device or a pipe is refused, without waiting for it.
    if (GetFileType(h) != FILE_TYPE_DISK) {
        CloseHandle(h);
        throw IoError(QStringLiteral("%1 is not a regular file").arg(decodeName(path)));
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileInformationByHandle(h, &info) && (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        CloseHandle(h);
        throw IoError(QStringLiteral("%1 is not a regular file").arg(decodeName(path)));
    }
    const int fd = descriptorOf(h, true);
    if (fd < 0)
        fail("cannot open", path);
    return fd;
}

int createFile(const QByteArray& path)
{
    if (!mayChange(Change::Create))
        fail("cannot create", path);
    const HANDLE h = openHandle(wide(path), GENERIC_READ | GENERIC_WRITE, CREATE_NEW);
    if (h == INVALID_HANDLE_VALUE) {
        if (GetLastError() == ERROR_FILE_EXISTS || GetLastError() == ERROR_ALREADY_EXISTS)
            return -1;
        fail("cannot create", path);
    }
    return descriptorOf(h, false);
}

bool makeFolder(const QByteArray& path)
{
    if (!mayChange(Change::Folder))
        fail("cannot make the folder", path);
    if (CreateDirectoryW(wide(path).c_str(), nullptr))
        return true;
    if (GetLastError() == ERROR_ALREADY_EXISTS)
        return false;
    fail("cannot make the folder", path);
}

void rename(const QByteArray& from, const QByteArray& to)
{
    if (!mayChange(Change::Rename))
        fail("cannot rename", from);
    const std::wstring source = wide(from), target = wide(to);
    if (!retried([&] {
            return MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
        }))
        throw IoError(
            QStringLiteral("cannot rename %1 to %2: %3").arg(decodeName(from), decodeName(to), describe(lastFailure)));
}

bool renameIfFree(const QByteArray& from, const QByteArray& to)
{
    if (!mayChange(Change::Rename))
        fail("cannot rename", from);
    const std::wstring source = wide(from), target = wide(to);
    // Without MOVEFILE_REPLACE_EXISTING the system never replaces: a taken name fails.
    if (retried([&] { return MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH) != 0; }))
        return true;
    if (lastFailure == ERROR_ALREADY_EXISTS || lastFailure == ERROR_FILE_EXISTS)
        return false;
    throw IoError(QStringLiteral("cannot rename %1: %2").arg(decodeName(from), describe(lastFailure)));
}

void removeAll(const QByteArray& path)
{
    const Status s = status(path);
    if (s.kind == Kind::Missing)
        return;
    if (!mayChange(Change::Remove))
        fail("cannot remove", path);
    const std::wstring name = wide(path);
    if (s.kind == Kind::Folder) {
        for (const QByteArray& entry : folderNames(path))
            removeAll(path + '/' + entry);
        if (!retried([&] { return RemoveDirectoryW(name.c_str()) != 0; }))
            fail("cannot remove", path);
        return;
    }
    // A file marked read-only is removed like any other, as on Linux.
    const DWORD attributes = GetFileAttributesW(name.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        SetFileAttributesW(name.c_str(), attributes & ~DWORD(FILE_ATTRIBUTE_READONLY));
    const bool ok = s.kind == Kind::Link && (attributes & FILE_ATTRIBUTE_DIRECTORY)
                        ? RemoveDirectoryW(name.c_str()) != 0
                        : retried([&] { return DeleteFileW(name.c_str()) != 0; });
    if (!ok && GetLastError() != ERROR_FILE_NOT_FOUND)
        fail("cannot remove", path);
}

QString whyNotMovable(const QByteArray& path, const QByteArray& into)
{
    const QString from = decodeName(path);
    const QFileInfo item(from);
    const QString folder = item.absolutePath(), target = decodeName(into);
    // Another volume: a rename cannot cross it.
    const Status a = status(path), b = status(into, true);
    if (a.kind == Kind::Missing || b.kind != Kind::Folder)
        return QStringLiteral("cannot examine %1 or %2").arg(from, target);
    if (a.device != b.device)
        return QStringLiteral("%1 and %2 are on different drives").arg(from, target);
    // Write access to both folders, asked the way the system will check it: by making and
    // removing a file in each.
    for (const QString& f : {folder, target}) {
        const QString probe = f + QStringLiteral("/.brevanto-prova-") + QString::number(GetCurrentProcessId());
        const HANDLE h = CreateFileW(wide(probe).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                     FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (h == INVALID_HANDLE_VALUE)
            return QStringLiteral("%1 cannot be changed: %2").arg(f, describe(GetLastError()));
        CloseHandle(h);
    }
    // A file held open without leave to rename it (by another program) cannot move now.
    if (a.kind == Kind::File) {
        const HANDLE h = CreateFileW(wide(path).c_str(), DELETE, kShareAll, nullptr, OPEN_EXISTING, 0, nullptr);
        if (h == INVALID_HANDLE_VALUE)
            return QStringLiteral("%1 cannot be moved: %2").arg(from, describe(GetLastError()));
        CloseHandle(h);
    }
    if (item.isFile() && item.isReadable() && (GetFileAttributesW(wide(path).c_str()) & FILE_ATTRIBUTE_READONLY)
        && !QFileInfo(folder).isWritable())
        return QStringLiteral("%1 is read-only").arg(from);
    return {};
}

qint64 freeSpace(const QByteArray& path)
{
    ULARGE_INTEGER available{};
    std::wstring folder = wide(path);
    if (!GetDiskFreeSpaceExW(folder.c_str(), &available, nullptr, nullptr))
        return -1;
    return qint64(available.QuadPart);
}

bool holdsName(const QByteArray& part)
{
    if (part.isEmpty())
        return false;
    const QString name = QString::fromUtf8(part);
    if (name.toUtf8() != part)
        return false; // not UTF-8: no Windows name spells it
    for (const QChar c : name)
        if (c.unicode() < 0x20 || QStringView(u"\\/:*?\"<>|").contains(c))
            return false;
    if (name.endsWith(u'.') || name.endsWith(u' '))
        return false;
    return !isDeviceName(name);
}

} // namespace platform
