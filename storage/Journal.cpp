#include "storage/Journal.h"

#include "storage/Bytes.h"
#include "storage/Crc32.h"
#include "storage/IoError.h"
#include "storage/Platform.h"

#include <QFile>
#include <QRandomGenerator>
#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <map>
#include <set>
#include <zlib.h>

namespace journal {
namespace {
using bytes::put;
using bytes::putText;
using bytes::Reader;
// The journal file: a 64-byte header, then the entries, then zeros written ahead of them.
constexpr char kFileMagic[8] = {'B', 'R', 'V', 'N', 'C', 'R', 'O', 'N'};
constexpr char kEntryMagic[4] = {'B', 'R', 'V', 'V'};
constexpr char kIndexMagic[8] = {'B', 'R', 'V', 'N', 'I', 'N', 'D', 'X'};
constexpr quint32 kFormat = 1;
constexpr quint32 kIndexFormat = 2;
// Entries carry version 1, or 2 when they also carry an extra (after the record).
constexpr quint8 kEntryVersion = 1;
constexpr quint8 kEntryWithExtra = 2;
constexpr qint64 kHeader = 64;
// The index: a 64-byte header, then a 16-byte note for each card.
constexpr qint64 kIndexHeader = 64;
constexpr qint64 kNote = 16;
// How many of the journal's bytes before the end an index has seen its fingerprint covers:
// the last entry's CRC and what comes before it.
constexpr qint64 kProof = 512;
// Zeros are written ahead of the entries a megabyte at a time, so that an append rewrites
// bytes the file already has and forcing it to the disk changes no file size.
constexpr qint64 kAhead = 1024 * 1024;
// The smallest entry: magic, length, version, what, position, previous, time, two empty
// names, no photo, sizes and CRC.
constexpr qint64 kMinEntry = 4 + 4 + 1 + 1 + 8 + 8 + 8 + 2 + 2 + 1 + 4 + 4 + 4;
// Larger than any entry can be: two names and 255 photo names of at most 65535 bytes each,
// a record of 11895 bytes and an extra of kLargestExtra however they compress. A length past
// it is damaged, and never read into memory.
constexpr qint64 kLargestEntry = 258 * (2 + 65535) + 2 * 11895 + 2 * kLargestExtra + 1024;
// The largest archive a history is kept for: 64 GiB of records, 23 million cards or 5.8
// million reports (every search reads the whole archive; at that size one would take
// minutes). An entry naming a card past it is damaged, so that the index, 16 bytes a card,
// stays within a few hundred megabytes whatever a journal says.
constexpr qint64 kLargestArchive = qint64(1) << 36;

qint64 lastPosition(int recordSize)
{
    return recordSize > 0 ? kLargestArchive / recordSize : 0;
}

QString systemError()
{
    return platform::lastError();
}

// FNV-1a (64 bits): the index's fingerprint of the journal's end and the check of its notes.
quint64 fnv1a(QByteArrayView bytes, quint64 hash = 0xCBF29CE484222325ULL)
{
    for (const char c : bytes) {
        hash ^= quint8(c);
        hash *= 0x100000001B3ULL;
    }
    return hash;
}

// An open file descriptor, closed when it goes.
class Fd {
public:
    Fd(const QString& path, platform::Open how) : fd_(platform::openFile(path, how)) { }
    ~Fd() { platform::closeFile(fd_); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    bool ok() const { return fd_ >= 0; }
    // The file's size, asked once: the file is open for one operation, under the archive's
    // lock, and grows only by writes through here.
    qint64 size() const
    {
        if (size_ < 0)
            size_ = platform::fileSize(fd_);
        return size_;
    }
    bool truncate()
    {
        size_ = -1;
        return platform::truncateFile(fd_, 0);
    }
    bool sync() const { return platform::syncFile(fd_, true); }
    bool readAt(qint64 at, char* into, qint64 length) const
    {
        return platform::readAt(fd_, at, into, length) == length;
    }
    bool writeAt(qint64 at, const char* from, qint64 length) const
    {
        if (!platform::writeAt(fd_, at, from, length))
            return false;
        if (size_ >= 0)
            size_ = std::max(size_, at + length);
        return true;
    }

private:
    int fd_;
    mutable qint64 size_ = -1;
};

struct Header {
    qint64 end = kHeader;
    qint64 synced = kHeader;
    quint64 id = 0; // names this journal, so that an index of another one is never trusted
};

// What a journal's first 64 bytes are: none yet (a new file), its own whole header, one
// damaged, or the whole header of another archive's journal (another record size) or of a
// later format, which is never read as this one nor written.
enum class State { Missing, Sound, Damaged, Foreign };

QByteArray headerBytes(const Header& h, int recordSize)
{
    QByteArray out(kFileMagic, 8);
    put<quint32>(out, kFormat);
    put<quint32>(out, quint32(recordSize));
    put<qint64>(out, h.end);
    put<qint64>(out, h.synced);
    put<quint64>(out, h.id);
    put<quint32>(out, crc32(out));
    out.append(QByteArray(kHeader - out.size(), '\0'));
    return out;
}

State parseHeader(QByteArrayView bytes, int recordSize, Header& h)
{
    if (bytes.size() < 44 || std::memcmp(bytes.data(), kFileMagic, 8) != 0)
        return State::Damaged;
    Reader r(bytes.sliced(8));
    quint32 format = 0, size = 0, crc = 0;
    if (!r.get(format) || !r.get(size) || !r.get(h.end) || !r.get(h.synced) || !r.get(h.id) || !r.get(crc)
        || crc != crc32(bytes.first(40)))
        return State::Damaged;
    if (format != kFormat || int(size) != recordSize)
        return State::Foreign;
    if (h.end < kHeader || h.synced < kHeader || h.synced > h.end)
        return State::Damaged;
    return State::Sound;
}

// The record compressed as qCompress does (its size big-endian, then the zlib stream) at the
// fastest level, through one compressor kept for the whole run: a save spends microseconds on
// it, not the tenth of a millisecond that the strongest level and a new compressor each time
// cost, for a few per cent more bytes (records are mostly blank).
QByteArray pack(const QByteArray& record)
{
    struct Deflater {
        z_stream stream{};
        bool ready = deflateInit(&stream, Z_BEST_SPEED) == Z_OK;
        ~Deflater()
        {
            if (ready)
                deflateEnd(&stream);
        }
    };
    thread_local Deflater d;
    if (!d.ready || deflateReset(&d.stream) != Z_OK)
        return qCompress(record, Z_BEST_SPEED);
    QByteArray out(4 + qsizetype(deflateBound(&d.stream, uLong(record.size()))), Qt::Uninitialized);
    qToBigEndian(quint32(record.size()), out.data());
    d.stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(record.constData()));
    d.stream.avail_in = uInt(record.size());
    d.stream.next_out = reinterpret_cast<Bytef*>(out.data() + 4);
    d.stream.avail_out = uInt(out.size() - 4);
    if (deflate(&d.stream, Z_FINISH) != Z_STREAM_END)
        return qCompress(record, Z_BEST_SPEED);
    out.truncate(4 + qsizetype(d.stream.total_out));
    return out;
}

// The record (or extra) of an entry, inflated into room for its size and one byte more: a
// stream that gives more (a forged entry can claim gigabytes) or less is a damaged entry,
// found so after a few kilobytes of work. The size that leads the stream is not needed.
std::optional<QByteArray> unpack(QByteArrayView packed, qint64 recordSize)
{
    struct Inflater {
        z_stream stream{};
        bool ready = inflateInit(&stream) == Z_OK;
        ~Inflater()
        {
            if (ready)
                inflateEnd(&stream);
        }
    };
    thread_local Inflater z;
    if (packed.size() <= 4 || !z.ready || inflateReset(&z.stream) != Z_OK)
        return std::nullopt;
    QByteArray out(recordSize + 1, Qt::Uninitialized);
    z.stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data() + 4));
    z.stream.avail_in = uInt(packed.size() - 4);
    z.stream.next_out = reinterpret_cast<Bytef*>(out.data());
    z.stream.avail_out = uInt(out.size());
    if (inflate(&z.stream, Z_FINISH) != Z_STREAM_END || qint64(z.stream.total_out) != recordSize)
        return std::nullopt;
    out.truncate(recordSize);
    return out;
}

