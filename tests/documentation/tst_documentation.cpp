// The photographic documentation's core: the Exif tags it reads and writes, the list file,
// the history's block, adding photos (and the files it refuses) and the working copy that a
// card's save stores under the archive's lock.
#include "Pictures.h"
#include "TestPlatform.h"

#include "PdfText.h"
#include "documentation/Exif.h"
#include "documentation/Import.h"
#include "documentation/PhotoList.h"
#include "documentation/Thumbnails.h"
#include "documentation/VersionBlock.h"
#include "documentation/WorkingSet.h"
#include "history/Versions.h"
#include "printing/PhotoPages.h"
#include "printing/Renderer.h"
#include "printing/Templates.h"
#include "printing/TextFit.h"
#include "records/ArtworkArchive.h"
#include "records/ReportArchive.h"
#include "storage/Crc32.h"
#include "storage/FileNames.h"
#include "storage/IoError.h"
#include "storage/PhotoFiles.h"
#include "storage/ProgramDir.h"

#include <QBuffer>
#include <QDir>
#include <QImageReader>
#include <QImageWriter>
#include <QPdfWriter>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

using namespace documentation;

namespace {
// Where the tests add photos to report 1: its folder, with a working session of its own whose
// additions wait in the staging folder until a save puts them in place.
Target reportTarget()
{
    return {folder(Kind::Report, 1),
            archivePath(Kind::Report),
            recordSize(Kind::Report),
            filesFolder(Kind::Report),
            1,
            std::make_shared<cardfiles::Session>(filesFolder(Kind::Report))};
}

// The names of the photos waiting to be saved for report 1.
QStringList waiting()
{
    return cardfiles::stagedAdditions(filesFolder(Kind::Report), 1).keys();
}

// The documentation's block of a version.
std::optional<Block> docBlock(const QByteArray& extra)
{
    const std::optional<cardfiles::Block> block = cardfiles::decode(extra);
    if (!block || !block->pieces.contains(cardfiles::kDocumentation))
        return std::nullopt;
    return decodeBlock(block->pieces.value(cardfiles::kDocumentation));
}

QByteArray jpegOf(const QImage& image, bool progressive = false)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(90);
    writer.setProgressiveScanWrite(progressive);
    writer.write(image);
    return bytes;
}

QImage decoded(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    return reader.read();
}

// The bytes from the first scan on: the picture data, which no tag change may touch.
QByteArray pictureData(const QByteArray& jpeg)
{
    return jpeg.mid(jpeg.indexOf("\xFF\xDA"));
}

// An Exif block as another camera writes it: either byte order, the date and time in the first
// directory and the original one in the Exif directory, the orientation tag only when given.
QByteArray exifBlock(bool bigEndian, int orientation, const char* changed, const char* original)
{
    QByteArray t(bigEndian ? "MM\0*" : "II*\0", 4);
    auto u16 = [&](QByteArray& out, quint16 v) {
        char b[2];
        bigEndian ? qToBigEndian(v, b) : qToLittleEndian(v, b);
        out.append(b, 2);
    };
    auto u32 = [&](QByteArray& out, quint32 v) {
        char b[4];
        bigEndian ? qToBigEndian(v, b) : qToLittleEndian(v, b);
        out.append(b, 4);
    };
    const quint16 entries = orientation ? 3 : 2;
    const quint32 ifd0 = 8, sub = ifd0 + 2 + 12 * entries + 4, dates = sub + 2 + 12 + 4;
    u32(t, ifd0);
    u16(t, entries);
    if (orientation) {
        u16(t, 0x0112), u16(t, 3), u32(t, 1), u16(t, quint16(orientation)), u16(t, 0);
    }
    u16(t, 0x0132), u16(t, 2), u32(t, 20), u32(t, dates);
    u16(t, 0x8769), u16(t, 4), u32(t, 1), u32(t, sub);
    u32(t, 0);
    u16(t, 1);
    u16(t, 0x9003), u16(t, 2), u32(t, 20), u32(t, dates + 20);
    u32(t, 0);
    t.append(changed, 19).append('\0').append(original, 19).append('\0');
    const QByteArray body = QByteArray("Exif\0\0", 6) + t;
    QByteArray segment("\xFF\xE1", 2);
    char length[2];
    qToBigEndian(quint16(body.size() + 2), length);
    return segment.append(length, 2) + body;
}

QByteArray withSegment(const QByteArray& jpeg, const QByteArray& segment)
{
    return jpeg.left(2) + segment + jpeg.mid(2);
}

Photo photo(const char* file, const char* phase, const QString& caption = {})
{
    Photo p;
    p.file = QString::fromUtf8(file);
    p.phase = QString::fromUtf8(phase);
    p.caption = caption;
    p.taken = QDate(2024, 3, 5);
    p.size = 1234;
    p.crc = 0xCAFE0001;
    return p;
}

void write(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

QByteArray read(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

class TestDocumentation : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void turnEveryOrientation_data();
    void turnEveryOrientation();
    void tagAddedWithoutTouchingThePicture_data();
    void tagAddedWithoutTouchingThePicture();
    void datesTaken();
    void wholeJpegs_data();
    void wholeJpegs();

    void listRoundTrip();
    void listAsWritten();
    void listDamagedOrNewer_data();
    void listDamagedOrNewer();
    void blockAndChanges_data();
    void blockAndChanges();

    void filesAdded_data();
    void filesAdded();
    void sameFileTwice();
    void namesNeverClash();
    void fullDiskDuringAddition();
    void importerInBackground();

    void savedWithTheCard();
    void turnedAndRemovedGoToHistory();
    void listCannotBeWritten();
    void twoWorkstations();
    void damagedListKeptBeforeReplaced();
    void newerListNeverWritten();
    void photosDeletedByHand();
    void unsavedAdditionsDiscarded();
    void restoreVersion();
    void turnedPhotoDeletedByHand();
    void damagedListTakesIdentityFromFiles();
    void leftoversRemovedUnderTheLock();
    void unlistedPhotosFound();
    void thumbnailCacheReadsOnlyFiles();

    void photoPages_data();
    void photoPages();
    void photosPrintedAtTheirSize();
    void hundredMegapixels();

private:
    // A program folder with one stored report (position 1).
    void storeReport();
    QString path(const QString& name) const { return dir_->filePath(name); }

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<programdir::Override> here_;
};

void TestDocumentation::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    here_ = std::make_unique<programdir::Override>(dir_->path());
}

void TestDocumentation::cleanup()
{
    here_.reset();
    dir_.reset();
}

void TestDocumentation::storeReport()
{
    TSchedaIntervento r;
    r[TSchedaIntervento::NumRelazione] = QStringLiteral("17");
    ReportArchive().save(r.encode(), {}, journal::What::Inserita);
}

void TestDocumentation::turnEveryOrientation_data()
{
    QTest::addColumn<int>("orientation");
    for (int o = 1; o <= 8; ++o)
        QTest::newRow(qPrintable(QStringLiteral("tag %1").arg(o))) << o;
}

// Turning changes the tag only, and the photo then shows a quarter turn clockwise from before.
void TestDocumentation::turnEveryOrientation()
{
    QFETCH(int, orientation);
    const QImage upright = quarteredPicture({120, 80});
    const QByteArray jpeg = orientedJpeg(upright, orientation);
    QCOMPARE(exif::read(jpeg).orientation, orientation);
    QCOMPARE(quartersOf(decoded(jpeg)), quartersOf(upright));

    const int next = exif::turnedClockwise(orientation);
    const std::optional<QByteArray> turned = exif::withOrientation(jpeg, next);
    QVERIFY(turned);
    QCOMPARE(turned->size(), jpeg.size());
    QCOMPARE(pictureData(*turned), pictureData(jpeg));
    QCOMPARE(exif::read(*turned).orientation, next);
    QCOMPARE(quartersOf(decoded(*turned)), quartersOf(upright.transformed(QTransform().rotate(90))));
    // Four turns come back to where they started.
    int o = orientation;
    for (int i = 0; i < 4; ++i)
        o = exif::turnedClockwise(o);
    QCOMPARE(o, orientation);
}

