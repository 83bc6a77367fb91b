#pragma once
#include <QByteArray>
#include <QFile>
#include <QString>

// The one way a file that replaces another is written: into a temporary file beside it,
// every write and the final flush checked, the data forced to the disk, and only then
// renamed over the old file (a symbolic link is replaced, never written through), with
// the folder forced to the disk after the rename. On any failure nothing is renamed, the
// temporary file is removed and the old file stays whole. A folder standing where the file
// should be, or a file made read-only, is never replaced.
class SafeFile {
public:
    // Throws IoError when the temporary file cannot be made (a folder that cannot be written).
    explicit SafeFile(const QString& path);
    ~SafeFile();
    SafeFile(const SafeFile&) = delete;
    SafeFile& operator=(const SafeFile&) = delete;

    // The temporary file to write to; write errors are found by commit.
    QIODevice& device() { return file_; }
    // Throws IoError when not every byte reached the disk; the old file then stays whole.
    void commit();

private:
    void discard();

    QString path_;
    QString temporary_;
    QFile file_;
    bool committed_ = false;
};

// Replaces path with bytes through SafeFile. Throws IoError.
void writeFileSafely(const QString& path, const QByteArray& bytes);
