// What a picture whose header claims far more pixels than its file can hold costs the program:
// the time and the memory it takes to refuse it (from the header, before any decoding), as the
// documentation, the card's photos and the logo read it, against reading a real photo's header.
// Usage: picture_bench [ROUNDS]   (default 200)
#include "TestPlatform.h"
#include "storage/PhotoFiles.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QTemporaryDir>
#include <cstdio>

namespace {
QByteArray jpeg(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 90);
    return bytes;
}

// A small JPEG whose frame header says 45000 x 45000 pixels.
QByteArray bomb()
{
    QImage small(16, 16, QImage::Format_RGB32);
    small.fill(Qt::gray);
    QByteArray bytes = jpeg(small);
    const qsizetype sof = bytes.indexOf("\xFF\xC0");
    for (int i : {5, 7}) {
        bytes[sof + i] = char(45000 >> 8);
        bytes[sof + i + 1] = char(45000 & 0xFF);
    }
    return bytes;
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? atoi(argv[1]) : 200;
    QTemporaryDir dir;
    const QString bombPath = dir.filePath(QStringLiteral("bomba.jpg"));
    QFile out(bombPath);
    out.open(QIODevice::WriteOnly);
    const QByteArray bytes = bomb();
    out.write(bytes);
    out.close();

    const qint64 before = testplatform::peakMemoryKb();
    QElapsedTimer t;
    t.start();
    int refused = 0;
    for (int i = 0; i < rounds; ++i) {
        refused += !photofiles::decodeFitting(bombPath, QSize(240, 240));
        refused += !photofiles::decode(bombPath, "jpeg");
        refused += !photofiles::readChosen(bombPath);
        refused += !photofiles::oversize(bombPath).isEmpty();
    }
    const double each = double(t.nsecsElapsed()) / 1e6 / (4.0 * rounds);
    const qint64 grown = testplatform::peakMemoryKb() - before;
    std::printf("a %lld-byte JPEG claiming 45000 x 45000 pixels: refused %d of %d times, %.3f ms each, "
                "peak memory grown by %lld kB\n",
                static_cast<long long>(bytes.size()), refused, 4 * rounds, each, static_cast<long long>(grown));
    return refused == 4 * rounds ? 0 : 1;
}
