#pragma once
#include <QByteArrayView>
#include <QtGlobal>

// CRC-32 as zip and zlib compute it (polynomial 0xEDB88320, reflected, inverted).
quint32 crc32(QByteArrayView bytes, quint32 crc = 0);
