#include "Pictures.h"

#include "storage/PhotoFiles.h"
#include "storage/ProgramDir.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// Photos are shown and printed the way they were taken: the orientation a camera records in
// the file is applied wherever a photo is decoded, and the file itself is stored unchanged.
class TestPhotos : public QObject {
    Q_OBJECT
private slots:
    void upright_data();
    void upright();
    void largeTurnedPhotoScaledUpright();
    void damagedOrientationBlock_data();
    void damagedOrientationBlock();
    void keptPhotosNeverReplaceEachOther();
    void implausibleHeadersRefused_data();
    void implausibleHeadersRefused();
};

namespace {
QString write(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    QFile f(dir.filePath(name));
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(f.fileName()));
    return f.fileName();
}
} // namespace

namespace {
// A small real JPEG whose frame header claims width x height.
QByteArray claimingJpeg(int width, int height)
{
    QByteArray bytes = orientedJpeg(quarteredPicture({16, 16}), 1);
    const qsizetype sof = bytes.indexOf("\xFF\xC0");
    if (sof < 0)
        qFatal("no frame header");
    bytes[sof + 5] = char(height >> 8);
    bytes[sof + 6] = char(height & 0xFF);
    bytes[sof + 7] = char(width >> 8);
    bytes[sof + 8] = char(width & 0xFF);
    return bytes;
}

// A BMP header claiming width x height, with a few bytes of pixels.
QByteArray claimingBmp(int width, int height)
{
    QByteArray bytes(54 + 64, '\0');
    auto put = [&](int at, quint32 v, int n) {
        for (int i = 0; i < n; ++i)
            bytes[at + i] = char((v >> (8 * i)) & 0xFF);
    };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put(2, quint32(bytes.size()), 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, quint32(width), 4);
    put(22, quint32(height), 4);
    put(26, 1, 2);
    put(28, 24, 2);
    return bytes;
}
} // namespace

// A header claiming a picture no camera makes (a few hundred bytes that would cost gigabytes
// and a minute to decode) is refused from the header, wherever a picture is read, and said.
void TestPhotos::implausibleHeadersRefused_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("size"); // as the refusal names it; empty: read as usual
    QTest::newRow("a JPEG claiming 45000 x 45000") << claimingJpeg(45000, 45000) << "bomba.jpg"
                                                   << "45000 \u00D7 45000";
    QTest::newRow("a JPEG claiming 16000 x 16000") << claimingJpeg(16000, 16000) << "strana.jpg"
                                                   << "16000 \u00D7 16000";
    QTest::newRow("a BMP claiming 10000 x 10000") << claimingBmp(10000, 10000) << "bomba.bmp"
                                                  << "10000 \u00D7 10000";
    QTest::newRow("a real photo") << orientedJpeg(quarteredPicture({300, 200}), 6) << "vera.jpg" << QString();
}

void TestPhotos::implausibleHeadersRefused()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, name);
    QFETCH(QString, size);
    QTemporaryDir dir;
    const QString path = write(dir, name, bytes);
    const QString why = photofiles::oversize(path);
    QCOMPARE(photofiles::oversize(name, bytes), why);
    if (size.isEmpty()) {
        QVERIFY(why.isEmpty());
        QVERIFY(photofiles::decodeFitting(path, QSize(100, 100)));
        return;
    }
    QVERIFY2(why.contains(size) && why.contains(name), qPrintable(why));
    const QByteArray format = name.endsWith(QLatin1String(".bmp")) ? "bmp" : "jpeg";
    QVERIFY(!photofiles::decode(path, format));
    QVERIFY(!photofiles::decodeFitting(path, QSize(240, 240)));
    QVERIFY(!photofiles::readChosen(path));
}

void TestPhotos::upright_data()
{
    QTest::addColumn<int>("orientation");
    for (int o = 1; o <= 8; ++o)
        QTest::addRow("orientation %d", o) << o;
}

void TestPhotos::upright()
{
    QFETCH(int, orientation);
    QTemporaryDir dir;
    const QImage upright = quarteredPicture({120, 80});
    const QByteArray bytes = orientedJpeg(upright, orientation);
    const QString path = write(dir, QStringLiteral("foto.jpg"), bytes);

    const std::optional<QImage> shown = photofiles::decode(path, "jpeg");
    QVERIFY(shown);
    QCOMPARE(shown->size(), QSize(120, 80));
    QCOMPARE(quartersOf(*shown), QStringLiteral("red green blue white"));

    // A file the user chooses is shown upright and kept byte for byte, tag included.
    const std::optional<photofiles::Picture> chosen = photofiles::readChosen(path);
    QVERIFY(chosen);
    QCOMPARE(quartersOf(chosen->image), QStringLiteral("red green blue white"));
    QCOMPARE(chosen->jpeg, bytes);
    const QString stored = dir.filePath(QStringLiteral("Opera_1.jpg"));
    QVERIFY(photofiles::store(chosen->image, chosen->jpeg, stored));
    QFile f(stored);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), bytes);
}