void TestDocumentation::tagAddedWithoutTouchingThePicture_data()
{
    QTest::addColumn<QByteArray>("jpeg");
    QTest::addColumn<bool>("possible");
    const QByteArray plain = jpegOf(quarteredPicture());
    QTest::newRow("no Exif, JFIF header") << plain << true;
    QTest::newRow("no header at all") << (plain.left(2) + plain.mid(4 + qFromBigEndian<quint16>(plain.constData() + 4)))
                                      << true;
    QTest::newRow("Exif without the tag, little-endian")
        << withSegment(plain, exifBlock(false, 0, "2023:01:02 03:04:05", "2022:06:07 08:09:10")) << true;
    QTest::newRow("Exif without the tag, big-endian")
        << withSegment(plain, exifBlock(true, 0, "2023:01:02 03:04:05", "2022:06:07 08:09:10")) << true;
    QByteArray damaged = withSegment(plain, exifBlock(false, 0, "2023:01:02 03:04:05", "2022:06:07 08:09:10"));
    damaged[4 + 6 + 4 + 4] = char(0x7F); // the first directory far past the block's end
    QTest::newRow("damaged Exif") << damaged << false;
    QTest::newRow("not a JPEG") << QByteArray("GIF89a not a jpeg at all") << false;
    QTest::newRow("cut in its header") << plain.left(10) << false;
}

void TestDocumentation::tagAddedWithoutTouchingThePicture()
{
    QFETCH(QByteArray, jpeg);
    QFETCH(bool, possible);
    const std::optional<QByteArray> turned = exif::withOrientation(jpeg, 6);
    QCOMPARE(bool(turned), possible);
    if (!possible)
        return;
    QCOMPARE(pictureData(*turned), pictureData(jpeg));
    QCOMPARE(exif::read(*turned).orientation, 6);
    QCOMPARE(quartersOf(decoded(*turned)), quartersOf(quarteredPicture().transformed(QTransform().rotate(90))));
    // What the block held before is still read.
    QCOMPARE(exif::read(*turned).taken, exif::read(jpeg).taken);
    // Changed once more, the tag now there is changed in place.
    const std::optional<QByteArray> again = exif::withOrientation(*turned, 3);
    QVERIFY(again);
    QCOMPARE(again->size(), turned->size());
    QCOMPARE(quartersOf(decoded(*again)), quartersOf(quarteredPicture().transformed(QTransform().rotate(180))));
}

void TestDocumentation::datesTaken()
{
    const QByteArray plain = jpegOf(quarteredPicture());
    const exif::Info both =
        exif::read(withSegment(plain, exifBlock(true, 6, "2023:01:02 03:04:05", "2022:06:07 08:09:10")));
    QVERIFY(both.present && !both.damaged);
    QCOMPARE(both.orientation, 6);
    QCOMPARE(both.taken, QDateTime(QDate(2022, 6, 7), QTime(8, 9, 10))); // the original one first
    const exif::Info unset =
        exif::read(withSegment(plain, exifBlock(false, 0, "2023:01:02 03:04:05", "0000:00:00 00:00:00")));
    QCOMPARE(unset.taken, QDateTime(QDate(2023, 1, 2), QTime(3, 4, 5)));
    QVERIFY(!exif::read(plain).present);
    QByteArray damaged = withSegment(plain, exifBlock(false, 0, "2023:01:02 03:04:05", "2022:06:07 08:09:10"));
    damaged[4 + 6 + 4 + 4] = char(0x7F);
    QVERIFY(exif::read(damaged).damaged);
    QVERIFY(!exif::read(damaged).taken.isValid());
}

void TestDocumentation::wholeJpegs_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("whole");
    QImage noisy(400, 300, QImage::Format_RGB32);
    for (int y = 0; y < noisy.height(); ++y)
        for (int x = 0; x < noisy.width(); ++x)
            noisy.setPixel(x, y, qRgb((x * 7 + y * 3) % 256, (x * y) % 256, (x + y * 11) % 256));
    const QByteArray baseline = jpegOf(noisy);
    const QByteArray progressive = jpegOf(noisy, true);
    QTest::newRow("whole") << baseline << true;
    QTest::newRow("whole, padding after its end") << baseline + QByteArray(300, '\0') << true;
    QTest::newRow("whole, a camera's trailer after its end")
        << baseline + QByteArray("TRAILER\xFF\xD8\x01", 11) << true;
    QTest::newRow("progressive, whole") << progressive << true;
    QTest::newRow("cut at 90 %") << baseline.left(baseline.size() * 9 / 10) << false;
    QTest::newRow("cut at half") << baseline.left(baseline.size() / 2) << false;
    QTest::newRow("progressive, cut") << progressive.left(progressive.size() * 3 / 4) << false;
    QTest::newRow("only its header") << baseline.left(600) << false;
}

void TestDocumentation::wholeJpegs()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, whole);
    QCOMPARE(exif::complete(bytes), whole);
}

void TestDocumentation::listRoundTrip()
{
    const QList<Photo> photos = {
        photo("IMG_0001.jpg", "Prima del restauro",
              QString::fromUtf8("Fronte, luce radente \u2014 \u03A3\u03C4\u03BF\u03AC, "
                                "\u0421\u0432\u044F\u0442\u043E\u0439, \U0001F3A8")),
        photo("Retro (2).JPEG", "Dopo il restauro", QStringLiteral("= [Fine] ; not a comment")),
        photo("senza_data.jpg", "Particolare"),
    };
    QList<Photo> expected = photos;
    QList<Photo> withBreak = photos;
    withBreak[2].caption = QStringLiteral("due\r\nrighe");
    withBreak[2].taken = QDate();
    expected[2].caption = QStringLiteral("due  righe");
    expected[2].taken = QDate();
    const List list = decode(encode(withBreak));
    QCOMPARE(list.format, kFormat);
    QVERIFY(!list.damaged);
    QVERIFY(!list.newer());
    QCOMPARE(list.expected, 3);
    QCOMPARE(list.photos, expected);
    QCOMPARE(decode({}).format, 0);
    QVERIFY(decode({}).photos.isEmpty());
}

// The format the README documents, byte for byte.
void TestDocumentation::listAsWritten()
{
    Photo p = photo("Fronte.jpg", "Fronte", QStringLiteral("Prima della pulitura"));
    p.size = 2048;
    p.crc = 0x00ABCDEF;
    const QByteArray bytes = encode({p});
    const QByteArray body =
        "[Documentazione]\r\nFormato=1\r\nFoto=1\r\n\r\n[Foto 1]\r\nFile=Fronte.jpg\r\nFase=Fronte\r\n"
        "Data=2024-03-05\r\nDidascalia=Prima della pulitura\r\nByte=2048\r\nCRC=00ABCDEF\r\n\r\n";
    const QByteArray end =
        "[Fine]\r\nControllo=" + QByteArray::number(crc32(body), 16).rightJustified(8, '0').toUpper() + "\r\n";
    QCOMPARE(bytes, body + end);
}

