#include "backup/Zip.h"

#include "common/Crc32.h"
#include "common/Platform.h"

#include <QDateTime>

#include <algorithm>
#include <zlib.h>

namespace zip {
namespace {
constexpr quint32 kLocalHeader = 0x04034b50;
constexpr quint32 kCentralHeader = 0x02014b50;
constexpr quint32 kDescriptor = 0x08074b50;
constexpr quint32 kEnd = 0x06054b50;
constexpr quint32 kEnd64 = 0x06064b50;
constexpr quint32 kEnd64Locator = 0x07064b50;
constexpr quint16 kZip64Extra = 0x0001;
constexpr quint16 kStore = 0;
constexpr quint16 kDeflate = 8;
constexpr quint16 kFlagDescriptor = 1 << 3;
constexpr quint16 kFlagUtf8 = 1 << 11;
// Encrypted, strongly encrypted, headers masked: nothing this program writes or reads.
constexpr quint16 kFlagsEncrypted = 1 << 0 | 1 << 6 | 1 << 13;
// Made by Unix (the modes in the external attributes), zip specification 6.3.
constexpr quint16 kMadeBy = 3 << 8 | 63;
constexpr quint32 kMax32 = 0xFFFFFFFF;
constexpr quint16 kMax16 = 0xFFFF;
// A file this large may not fit 32 bits once deflated: its sizes go in Zip64 fields.
constexpr qint64 kZip64Size = 0xFF000000;
constexpr qint64 kBlock = 1024 * 1024;
constexpr quint32 kModeFile = 0100644;
constexpr quint32 kModeFolder = 040755;
constexpr quint32 kTypeMask = 0170000;

// Little-endian fields, appended.
class Bytes {
public:
    Bytes& u16(quint32 v) { return put(v, 2); }
    Bytes& u32(quint64 v) { return put(v, 4); }
    Bytes& u64(quint64 v) { return put(v, 8); }
    Bytes& raw(const QByteArray& b)
    {
        data.append(b);
        return *this;
    }
    QByteArray data;

private:
    Bytes& put(quint64 v, int n)
    {
        for (int i = 0; i < n; ++i)
            data.append(char(v >> (8 * i) & 0xFF));
        return *this;
    }
};

quint64 le(const QByteArray& b, qsizetype at, int n)
{
    quint64 v = 0;
    for (int i = n - 1; i >= 0; --i)
        v = v << 8 | quint8(b[at + i]);
    return v;
}
quint16 le16(const QByteArray& b, qsizetype at)
{
    return quint16(le(b, at, 2));
}
quint32 le32(const QByteArray& b, qsizetype at)
{
    return quint32(le(b, at, 4));
}
quint64 le64(const QByteArray& b, qsizetype at)
{
    return le(b, at, 8);
}

quint16 nameFlags(const QByteArray& name)
{
    const bool ascii = std::all_of(name.begin(), name.end(), [](char c) { return quint8(c) < 0x80; });
    return !ascii && name.isValidUtf8() ? kFlagUtf8 : 0;
}

[[noreturn]] void damaged(const QString& why)
{
    throw Damaged(why);
}
} // namespace

// ---- writing

struct Writer::State {
    struct Written {
        QByteArray name;
        quint16 flags = 0;
        quint16 method = kStore;
        quint32 crc = 0;
        qint64 size = 0;
        qint64 packed = 0;
        qint64 header = 0;
        bool zip64 = false; // sizes in Zip64 fields from the local header on
    };

