#include "documentation/Exif.h"

#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <vector>

namespace exif {
namespace {
constexpr quint8 kSoi = 0xD8, kEoi = 0xD9, kSos = 0xDA, kApp0 = 0xE0, kApp1 = 0xE1;
constexpr quint16 kOrientation = 0x0112, kDateTime = 0x0132, kExifIfd = 0x8769, kDateTimeOriginal = 0x9003;
constexpr quint16 kShort = 3;
constexpr char kExifHeader[6] = {'E', 'x', 'i', 'f', '\0', '\0'};
// A segment holds at most 65535 bytes with its length.
constexpr qsizetype kLargestSegment = 65535;

quint8 byteAt(QByteArrayView b, qsizetype at)
{
    return quint8(b[at]);
}

// A marker segment before the picture data: its marker and where its data (after the two
// length bytes) lie.
struct Segment {
    qsizetype start; // the 0xFF of its marker
    quint8 marker;
    qsizetype data;
    qsizetype length; // of the data
};

// The segments up to the first scan; nullopt when the bytes are not laid out as a JPEG's.
std::optional<std::vector<Segment>> segments(QByteArrayView jpeg)
{
    if (jpeg.size() < 4 || byteAt(jpeg, 0) != 0xFF || byteAt(jpeg, 1) != kSoi)
        return std::nullopt;
    std::vector<Segment> out;
    qsizetype at = 2;
    while (true) {
        if (at + 2 > jpeg.size() || byteAt(jpeg, at) != 0xFF)
            return std::nullopt;
        const qsizetype start = at;
        while (at + 1 < jpeg.size() && byteAt(jpeg, at + 1) == 0xFF)
            ++at; // fill bytes before a marker
        if (at + 2 > jpeg.size())
            return std::nullopt;
        const quint8 marker = byteAt(jpeg, at + 1);
        if (marker == kSos || marker == kEoi) {
            out.push_back({start, marker, at + 2, 0});
            return out;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            at += 2;
            continue;
        }
        if (at + 4 > jpeg.size())
            return std::nullopt;
        const qsizetype length = qFromBigEndian<quint16>(jpeg.data() + at + 2);
        if (length < 2 || at + 2 + length > jpeg.size())
            return std::nullopt;
        out.push_back({start, marker, at + 4, length - 2});
        at += 2 + length;
    }
}

const Segment* exifSegment(const std::vector<Segment>& all, QByteArrayView jpeg)
{
    for (const Segment& s : all)
        if (s.marker == kApp1 && s.length >= 6 && std::memcmp(jpeg.data() + s.data, kExifHeader, 6) == 0)
            return &s;
    return nullptr;
}

// The TIFF structure inside an Exif block, every read checked against its bounds.
class Tiff {
public:
    explicit Tiff(QByteArrayView bytes) : b_(bytes)
    {
        if (b_.size() < 8)
            return;
        if (b_.startsWith("II"))
            big_ = false;
        else if (b_.startsWith("MM"))
            big_ = true;
        else
            return;
        quint32 first = 0;
        ok_ = u16(2, magic_) && magic_ == 42 && u32(4, first);
        ifd0_ = first;
    }
    bool ok() const { return ok_; }
    bool bigEndian() const { return big_; }
    quint32 ifd0() const { return ifd0_; }

    bool u16(qsizetype at, quint16& v) const
    {
        if (at < 0 || at + 2 > b_.size())
            return false;
        v = big_ ? qFromBigEndian<quint16>(b_.data() + at) : qFromLittleEndian<quint16>(b_.data() + at);
        return true;
    }
    bool u32(qsizetype at, quint32& v) const
    {
        if (at < 0 || at + 4 > b_.size())
            return false;
        v = big_ ? qFromBigEndian<quint32>(b_.data() + at) : qFromLittleEndian<quint32>(b_.data() + at);
        return true;
    }

