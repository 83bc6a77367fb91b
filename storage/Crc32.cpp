#include "storage/Crc32.h"

#include <zlib.h>

#include <algorithm>

quint32 crc32(QByteArrayView bytes, quint32 crc)
{
    // zlib's, in pieces its length type holds.
    uLong c = crc;
    const auto* at = reinterpret_cast<const Bytef*>(bytes.data());
    for (qsizetype left = bytes.size(); left > 0;) {
        const uInt n = uInt(std::min<qsizetype>(left, qsizetype(1) << 30));
        c = ::crc32(c, at, n);
        at += n;
        left -= n;
    }
    return quint32(c);
}