QByteArray encodeEntry(const Change& c, qint64 previous, const QDateTime& when, const QString& workstation,
                       const QString& user)
{
    QByteArray body;
    put<quint8>(body, c.extra.isEmpty() ? kEntryVersion : kEntryWithExtra);
    put<quint8>(body, quint8(c.what));
    put<qint64>(body, c.position);
    put<qint64>(body, previous);
    put<qint64>(body, when.toMSecsSinceEpoch());
    putText(body, workstation);
    putText(body, user);
    put<quint8>(body, quint8(std::min<qsizetype>(c.kept.size(), 255)));
    for (qsizetype i = 0; i < c.kept.size() && i < 255; ++i) {
        put<quint8>(body, c.kept[i].frame);
        putText(body, c.kept[i].file);
    }
    const QByteArray packed = pack(c.record);
    put<quint32>(body, quint32(c.record.size()));
    put<quint32>(body, quint32(packed.size()));
    body.append(packed);
    if (!c.extra.isEmpty()) {
        const QByteArray extra = pack(c.extra);
        put<quint32>(body, quint32(c.extra.size()));
        put<quint32>(body, quint32(extra.size()));
        body.append(extra);
    }
    put<quint32>(body, crc32(body));
    QByteArray out(kEntryMagic, 4);
    put<quint32>(out, quint32(body.size()));
    return out + body;
}

// Whether an entry's length (after its first 8 bytes) can be one.
bool plausible(quint32 length)
{
    return length >= kMinEntry - 8 && length <= kLargestEntry - 8;
}

// Whether bytes are framed as one entry: its magic, and a length that covers them.
bool framed(QByteArrayView bytes)
{
    return bytes.size() >= kMinEntry && std::memcmp(bytes.data(), kEntryMagic, 4) == 0
           && qint64(qFromLittleEndian<quint32>(bytes.data() + 4)) + 8 == bytes.size();
}

