#pragma once
#include <QByteArray>
#include <QList>
#include <QString>

// Every call the program makes to the operating system, one small function each, with one
// implementation per system (Platform_posix.cpp, Platform_windows.cpp). Files are held by a
// descriptor (on Windows the C runtime's, over the system's handle), so that a QFile can take
// one over. Paths are QStrings, except where a name must keep bytes a QString cannot carry.
namespace platform {

// The system's reason for the last call that failed, as text (empty when it gave none); and
// forgetting it, before a call (of Qt's) that may fail without keeping the reason.
QString lastError();
void clearLastError();
// Whether the last call that failed found no room: a full disk or quota, or a file past the
// size a process may write.
bool diskFull();

// ---- Faults the tests set up ------------------------------------------------------------
// Every change this seam makes on the disk (and every write to a file it opened) asks
// mayChange first, so that a test can end the process at any of them, as a power cut would,
// or make one fail as on a full disk. Without a hook every change is made.
enum class Change { Create, Write, Sync, Rename, Remove, Folder, Link, Truncate };
using FaultHook = bool (*)(Change change);
void setFaultHook(FaultHook hook);
// False, with the last failure set to a full disk, when the hook refuses the change.
bool mayChange(Change change);
// Sets the last failure to a full disk, as the system would.
void setDiskFull();

// The name of this workstation on the network, and of the user running the program.
QString hostName();
QString userName();

// Attaches standard output and error to the console that started the program, where they
// are not attached to one already (a Windows program with windows has none of its own);
// nothing where there is no such console.
void attachConsole();
// Writes one line to standard output or error, as the console shows text (Windows' console
// takes it in UTF-16) or, redirected to a file, in UTF-8.
enum class Stream { Output, Error };
void writeLine(Stream to, const QString& line);

// The path as the system's own calls take it: on Windows absolute, with backslashes and the
// "\\?\" prefix ("\\?\UNC\" for a share) that lifts the 260-character limit; elsewhere as it is.
QString systemPath(const QString& path);

// ---- Open files ------------------------------------------------------------------------
enum class Open {
    Read, // an existing file, for reading
    ReadWrite, // an existing file, for reading and writing
    ReadWriteCreate, // as ReadWrite, made empty when missing
};
// A descriptor for the file at path (binary, not inherited by child processes), or -1 with
// lastError() saying why.
int openFile(const QString& path, Open how);
void closeFile(int fd);
// The file's size; -1 on failure.
qint64 fileSize(int fd);
// Positioned reads and writes, which never move the file's own position: the bytes read
// (fewer only at the end), -1 on failure; true when all were written.
qint64 readAt(int fd, qint64 at, char* into, qint64 length);
bool writeAt(int fd, qint64 at, const char* from, qint64 length);
bool truncateFile(int fd, qint64 length);
// Forces what was written (dataOnly: without the times the system keeps) to the disk.
bool syncFile(int fd, bool dataOnly = false);

// Whole-file locks that wait: shared for readers, exclusive for writers, between processes
// and workstations (over a network share too). A file system that refuses every lock gives
// NoLocks: the file is then used without one, as it always was.
enum class Lock { Shared, Exclusive };
enum class Locked { Yes, NoLocks, Failed };
Locked lockFile(int fd, Lock how);
void unlockFile(int fd);
// True when nobody holds any lock on the file (fd open for writing); takes none.
bool lockIsFree(int fd);

// A new, empty file beside path named ".NAME.<mark>XXXXXX" (a free name), with the
// permissions of the file at path when there is one: its descriptor, open for writing, and
// its path in created; -1 with lastError() when none can be made.
int createBeside(const QString& path, const QString& mark, QString* created);
// Puts the file from in place of to, replacing what stands there as one step (retrying for
// a moment where another program holds the file open, as a virus scanner does on Windows).
bool replaceFile(const QString& from, const QString& to);
bool removeFile(const QString& path);
// A second name for the same bytes; false where the file system has no links.
bool hardLink(const QString& existing, const QString& link);
// Forces a folder's entries (a rename done in it) to the disk, where the system can.
void syncFolder(const QString& folder);
// Forces everything written to the file system that holds path to the disk (many files at
// once, where forcing each would be slow); false with lastError() on failure.
bool syncFileSystem(const QString& path);
// Whether the file at path may be written (false also for a file marked read-only).
bool isReadOnly(const QString& path);

// ---- Files by the bytes of their names -------------------------------------------------
// A folder copied from another system may hold names that are not UTF-8, which a QString
// cannot carry back. Names here are the bytes the file system holds on Linux, UTF-8 on
// Windows. Each throws IoError with the system's reason unless it says otherwise.
// A path as the bytes these functions take (the file system's own on Linux, UTF-8 on
// Windows, where Qt's encodeName would give the ANSI code page and lose other scripts), and
// back.
QByteArray encodeName(const QString& path);
QString decodeName(const QByteArray& bytes);

enum class Kind { Missing, File, Folder, Link, Other };
struct Status {
    Kind kind = Kind::Missing;
    qint64 size = 0;
    quint64 device = 0;
    quint64 inode = 0; // with device, the file itself, whatever its name
};
// What stands at path (Missing when nothing does); a link is reported as one unless follow.
Status status(const QByteArray& path, bool follow = false);
// The names in a folder, without "." and "..".
QList<QByteArray> folderNames(const QByteArray& path);
// A descriptor open for reading on the regular file at path; anything else (a FIFO, a
// device, a folder) is refused without waiting for it.
int openRegularFile(const QByteArray& path);
// A descriptor open for writing on a new file at path, or -1 when the name is taken (also by
// a name that differs only in case, on a file system that ignores case).
int createFile(const QByteArray& path);
// Makes a folder; false when the name is taken.
bool makeFolder(const QByteArray& path);
// Renames from to to, replacing what stands at to as the system's rename does.
void rename(const QByteArray& from, const QByteArray& to);
// Renames from to to only when nothing stands at to; false when something does.
bool renameIfFree(const QByteArray& from, const QByteArray& to);
// Removes a file, link or folder with everything below it; nothing when path is missing.
void removeAll(const QByteArray& path);
// Why a rename of path into the folder into cannot succeed (permissions of both folders and
// of a folder that changes parent, another file system, a mount point, a name in use), or
// empty when the system allows it as far as it can be asked beforehand.
QString whyNotMovable(const QByteArray& path, const QByteArray& into);
// The bytes free for this user on the file system of path; -1 when the system cannot tell.
qint64 freeSpace(const QByteArray& path);
// Whether the file system can hold part (one component of a name) exactly as it is. On Linux
// every byte but '/' and NUL; on Windows no name that is not UTF-8, none with \ / : * ? " < > |
// or a control character, none ending in a dot or space, no device name (CON, COM1, ...).
bool holdsName(const QByteArray& part);

} // namespace platform