    struct Entry {
        quint16 tag, type;
        quint32 count;
        qsizetype at; // the entry's 12 bytes
    };
    // The entries of the directory at offset; nullopt when it does not fit.
    std::optional<std::vector<Entry>> directory(quint32 offset, quint32* next = nullptr) const
    {
        quint16 n = 0;
        if (!u16(offset, n) || qsizetype(offset) + 2 + 12 * qsizetype(n) + 4 > b_.size())
            return std::nullopt;
        std::vector<Entry> out;
        for (quint16 i = 0; i < n; ++i) {
            const qsizetype at = qsizetype(offset) + 2 + 12 * i;
            Entry e{0, 0, 0, at};
            u16(at, e.tag);
            u16(at + 2, e.type);
            u32(at + 4, e.count);
            out.push_back(e);
        }
        if (next)
            u32(qsizetype(offset) + 2 + 12 * qsizetype(n), *next);
        return out;
    }
    // "YYYY:MM:DD HH:MM:SS" of an ASCII entry; invalid when it holds none.
    QDateTime dateOf(const Entry& e) const
    {
        quint32 at = 0;
        if (e.type != 2 || e.count < 19 || !u32(e.at + 8, at) || qsizetype(at) + 19 > b_.size())
            return {};
        const QString text = QString::fromLatin1(b_.data() + at, 19);
        return QDateTime::fromString(text, QStringLiteral("yyyy:MM:dd HH:mm:ss"));
    }

private:
    QByteArrayView b_;
    bool big_ = false;
    bool ok_ = false;
    quint16 magic_ = 0;
    quint32 ifd0_ = 0;
};

// A 16- or 32-bit number in the block's byte order.
template <class T> void putNumber(QByteArray& out, T v, bool big)
{
    char bytes[sizeof(T)];
    if (big)
        qToBigEndian(v, bytes);
    else
        qToLittleEndian(v, bytes);
    out.append(bytes, sizeof(T));
}

// An orientation entry: SHORT, one value, held in the entry itself.
QByteArray orientationEntry(int orientation, bool big)
{
    QByteArray e;
    putNumber<quint16>(e, kOrientation, big);
    putNumber<quint16>(e, kShort, big);
    putNumber<quint32>(e, 1, big);
    putNumber<quint16>(e, quint16(orientation), big);
    putNumber<quint16>(e, 0, big);
    return e;
}

// The JPEG with the data of the segment s replaced (or, s null, a new APP1 segment put at
// insertAt).
std::optional<QByteArray> withSegment(QByteArrayView jpeg, const Segment* s, qsizetype insertAt, const QByteArray& data)
{
    if (data.size() + 2 > kLargestSegment)
        return std::nullopt;
    QByteArray out;
    out.reserve(jpeg.size() + data.size() + 4);
    const qsizetype from = s ? s->start : insertAt;
    const qsizetype resume = s ? s->data + s->length : insertAt;
    out.append(jpeg.first(from));
    out.append(char(0xFF)).append(char(kApp1));
    char length[2];
    qToBigEndian(quint16(data.size() + 2), length);
    out.append(length, 2);
    out.append(data);
    out.append(jpeg.sliced(resume));
    return out;
}
} // namespace

Info read(QByteArrayView jpeg)
{
    Info info;
    const std::optional<std::vector<Segment>> all = segments(jpeg);
    if (!all)
        return info;
    const Segment* s = exifSegment(*all, jpeg);
    if (!s)
        return info;
    info.present = true;
    const Tiff tiff(jpeg.sliced(s->data + 6, s->length - 6));
    const std::optional<std::vector<Tiff::Entry>> ifd0 = tiff.ok() ? tiff.directory(tiff.ifd0()) : std::nullopt;
    if (!ifd0) {
        info.damaged = true;
        return info;
    }
    QDateTime changed;
    for (const Tiff::Entry& e : *ifd0) {
        if (e.tag == kOrientation) {
            quint16 value = 0;
            if (e.type == kShort && e.count == 1 && tiff.u16(e.at + 8, value) && value >= 1 && value <= 8)
                info.orientation = value;
            else
                info.damaged = true;
        } else if (e.tag == kDateTime) {
            changed = tiff.dateOf(e);
        } else if (e.tag == kExifIfd) {
            quint32 offset = 0;
            const std::optional<std::vector<Tiff::Entry>> sub =
                tiff.u32(e.at + 8, offset) ? tiff.directory(offset) : std::nullopt;
            if (!sub) {
                info.damaged = true;
                continue;
            }
            for (const Tiff::Entry& x : *sub)
                if (x.tag == kDateTimeOriginal)
                    info.taken = tiff.dateOf(x);
        }
    }
    if (!info.taken.isValid())
        info.taken = changed;
    return info;
}

int turnedClockwise(int orientation)
{
    // Each orientation as a mirror (or none) followed by a turn: a further quarter turn keeps
    // the mirror and turns once more.
    switch (orientation) {
    case 6: return 3;
    case 3: return 8;
    case 8: return 1;
    case 2: return 7;
    case 7: return 4;
    case 4: return 5;
    case 5: return 2;
    default: return 6;
    }
}

std::optional<QByteArray> withOrientation(QByteArrayView jpeg, int orientation)
{
    if (orientation < 1 || orientation > 8)
        return std::nullopt;
    const std::optional<std::vector<Segment>> all = segments(jpeg);
    if (!all)
        return std::nullopt;
    const Segment* s = exifSegment(*all, jpeg);
    if (!s) {
        // A block of its own with the one tag, after a JFIF header where there is one.
        QByteArray block(kExifHeader, 6);
        block.append("MM\0*\0\0\0\x08", 8);
        putNumber<quint16>(block, 1, true);
        block.append(orientationEntry(orientation, true));
        putNumber<quint32>(block, 0, true);
        const qsizetype at = all->front().marker == kApp0 ? all->front().data + all->front().length : qsizetype(2);
        return withSegment(jpeg, nullptr, at, block);
    }
    const QByteArrayView tiffBytes = jpeg.sliced(s->data + 6, s->length - 6);
    const Tiff tiff(tiffBytes);
    quint32 next = 0;
    const std::optional<std::vector<Tiff::Entry>> ifd0 = tiff.ok() ? tiff.directory(tiff.ifd0(), &next) : std::nullopt;
    if (!ifd0)
        return std::nullopt;
    const bool big = tiff.bigEndian();
    for (const Tiff::Entry& e : *ifd0) {
        if (e.tag == kOrientation && e.type == kShort && e.count == 1) {
            // The value changes in place: nothing moves.
            QByteArray out = jpeg.toByteArray();
            char value[2];
            if (big)
                qToBigEndian(quint16(orientation), value);
            else
                qToLittleEndian(quint16(orientation), value);
            std::memcpy(out.data() + s->data + 6 + e.at + 8, value, 2);
            return out;
        }
    }
    // The tag is added to a copy of the first directory written after everything the block
    // holds, so that no offset into the block changes; the old directory stays, unused.
    std::vector<QByteArray> entries;
    for (const Tiff::Entry& e : *ifd0)
        if (e.tag != kOrientation)
            entries.push_back(tiffBytes.sliced(e.at, 12).toByteArray());
    entries.push_back(orientationEntry(orientation, big));
    const auto tagOf = [big](const QByteArray& e) {
        return big ? qFromBigEndian<quint16>(e.constData()) : qFromLittleEndian<quint16>(e.constData());
    };
    std::stable_sort(entries.begin(), entries.end(),
                     [&](const QByteArray& a, const QByteArray& b) { return tagOf(a) < tagOf(b); });
    QByteArray tiffOut = tiffBytes.toByteArray();
    if (tiffOut.size() % 2)
        tiffOut.append('\0'); // directories start on a word boundary
    const quint32 offset = quint32(tiffOut.size());
    putNumber<quint16>(tiffOut, quint16(entries.size()), big);
    for (const QByteArray& e : entries)
        tiffOut.append(e);
    putNumber<quint32>(tiffOut, next, big);
    char first[4];
    if (big)
        qToBigEndian(offset, first);
    else
        qToLittleEndian(offset, first);
    std::memcpy(tiffOut.data() + 4, first, 4);
    return withSegment(jpeg, s, 0, QByteArray(kExifHeader, 6) + tiffOut);
}

bool complete(QByteArrayView jpeg)
{
    const std::optional<std::vector<Segment>> head = segments(jpeg);
    if (!head || head->back().marker != kSos)
        return head && head->back().marker == kEoi;
    // From the first scan on: the coded data of each scan (where 0xFF is followed by 0 or a
    // restart marker) up to the next marker, which is another segment or the end of the image.
    qsizetype at = head->back().data;
    while (at < jpeg.size()) {
        const char* found = static_cast<const char*>(std::memchr(jpeg.data() + at, 0xFF, size_t(jpeg.size() - at)));
        if (!found || found + 1 >= jpeg.data() + jpeg.size())
            return false;
        at = found - jpeg.data();
        const quint8 marker = byteAt(jpeg, at + 1);
        if (marker == 0x00 || marker == 0xFF || (marker >= 0xD0 && marker <= 0xD7)) {
            at += marker == 0xFF ? 1 : 2;
            continue;
        }
        if (marker == kEoi)
            return true;
        if (at + 4 > jpeg.size())
            return false;
        const qsizetype length = qFromBigEndian<quint16>(jpeg.data() + at + 2);
        if (length < 2)
            return false;
        at += 2 + length; // a table or the header of the next scan
    }
    return false;
}

} // namespace exif