// Whether a framed entry's CRC is the one of its bytes.
bool intact(QByteArrayView bytes)
{
    return crc32(bytes.sliced(8, bytes.size() - 12)) == qFromLittleEndian<quint32>(bytes.data() + bytes.size() - 4);
}

// How much of an entry is read: its fields checked (walks that only need where each card's
// entries are), or also its names, photos and record.
enum class Detail { Fields, Whole };

// The fields are checked before the CRC, so that a damaged stretch whose bytes happen to
// spell an entry's magic costs a few reads, not a pass over the length it claims.
std::optional<Entry> readEntry(QByteArrayView bytes, qint64 offset, int recordSize, Detail detail)
{
    if (!framed(bytes))
        return std::nullopt;
    const quint32 length = qFromLittleEndian<quint32>(bytes.data() + 4);
    const QByteArrayView body = bytes.sliced(8, length - 4);
    const bool whole = detail == Detail::Whole;
    Reader r(body);
    Entry e;
    e.offset = offset;
    quint8 version = 0, what = 0, photos = 0;
    qint64 millis = 0;
    if (!r.get(version) || (version != kEntryVersion && version != kEntryWithExtra) || !r.get(what) || what < 1
        || what > 4 || !r.get(e.position) || e.position < 1 || e.position > lastPosition(recordSize)
        || !r.get(e.previous) || e.previous < 0 || (offset > 0 && e.previous >= offset) || !r.get(millis)
        || !r.text(e.workstation, whole) || !r.text(e.user, whole) || !r.get(photos))
        return std::nullopt;
    e.what = What(what);
    if (whole)
        e.when = QDateTime::fromMSecsSinceEpoch(millis, Qt::UTC);
    for (int i = 0; i < photos; ++i) {
        KeptPhoto k;
        if (!r.get(k.frame) || !r.text(k.file, whole))
            return std::nullopt;
        if (whole)
            e.kept << k;
    }
    quint32 size = 0, packedSize = 0, extraSize = 0, packedExtraSize = 0;
    QByteArrayView packed, packedExtra;
    if (!r.get(size) || int(size) != recordSize || !r.get(packedSize) || !r.take(packedSize, packed))
        return std::nullopt;
    if (version == kEntryWithExtra
        && (!r.get(extraSize) || extraSize < 1 || extraSize > kLargestExtra || !r.get(packedExtraSize)
            || !r.take(packedExtraSize, packedExtra)))
        return std::nullopt;
    if (r.at() != body.size() || !intact(bytes))
        return std::nullopt;
    if (whole) {
        std::optional<QByteArray> record = unpack(packed, recordSize);
        if (!record)
            return std::nullopt;
        e.record = std::move(*record);
        if (version == kEntryWithExtra) {
            std::optional<QByteArray> extra = unpack(packedExtra, extraSize);
            if (!extra)
                return std::nullopt;
            e.extra = std::move(*extra);
        }
    }
    return e;
}

// The bytes of the entry that starts at offset inside bytes, which stand at offset base.
QByteArrayView entryAt(QByteArrayView bytes, qint64 base, qint64 offset)
{
    return bytes.sliced(offset - base, 8 + qFromLittleEndian<quint32>(bytes.data() + (offset - base) + 4));
}

qint64 findMagic(QByteArrayView bytes, qint64 from)
{
    const qsizetype at = QByteArrayView(bytes).indexOf(QByteArrayView(kEntryMagic, 4), from);
    return at < 0 ? bytes.size() : at;
}

// Walks the entries in bytes, which stand at offset base of the journal: each whole,
// checked entry goes to visit. A damaged entry is skipped by looking for the next entry's
// magic; what does not fit ends the walk. Returns the offset after the last good entry.
template <class Visit> qint64 walk(QByteArrayView bytes, qint64 base, int recordSize, Detail detail, Visit visit)
{
    const qint64 to = bytes.size();
    qint64 at = 0;
    qint64 lastEnd = 0;
    while (at + 8 <= to) {
        if (std::memcmp(bytes.data() + at, kEntryMagic, 4) != 0) {
            at = findMagic(bytes, at + 1);
            continue;
        }
        const quint32 length = qFromLittleEndian<quint32>(bytes.data() + at + 4);
        if (!plausible(length) || at + 8 + qint64(length) > to) {
            at = findMagic(bytes, at + 1);
            continue;
        }
        const std::optional<Entry> e = readEntry(bytes.sliced(at, 8 + length), base + at, recordSize, detail);
        if (!e) {
            at = findMagic(bytes, at + 1);
            continue;
        }
        at += 8 + length;
        lastEnd = at;
        if (!visit(*e))
            break;
    }
    return base + lastEnd;
}

