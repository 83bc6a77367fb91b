#include "common/Crc32.h"

#include <array>

namespace {
constexpr std::array<quint32, 256> kTable = [] {
    std::array<quint32, 256> t{};
    for (quint32 n = 0; n < 256; ++n) {
        quint32 c = n;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        t[n] = c;
    }
    return t;
}();
} // namespace

quint32 crc32(QByteArrayView bytes, quint32 crc)
{
    crc = ~crc;
    for (char b : bytes)
        crc = kTable[(crc ^ quint8(b)) & 0xFF] ^ (crc >> 8);
    return ~crc;
}