void TestDocumentation::listDamagedOrNewer_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("photos"); // read
    QTest::addColumn<bool>("damaged");
    QTest::addColumn<bool>("newer");
    const QByteArray good = encode({photo("a.jpg", "Fronte"), photo("b.jpg", "Retro"), photo("c.jpg", "Cornice")});
    QTest::newRow("whole") << good << 3 << false << false;
    QTest::newRow("cut in its last photo's name") << good.left(good.indexOf("[Foto 3]") + 12) << 2 << true << false;
    QTest::newRow("cut after its last photo's name") << good.left(good.indexOf("[Foto 3]") + 25) << 3 << true << false;
    QTest::newRow("cut after a photo") << good.left(good.indexOf("[Foto 3]")) << 2 << true << false;
    QByteArray changed = good;
    changed.replace("Fase=Retro", "Fase=Rotto");
    QTest::newRow("changed without its check") << changed << 3 << true << false;
    QByteArray forged = good;
    forged.replace("File=b.jpg", "File=../../Inventario_Opere.pro");
    QTest::newRow("a name leading out of the folder") << forged << 2 << true << false;
    QByteArray list = good;
    list.replace("File=b.jpg", "File=Elenco.ini");
    QTest::newRow("the list's own name") << list << 2 << true << false;
    QByteArray twice = good;
    twice.replace("File=c.jpg", "File=A.JPG");
    QTest::newRow("a name twice, in another case") << twice << 2 << true << false;
    QByteArray noName = good;
    noName.replace("File=a.jpg\r\n", "");
    QTest::newRow("a photo without a file") << noName << 2 << true << false;
    QByteArray badUtf8 = good;
    badUtf8.replace("Fase=Fronte", "Fase=Fr\xC3\x28nte");
    QTest::newRow("not UTF-8") << badUtf8 << 3 << true << false;
    QTest::newRow("garbage") << QByteArray("\x00\x01\x02 not a list \xFF", 17) << 0 << true << false;
    QTest::newRow("a later format, read as far as known") << QByteArray(
        "[Documentazione]\r\nFormato=2\r\nFoto=1\r\nColore=si\r\n\r\n[Foto 1]\r\nFile=x.jpg\r\nFase=Fronte\r\n"
        "Luce=UV\r\n\r\n[Fine]\r\nControllo=00000000\r\n") << 1
                                                          << true << true;
}

void TestDocumentation::listDamagedOrNewer()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, photos);
    QFETCH(bool, damaged);
    QFETCH(bool, newer);
    const List list = decode(bytes);
    QCOMPARE(list.photos.size(), photos);
    QCOMPARE(list.damaged, damaged);
    QCOMPARE(list.newer(), newer);
    for (const Photo& p : list.photos)
        QVERIFY2(isPhotoName(p.file), qPrintable(p.file));
}

void TestDocumentation::blockAndChanges_data()
{
    QTest::addColumn<QList<Photo>>("newer");
    QTest::addColumn<QList<Photo>>("older");
    QTest::addColumn<QString>("said");
    const QList<Photo> base = {photo("a.jpg", "Fronte", "uno"), photo("b.jpg", "Fronte", "due"),
                               photo("c.jpg", "Retro", "tre")};
    QTest::newRow("nothing") << base << base << QString();
    QList<Photo> added = base;
    added << photo("d.jpg", "Retro") << photo("e.jpg", "Retro") << photo("f.jpg", "Cornice");
    added.removeAt(1);
    added[0].caption = QStringLiteral("uno bis");
    added[1].caption = QStringLiteral("tre bis");
    QTest::newRow("added, removed and captions")
        << added << base << "Documentazione: 3 foto aggiunte, 1 foto rimossa, 2 didascalie";
    QTest::newRow("one added") << (base + QList<Photo>{photo("z.jpg", "Retro")}) << base
                               << "Documentazione: 1 foto aggiunta";
    QTest::newRow("all removed") << QList<Photo>() << base << "Documentazione: 3 foto rimosse";
    QList<Photo> edited = base;
    edited[0].crc ^= 1;
    edited[1].phase = QStringLiteral("Retro");
    edited[2].taken = QDate(2020, 1, 1);
    std::swap(edited[0], edited[2]);
    QTest::newRow("turned, phase, date and order")
        << edited << base << "Documentazione: 1 foto ruotata, 1 fase, 1 data, ordine";
}

void TestDocumentation::blockAndChanges()
{
    QFETCH(QList<Photo>, newer);
    QFETCH(QList<Photo>, older);
    QFETCH(QString, said);
    QCOMPARE(changes(newer, older), said);
    const Block block{encode(newer), {{"a.jpg", "Restauri/Cronologia/Documentazione_1_a_x.jpg"}}};
    const std::optional<Block> back = decodeBlock(encodeBlock(block));
    QVERIFY(back);
    QCOMPARE(*back, block);
    QVERIFY(!decodeBlock(encodeBlock(block).chopped(1)));
    QVERIFY(!decodeBlock(QByteArray("BRVD\x02")));
}

void TestDocumentation::filesAdded_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QString>("stored"); // the name it is stored under
    QTest::addColumn<bool>("unchanged"); // stored byte for byte
    QTest::addColumn<QDate>("taken"); // invalid: the file's date
    QTest::addColumn<QString>("said"); // a part of the message

    const QByteArray tagged =
        withSegment(jpegOf(quarteredPicture()), exifBlock(false, 6, "2023:01:02 03:04:05", "2022:06:07 08:09:10"));
    const int added = int(Imported::Outcome::Added), refused = int(Imported::Outcome::Refused);
    QTest::newRow("a camera's JPEG") << "IMG_0042.JPG" << tagged << added << "IMG_0042.JPG" << true << QDate(2022, 6, 7)
                                     << QString();
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    quarteredPicture().save(&buffer, "PNG");
    QTest::newRow("a PNG, made a JPEG") << "scansione.png" << png << added << "scansione.jpg" << false << QDate()
                                        << QString();
    QTest::newRow("a JPEG named otherwise")
        << "foto.bmp" << tagged << added << "foto.jpg" << true << QDate(2022, 6, 7) << QString();
    QTest::newRow("a device name") << "CON.jpg" << tagged << added << "CON_.jpg" << true << QDate(2022, 6, 7)
                                   << QString();
    QTest::newRow("Greek letters") << QString::fromUtf8("\u03A6\u03C9\u03C4\u03BF.jpg") << tagged << added << "Foto.jpg"
                                   << true << QDate(2022, 6, 7) << QString();
    QByteArray damagedExif = tagged;
    damagedExif[4 + 6 + 4 + 4] = char(0x7F);
    QTest::newRow("damaged Exif: added, the file's date")
        << "rotta.jpg" << damagedExif << added << "rotta.jpg" << true << QDate() << "(Exif) sono danneggiati";
    QTest::newRow("not a picture") << "note.jpg" << QByteArray("Appunti sul restauro\n") << refused << QString()
                                   << false << QDate() << "non \u00E8 un'immagine";
    QTest::newRow("a truncated JPEG") << "tronca.jpg" << tagged.left(tagged.size() - 200) << refused << QString()
                                      << false << QDate() << "incompleta";
    QTest::newRow("an empty file") << "vuota.jpg" << QByteArray() << refused << QString() << false << QDate()
                                   << "non \u00E8 un'immagine";
    // A few hundred bytes whose header claims 45000 x 45000 pixels: refused before decoding.
    QByteArray bomb = jpegOf(quarteredPicture({16, 16}));
    const qsizetype sof = bomb.indexOf("\xFF\xC0");
    bomb[sof + 5] = char(45000 >> 8);
    bomb[sof + 6] = char(45000 & 0xFF);
    bomb[sof + 7] = char(45000 >> 8);
    bomb[sof + 8] = char(45000 & 0xFF);
    QTest::newRow("a header claiming 45000 x 45000 pixels")
        << "bomba.jpg" << bomb << refused << QString() << false << QDate() << "45000 \u00D7 45000 pixel";
}

void TestDocumentation::filesAdded()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(int, outcome);
    QFETCH(QString, stored);
    QFETCH(bool, unchanged);
    QFETCH(QDate, taken);
    QFETCH(QString, said);
#ifdef Q_OS_WIN
    if (filenames::isDeviceName(name))
        QSKIP("Windows makes no file with a device's name.");
