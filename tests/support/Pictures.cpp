#include "Pictures.h"

#include <QBuffer>
#include <QColor>
#include <QPainter>
#include <QTransform>
#include <QtEndian>

QImage quarteredPicture(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter p(&image);
    const int w = size.width() / 2, h = size.height() / 2;
    p.fillRect(0, 0, w, h, Qt::red);
    p.fillRect(w, 0, size.width() - w, h, Qt::green);
    p.fillRect(0, h, w, size.height() - h, Qt::blue);
    p.fillRect(w, h, size.width() - w, size.height() - h, Qt::white);
    return image;
}

QString quartersOf(const QImage& image)
{
    if (image.isNull())
        return QStringLiteral("none");
    auto name = [&](int x, int y) {
        const QColor c = image.pixelColor(x, y);
        for (const auto& [n, w] : {std::pair{"red", QColor(Qt::red)}, std::pair{"green", QColor(Qt::green)},
                                   std::pair{"blue", QColor(Qt::blue)}, std::pair{"white", QColor(Qt::white)}})
            if (qAbs(c.red() - w.red()) < 50 && qAbs(c.green() - w.green()) < 50 && qAbs(c.blue() - w.blue()) < 50)
                return QString::fromLatin1(n);
        return QStringLiteral("other");
    };
    const int x1 = image.width() / 4, x2 = image.width() * 3 / 4;
    const int y1 = image.height() / 4, y2 = image.height() * 3 / 4;
    return QStringList{name(x1, y1), name(x2, y1), name(x1, y2), name(x2, y2)}.join(u' ');
}

namespace {
// The stored pixels of a photo that the tag says to show as upright: the tag's transform
// undone. Tag meanings, from stored to shown: 2 mirror left-right, 3 turn 180°, 4 mirror
// top-bottom, 5 mirror along the main diagonal, 6 turn 90° clockwise, 7 mirror along the
// other diagonal, 8 turn 90° anticlockwise.
QImage storedPixels(const QImage& upright, int orientation)
{
    const QTransform clockwise = QTransform().rotate(90);
    const QTransform anticlockwise = QTransform().rotate(-90);
    switch (orientation) {
    case 2: return upright.mirrored(true, false);
    case 3: return upright.transformed(QTransform().rotate(180));
    case 4: return upright.mirrored(false, true);
    case 5: return upright.transformed(clockwise).mirrored(true, false);
    case 6: return upright.transformed(anticlockwise);
    case 7: return upright.transformed(clockwise).mirrored(false, true);
    case 8: return upright.transformed(clockwise);
    default: return upright;
    }
}

// An APP1 segment holding an Exif block with one tag: the orientation.
QByteArray exifSegment(int orientation)
{
    QByteArray tiff("II*\0\x08\0\0\0", 8); // little-endian, first directory at 8
    auto u16 = [&](quint16 v) { tiff.append(char(v & 0xFF)).append(char(v >> 8)); };
    auto u32 = [&](quint32 v) { u16(quint16(v & 0xFFFF)), u16(quint16(v >> 16)); };
    u16(1); // one entry
    u16(0x0112), u16(3), u32(1), u16(quint16(orientation)), u16(0); // orientation, SHORT, 1 value
    u32(0); // no next directory
    QByteArray body = QByteArray("Exif\0\0", 6) + tiff;
    QByteArray segment("\xFF\xE1", 2);
    const quint16 length = quint16(body.size() + 2);
    segment.append(char(length >> 8)).append(char(length & 0xFF));
    return segment + body;
}
} // namespace

QByteArray orientedJpeg(const QImage& upright, int orientation)
{
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    storedPixels(upright, orientation).save(&buffer, "JPEG", 95);
    // The Exif block goes right after the start-of-image marker, where cameras put it.
    return jpeg.left(2) + exifSegment(orientation) + jpeg.mid(2);
}