// A range of a file mapped into memory for reading: the journal is walked without being
// copied, whatever its size.
class Mapped {
public:
    Mapped(const QString& path, qint64 from, qint64 to) : file_(path)
    {
        if (to > from && file_.open(QIODevice::ReadOnly) && file_.size() >= to)
            data_ = file_.map(from, to - from);
        length_ = data_ ? to - from : 0;
        failed_ = to > from && !data_;
    }
    QByteArrayView view() const { return QByteArrayView(reinterpret_cast<const char*>(data_), length_); }
    bool failed() const { return failed_; }

private:
    QFile file_;
    uchar* data_ = nullptr;
    qint64 length_ = 0;
    bool failed_ = false;
};
} // namespace

QString label(What what)
{
    switch (what) {
    case What::Inserita: return QStringLiteral("inserita");
    case What::Modificata: return QStringLiteral("modificata");
    case What::Ripristinata: return QStringLiteral("ripristinata");
    case What::Precedente: return QStringLiteral("gi\u00E0 in archivio");
    }
    return QString();
}

std::optional<Entry> Journal::parse(QByteArrayView bytes, qint64 offset, int recordSize)
{
    return readEntry(bytes, offset, recordSize, Detail::Whole);
}

namespace {
// The journal file opened for one operation, with its header read (or found anew in memory
// when damaged). The header's end is brought up to date at checkpoints only; between them
// the entries after it are found from the index's note of the end, checked on the disk.
class File {
public:
    File(const QString& path, int recordSize, bool write)
        : path_(path), recordSize_(recordSize),
          fd_(path, write ? platform::Open::ReadWriteCreate : platform::Open::Read)
    {
        // A journal made read-only is never written, whoever runs the program.
        if (write && fd_.ok() && platform::isReadOnly(path))
            readOnly_ = true;
        full_ = !fd_.ok() && platform::diskFull();
    }
    bool exists() const { return fd_.ok(); }
    bool foreign() const { return state_ == State::Foreign; }
    void require(const char* what) const
    {
        if (readOnly_)
            throw IoError(QStringLiteral("the journal %1 is read-only").arg(path_));
        if (!fd_.ok())
            throw IoError(QStringLiteral("cannot %1 the journal %2: %3").arg(QLatin1String(what), path_, systemError()),
                          {}, full_);
        if (foreign())
            throw IoError(QStringLiteral("the journal %1 is of another archive or format").arg(path_));
    }
    const Fd& fd() const { return fd_; }
    const QString& path() const { return path_; }
    int recordSize() const { return recordSize_; }
    // Whether header() found the file's own header whole (not a new or damaged one).
    bool sound() const { return state_ == State::Sound; }

    Header header()
    {
        const qint64 size = fd_.size();
        Header h;
        QByteArray bytes(kHeader, '\0');
        if (size < kHeader || !fd_.readAt(0, bytes.data(), kHeader)) {
            state_ = size > 0 ? State::Damaged : State::Missing;
        } else {
            state_ = parseHeader(bytes, recordSize_, h);
            if (state_ == State::Sound && h.end > size)
                state_ = State::Damaged;
            if (state_ == State::Sound)
                return h;
        }
        h = Header();
        if (state_ == State::Damaged && size > kHeader) {
            // The entries tell where they end; the archive is checked whole.
            const Mapped all(path_, kHeader, size);
            h.end = walk(all.view(), kHeader, recordSize_, Detail::Fields, [](const Entry&) { return true; });
        }
        h.id = QRandomGenerator::system()->generate64();
        return h;
    }

    // Writes over a damaged header the one header() found from the entries, so that the
    // journal is not walked whole at every operation again. The caller holds the archive's
    // lock; a header that cannot be written is found anew next time.
    void mend(const Header& h)
    {
        if (state_ != State::Damaged || readOnly_ || fd_.size() < kHeader)
            return;
        const QByteArray head = headerBytes(h, recordSize_);
        if (fd_.writeAt(0, head.constData(), head.size()) && fd_.sync())
            state_ = State::Sound;
    }

    // Where the entries end: from the header's end, or the later one the index noted,
    // past every whole entry that follows. Zeros (or the file's end) end the entries; a
    // damaged entry among them is stepped over to the next good one.
    qint64 end(const Header& h, qint64 noted)
    {
        const qint64 size = fd_.size();
        qint64 at = (noted > h.end && noted <= size) ? noted : h.end;
        char head[8];
        while (at + 8 <= size && fd_.readAt(at, head, 8)) {
            if (std::memcmp(head, kEntryMagic, 4) == 0) {
                const quint32 length = qFromLittleEndian<quint32>(head + 4);
                if (plausible(length) && at + 8 + qint64(length) <= size
                    && readEntry(read(at, 8 + length), at, recordSize_, Detail::Fields)) {
                    at += 8 + length;
                    continue;
                }
            } else if (qFromLittleEndian<quint64>(head) == 0) {
                return at;
            }
            // Not a whole entry: the next good one, if any, goes on after it.
            const qint64 next = findNext(at + 1, size);
            if (next >= size)
                return at;
            at = next;
        }
        return at;
    }

