#pragma once
#include <QString>

#include <memory>

// What the tests ask of the operating system to set up a fault (a FIFO where a file should be,
// a file made read-only, a full disk, a process killed, an ordinary user), one function each,
// with one implementation per system like the program's own seam. Where a system has no such
// thing the function says so, and the test skips that case there.
namespace testplatform {

// A named pipe at path; false where the file system has none (Windows).
bool makeFifo(const QString& path);
// Permissions as POSIX writes them (0444, 0640 ...); on Windows only "no write bit at all"
// counts, as a file's read-only attribute, and a folder's cannot be set (false). mode() is -1
// where unknown.
bool setMode(const QString& path, int mode);
int mode(const QString& path);
// A symbolic link at link to target; false where making one needs rights the tests lack.
bool makeSymlink(const QString& target, const QString& link);
// Ends this process at once, as kill -9 or a power cut would.
[[noreturn]] void killSelf();
// True when this process may write whatever the permissions say (root).
bool ignoresPermissions();
// The largest memory this process has held at once, in kilobytes.
qint64 peakMemoryKb();
// Runs on as an ordinary user (nobody) from here on; false where that cannot be done.
bool becomeOrdinaryUser();

// While alive, files this process writes cannot grow past limit bytes: a write that would
// fails as on a full disk, typically at the final flush of a buffered file. Null where the
// system has no such limit (Windows).
class FileSizeLimit {
public:
    virtual ~FileSizeLimit() = default;
};
std::unique_ptr<FileSizeLimit> limitFileSize(qint64 limit);

} // namespace testplatform
