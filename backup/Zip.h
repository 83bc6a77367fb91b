#pragma once
#include "common/IoError.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>

#include <functional>
#include <memory>

// The backup's zip files, written and read here so that a member's name is exactly the bytes
// of the file's name: any tool reads them, but a general zip library converts names between
// character sets and normalises them, and a name that is not UTF-8 cannot survive that. A
// name that is UTF-8 (and not plain ASCII) carries the zip's UTF-8 flag; any other is stored
// as its bytes without it. Zip64 is used where sizes or offsets need it.
namespace zip {

// Bytes that are not a zip this reader accepts: damaged, truncated, encrypted, compressed
// by another method, members overlapping or disagreeing with the central directory.
class Damaged : public IoError {
public:
    using IoError::IoError;
};

// Writes a zip into a device: members one after the other, then the central directory.
// Every failure throws IoError (the device's own reason in the cause).
class Writer {
public:
    explicit Writer(QIODevice& out);
    ~Writer();
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    // A folder's name ends with '/'.
    void addFolder(const QByteArray& name);
    // A file of size bytes, given through data(): stored as it is, or deflated.
    void beginFile(const QByteArray& name, qint64 size, bool store);
    void data(const char* bytes, qint64 length);
    // The central directory after the last member; the file must have had all its bytes.
    void close();

private:
    struct State;
    std::unique_ptr<State> s_;
};

// Reads a zip file: its central directory when opened, any member's bytes on request, each
// checked against its local header, its size and its CRC.
class Reader {
public:
    struct Member {
        QByteArray name; // a folder's ends with '/'
        qint64 size = 0; // unpacked
        qint64 packed = 0;
        quint32 crc = 0;
        quint16 method = 0;
        qint64 header = 0; // where its local header starts
        qint64 end = 0; // where the next member's header (or the central directory) starts
        bool special = false; // a link, a device or a FIFO, as its system recorded it
        bool isFolder() const { return name.endsWith('/'); }
    };

    // Opens only a regular file (a FIFO or device is refused without waiting). Throws
    // Damaged, or IoError when the file cannot be read.
    explicit Reader(const QString& path);
    ~Reader();
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;

    // In the order of their data in the file.
    const QList<Member>& members() const { return members_; }
    qint64 fileSize() const { return size_; }
    // Hands the member's bytes to sink block by block; throws Damaged when they are not what
    // the central directory says. The file's position is reported to progress (false stops).
    void read(const Member& m, const std::function<void(const char*, qint64)>& sink,
              const std::function<bool(qint64 position)>& progress = {});

private:
    void readCentralDirectory();
    QByteArray readAt(qint64 offset, qint64 length);

    QFile file_;
    qint64 size_ = 0;
    QList<Member> members_;
    QByteArray in_; // blocks read, and inflated, kept from member to member
    QByteArray out_;
};

} // namespace zip
