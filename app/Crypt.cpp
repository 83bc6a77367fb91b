#include "app/Crypt.h"

#include "storage/IoError.h"

#include <vector>

namespace Crypt {
namespace {
constexpr quint16 kStart = 57309;
constexpr quint16 kMultiplier = 40503;
constexpr quint16 kIncrement = 29437;

quint16 next(quint16 key, quint8 c)
{
    // 32-bit unsigned arithmetic, kept to 16 bits: the key wraps around.
    return quint16((quint32(quint16(c + key)) * kMultiplier + kIncrement) & 0xFFFFu);
}

int hexValue(QChar ch)
{
    const char16_t u = ch.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    return -1;
}
} // namespace

QString Scramble(const QString& plain)
{
    static const char digits[] = "0123456789ABCDEF";
    QString out;
    out.reserve(plain.size() * 2);
    quint16 key = kStart;
    for (QChar ch : plain) {
        const quint8 p = quint8(ch.unicode() & 0xFF);
        const quint8 c = quint8(p ^ (key >> 8));
        out += QChar(digits[c >> 4]);
        out += QChar(digits[c & 0xF]);
        key = next(key, c);
    }
    return out;
}

QString Unscramble(const QString& hex)
{
    const qsizetype pairs = hex.size() / 2;
    std::vector<quint8> codes;
    codes.reserve(size_t(pairs));
    for (qsizetype i = 0; i < pairs; ++i) {
        const int hi = hexValue(hex.at(2 * i));
        const int lo = hexValue(hex.at(2 * i + 1));
        if (hi < 0 || lo < 0)
            throw IoError(QStringLiteral("'%1' is not a valid hexadecimal value").arg(hex.mid(2 * i, 2)));
        codes.push_back(quint8(hi * 16 + lo));
    }
    QString out;
    out.reserve(pairs);
    quint16 key = kStart;
    for (quint8 c : codes) {
        out += QChar(char16_t(c ^ (key >> 8)));
        key = next(key, c);
    }
    return out;
}

bool storable(const QString& plain)
{
    if (plain.size() > 255)
        return false;
    for (QChar ch : plain)
        if (ch.unicode() > 0xFF)
            return false;
    return true;
}

} // namespace Crypt
