#include "storage/PhotoFiles.h"

#include "storage/FileNames.h"
#include "storage/IoError.h"
#include "storage/Platform.h"
#include "storage/ProgramDir.h"
#include "storage/SafeFile.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

namespace photofiles {

namespace {
// The longest name of a kept photo: the history journal stores it with its folder.
constexpr int kMaxKeptName = 200;

// Decodes scaled to kMaxSide, so that a photo of any size fits in a bounded memory, and
// turned the way the camera recorded it was held (the file's orientation tag); the scaled
// size is symmetric, so it holds before and after the turn.
std::optional<QImage> decodeScaled(QImageReader& reader)
{
    QImageReader::setAllocationLimit(1024);
    reader.setAutoTransform(true);
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > kMaxSide || size.height() > kMaxSide))
        reader.setScaledSize(size.scaled(kMaxSide, kMaxSide, Qt::KeepAspectRatio));
    QImage image = reader.read();
    if (image.isNull())
        return std::nullopt;
    return image;
}
} // namespace

namespace {
// Decodes at most at the size that fits box: the reader scales while decoding (a JPEG by its
// own 1/2, 1/4, 1/8 steps), in the picture's stored orientation, which the turn then follows.
std::optional<QImage> decodeFittingWith(QImageReader& reader, QSize box)
{
    reader.setAutoTransform(true);
    const QSize stored = reader.size();
    if (stored.isValid() && box.isValid() && !box.isEmpty()) {
        const bool turned = reader.transformation() & QImageIOHandler::TransformationRotate90;
        const QSize upright = turned ? stored.transposed() : stored;
        if (upright.width() > box.width() || upright.height() > box.height()) {
            const QSize wanted = upright.scaled(box, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
            reader.setScaledSize(turned ? wanted.transposed() : wanted);
        }
    } else if (!stored.isValid()) {
        return std::nullopt;
    }
    QImage image = reader.read();
    if (image.isNull())
        return std::nullopt;
    return image;
}
} // namespace

std::optional<QImage> decodeFitting(const QString& path, QSize box)
{
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    QImageReader reader(path);
    return decodeFittingWith(reader, box);
}

std::optional<QImage> decodeFitting(QIODevice* device, QSize box)
{
    QImageReader reader(device);
    return decodeFittingWith(reader, box);
}

QSize uprightSize(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return {};
    QImageReader reader(path);
    const QSize stored = reader.size();
    return reader.transformation() & QImageIOHandler::TransformationRotate90 ? stored.transposed() : stored;
}

std::optional<QImage> decode(const QString& path, const QByteArray& format)
{
    // A FIFO or a device would block the program: only regular files are pictures.
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    QImageReader reader(path, format);
    return decodeScaled(reader);
}

std::optional<Picture> readChosen(const QString& path)
{
    QFile f(path);
    if (!QFileInfo(path).isFile() || !f.open(QIODevice::ReadOnly))
        return std::nullopt;
    Picture chosen;
    chosen.jpeg = f.readAll();
    const bool bmp = QFileInfo(path).suffix().toLower() == QStringLiteral("bmp");
    QBuffer buffer(&chosen.jpeg);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, bmp ? QByteArray("bmp") : QByteArray("jpeg"));
    const std::optional<QImage> image = decodeScaled(reader);
    if (!image)
        return std::nullopt;
    chosen.image = *image;
    // Only a JPEG is stored as it is; anything else is encoded anew.
    if (bmp || !chosen.jpeg.startsWith("\xFF\xD8\xFF"))
        chosen.jpeg.clear();
    return chosen;
}

bool store(const QImage& image, const QByteArray& fileBytes, const QString& path)
{
    if (fileBytes.isEmpty())
        return writeJpeg(image, path);
    try {
        writeFileSafely(path, fileBytes);
        return true;
    } catch (const IoError&) {
        return false;
    }
}

bool writeJpeg(const QImage& image, const QString& path)
{
    if (image.isNull())
        return false;
    try {
        SafeFile f(path);
        if (!image.save(&f.device(), "JPEG", 90))
            return false;
        f.commit();
        return true;
    } catch (const IoError&) {
        return false;
    }
}

QString withJpegSuffix(const QString& path)
{
    return QFileInfo(path).suffix().isEmpty() ? path + QStringLiteral(".jpg") : path;
}

QString keep(const QString& path, const QDateTime& when, const QString& into, const QString& prefix)
{
    const QFileInfo photo(path);
    if (!photo.isFile())
        return QString();
    const QString folder = into.isEmpty() ? photo.absolutePath() + QStringLiteral("/Cronologia") : into;
    if (!QDir().mkpath(folder))
        throw IoError(QStringLiteral("cannot make the folder %1").arg(folder));
    // Named by the one rule for names the program makes, and never over a photo kept before.
    const QString wanted = filenames::portable(prefix + photo.completeBaseName() + QLatin1Char('_')
                                                   + when.toUTC().toString(QStringLiteral("yyyyMMdd-HHmmsszzz"))
                                                   + QLatin1Char('.') + photo.suffix(),
                                               kMaxKeptName, QStringLiteral("Foto"))
                               .name;
    const QString name = filenames::freeName(folder, wanted, kMaxKeptName);
    const QString kept = folder + QLatin1Char('/') + name;
    if (!platform::hardLink(path, kept)) {
        QFile in(path);
        if (!in.open(QIODevice::ReadOnly))
            throw IoError(QStringLiteral("cannot read %1").arg(path));
        writeFileSafely(kept, in.readAll());
    }
    return QDir(programdir::path()).relativeFilePath(kept);
}

} // namespace photofiles