#endif
    storeReport();
    const QString source = path(QStringLiteral("scelte/") + name);
    write(source, bytes);
    const Target target = reportTarget();
    const Imported r = importFile(target, source, {});
    QCOMPARE(int(r.outcome), outcome);
    QVERIFY2(r.message.contains(said), qPrintable(r.message));
    QVERIFY(said.isEmpty() || r.message.contains(name));
    // An addition waits in the staging folder until the card is saved; nothing else is left.
    const QStringList inStaging = QDir(cardfiles::stagingFolder(target.filesFolder))
                                      .entryList(QStringList{QStringLiteral("*")}, QDir::Files | QDir::Hidden)
                                      .filter(QRegularExpression(QStringLiteral("^(?!sessione-)")));
    QVERIFY(!QFileInfo::exists(target.folder));
    if (outcome != int(Imported::Outcome::Added)) {
        QVERIFY2(inStaging.isEmpty(), qPrintable(inStaging.join(u',')));
        return;
    }
    QCOMPARE(r.photo.file, stored);
    QCOMPARE(waiting(), QStringList{stored});
    QCOMPARE(inStaging.size(), 1);
    const QByteArray written = read(stagedPath(target, stored));
    QCOMPARE(written == bytes, unchanged);
    QCOMPARE(r.photo.size, written.size());
    QCOMPARE(r.photo.crc, crc32(written));
    QCOMPARE(QImageReader(stagedPath(target, stored)).format(), QByteArray("jpeg"));
    QCOMPARE(r.photo.taken, taken.isValid() ? taken : QFileInfo(source).lastModified().date());
    QVERIFY(!r.thumbnail.isNull());
    QVERIFY(qMax(r.thumbnail.width(), r.thumbnail.height()) <= 240);
    QCOMPARE(quartersOf(r.thumbnail), quartersOf(decoded(written)));
    // The thumbnail is in the cache, and read from it.
    QVERIFY(QFileInfo::exists(QFileInfo(stagedPath(target, stored)).absolutePath() + QStringLiteral("/Miniature/")
                              + QFileInfo(stagedPath(target, stored)).fileName()));
}

void TestDocumentation::sameFileTwice()
{
    storeReport();
    const QByteArray jpeg = orientedJpeg(quarteredPicture(), 1);
    write(path("a.jpg"), jpeg);
    write(path("copia di a.jpg"), jpeg);
    const Target target = reportTarget();
    const Imported first = importFile(target, path("a.jpg"), {});
    QCOMPARE(first.outcome, Imported::Outcome::Added);
    const Imported second = importFile(target, path("copia di a.jpg"), {{first.photo.size, first.photo.crc}});
    QCOMPARE(second.outcome, Imported::Outcome::Duplicate);
    QVERIFY(second.message.contains(QStringLiteral("gi\u00E0 nella documentazione")));
    QCOMPARE(waiting(), QStringList{"a.jpg"});
}

// Names differing only in case are one name: a photo never takes another's.
void TestDocumentation::namesNeverClash()
{
    storeReport();
    const Target target = reportTarget();
    write(target.folder + QStringLiteral("/foto.JPG"), "already here");
    write(path("FOTO.jpg"), orientedJpeg(quarteredPicture(), 1));
    write(path("altra/FOTO.jpg"), orientedJpeg(quarteredPicture({90, 90}), 1));
    QCOMPARE(importFile(target, path("FOTO.jpg"), {}).photo.file, QStringLiteral("FOTO (2).jpg"));
    // A name another addition waits under is taken too, whichever session made it.
    const Target another = reportTarget();
    QCOMPARE(importFile(another, path("altra/FOTO.jpg"), {}).photo.file, QStringLiteral("FOTO (3).jpg"));
    QCOMPARE(read(target.folder + QStringLiteral("/foto.JPG")), QByteArray("already here"));
}

void TestDocumentation::fullDiskDuringAddition()
{
    storeReport();
    QImage noisy(600, 600, QImage::Format_RGB32);
    for (int y = 0; y < noisy.height(); ++y)
        for (int x = 0; x < noisy.width(); ++x)
            noisy.setPixel(x, y, qRgb((x * 13) % 256, (y * 7) % 256, (x * y) % 256));
    const QByteArray big = jpegOf(noisy);
    QVERIFY(big.size() > 40000);
    write(path("grande.jpg"), big);
    const Target target = reportTarget();
    QDir().mkpath(target.folder);
    Imported r;
    {
        const auto full = testplatform::limitFileSize(20000);
        if (!full)
            QSKIP("This system cannot make a disk full on request.");
        r = importFile(target, path("grande.jpg"), {});
    }
    QCOMPARE(r.outcome, Imported::Outcome::Refused);
    QVERIFY(r.message.contains(QStringLiteral("disco non sia pieno")));
    QVERIFY(!r.cause.isEmpty());
    // Nothing half written: no photo, no temporary file.
    QCOMPARE(QDir(target.folder).entryList(QDir::Files | QDir::Hidden), QStringList());
    QCOMPARE(QDir(cardfiles::stagingFolder(target.filesFolder))
                 .entryList(QDir::Files | QDir::Hidden)
                 .filter(QRegularExpression(QStringLiteral("^(?!sessione-)"))),
             QStringList());
}

void TestDocumentation::importerInBackground()
{
    storeReport();
    QStringList chosen;
    for (int i = 0; i < 4; ++i) {
        chosen << path(QStringLiteral("foto%1.jpg").arg(i));
        write(chosen.last(), orientedJpeg(quarteredPicture({100 + i, 80}), 1));
    }
    chosen << path("foto0.jpg") << path("cartella");
    QDir().mkpath(path("cartella"));
    // A FIFO is refused without being opened (opening it would wait for a writer for ever).
    const bool fifo = testplatform::makeFifo(path("coda"));
    if (fifo)
        chosen << path("coda");
    Importer importer;
    QSignalSpy done(&importer, &Importer::finished);
    QList<Imported> results;
    connect(&importer, &Importer::imported, this, [&](const Imported& r) { results << r; });
    const Target target = reportTarget();
    importer.add(target, chosen, {});
    QVERIFY(done.wait(20000));
    QCOMPARE(results.size(), fifo ? 7 : 6);
    QCOMPARE(results[4].outcome, Imported::Outcome::Duplicate); // added in the same batch
    QCOMPARE(results[5].outcome, Imported::Outcome::Refused);
    QVERIFY(results[5].message.contains(QStringLiteral("\u00E8 una cartella")));
    if (fifo) {
        QCOMPARE(results[6].outcome, Imported::Outcome::Refused);
        QVERIFY(results[6].message.contains(QStringLiteral("file speciale")));
    }
    QCOMPARE(waiting().size(), 4);
    QCOMPARE(importer.pending(), 0);
}