    explicit State(QIODevice& device) : out(device)
    {
        const QDateTime now = QDateTime::currentDateTime();
        const QDate d = now.date();
        const QTime t = now.time();
        dosTime = quint16(t.hour() << 11 | t.minute() << 5 | t.second() / 2);
        dosDate = quint16(qMax(0, d.year() - 1980) << 9 | d.month() << 5 | d.day());
        if (deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
            throw IoError(QStringLiteral("cannot start the compressor"));
    }
    ~State() { deflateEnd(&z); }

    void put(const char* bytes, qint64 length)
    {
        if (out.write(bytes, length) != length)
            throw IoError(QStringLiteral("cannot write the zip: %1").arg(out.errorString()));
        offset += length;
    }
    void put(const QByteArray& bytes) { put(bytes.constData(), bytes.size()); }
    static void checkName(const QByteArray& name)
    {
        if (name.size() > kMax16)
            throw IoError(QStringLiteral("a name longer than a zip holds: %1").arg(QString::fromLocal8Bit(name)));
    }

    void localHeader(const Written& w)
    {
        Bytes extra;
        if (w.zip64)
            extra.u16(kZip64Extra).u16(16).u64(0).u64(0);
        Bytes h;
        h.u32(kLocalHeader).u16(w.zip64 ? 45 : 20).u16(w.flags).u16(w.method).u16(dosTime).u16(dosDate);
        h.u32(0).u32(w.zip64 ? kMax32 : 0).u32(w.zip64 ? kMax32 : 0);
        h.u16(quint32(w.name.size())).u16(quint32(extra.data.size())).raw(w.name).raw(extra.data);
        put(h.data);
    }

    // Deflates what is in z's input, or finishes the stream, writing what comes out.
    void pump(int flush)
    {
        for (;;) {
            z.next_out = reinterpret_cast<Bytef*>(buffer.data());
            z.avail_out = uInt(buffer.size());
            const int rc = deflate(&z, flush);
            if (rc == Z_STREAM_ERROR)
                throw IoError(QStringLiteral("the compressor failed"));
            const qint64 produced = buffer.size() - qint64(z.avail_out);
            put(buffer.constData(), produced);
            current.packed += produced;
            if (flush == Z_FINISH ? rc == Z_STREAM_END : z.avail_in == 0 && z.avail_out != 0)
                return;
        }
    }

    void finishFile()
    {
        if (!open)
            return;
        open = false;
        if (current.size != expected)
            throw IoError(
                QStringLiteral("%1 changed size while it was read").arg(QString::fromLocal8Bit(current.name)));
        if (current.method == kDeflate) {
            z.next_in = nullptr;
            z.avail_in = 0;
            pump(Z_FINISH);
            deflateReset(&z);
        }
        Bytes d;
        d.u32(kDescriptor).u32(current.crc);
        if (current.zip64)
            d.u64(quint64(current.packed)).u64(quint64(current.size));
        else
            d.u32(quint64(current.packed)).u32(quint64(current.size));
        put(d.data);
        written.append(current);
    }

    QIODevice& out;
    quint16 dosTime = 0;
    quint16 dosDate = 0;
    qint64 offset = 0;
    QList<Written> written;
    bool open = false;
    Written current;
    qint64 expected = 0;
    z_stream z{};
    QByteArray buffer = QByteArray(kBlock / 4, Qt::Uninitialized);
};

Writer::Writer(QIODevice& out) : s_(std::make_unique<State>(out))
{ }

Writer::~Writer() = default;

void Writer::addFolder(const QByteArray& name)
{
    s_->finishFile();
    s_->checkName(name);
    State::Written w;
    w.name = name;
    w.flags = nameFlags(name);
    w.header = s_->offset;
    s_->localHeader(w);
    s_->written.append(w);
}

void Writer::beginFile(const QByteArray& name, qint64 size, bool store)
{
    s_->finishFile();
    s_->checkName(name);
    State::Written& w = s_->current;
    w = {};
    w.name = name;
    w.flags = quint16(nameFlags(name) | kFlagDescriptor);
    w.method = store ? kStore : kDeflate;
    w.header = s_->offset;
    w.zip64 = size >= kZip64Size;
    s_->localHeader(w);
    s_->expected = size;
    s_->open = true;
}

void Writer::data(const char* bytes, qint64 length)
{
    State& s = *s_;
    if (!s.open || s.current.size + length > s.expected)
        throw IoError(QStringLiteral("%1 grew while it was read").arg(QString::fromLocal8Bit(s.current.name)));
    s.current.crc = crc32(QByteArrayView(bytes, length), s.current.crc);
    s.current.size += length;
    if (s.current.method == kStore) {
        s.put(bytes, length);
        s.current.packed += length;
        return;
    }
    while (length > 0) {
        const qint64 n = qMin<qint64>(length, kBlock);
        s.z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes));
        s.z.avail_in = uInt(n);
        s.pump(Z_NO_FLUSH);
        bytes += n;
        length -= n;
    }
}