    QByteArray read(qint64 from, qint64 length) const
    {
        QByteArray bytes(length, Qt::Uninitialized);
        if (length > 0 && !fd_.readAt(from, bytes.data(), length))
            throw IoError(QStringLiteral("cannot read the journal %1: %2").arg(path_, systemError()));
        return bytes;
    }

private:
    // The offset of the first good entry after from (size when there is none).
    qint64 findNext(qint64 from, qint64 size) const
    {
        const Mapped rest(path_, from, size);
        qint64 found = size;
        walk(rest.view(), from, recordSize_, Detail::Fields, [&](const Entry& e) {
            found = e.offset;
            return false;
        });
        return found;
    }

    QString path_;
    int recordSize_;
    Fd fd_;
    bool readOnly_ = false;
    bool full_ = false; // it could not be made for want of room
    State state_ = State::Missing;
};

// The fingerprint of the journal's bytes just before end, which an index of it repeats.
std::optional<quint64> fingerprint(const File& journal, qint64 end)
{
    if (end < kHeader)
        return std::nullopt;
    const qint64 from = std::max(kHeader, end - kProof);
    QByteArray bytes(end - from, Qt::Uninitialized);
    if (end > from && !journal.fd().readAt(from, bytes.data(), bytes.size()))
        return std::nullopt;
    return fnv1a(bytes);
}

// The index beside a journal: where the entries it has seen end, and for each card the
// offset of its newest entry. A cache: rebuilt from the journal whenever it is missing,
// damaged, of another journal, or when the journal's bytes before that end are not the ones
// it saw (an older copy of the journal put back, by a restore or by hand); brought up to
// date when behind. Each card's note carries a check made with the index's own key, so that
// a note changed by anything but the index is caught, and the index rebuilt.
class Index {
public:
    Index(QString path, bool write, int recordSize) : path_(std::move(path)), write_(write), recordSize_(recordSize) { }

    // Opens the index and checks its header against the journal; covered() tells the result.
    void check(const Header& h, const File& journal)
    {
        fd_.emplace(path_, write_ ? platform::Open::ReadWriteCreate : platform::Open::Read);
        covered_ = 0;
        char head[kIndexHeader];
        if (!fd_->ok() || fd_->size() < kIndexHeader || !fd_->readAt(0, head, kIndexHeader)
            || std::memcmp(head, kIndexMagic, 8) != 0 || qFromLittleEndian<quint32>(head + 8) != kIndexFormat
            || qFromLittleEndian<quint32>(head + 12) != quint32(recordSize_)
            || qFromLittleEndian<quint64>(head + 16) != h.id
            || qFromLittleEndian<quint32>(head + 48) != crc32(QByteArrayView(head, 48)))
            return;
        const qint64 end = qFromLittleEndian<qint64>(head + 24);
        if (end > journal.fd().size() || fingerprint(journal, end) != qFromLittleEndian<quint64>(head + 32))
            return;
        covered_ = end;
        key_ = qFromLittleEndian<quint64>(head + 40);
    }

    // The end of the entries the index has seen, when it is this journal's; else 0.
    qint64 covered() const { return covered_; }

    // Brings the index up to the entries' end (from an earlier point when given; from the
    // journal's start when it cannot be trusted); returns false when it cannot be used.
    bool catchUp(const File& journal, const Header& h, qint64 end, std::optional<qint64> from = {})
    {
        if (!fd_ || !fd_->ok())
            return false;
        const bool valid = covered_ >= kHeader && covered_ <= end;
        if (!valid) {
            if (!write_ || !fd_->truncate())
                return false;
            key_ = QRandomGenerator::system()->generate64() | 1;
        }
        qint64 seen = valid ? covered_ : kHeader;
        if (valid && from && *from < seen)
            seen = std::max(*from, kHeader);
        if (seen < end) {
            if (!write_)
                return false;
            const Mapped tail(journal.path(), seen, end);
            if (tail.failed())
                return false;
            bool noted = true;
            walk(tail.view(), seen, recordSize_, Detail::Fields, [&](const Entry& e) {
                noted = setLatest(e.position, e.offset);
                return noted;
            });
            if (!noted)
                return false;
        }
        // A rebuilt index is on the disk before its header vouches for it.
        if (!valid && !sync())
            return false;
        return covered_ == end || writeHeader(journal, h, end);
    }
    // Rebuilds the index from the journal's start.
    bool rebuild(const File& journal, const Header& h, qint64 end)
    {
        covered_ = 0;
        return catchUp(journal, h, end);
    }