void TestDocumentation::savedWithTheCard()
{
    storeReport();
    write(path("a.jpg"), orientedJpeg(quarteredPicture(), 1));
    write(path("b.jpg"), orientedJpeg(quarteredPicture({60, 90}), 6));
    WorkingSet set(Kind::Report);
    set.load(1);
    QVERIFY(set.items().isEmpty() && !set.edited());
    for (const char* name : {"a.jpg", "b.jpg"}) {
        Imported r = importFile(set.target(), path(QString::fromLatin1(name)), set.identities());
        QCOMPARE(r.outcome, Imported::Outcome::Added);
        r.photo.phase = QStringLiteral("Dopo il restauro");
        set.add(r.photo);
    }
    set.setCaption(set.items()[0].id, QStringLiteral("Fronte dopo la pulitura"));
    set.place(set.items()[1].id, QStringLiteral("Prima del restauro"), 0);
    QVERIFY(set.edited());
    QCOMPARE(set.items()[0].photo.file, QStringLiteral("b.jpg")); // its phase comes first
    QVERIFY(!QFileInfo::exists(listPath(Kind::Report, 1)));

    ReportArchive store;
    TSchedaIntervento r = store.record(1);
    store.save(r.encode(), QStringLiteral("1"), journal::What::Modificata, {&set});
    QVERIFY(set.note().isEmpty());
    QVERIFY(!set.edited());
    const List stored = decode(read(listPath(Kind::Report, 1)));
    QVERIFY(!stored.damaged);
    QCOMPARE(stored.photos.size(), 2);
    QCOMPARE(stored.photos[0].phase, QStringLiteral("Prima del restauro"));
    QCOMPARE(stored.photos[1].caption, QStringLiteral("Fronte dopo la pulitura"));
    // The version in the history carries the list as stored.
    const std::vector<journal::Entry> versions = store.history(1);
    QCOMPARE(versions.size(), size_t(2));
    const std::optional<Block> block = docBlock(versions.front().extra);
    QVERIFY(block);
    QCOMPARE(block->list, read(listPath(Kind::Report, 1)));
    QVERIFY(versions.back().extra.isEmpty()); // the first version had none
    // Saved again without a change to the set: the list is left as it is, the version stores
    // nothing of it (the save costs what one without documentation does), and the history
    // gives it the set of the version before.
    store.save(r.encode(), QStringLiteral("1"), journal::What::Modificata, {&set});
    QVERIFY(store.history(1).front().extra.isEmpty());
    QCOMPARE(read(listPath(Kind::Report, 1)), block->list);
    const std::vector<history::Version> shown = history::versions(
        store.history(1), history::kindOf<TSchedaIntervento>({1, 2}), {QString(), QString()}, folder(Kind::Report, 1));
    QCOMPARE(shown.size(), size_t(3));
    QCOMPARE(shown[0].documentation, stored.photos);
    QCOMPARE(shown[0].documentationFiles, (QStringList{folder(Kind::Report, 1) + QStringLiteral("/b.jpg"),
                                                       folder(Kind::Report, 1) + QStringLiteral("/a.jpg")}));
    QVERIFY(!shown[0].changed.join(u' ').contains(QStringLiteral("Documentazione")));
    QCOMPARE(shown[1].changed.filter(QStringLiteral("Documentazione")),
             QStringList{QStringLiteral("Documentazione: 2 foto aggiunte")});
    WorkingSet other(Kind::Report);
    other.load(1);
    QCOMPARE(other.items().size(), 2);
    QVERIFY(other.notes().isEmpty());
}

void TestDocumentation::turnedAndRemovedGoToHistory()
{
    storeReport();
    const QByteArray a = orientedJpeg(quarteredPicture(), 1);
    write(path("a.jpg"), a);
    write(path("b.jpg"), orientedJpeg(quarteredPicture({60, 90}), 1));
    WorkingSet set(Kind::Report);
    set.load(1);
    for (const char* name : {"a.jpg", "b.jpg"}) {
        Imported r = importFile(set.target(), path(QString::fromLatin1(name)), set.identities());
        r.photo.phase = QStringLiteral("Particolare");
        set.add(r.photo);
    }
    ReportArchive store;
    const QByteArray record = store.read(1);
    store.save(record, QStringLiteral("1"), journal::What::Modificata, {&set});

    set.rotate(set.items()[0].id);
    set.remove(set.items()[1].id);
    // Removing a stored photo takes it out at the save, not before.
    QVERIFY(QFileInfo::exists(folder(Kind::Report, 1) + QStringLiteral("/b.jpg")));
    store.save(record, QStringLiteral("1"), journal::What::Modificata, {&set});
    QVERIFY(set.note().isEmpty());
    QVERIFY(!QFileInfo::exists(folder(Kind::Report, 1) + QStringLiteral("/b.jpg")));
    const QByteArray turned = read(folder(Kind::Report, 1) + QStringLiteral("/a.jpg"));
    QCOMPARE(pictureData(turned), pictureData(a)); // the tag changed, not the picture
    QCOMPARE(exif::read(turned).orientation, 6);
    QCOMPARE(set.items()[0].turns, 0);
    QCOMPARE(set.items()[0].photo.crc, crc32(turned));
    // Both old files are kept beside the history, and the version names them.
    const Block block = *docBlock(store.history(1).front().extra);
    QCOMPARE(block.kept.size(), 2);
    for (const Kept& k : block.kept) {
        QVERIFY2(k.file.startsWith(QStringLiteral("Restauri/Cronologia/Documentazione_1_")), qPrintable(k.file));
        QVERIFY(QFileInfo::exists(path(k.file)));
    }
    QCOMPARE(read(path(block.kept[0].file)), a);
    QCOMPARE(changes(decode(block.list).photos, decode(docBlock(store.history(1)[1].extra)->list).photos),
             QStringLiteral("Documentazione: 1 foto rimossa, 1 foto ruotata"));
}

