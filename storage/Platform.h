#pragma once
#include <QByteArray>
#include <QList>
#include <QString>

// What only the operating system knows, one small function each.
namespace platform {

// The name of this workstation on the network.
QString hostName();
// The name of the user running the program.
QString userName();

// Files named by the bytes the file system holds, whatever they encode: a folder copied from
// another system may hold names that are not UTF-8, which a QString cannot carry back. Each
// throws IoError with the system's reason unless it says otherwise.
enum class Kind { Missing, File, Folder, Link, Other };
struct Status {
    Kind kind = Kind::Missing;
    qint64 size = 0;
    quint64 device = 0;
    quint64 inode = 0;
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
// Whether the file system can hold part (one component of a name) exactly as it is. Here
// every byte but '/' and NUL; on Windows no name that is not UTF-8, none with \ : * ? " < > |
// or a control character, none ending in a dot or space, no device name (CON, COM1, ...).
bool holdsName(const QByteArray& part);

} // namespace platform