    // The offset of the newest entry of the card at position: 0 for none, -1 when the note
    // fails its check (a note that the index did not write).
    qint64 latest(qint64 position) const
    {
        char note[kNote];
        if (position < 1 || position > lastPosition(recordSize_)
            || !fd_->readAt(kIndexHeader + (position - 1) * kNote, note, kNote))
            return 0;
        const qint64 offset = qFromLittleEndian<qint64>(note);
        const quint64 check = qFromLittleEndian<quint64>(note + 8);
        if (offset == 0 && check == 0)
            return 0;
        if (offset < kHeader || offset >= covered_ || check != noteCheck(position, offset))
            return -1;
        return offset;
    }
    bool setLatest(qint64 position, qint64 offset)
    {
        if (position < 1 || position > lastPosition(recordSize_))
            return false;
        char note[kNote];
        qToLittleEndian(offset, note);
        qToLittleEndian(noteCheck(position, offset), note + 8);
        return fd_->writeAt(kIndexHeader + (position - 1) * kNote, note, kNote);
    }
    // Notes end as the end of the entries seen, with the fingerprint of the bytes before it.
    bool writeHeader(const File& journal, const Header& h, qint64 end)
    {
        const std::optional<quint64> print = fingerprint(journal, end);
        if (!print)
            return false;
        QByteArray head(kIndexMagic, 8);
        put<quint32>(head, kIndexFormat);
        put<quint32>(head, quint32(recordSize_));
        put<quint64>(head, h.id);
        put<qint64>(head, end);
        put<quint64>(head, *print);
        put<quint64>(head, key_);
        put<quint32>(head, crc32(head));
        head.append(QByteArray(kIndexHeader - head.size(), '\0'));
        if (!fd_->writeAt(0, head.constData(), head.size()))
            return false;
        covered_ = end;
        return true;
    }
    bool sync() const { return fd_ && fd_->ok() && fd_->sync(); }

private:
    // The check of a card's note: FNV-1a of the index's key, the position and the offset.
    quint64 noteCheck(qint64 position, qint64 offset) const
    {
        char bytes[24];
        qToLittleEndian(key_, bytes);
        qToLittleEndian(position, bytes + 8);
        qToLittleEndian(offset, bytes + 16);
        return fnv1a(QByteArrayView(bytes, 24));
    }

    QString path_;
    bool write_;
    int recordSize_;
    std::optional<Fd> fd_;
    qint64 covered_ = 0;
    quint64 key_ = 0;
};

// The journal with its index, opened for one operation: the header, the entries' end.
struct Opened {
    Opened(const QString& path, const QString& indexPath, int recordSize, bool write)
        : file(path, recordSize, write), index(indexPath, write, recordSize)
    {
        if (!file.exists())
            return;
        header = file.header();
        if (file.foreign())
            return;
        // Writers hold the archive's lock: a damaged header is mended once, by the first.
        if (write)
            file.mend(header);
        index.check(header, file);
        end = file.end(header, index.covered());
    }
    // A journal of this archive (or none yet, to be written).
    bool usable() const { return file.exists() && !file.foreign(); }
    bool catchUp(std::optional<qint64> from = {}) { return indexed = index.catchUp(file, header, end, from); }
    // The offset of the card's newest entry (0: none) as the index notes it; the index is
    // rebuilt when its note fails its check. nullopt when there is no index to ask.
    std::optional<qint64> noted(qint64 position)
    {
        if (!indexed)
            return std::nullopt;
        qint64 at = index.latest(position);
        if (at < 0 && (indexed = index.rebuild(file, header, end)))
            at = index.latest(position);
        if (at < 0)
            indexed = false;
        return indexed ? std::optional<qint64>(at) : std::nullopt;
    }
    void rebuildIndex() { indexed = index.rebuild(file, header, end); }

    File file;
    Index index;
    Header header;
    qint64 end = kHeader;
    bool indexed = false;
};

// The offset of the newest entry of each card at positions (0: none), found by walking the
// journal: when there is no index to ask, or its answer is doubted.
std::map<qint64, qint64> newestByWalk(const Opened& j, const std::set<qint64>& positions)
{
    std::map<qint64, qint64> found;
    for (const qint64 k : positions)
        found[k] = 0;
    const Mapped all(j.file.path(), kHeader, j.end);
    if (all.failed())
        throw IoError(QStringLiteral("cannot read the journal %1").arg(j.file.path()));
    walk(all.view(), kHeader, j.file.recordSize(), Detail::Fields, [&](const Entry& e) {
        if (const auto it = found.find(e.position); it != found.end())
            it->second = e.offset;
        return true;
    });
    return found;
}

// Every readable entry of the card at position that starts before offset before, oldest
// first, found by walking the journal: only the card's own entries are read whole.
std::vector<Entry> entriesOf(const Opened& j, qint64 position, qint64 before)
{
    std::vector<Entry> out;
    const Mapped range(j.file.path(), kHeader, before);
    if (range.failed())
        throw IoError(QStringLiteral("cannot read the journal %1").arg(j.file.path()));
    const int size = j.file.recordSize();
    walk(range.view(), kHeader, size, Detail::Fields, [&](const Entry& e) {
        if (e.position == position)
            if (std::optional<Entry> whole =
                    readEntry(entryAt(range.view(), kHeader, e.offset), e.offset, size, Detail::Whole))
                out.push_back(std::move(*whole));
        return true;
    });
    return out;
}
} // namespace

Journal::Journal(const QString& archivePath, int recordSize) : path_(pathFor(archivePath)), recordSize_(recordSize)
{ }

QString Journal::pathFor(const QString& archivePath)
{
    QString p = archivePath;
    if (p.endsWith(QStringLiteral(".pro")))
        p.chop(4);
    return p + QStringLiteral(".cronologia");
}