void TestDocumentation::listCannotBeWritten()
{
    storeReport();
    write(path("a.jpg"), orientedJpeg(quarteredPicture(), 1));
    WorkingSet set(Kind::Report);
    set.load(1);
    Imported r = importFile(set.target(), path("a.jpg"), {});
    r.photo.phase = QStringLiteral("Particolare");
    set.add(r.photo);
    ReportArchive store;
    const QByteArray record = store.read(1);
    store.save(record, QStringLiteral("1"), journal::What::Modificata, {&set});
    const QByteArray stored = read(listPath(Kind::Report, 1));
    // The list cannot be replaced (made read-only): the save stores nothing, neither the record
    // nor the documentation, and says so.
    QFile list(listPath(Kind::Report, 1));
    QVERIFY(list.setPermissions(QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    set.setCaption(set.items()[0].id, QStringLiteral("nuova"));
    const qint64 versions = qint64(store.history(1).size());
    TSchedaIntervento changed = TSchedaIntervento::decode(record.constData());
    changed[TSchedaIntervento::Note] = QStringLiteral("cambiata");
    QVERIFY_THROWS_EXCEPTION(IoError,
                             store.save(changed.encode(), QStringLiteral("1"), journal::What::Modificata, {&set}));
    QVERIFY(set.edited()); // the edits stay, to be saved again
    QCOMPARE(store.read(1), record);
    QCOMPARE(qint64(store.history(1).size()), versions);
    QCOMPARE(read(listPath(Kind::Report, 1)), stored);
    QCOMPARE(QDir(folder(Kind::Report, 1)).entryList(QDir::Files | QDir::Hidden), (QStringList{"a.jpg", "Elenco.ini"}));
    QCOMPARE(QDir(cardfiles::stagingFolder(filesFolder(Kind::Report)))
                 .entryList(QDir::Files | QDir::Hidden)
                 .filter(QRegularExpression(QStringLiteral("^(?!sessione-)"))),
             QStringList());
    QVERIFY(list.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    store.save(changed.encode(), QStringLiteral("1"), journal::What::Modificata, {&set});
    QVERIFY(set.note().isEmpty());
    QVERIFY(!set.edited());
    QCOMPARE(decode(read(listPath(Kind::Report, 1))).photos.value(0).caption, QStringLiteral("nuova"));
}

void TestDocumentation::twoWorkstations()
{
    storeReport();
    write(path("a.jpg"), orientedJpeg(quarteredPicture(), 1));
    write(path("b.jpg"), orientedJpeg(quarteredPicture({50, 90}), 1));
    WorkingSet here(Kind::Report), there(Kind::Report);
    here.load(1);
    there.load(1);
    Imported r = importFile(there.target(), path("a.jpg"), {});
    r.photo.phase = QStringLiteral("Particolare");
    there.add(r.photo);
    ReportArchive store;
    const QByteArray record = store.read(1);
    QVERIFY(there.conflict(1).isEmpty());
    store.save(record, QStringLiteral("1"), journal::What::Modificata, {&there});

    // Unedited here: no question, and a save shows what the other stored.
    QVERIFY(here.conflict(1).isEmpty());
    Imported mine = importFile(here.target(), path("b.jpg"), here.identities());
    mine.photo.phase = QStringLiteral("Particolare");
    here.add(mine.photo);
    QVERIFY(here.conflict(1).contains(QStringLiteral("un'altra postazione ha modificato la documentazione")));
    // Saved anyway: the other's photo leaves the folder into the history, never lost.
    store.save(record, QStringLiteral("1"), journal::What::Modificata, {&here});
    QCOMPARE(decode(read(listPath(Kind::Report, 1))).photos.size(), 1);
    const Block block = *docBlock(store.history(1).front().extra);
    QCOMPARE(block.kept.size(), 1);
    QCOMPARE(block.kept[0].name, QStringLiteral("a.jpg"));
    QVERIFY(QFileInfo::exists(path(block.kept[0].file)));
    // The other, saving without edits, now shows what is stored.
    store.save(record, QStringLiteral("1"), journal::What::Modificata, {&there});
    QCOMPARE(there.items().size(), 1);
    QCOMPARE(there.items()[0].photo.file, QStringLiteral("b.jpg"));
}

void TestDocumentation::damagedListKeptBeforeReplaced()
{
    storeReport();
    write(path("a.jpg"), orientedJpeg(quarteredPicture(), 1));
    WorkingSet set(Kind::Report);
    set.load(1);
    Imported r = importFile(set.target(), path("a.jpg"), {});
    r.photo.phase = QStringLiteral("Particolare");
    set.add(r.photo);
    ReportArchive store;
    const QByteArray record = store.read(1);
    store.save(record, QStringLiteral("1"), journal::What::Modificata, {&set});
    QByteArray damaged = read(listPath(Kind::Report, 1));
    damaged.replace("Particolare", "Particulare");
    write(listPath(Kind::Report, 1), damaged);

    set.load(1);
    QCOMPARE(set.items().size(), 1);
    QCOMPARE(set.notes().size(), 1);
    QVERIFY(set.notes()[0].contains(QStringLiteral("danneggiato")));
    QVERIFY(!set.readOnly());
    set.setCaption(set.items()[0].id, QStringLiteral("rivista"));
    store.save(record, QStringLiteral("1"), journal::What::Modificata, {&set});
    const Block block = *docBlock(store.history(1).front().extra);
    const auto kept =
        std::find_if(block.kept.begin(), block.kept.end(), [](const Kept& k) { return k.name == kListName; });
    QVERIFY(kept != block.kept.end());
    QCOMPARE(read(path(kept->file)), damaged);
    QVERIFY(!decode(read(listPath(Kind::Report, 1))).damaged);
}

void TestDocumentation::newerListNeverWritten()
{
    storeReport();
    const QByteArray later = "[Documentazione]\r\nFormato=7\r\nFoto=0\r\n\r\n[Fine]\r\nControllo=0\r\n";
    write(listPath(Kind::Report, 1), later);
    WorkingSet set(Kind::Report);
    set.load(1);
    QVERIFY(set.readOnly());
    QVERIFY(set.notes().value(0).contains(QStringLiteral("versione pi\u00F9 recente")));
    // Edits that reach a save anyway are not stored over it.
    write(path("a.jpg"), orientedJpeg(quarteredPicture(), 1));
    Imported r = importFile(set.target(), path("a.jpg"), {});
    set.add(r.photo);
    ReportArchive store;
    store.save(store.read(1), QStringLiteral("1"), journal::What::Modificata, {&set});
    QVERIFY(set.note().contains(QStringLiteral("versione pi\u00F9 recente")));
    QCOMPARE(read(listPath(Kind::Report, 1)), later);
    // Nor put in the history: the version saved carries nothing of the set.
    const auto versions = store.history(1);
    QVERIFY(!versions.empty());
    QVERIFY(!docBlock(versions.front().extra));
}

void TestDocumentation::photosDeletedByHand()
{
    storeReport();
    write(path("a.jpg"), orientedJpeg(quarteredPicture(), 1));
    WorkingSet set(Kind::Report);
    set.load(1);
    Imported r = importFile(set.target(), path("a.jpg"), {});
    r.photo.phase = QStringLiteral("Particolare");
    set.add(r.photo);
    ReportArchive store;
    store.save(store.read(1), QStringLiteral("1"), journal::What::Modificata, {&set});
    QVERIFY(QFile::remove(folder(Kind::Report, 1) + QStringLiteral("/a.jpg")));
    set.load(1);
    QCOMPARE(set.items().size(), 1);
    QVERIFY(set.items()[0].missing);
    QVERIFY(set.notes().value(0).contains(QStringLiteral("1 foto della documentazione non si trova pi\u00F9")));
    // The whole folder gone: the card shows no photo, and says what its last version listed.
    QVERIFY(QDir(folder(Kind::Report, 1)).removeRecursively());
    set.load(1);
    QVERIFY(set.items().isEmpty());
    QCOMPARE(set.notes().size(), 1);
    QVERIFY2(set.notes()[0].contains(QStringLiteral("non c'\u00E8 pi\u00F9")) && set.notes()[0].contains("una foto"),
             qPrintable(set.notes()[0]));
    // A card that never had documentation has no folder, and nothing to say.
    WorkingSet none(Kind::Report);
    none.load(2);
    QVERIFY(none.notes().isEmpty());
}

void TestDocumentation::unsavedAdditionsDiscarded()
{
    storeReport();
    write(path("a.jpg"), orientedJpeg(quarteredPicture(), 1));
    {
        WorkingSet set(Kind::Report);
        set.load(1);
        set.add(importFile(set.target(), path("a.jpg"), {}).photo);
        const QString staged = set.pathOf(set.items()[0]);
        QVERIFY(QFileInfo::exists(staged));
        QVERIFY(!QFileInfo::exists(folder(Kind::Report, 1) + QStringLiteral("/a.jpg"))); // not in place before a save
        set.load(1); // another card shown, or this one again: the addition was never saved
        QVERIFY(!QFileInfo::exists(staged));
        set.add(importFile(set.target(), path("a.jpg"), {}).photo);
        const QString again = set.pathOf(set.items()[0]);
        set.remove(set.items()[0].id); // removed before it was ever saved: gone at once
        QVERIFY(!QFileInfo::exists(again));
        set.add(importFile(set.target(), path("a.jpg"), {}).photo);
    }
    QVERIFY(waiting().isEmpty());
    QVERIFY(!QFileInfo::exists(folder(Kind::Report, 1) + QStringLiteral("/a.jpg")));
}

void TestDocumentation::restoreVersion()
{
    storeReport();
    const QByteArray a = orientedJpeg(quarteredPicture(), 1);
    write(path("a.jpg"), a);
    WorkingSet set(Kind::Report);
    set.load(1);
    Imported r = importFile(set.target(), path("a.jpg"), {});
    r.photo.phase = QStringLiteral("Particolare");
    r.photo.caption = QStringLiteral("prima");
    set.add(r.photo);
    ReportArchive store;
    const QByteArray record = store.read(1);
    store.save(record, QStringLiteral("1"), journal::What::Modificata, {&set});
    const QList<Photo> first = decode(read(listPath(Kind::Report, 1))).photos;
    set.rotate(set.items()[0].id);
    store.save(record, QStringLiteral("1"), journal::What::Modificata, {&set});
    const Block block = *docBlock(store.history(1).front().extra);

    // Back to the first version: its file is the kept one, copied in under a name of its own.
    const QStringList said = set.restore(first, {path(block.kept[0].file)});
    QVERIFY(said.isEmpty());
    QVERIFY(set.edited());
    QCOMPARE(set.items().size(), 1);
    QCOMPARE(set.items()[0].photo.caption, QStringLiteral("prima"));
    QCOMPARE(set.items()[0].photo.file, QStringLiteral("a (2).jpg"));
    store.save(record, QStringLiteral("1"), journal::What::Ripristinata, {&set});
    QCOMPARE(read(folder(Kind::Report, 1) + QStringLiteral("/a (2).jpg")), a);
    QVERIFY(!QFileInfo::exists(folder(Kind::Report, 1) + QStringLiteral("/a.jpg"))); // the turned one, kept
    // A version whose file is gone keeps its photo listed, as missing.
    const QStringList lost = set.restore(first, {QString()});
    QCOMPARE(lost.size(), 1);
    QVERIFY(set.items()[0].missing);
}

void TestDocumentation::photoPages_data()
{
    QTest::addColumn<bool>("report"); // else the artwork sheet
    QTest::addColumn<int>("perPage");
    QTest::addColumn<int>("pages"); // the documentation's
    for (bool report : {true, false})
        for (const auto& [n, pages] : {std::pair{1, 7}, {2, 4}, {4, 2}, {6, 2}})
            QTest::newRow(qPrintable(QStringLiteral("%1, %2 a page").arg(report ? "report" : "sheet").arg(n)))
                << report << n << pages;
}

// Every photo inside its cell, upright, numbered; a caption too long for its cell printed
// smaller and whole; every page numbered in the whole document.
void TestDocumentation::photoPages()
{
    QFETCH(bool, report);
    QFETCH(int, perPage);
    QFETCH(int, pages);
    QList<photopages::Photo> photos;
    for (int i = 0; i < 7; ++i) {
        const QString path = dir_->filePath(QStringLiteral("p%1.jpg").arg(i));
        // Stored on its side as a camera held upright stores it, or turned by a turn not yet stored.
        write(path, orientedJpeg(quarteredPicture({300, 200}), i == 1 ? 6 : 1));
        photopages::Photo p;
        p.path = i == 5 ? QString() : path; // a photo whose file is missing
        p.turns = i == 2 ? 1 : 0;
        p.number = i + 1;
        p.phase = QStringLiteral("Durante il restauro");
        p.date = QStringLiteral("05/03/2024");
        p.caption = i == 3 ? QStringLiteral("Saggio di pulitura sulla vernice ossidata ").repeated(6).left(250)
                           : QStringLiteral("Didascalia %1").arg(i + 1);
        photos << p;
    }
    report::Template t = report ? templates::reportDocument() : templates::artworkSheet();
    if (report)
        templates::setReportReference(t, QStringLiteral("17"), QStringLiteral("05/03/2024"));
    const int own = report::pageCount(t);
    photopages::add(t, photos, perPage);
    const std::vector<report::LaidPage> laid = report::layout(t);
    QCOMPARE(int(laid.size()), own + pages);
    const report::PhotoPage& style = *t.photoPage;
    for (int p = own; p < int(laid.size()); ++p) {
        QStringList texts;
        for (const report::LaidItem& i : laid[p].items) {
            texts << i.item->text;
            if (i.item->name.startsWith(QStringLiteral("didascalia"))) {
                // Whole, and fitting its box at the size it is printed at.
                QVERIFY(report::fit::fits(*i.item, i.item->text, i.item->points));
                QVERIFY(i.item->points >= photopages::kSmallestCaption);
            }
            if (i.item->kind == report::Item::Picture || i.item->name.startsWith(QStringLiteral("cella"))) {
                const QRectF box = i.item->box;
                QVERIFY(box.left() >= style.left - 0.01 && box.right() <= style.left + style.width + 0.01);
                QVERIFY(box.top() >= style.top - 0.01 && box.bottom() <= style.bottom + 0.01);
            }
        }
        QVERIFY(texts.contains(QStringLiteral("DOCUMENTAZIONE FOTOGRAFICA")));
        QVERIFY(texts.contains(QStringLiteral("Pagina %1 di %2").arg(p + 1).arg(laid.size())));
    }
    QStringList all;
    for (const report::LaidPage& page : laid)
        for (const report::LaidItem& i : page.items)
            all << i.item->text;
    QVERIFY(all.contains(photos[3].caption));
    QVERIFY(all.contains(QStringLiteral("Foto non disponibile")));
    QVERIFY(all.contains(QStringLiteral("Foto n. 7 \u2013 Durante il restauro \u2013 05/03/2024")));
    if (report)
        QVERIFY(all.contains(QStringLiteral("Relazione tecnica di restauro n. 17 del 05/03/2024")));
    // Upright where they are printed: each photo's box shows the picture's four quarters.
    for (int n : {1, 2, 3}) {
        for (int p = own; p < int(laid.size()); ++p)
            for (const report::LaidItem& i : laid[p].items)
                if (i.item->name == QStringLiteral("foto%1").arg(n)) {
                    const QImage page = report::renderPage(t, p, 72);
                    const QRectF box = i.item->box.translated(i.origin);
                    const qreal px = 72 / 25.4;
                    const QImage shown =
                        page.copy(QRectF(box.x() * px, box.y() * px, box.width() * px, box.height() * px).toRect());
                    const QString expected = quartersOf(n == 3 ? quarteredPicture().transformed(QTransform().rotate(90))
                                                               : quarteredPicture());
                    // The picture fills the box's width or height: its quarters are those of the box's
                    // middle part.
                    const QSizeF fitted = QSizeF(i.item->sourceSize).scaled(box.size(), Qt::KeepAspectRatio) * px;
                    QRectF inner(QPointF(0, 0), fitted);
                    inner.moveCenter(QRectF(shown.rect()).center());
                    QCOMPARE(quartersOf(shown.copy(inner.toRect())), expected);
                }
    }
}

// Photos go into a PDF at no more than 300 dots per inch at the size they are printed.
void TestDocumentation::photosPrintedAtTheirSize()
{
    REQUIRE_POPPLER();
    QImage big(3000, 2000, QImage::Format_RGB32);
    big.fill(QColor(0x80, 0x40, 0x20));
    const QString path = dir_->filePath(QStringLiteral("grande.jpg"));
    write(path, jpegOf(big));
    report::Template t = templates::reportDocument();
    photopages::add(t, {{path, 0, 1, QStringLiteral("Fase"), {}, QStringLiteral("Didascalia")}}, 1);
    const QString pdf = dir_->filePath(QStringLiteral("foto.pdf"));
    {
        QPdfWriter writer(pdf);
        writer.setResolution(1200);
        QCOMPARE(report::render(t, writer), 3);
    }
    const QList<QImage> images = PdfText::images(pdf);
    QCOMPARE(images.size(), 1);
    // Printed 180 mm wide at most: 2126 pixels at 300 dpi.
    QVERIFY2(images[0].width() <= 2127 && images[0].width() > 1500, qPrintable(QString::number(images[0].width())));
}

// A 100-megapixel photo is added as it is, and read only at the sizes it is shown and printed at.
void TestDocumentation::hundredMegapixels()
{
    storeReport();
    {
        QImage huge(12000, 8400, QImage::Format_Grayscale8);
        huge.fill(128);
        for (int y = 0; y < 4200; ++y)
            memset(huge.scanLine(y), 30, 6000);
        QVERIFY(huge.save(path("enorme.jpg"), "JPEG", 80));
    }
    const Target target = reportTarget();
    const Imported r = importFile(target, path("enorme.jpg"), {});
    QCOMPARE(r.outcome, Imported::Outcome::Added);
    QCOMPARE(read(stagedPath(target, QStringLiteral("enorme.jpg"))), read(path("enorme.jpg")));
    QVERIFY(r.thumbnail.width() <= 240 && r.thumbnail.height() <= 240);
    const std::optional<QImage> printed =
        photofiles::decodeFitting(stagedPath(target, QStringLiteral("enorme.jpg")), QSize(1000, 1000));
    QVERIFY(printed);
    QCOMPARE(printed->size(), QSize(1000, 700));
}

// A photo with a turn waiting, deleted behind the program's back: the save stores the card and
// the rest of the set, names the photo, and keeps it listed as missing.
void TestDocumentation::turnedPhotoDeletedByHand()
{
    storeReport();
    write(path("scelte/a.jpg"), orientedJpeg(quarteredPicture(), 1));
    write(path("scelte/b.jpg"), orientedJpeg(quarteredPicture({90, 60}), 1));
    WorkingSet set(Kind::Report);
    set.load(1);
    for (const char* name : {"a.jpg", "b.jpg"}) {
        Imported r = importFile(set.target(), path(QStringLiteral("scelte/") + QLatin1String(name)), set.identities());
        r.photo.phase = QStringLiteral("Particolare");
        set.add(r.photo);
    }
    ReportArchive store;
    TSchedaIntervento record = store.record(1);
    store.save(record.encode(), QStringLiteral("1"), journal::What::Modificata, {&set});
    set.rotate(set.items()[0].id);
    set.setCaption(set.items()[1].id, QStringLiteral("dopo"));
    QVERIFY(QFile::remove(folder(Kind::Report, 1) + QStringLiteral("/a.jpg")));
    QVERIFY(set.conflict(1).isEmpty()); // nobody else changed the list: no question
    record[TSchedaIntervento::Note] = QStringLiteral("salvata");
    store.save(record.encode(), QStringLiteral("1"), journal::What::Modificata, {&set});
    QCOMPARE(store.record(1)[TSchedaIntervento::Note], QStringLiteral("salvata"));
    QVERIFY2(set.note().contains(QStringLiteral("la foto a.jpg non si trova pi\u00F9")), qPrintable(set.note()));
    const List stored = decode(read(listPath(Kind::Report, 1)));
    QCOMPARE(stored.photos.size(), 2);
    QCOMPARE(stored.photos[1].caption, QStringLiteral("dopo"));
    QVERIFY(set.items()[0].missing);
    QVERIFY(!set.edited());
}

// A damaged list that lost a photo's size, CRC and the end of its phase: the next save takes
// the photo's identity from its file and the phase it begins.
void TestDocumentation::damagedListTakesIdentityFromFiles()
{
    storeReport();
    write(path("scelte/a.jpg"), orientedJpeg(quarteredPicture(), 1));
    WorkingSet set(Kind::Report);
    set.load(1);
    Imported r = importFile(set.target(), path("scelte/a.jpg"), {});
    r.photo.phase = QStringLiteral("Prima del restauro");
    set.add(r.photo);
    ReportArchive store;
    const QByteArray record = store.read(1);
    store.save(record, QStringLiteral("1"), journal::What::Modificata, {&set});
    const QByteArray whole = read(listPath(Kind::Report, 1));
    write(listPath(Kind::Report, 1), whole.left(whole.indexOf("Fase=") + 15)); // "Fase=Prima del r"
    set.load(1);
    QCOMPARE(set.items().size(), 1);
    QCOMPARE(set.items()[0].photo.phase, QStringLiteral("Prima del restauro"));
    set.setCaption(set.items()[0].id, QStringLiteral("ripresa"));
    store.save(record, QStringLiteral("1"), journal::What::Modificata, {&set});
    const List stored = decode(read(listPath(Kind::Report, 1)));
    QVERIFY(!stored.damaged);
    const QByteArray photo = read(folder(Kind::Report, 1) + QStringLiteral("/a.jpg"));
    QCOMPARE(stored.photos[0].size, photo.size());
    QCOMPARE(stored.photos[0].crc, crc32(photo));
    QCOMPARE(stored.photos[0].phase, QStringLiteral("Prima del restauro"));
}

// What interrupted runs left in the staging folder goes at the next access under the lock: the
// files of a save that was never committed, and the additions of a session that ended; the
// additions of a session still open (another workstation editing the card) stay.
void TestDocumentation::leftoversRemovedUnderTheLock()
{
    storeReport();
    write(path("scelte/a.jpg"), orientedJpeg(quarteredPicture(), 1));
    write(path("scelte/b.jpg"), orientedJpeg(quarteredPicture({90, 60}), 1));
    const QString staging = cardfiles::stagingFolder(filesFolder(Kind::Report));
    WorkingSet open(Kind::Report);
    open.load(1);
    open.add(importFile(open.target(), path("scelte/a.jpg"), {}).photo);
    const QString stillOpen = open.pathOf(open.items()[0]);
    // A session that ended without clearing up: its lock file and an addition, both left.
    write(staging + QStringLiteral("/sessione-abcd1234"), {});
    write(staging + QStringLiteral("/1-abcd1234-b.jpg"), read(path("scelte/b.jpg")));
    // A save stopped before its commit: its new list.
    write(staging + QStringLiteral("/.1-Elenco.ini.salvataggio-x1y2z3"), "a list never committed");
    QVERIFY(cardfiles::unsettled(filesFolder(Kind::Report), 1));
    WorkingSet other(Kind::Report);
    other.load(1);
    QCOMPARE(QDir(staging).entryList(QDir::Files | QDir::Hidden).filter(QRegularExpression("^(?!sessione-)")),
             QStringList{QFileInfo(stillOpen).fileName()});
    QVERIFY(!QFileInfo::exists(staging + QStringLiteral("/sessione-abcd1234")));
    QVERIFY(!cardfiles::unsettled(filesFolder(Kind::Report), 1));
    QVERIFY(QFileInfo::exists(stillOpen));
}

// A list lost or emptied by hand, with photos in the folder: said, and the photos can be listed.
void TestDocumentation::unlistedPhotosFound()
{
    storeReport();
    write(path("scelte/a.jpg"), orientedJpeg(quarteredPicture(), 1));
    write(path("scelte/b.jpg"), orientedJpeg(quarteredPicture({90, 60}), 1));
    WorkingSet set(Kind::Report);
    set.load(1);
    for (const char* name : {"a.jpg", "b.jpg"})
        set.add(
            importFile(set.target(), path(QStringLiteral("scelte/") + QLatin1String(name)), set.identities()).photo);
    ReportArchive store;
    store.save(store.read(1), QStringLiteral("1"), journal::What::Modificata, {&set});
    write(listPath(Kind::Report, 1), {});
    set.load(1);
    QVERIFY(set.items().isEmpty());
    QCOMPARE(set.notes().size(), 1);
    QVERIFY2(set.notes()[0].contains(QStringLiteral("ci sono 2 foto")), qPrintable(set.notes()[0]));
    QCOMPARE(set.unlisted(), (QStringList{"a.jpg", "b.jpg"}));
    QCOMPARE(set.adoptUnlisted(), 2);
    QVERIFY(set.edited());
    store.save(store.read(1), QStringLiteral("1"), journal::What::Modificata, {&set});
    const List stored = decode(read(listPath(Kind::Report, 1)));
    QCOMPARE(stored.photos.size(), 2);
    QCOMPARE(stored.photos[0].crc, crc32(read(folder(Kind::Report, 1) + QStringLiteral("/a.jpg"))));
    QVERIFY(set.unlisted().isEmpty());
}

// A FIFO where a thumbnail is cached is never opened (opening it would wait for ever).
void TestDocumentation::thumbnailCacheReadsOnlyFiles()
{
    const QString photo = path("cartella/a.jpg");
    write(photo, orientedJpeg(quarteredPicture(), 1));
    QDir().mkpath(path("cartella/Miniature"));
    if (!testplatform::makeFifo(path("cartella/Miniature/a.jpg")))
        QSKIP("This system makes no FIFO.");
    const QImage thumbnail = thumbnails::load(photo);
    QVERIFY(!thumbnail.isNull());
    QCOMPARE(quartersOf(thumbnail), quartersOf(quarteredPicture()));
}

QTEST_MAIN(TestDocumentation)
#include "tst_documentation.moc"
