#pragma once
#include <QByteArray>
#include <QFile>
#include <QString>

#include <memory>

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
    // Forces what was written to the disk, so that a power failure cannot take it back.
    void sync();
    void close();
    bool isOpen() const { return file_.isOpen(); }

private:
    void requireOpen() const;
    void writeAt(qint64 index, const char* record);
    [[noreturn]] void fail(const QString& what) const;

    QFile file_;
    std::unique_ptr<class FileLock> lock_;
    int size_ = 0;
    qint64 pos_ = 0;
    QByteArray window_;
    qint64 windowFirst_ = 0;
    qint64 windowCount_ = 0;
};