QString Journal::indexPath() const
{
    return path_ + QStringLiteral(".indice");
}

qint64 Journal::append(const std::vector<Change>& changes, const QDateTime& when,
                       const std::function<Before()>& storedBefore, Appended* appended)
{
    Opened j(path_, indexPath(), recordSize_, true);
    j.file.require("write");
    std::set<qint64> positions;
    for (const Change& c : changes) {
        if (c.record.size() != recordSize_)
            throw IoError(
                QStringLiteral("a record of %1 bytes for a journal of %2").arg(c.record.size()).arg(recordSize_));
        if (c.position < 1 || c.position > lastPosition(recordSize_))
            throw IoError(QStringLiteral("card %1 is past the largest archive with a history").arg(c.position));
        if (c.extra.size() > kLargestExtra)
            throw IoError(
                QStringLiteral("an extra of %1 bytes is past the largest an entry carries").arg(c.extra.size()));
        positions.insert(c.position);
    }
    j.catchUp();

    // The newest entry of each card: written here, else as the index notes it, else found by
    // walking the journal once for every card of the batch. Each new entry chains to it.
    std::map<qint64, qint64> latest;
    std::optional<std::map<qint64, qint64>> walked;
    const auto newest = [&](qint64 k) {
        if (const auto it = latest.find(k); it != latest.end())
            return it->second;
        if (const std::optional<qint64> at = j.noted(k))
            return *at;
        if (!walked)
            walked = newestByWalk(j, positions);
        return walked->at(k);
    };

    // Before a card's first version, the one stored before it. A card the archive holds and
    // the index knows no entry of is looked for in the journal itself, so that a note lost
    // or blanked never starts its history anew over the versions the journal holds.
    std::vector<Change> all;
    if (!changes.empty() && storedBefore) {
        const qint64 k = changes.front().position;
        if (newest(k) == 0) {
            const Before before = storedBefore();
            const bool first = before.record.isEmpty() || walked || newestByWalk(j, {k}).at(k) == 0;
            if (!first)
                j.rebuildIndex(); // it missed the card's versions: it is not trusted for the others
            else if (!before.record.isEmpty())
                all.push_back({k, What::Precedente, before.record, {}, before.extra});
        }
    }
    all.insert(all.end(), changes.begin(), changes.end());

    const QString workstation = platform::hostName();
    const QString user = platform::userName();
    QByteArray bytes;
    std::vector<std::pair<qint64, qint64>> written; // position, offset
    Appended done{j.end, 0, {}};
    for (const Change& c : all) {
        const qint64 previous = newest(c.position);
        if (std::none_of(done.newestBefore.begin(), done.newestBefore.end(),
                         [&](const auto& p) { return p.first == c.position; }))
            done.newestBefore.push_back({c.position, previous});
        const qint64 offset = j.end + bytes.size();
        bytes += encodeEntry(c, previous, when, workstation, user);
        latest[c.position] = offset;
        written.push_back({c.position, offset});
    }

    // A new journal, or one whose header could not be mended, gets its header with the entries.
    const qint64 size = j.file.fd().size();
    const bool newHeader = !j.file.sound();
    const qint64 needed = j.end + bytes.size();
    // Eight zeros after the entries end them, so that nothing the file held past its end (a
    // write a power failure left half done, a forged tail) is ever read as following them.
    bytes.append(QByteArray(8, '\0'));
    bool ok = true;
    if (newHeader) {
        Header h = j.header;
        h.end = j.end;
        const QByteArray head = headerBytes(h, recordSize_);
        ok = j.file.fd().writeAt(0, head.constData(), head.size());
    }
    if (ok && size < j.end + bytes.size()) {
        // Zeros ahead of the entries, so that the next appends change no file size.
        const qint64 target = ((j.end + bytes.size()) / kAhead + 1) * kAhead;
        const QByteArray zeros(std::min<qint64>(target - size, kAhead), '\0');
        for (qint64 at = std::max(size, kHeader); ok && at < target; at += zeros.size())
            ok = j.file.fd().writeAt(at, zeros.constData(), std::min<qint64>(zeros.size(), target - at));
    }
    ok = ok && j.file.fd().writeAt(j.end, bytes.constData(), bytes.size());
    if (!ok || !j.file.fd().sync()) {
        const QString cause = QStringLiteral("cannot write the journal %1: %2").arg(path_, systemError());
        const bool full = platform::diskFull();
        // Best effort: zeros over what was written, so that the entries do not count.
        const QByteArray zeros(bytes.size(), '\0');
        j.file.fd().writeAt(j.end, zeros.constData(), zeros.size());
        throw IoError(cause, {}, full);
    }
    if (j.indexed) {
        bool noted = true;
        for (const auto& [k, offset] : written)
            noted = noted && j.index.setLatest(k, offset);
        if (noted)
            j.index.writeHeader(j.file, j.header, needed);
    }
    if (appended) {
        done.to = needed;
        *appended = std::move(done);
    }
    return needed - j.header.synced;
}