void Writer::close()
{
    State& s = *s_;
    s.finishFile();
    const qint64 start = s.offset;
    for (const State::Written& w : s.written) {
        const bool bigSize = w.size >= kMax32 || w.packed >= kMax32;
        const bool farOff = w.header >= kMax32;
        Bytes extra;
        if (bigSize || farOff) {
            Bytes fields;
            if (bigSize)
                fields.u64(quint64(w.size)).u64(quint64(w.packed));
            if (farOff)
                fields.u64(quint64(w.header));
            extra.u16(kZip64Extra).u16(quint32(fields.data.size())).raw(fields.data);
        }
        const bool folder = w.name.endsWith('/');
        const quint32 attributes = (folder ? kModeFolder : kModeFile) << 16 | (folder ? 0x10 : 0);
        Bytes h;
        h.u32(kCentralHeader).u16(kMadeBy).u16(w.zip64 || bigSize || farOff ? 45 : 20).u16(w.flags).u16(w.method);
        h.u16(s.dosTime).u16(s.dosDate).u32(w.crc);
        h.u32(bigSize ? kMax32 : quint64(w.packed)).u32(bigSize ? kMax32 : quint64(w.size));
        h.u16(quint32(w.name.size())).u16(quint32(extra.data.size())).u16(0).u16(0).u16(0).u32(attributes);
        h.u32(farOff ? kMax32 : quint64(w.header)).raw(w.name).raw(extra.data);
        s.put(h.data);
    }
    const qint64 size = s.offset - start;
    const quint64 count = quint64(s.written.size());
    const bool zip64 = count >= kMax16 || start >= kMax32 || size >= kMax32;
    Bytes end;
    if (zip64) {
        const qint64 record = s.offset;
        end.u32(kEnd64).u64(44).u16(kMadeBy).u16(45).u32(0).u32(0).u64(count).u64(count);
        end.u64(quint64(size)).u64(quint64(start));
        end.u32(kEnd64Locator).u32(0).u64(quint64(record)).u32(1);
    }
    const quint32 shortCount = quint32(qMin<quint64>(count, kMax16));
    end.u32(kEnd).u16(0).u16(0).u16(shortCount).u16(shortCount);
    end.u32(zip64 ? kMax32 : quint64(size)).u32(zip64 ? kMax32 : quint64(start)).u16(0);
    s.put(end.data);
}

// ---- reading

Reader::Reader(const QString& path)
{
    const int fd = platform::openRegularFile(QFile::encodeName(path));
    if (!file_.open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle))
        throw IoError(QStringLiteral("cannot read %1: %2").arg(path, file_.errorString()));
    size_ = file_.size();
    readCentralDirectory();
}

Reader::~Reader() = default;

QByteArray Reader::readAt(qint64 offset, qint64 length)
{
    if (offset < 0 || length < 0 || offset > size_ || length > size_ - offset)
        damaged(QStringLiteral("a part of the zip lies past its end"));
    QByteArray bytes(length, Qt::Uninitialized);
    if (!file_.seek(offset))
        throw IoError(QStringLiteral("cannot read the zip: %1").arg(file_.errorString()));
    qint64 done = 0;
    while (done < length) {
        const qint64 n = file_.read(bytes.data() + done, length - done);
        if (n < 0)
            throw IoError(QStringLiteral("cannot read the zip: %1").arg(file_.errorString()));
        if (n == 0)
            damaged(QStringLiteral("the zip ends early"));
        done += n;
    }
    return bytes;
}

