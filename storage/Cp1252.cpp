#include "storage/Cp1252.h"

namespace cp1252 {
namespace {

// 0x80..0x9F; the five unassigned positions map to the C1 control of the same code,
// as the Windows conversion does, so that they survive a round trip.
constexpr char16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char toByte(char16_t u)
{
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return char(u);
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == u)
            return char(0x80 + i);
    return '?';
}

} // namespace

bool holds(QChar c)
{
    return c == u'?' || (!c.isSurrogate() && toByte(c.unicode()) != '?');
}

QByteArray encode(const QString& s)
{
    QByteArray out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s.at(i);
        if (c.isHighSurrogate() && i + 1 < s.size() && s.at(i + 1).isLowSurrogate()) {
            out.append('?');
            ++i;
            continue;
        }
        out.append(toByte(c.unicode()));
    }
    return out;
}

QString decode(const char* bytes, qsizetype length)
{
    QString out(length, Qt::Uninitialized);
    QChar* d = out.data();
    for (qsizetype i = 0; i < length; ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        d[i] = (b >= 0x80 && b < 0xA0) ? QChar(kHigh[b - 0x80]) : QChar(char16_t(b));
    }
    return out;
}

} // namespace cp1252
