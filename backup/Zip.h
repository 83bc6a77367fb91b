#pragma once
#include "storage/IoError.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>

#include <exception>
#include <functional>
#include <memory>

struct zip;

// The backup's zip files, through libzip, which keeps a member's name as the bytes it is given
// and gives them back unchanged: a name that is UTF-8 (beyond ASCII) carries the zip's UTF-8
// flag, any other is stored as its bytes without it. Zip64 where sizes or offsets need it.
namespace zipfile {

// Bytes that are not a zip this program accepts: damaged, truncated, encrypted, compressed by
// another method, a member whose bytes disagree with its size or CRC.
class Damaged : public IoError {
public:
    using IoError::IoError;
};

// What gives a member's bytes, when the writer asks for them at close(): every member in the
// order it was added, one at a time. Each may throw IoError to stop the whole zip.
class Source {
public:
    virtual ~Source() = default;
    // Gets ready to give the bytes and says how many there are.
    virtual qint64 open() = 0;
    // Up to max bytes into to; 0 at the end.
    virtual qint64 read(char* to, qint64 max) = 0;
    virtual void close() = 0;
};

// Writes a zip into the (empty) file at path. Every failure throws IoError (the system's own
// reason in the cause), or what a source threw.
class Writer {
public:
    explicit Writer(const QString& path);
    ~Writer();
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    // A folder's name ends with '/'.
    void addFolder(const QByteArray& name);
    // A file whose bytes source gives at close(): stored as they are, or deflated. The source
    // must live until close().
    void addFile(const QByteArray& name, bool store, Source& source);
    // Writes every member, asking each source in turn, and the central directory.
    void close();

    struct State;

private:
    void add(qint64 index, bool folder);

    std::unique_ptr<State> s_;
};

// Reads a zip file: its central directory when opened, any member's bytes on request, checked
// against its size and its CRC.
class Reader {
public:
    struct Member {
        QByteArray name; // a folder's ends with '/'
        qint64 size = 0; // unpacked
        quint64 index = 0;
        bool special = false; // a link, a device or a FIFO, as its system recorded it
        bool isFolder() const { return name.endsWith('/'); }
    };

    // Opens only a regular file (a FIFO or device is refused without waiting). Throws Damaged,
    // or IoError when the file cannot be read.
    explicit Reader(const QString& path);
    ~Reader();
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;

    // In the order of the central directory.
    const QList<Member>& members() const { return members_; }
    qint64 fileSize() const;
    // Hands the member's bytes to sink block by block; throws Damaged when they are not what the
    // central directory says (more bytes than its size are never read). The file's position is
    // reported to progress, which may throw to stop.
    void read(const Member& m, const std::function<void(const char*, qint64)>& sink,
              const std::function<void(qint64 position)>& progress = {});

    struct Input;

private:
    [[noreturn]] void fail(const QString& what);

    struct Discard {
        void operator()(::zip* za) const;
    };
    std::unique_ptr<Input> in_;
    // Freed also when the constructor throws after opening it (the zip names an encrypted member).
    std::unique_ptr<::zip, Discard> za_;
    QList<Member> members_;
};

} // namespace zipfile
