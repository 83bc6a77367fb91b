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
    // The temporary file is ".NAME.<mark>XXXXXX" beside path: a writer that clears up what an
    // interrupted run left gives a mark that no other program's files carry.
    explicit SafeFile(const QString& path, const QString& mark = {});
    ~SafeFile();
    SafeFile(const SafeFile&) = delete;
    SafeFile& operator=(const SafeFile&) = delete;

    // The temporary file to write to. A write that fails or writes less than it was given
    // is remembered, also when the writer does not look at the result (an image or PDF
    // writer), and makes commit fail.
    QIODevice& device() { return checked_; }
    // Throws IoError when not every byte reached the disk; the old file then stays whole.
    void commit();
    // As commit, to path (in the same folder) and only when nothing stands there: false when
    // something does, and the file may be committed under another name. Throws IoError.
    bool commitIfFree(const QString& path);
    // Hands what was written so far to the file (not yet to the disk), so that it can be
    // read back. Throws IoError.
    void flush();
    // The temporary file's path, so that a writer can read back what it wrote before the
    // commit puts it in place.
    const QString& temporaryPath() const { return temporary_; }

private:
    // Writes through to the file and remembers the first write that came out short.
    class Checked : public QIODevice {
    public:
        explicit Checked(QFile& file) : file_(file) { }
        bool failed = false;
        bool full = false; // the write failed for want of room

    protected:
        qint64 readData(char*, qint64) override { return -1; }
        qint64 writeData(const char* data, qint64 length) override;

    private:
        QFile& file_;
    };

    void discard();
    // Every byte to the disk and the file closed, once; throws IoError (and discards).
    void finish();

    QString path_;
    QString temporary_;
    QFile file_;
    Checked checked_{file_};
    bool committed_ = false;
    bool finished_ = false;
};

// Replaces path with bytes through SafeFile. Throws IoError.
void writeFileSafely(const QString& path, const QByteArray& bytes);

// Forces everything written to the file system that holds path to the disk (many files at
// once, where forcing each would be slow). Throws IoError.
void syncFileSystem(const QString& path);