void Reader::readCentralDirectory()
{
    constexpr qint64 kEndSize = 22;
    if (size_ < kEndSize)
        damaged(QStringLiteral("too short to be a zip"));
    const qint64 tailSize = qMin<qint64>(size_, kEndSize + kMax16);
    const QByteArray tail = readAt(size_ - tailSize, tailSize);
    qsizetype at = -1;
    for (qsizetype i = tailSize - kEndSize; i >= 0 && at < 0; --i)
        if (le32(tail, i) == kEnd && i + kEndSize + le16(tail, i + 20) == tailSize)
            at = i;
    if (at < 0)
        damaged(QStringLiteral("no end of the central directory: not a zip, or cut off"));
    const qint64 endAt = size_ - tailSize + at;
    quint64 disk = le16(tail, at + 4), directoryDisk = le16(tail, at + 6), onDisk = le16(tail, at + 8);
    quint64 count = le16(tail, at + 10), size = le32(tail, at + 12), offset = le32(tail, at + 16);
    qint64 directoryEnd = endAt;
    if (endAt >= 20 && le32(readAt(endAt - 20, 4), 0) == kEnd64Locator) {
        const QByteArray locator = readAt(endAt - 20, 20);
        const quint64 record = le64(locator, 8);
        if (endAt < 20 + 56 || record > quint64(endAt - 20 - 56))
            damaged(QStringLiteral("the Zip64 end record lies outside the file"));
        const QByteArray r = readAt(qint64(record), 56);
        if (le32(r, 0) != kEnd64)
            damaged(QStringLiteral("no Zip64 end record where its locator points"));
        disk = le32(r, 16);
        directoryDisk = le32(r, 20);
        onDisk = le64(r, 24);
        count = le64(r, 32);
        size = le64(r, 40);
        offset = le64(r, 48);
        directoryEnd = qint64(record);
    } else if (count == kMax16 || size == kMax32 || offset == kMax32) {
        damaged(QStringLiteral("Zip64 sizes without their record"));
    }
    if (disk != 0 || directoryDisk != 0 || onDisk != count)
        damaged(QStringLiteral("a zip split across disks"));
    if (offset > quint64(directoryEnd) || size != quint64(directoryEnd) - offset || count > size / 46)
        damaged(QStringLiteral("the central directory does not fit the file"));

    // Read in blocks: a laboratory may hold hundreds of thousands of files.
    qint64 next = qint64(offset);
    const qint64 stop = directoryEnd;
    QByteArray buffer;
    qsizetype used = 0;
    const auto take = [&](qint64 n) {
        if (buffer.size() - used < n) {
            buffer = buffer.mid(used);
            used = 0;
            const qint64 more = qMin(qMax(n - buffer.size(), kBlock), stop - next);
            if (more < n - buffer.size())
                damaged(QStringLiteral("the central directory is cut short"));
            buffer += readAt(next, more);
            next += more;
        }
        const QByteArray part = buffer.mid(used, n);
        used += n;
        return part;
    };
    members_.reserve(qsizetype(count));
    for (quint64 i = 0; i < count; ++i) {
        const QByteArray h = take(46);
        if (le32(h, 0) != kCentralHeader)
            damaged(QStringLiteral("a damaged central directory"));
        const quint16 madeBy = le16(h, 4), flags = le16(h, 8);
        const quint32 external = le32(h, 38);
        Member m;
        m.method = le16(h, 10);
        m.crc = le32(h, 16);
        quint64 packed = le32(h, 20), unpacked = le32(h, 24), header = le32(h, 42), firstDisk = le16(h, 34);
        m.name = take(le16(h, 28));
        const QByteArray extra = take(le16(h, 30));
        take(le16(h, 32)); // the comment
        if (flags & kFlagsEncrypted)
            damaged(QStringLiteral("an encrypted member"));
        if (m.method != kStore && m.method != kDeflate)
            damaged(QStringLiteral("a member compressed by method %1").arg(m.method));
        for (qsizetype p = 0; p + 4 <= extra.size();) {
            const quint16 id = le16(extra, p), length = le16(extra, p + 2);
            if (p + 4 + length > extra.size())
                damaged(QStringLiteral("a damaged extra field"));
            if (id == kZip64Extra) {
                qsizetype f = p + 4;
                const qsizetype end = f + length;
                for (quint64* field : {&unpacked, &packed, &header}) {
                    if (*field != kMax32)
                        continue;
                    if (f + 8 > end)
                        damaged(QStringLiteral("a short Zip64 field"));
                    *field = le64(extra, f);
                    f += 8;
                }
                if (firstDisk == kMax16 && f + 4 <= end)
                    firstDisk = le32(extra, f);
            }
            p += 4 + length;
        }
        if (unpacked == kMax32 || packed == kMax32 || header == kMax32 || firstDisk != 0)
            damaged(QStringLiteral("a member without its Zip64 sizes, or on another disk"));
        if (unpacked > quint64(size_) * 2048 || packed > quint64(size_) || header > quint64(size_))
            damaged(QStringLiteral("a member larger than any zip of this size holds"));
        m.size = qint64(unpacked);
        m.packed = qint64(packed);
        m.header = qint64(header);
        // The type a Unix zip records in the mode; others mark folders in the DOS attributes.
        const quint32 type = madeBy >> 8 == 3 ? external >> 16 & kTypeMask : 0;
        const bool folderType = type == 040000 || (type == 0 && (external & 0x10));
        m.special = type != 0 && type != 0100000 && type != 040000;
        if (folderType && !m.name.endsWith('/'))
            m.name += '/';
        else if (type == 0100000 && m.name.endsWith('/'))
            damaged(QStringLiteral("a file named as a folder"));
        if ((m.method == kStore && m.packed != m.size) || (m.isFolder() && m.size != 0))
            damaged(QStringLiteral("a member whose sizes disagree"));
        members_.append(m);
    }
    std::sort(members_.begin(), members_.end(), [](const Member& a, const Member& b) { return a.header < b.header; });
    for (qsizetype i = 0; i < members_.size(); ++i) {
        Member& m = members_[i];
        m.end = i + 1 < members_.size() ? members_[i + 1].header : qint64(offset);
        if (m.header + 30 > m.end)
            damaged(QStringLiteral("members overlap"));
    }
}