void Journal::retract(const Appended& appended)
{
    Opened j(path_, indexPath(), recordSize_, true);
    j.file.require("write");
    if (appended.to <= appended.from || j.end != appended.to)
        throw IoError(QStringLiteral("the journal %1 does not end with the entries to withdraw").arg(path_));
    // The index first notes each card's entry before them again (an index that cannot is
    // rebuilt when next used); then zeros end the entries where they began.
    if (j.index.covered() == appended.to) {
        bool noted = true;
        for (const auto& [k, offset] : appended.newestBefore)
            noted = noted && j.index.setLatest(k, offset);
        if (noted)
            j.index.writeHeader(j.file, j.header, appended.from);
    }
    const QByteArray zeros(appended.to - appended.from, '\0');
    if (!j.file.fd().writeAt(appended.from, zeros.constData(), zeros.size()) || !j.file.fd().sync())
        throw IoError(QStringLiteral("cannot write the journal %1: %2").arg(path_, systemError()), {},
                      platform::diskFull());
}

std::optional<Entry> Journal::newest(qint64 position) const
{
    Opened j(path_, indexPath(), recordSize_, true);
    if (!j.usable())
        return std::nullopt;
    j.catchUp();
    if (const std::optional<qint64> at = j.noted(position)) {
        if (*at == 0)
            return std::nullopt;
        if (*at + 8 <= j.end) {
            const QByteArray head = j.file.read(*at, 8);
            const quint32 length = qFromLittleEndian<quint32>(head.constData() + 4);
            if (plausible(length) && *at + 8 + qint64(length) <= j.end)
                if (std::optional<Entry> e = parse(j.file.read(*at, 8 + length), *at, recordSize_);
                    e && e->position == position)
                    return e;
        }
    }
    // Without an index, or a damaged note: the card's entries found by walking the journal.
    std::vector<Entry> all = entriesOf(j, position, j.end);
    if (all.empty())
        return std::nullopt;
    return std::move(all.back());
}

bool Journal::hasCard(qint64 position) const
{
    Opened j(path_, indexPath(), recordSize_, true);
    if (!j.usable())
        return false;
    j.catchUp();
    if (const std::optional<qint64> at = j.noted(position))
        return *at != 0;
    return newestByWalk(j, {position}).at(position) != 0;
}

std::vector<Entry> Journal::versions(qint64 position) const
{
    std::vector<Entry> out;
    Opened j(path_, indexPath(), recordSize_, true);
    if (!j.usable())
        return out;
    j.catchUp();
    // Newest to oldest along the card's chain, each entry read and checked on its own.
    for (qint64 at = j.noted(position).value_or(0); at >= kHeader && at + 8 <= j.end;) {
        const QByteArray head = j.file.read(at, 8);
        const quint32 length = qFromLittleEndian<quint32>(head.constData() + 4);
        std::optional<Entry> e;
        if (plausible(length) && at + 8 + qint64(length) <= j.end)
            e = parse(j.file.read(at, 8 + length), at, recordSize_);
        if (!e || e->position != position)
            break; // a damaged link: the older entries are found by walking the journal
        at = e->previous;
        out.push_back(std::move(*e));
        if (at == 0)
            return out;
    }
    // Without an index, or past a damaged link: every entry of the card older than those found.
    const std::vector<Entry> older = entriesOf(j, position, out.empty() ? j.end : out.back().offset);
    out.insert(out.end(), older.rbegin(), older.rend());
    return out;
}

void Journal::scan(const std::function<bool(const Entry&)>& visit) const
{
    scanFrom(kHeader, visit);
}

void Journal::scanFrom(qint64 from, const std::function<bool(const Entry&)>& visit) const
{
    Opened j(path_, indexPath(), recordSize_, false);
    if (!j.usable())
        return;
    from = std::max(from, kHeader);
    const Mapped range(path_, from, j.end);
    if (range.failed())
        throw IoError(QStringLiteral("cannot read the journal %1").arg(path_));
    walk(range.view(), from, recordSize_, Detail::Whole, visit);
}

qint64 Journal::end() const
{
    Opened j(path_, indexPath(), recordSize_, false);
    return j.end;
}

qint64 Journal::synced() const
{
    Opened j(path_, indexPath(), recordSize_, false);
    return j.usable() ? j.header.synced : kHeader;
}

bool Journal::unsynced() const
{
    Opened j(path_, indexPath(), recordSize_, false);
    return j.usable() && j.header.synced != j.end;
}

void Journal::markSynced()
{
    Opened j(path_, indexPath(), recordSize_, true);
    j.file.require("write");
    // The index is brought up to the entries the archive now holds and forced to the disk
    // with them, so that after a power failure it is trusted only up to here.
    if (j.catchUp(j.header.synced))
        j.index.sync();
    Header h = j.header;
    h.end = j.end;
    h.synced = h.end;
    const QByteArray head = headerBytes(h, recordSize_);
    if (!j.file.fd().writeAt(0, head.constData(), head.size()) || !j.file.fd().sync())
        throw IoError(QStringLiteral("cannot write the journal %1: %2").arg(path_, systemError()));
}

} // namespace journal