void TestPhotos::largeTurnedPhotoScaledUpright()
{
    // A portrait photo of a painting from a phone: landscape pixels, turned by its tag, larger
    // than the decoding limit. It comes out scaled within the limit and upright.
    QTemporaryDir dir;
    const QString path = write(dir, QStringLiteral("grande.jpg"), orientedJpeg(quarteredPicture({3000, 5000}), 6));
    const std::optional<QImage> shown = photofiles::decode(path, "jpeg");
    QVERIFY(shown);
    QCOMPARE(shown->size(), QSize(2400, photofiles::kMaxSide));
    QCOMPARE(quartersOf(*shown), QStringLiteral("red green blue white"));
}

void TestPhotos::damagedOrientationBlock_data()
{
    QTest::addColumn<QByteArray>("from");
    QTest::addColumn<QByteArray>("to");
    QTest::addColumn<QSize>("size");
    // A tag that cannot be read leaves the pixels as stored (the photo lies on its side, as
    // before); one that can still be read, past a damaged count, is applied.
    QTest::newRow("value 9") << QByteArray("\x12\x01\x03\x00\x01\x00\x00\x00\x06", 9)
                             << QByteArray("\x12\x01\x03\x00\x01\x00\x00\x00\x09", 9) << QSize(80, 120);
    QTest::newRow("byte order") << QByteArray("II*\0", 4) << QByteArray("XX*\0", 4) << QSize(80, 120);
    QTest::newRow("directory past the end")
        << QByteArray("II*\0\x08", 5) << QByteArray("II*\0\xF0", 5) << QSize(80, 120);
    QTest::newRow("entry count huge") << QByteArray("\x08\x00\x00\x00\x01\x00", 6)
                                      << QByteArray("\x08\x00\x00\x00\xFF\xFF", 6) << QSize(120, 80);
}

void TestPhotos::damagedOrientationBlock()
{
    QFETCH(QByteArray, from);
    QFETCH(QByteArray, to);
    QFETCH(QSize, size);
    QTemporaryDir dir;
    QByteArray bytes = orientedJpeg(quarteredPicture({120, 80}), 6);
    const qsizetype at = bytes.indexOf(from);
    QVERIFY(at > 0);
    bytes.replace(at, from.size(), to);
    const std::optional<QImage> shown = photofiles::decode(write(dir, QStringLiteral("foto.jpg"), bytes), "jpeg");
    QVERIFY(shown);
    QCOMPARE(shown->size(), size);
}

// Two photos kept at the same moment (two workstations, a clock put back) get two names, and
// the names follow the rule every name the program makes follows.
void TestPhotos::keptPhotosNeverReplaceEachOther()
{
    QTemporaryDir dir;
    programdir::Override here(dir.path());
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("Inventario")));
    const QString photo = dir.filePath(QStringLiteral("Inventario/Opera_7.jpg"));
    const QDateTime when(QDate(2026, 3, 1), QTime(10, 0), Qt::UTC);
    write(dir, QStringLiteral("Inventario/Opera_7.jpg"), "first");
    const QString first = photofiles::keep(photo, when);
    QFile::remove(photo);
    write(dir, QStringLiteral("Inventario/Opera_7.jpg"), "second");
    // A kept photo spelled in another case is the same name on Windows.
    const QString upper = dir.filePath(QStringLiteral("Inventario/Cronologia/OPERA_7_20260301-100000000.JPG"));
    QVERIFY(QFile::rename(dir.filePath(first), upper));
    const QString second = photofiles::keep(photo, when);
    QCOMPARE(first, QStringLiteral("Inventario/Cronologia/Opera_7_20260301-100000000.jpg"));
    QCOMPARE(second, QStringLiteral("Inventario/Cronologia/Opera_7_20260301-100000000 (2).jpg"));
    QCOMPARE(QDir(dir.filePath(QStringLiteral("Inventario/Cronologia"))).count(), 4u); // with . and ..
}

QTEST_GUILESS_MAIN(TestPhotos)
#include "tst_photos.moc"
