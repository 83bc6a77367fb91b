#pragma once
#include <QByteArray>
#include <QFile>
#include <QString>

#include <functional>
#include <memory>

// An open-file-description record lock on a whole file, held until destroyed: the one lock
// of the archives. Appends (and every writer of an archive) take it exclusively; a reader
// that must see whole records takes it shared. Such locks are carried between machines by
// network file systems; a file system that refuses every lock (NFS without its lock service)
// is used without one, as it always was.
class FileLock {
public:
    enum class Mode { Shared, Exclusive };
    // Waits until the lock is free. A shared lock needs fd open for reading, an exclusive
    // one for writing. Throws IoError.
    FileLock(int fd, Mode mode);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // True when nobody holds any lock on fd's file (fd open for writing); takes nothing.
    static bool isFree(int fd);

private:
    int fd_;
    bool locked_ = false;
};

// Holds a shared lock on the file at path for as long as it lives (none when the file cannot
// be opened). Taken on an archive, it keeps its writers waiting, so that the archive and its
// journal are read whole and agreeing; taken on a file being written, it tells another
// process that the file is in use and not one an interrupted run left behind.
class SharedLock {
public:
    explicit SharedLock(const QString& path);
    ~SharedLock();
    SharedLock(const SharedLock&) = delete;
    SharedLock& operator=(const SharedLock&) = delete;
    // False for a file nobody holds (or that cannot be opened to ask).
    static bool held(const QString& path);

private:
    int fd_;
    std::unique_ptr<FileLock> lock_;
};

// Hands the whole file at path to sink block by block, after telling begin its size. The
// caller holds whatever lock guards the file. sink may throw to stop. Throws IoError.
void readFileWhole(const QString& path, const std::function<void(qint64 size)>& begin,
                   const std::function<void(const char* data, qint64 length)>& sink);

// A headerless file of fixed-size records addressed by position (0-based here; the cards
// show it 1-based). Every failure throws IoError. Sequential reads go through a
// read-ahead window of a few hundred kilobytes, so scans stream through any archive size.
class ArchiveFile {
public:
    ArchiveFile();
    ~ArchiveFile();
    ArchiveFile(const ArchiveFile&) = delete;
    ArchiveFile& operator=(const ArchiveFile&) = delete;

    // Opens the file for reading and writing, creating it empty when it does not exist.
    void open(const QString& path, int recordSize);
    qint64 count() const; // whole records; a partial last record is ignored
    void seek(qint64 index); // 0 <= index <= count
    qint64 position() const { return pos_; }
    bool eof() const { return pos_ >= count(); }
    void read(char* record); // the record at position, then position + 1
    // As read, without copying: the record's bytes inside the read-ahead window, valid
    // until the next call on this archive.
    const char* next();
    void write(const char* record); // overwrite or append at position, then position + 1
    // Appends after the last record while holding an exclusive lock on the file, so that
    // several workstations appending at once land on distinct positions. Returns the new
    // record's 1-based number.
    qint64 append(const char* record);
    // Holds the archive's exclusive lock, the one appends take, until unlock() or close():
    // a save's steps (journal, then record) and a backup's copy run under it. A file system
    // that refuses every lock is used without one, as it always was.
    void lock();
    void unlock();
    // Cuts the file back to its first count records (an append undone).
    void truncate(qint64 count);
    // Forces what was written to the disk, so that a power failure cannot take it back.
    void sync();
    void close();
    bool isOpen() const { return file_.isOpen(); }

private:
    void requireOpen() const;
    void writeAt(qint64 index, const char* record);
    [[noreturn]] void fail(const QString& what) const;

    QFile file_;
    std::unique_ptr<FileLock> lock_;
    int size_ = 0;
    qint64 pos_ = 0;
    QByteArray window_;
    qint64 windowFirst_ = 0;
    qint64 windowCount_ = 0;
};