void Reader::read(const Member& m, const std::function<void(const char*, qint64)>& sink,
                  const std::function<bool(qint64)>& progress)
{
    const QByteArray h = readAt(m.header, 30);
    const quint16 flags = le16(h, 6), nameSize = le16(h, 26), extraSize = le16(h, 28);
    const QByteArray name = readAt(m.header + 30, nameSize);
    if (le32(h, 0) != kLocalHeader || (name != m.name && name + '/' != m.name) || le16(h, 8) != m.method
        || (flags & kFlagsEncrypted))
        damaged(QStringLiteral("the local header of %1 disagrees with the central directory")
                    .arg(QString::fromLocal8Bit(m.name)));
    if (!(flags & kFlagDescriptor) && le32(h, 14) != m.crc)
        damaged(QStringLiteral("the local header of %1 has another checksum").arg(QString::fromLocal8Bit(m.name)));
    const qint64 start = m.header + 30 + nameSize + extraSize;
    if (start > m.end || m.packed > m.end - start)
        damaged(QStringLiteral("members overlap"));
    if (!file_.seek(start))
        throw IoError(QStringLiteral("cannot read the zip: %1").arg(file_.errorString()));

    QByteArray& in = in_;
    if (in.isEmpty())
        in = QByteArray(kBlock, Qt::Uninitialized);
    qint64 left = m.packed;
    const auto fill = [&]() -> qint64 {
        const qint64 n = file_.read(in.data(), qMin<qint64>(left, in.size()));
        if (n < 0)
            throw IoError(QStringLiteral("cannot read the zip: %1").arg(file_.errorString()));
        if (n == 0)
            damaged(QStringLiteral("the zip ends early"));
        left -= n;
        if (progress && !progress(file_.pos()))
            throw IoError(QStringLiteral("cancelled"));
        return n;
    };
    quint32 crc = 0;
    qint64 produced = 0;
    const auto give = [&](const char* bytes, qint64 n) {
        produced += n;
        if (produced > m.size)
            damaged(QStringLiteral("%1 holds more than its size").arg(QString::fromLocal8Bit(m.name)));
        crc = crc32(QByteArrayView(bytes, n), crc);
        sink(bytes, n);
    };
    if (m.method == kStore) {
        while (left > 0) {
            const qint64 n = fill();
            give(in.constData(), n);
        }
    } else {
        struct Inflater {
            z_stream z{};
            Inflater()
            {
                if (inflateInit2(&z, -MAX_WBITS) != Z_OK)
                    throw IoError(QStringLiteral("cannot start the decompressor"));
            }
            ~Inflater() { inflateEnd(&z); }
        } inflater;
        z_stream& z = inflater.z;
        QByteArray& out = out_;
        if (out.isEmpty())
            out = QByteArray(kBlock, Qt::Uninitialized);
        for (int rc = Z_OK; rc != Z_STREAM_END;) {
            if (z.avail_in == 0) {
                if (left == 0)
                    damaged(
                        QStringLiteral("the compressed data of %1 is cut short").arg(QString::fromLocal8Bit(m.name)));
                z.avail_in = uInt(fill());
                z.next_in = reinterpret_cast<Bytef*>(in.data());
            }
            z.next_out = reinterpret_cast<Bytef*>(out.data());
            z.avail_out = uInt(out.size());
            rc = inflate(&z, Z_NO_FLUSH);
            if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR)
                damaged(QStringLiteral("the compressed data of %1 is damaged: %2")
                            .arg(QString::fromLocal8Bit(m.name), QString::fromLatin1(z.msg ? z.msg : "?")));
            give(out.constData(), out.size() - qint64(z.avail_out));
        }
        if (z.avail_in != 0 || left != 0)
            damaged(QStringLiteral("%1 has bytes after its compressed data").arg(QString::fromLocal8Bit(m.name)));
    }
    if (produced != m.size || crc != m.crc)
        damaged(QStringLiteral("%1 does not match its size or checksum").arg(QString::fromLocal8Bit(m.name)));
}

} // namespace zip
