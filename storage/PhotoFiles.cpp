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
#include <QLocale>

namespace photofiles {

namespace {
// The longest name of a kept photo: the history journal stores it with its folder.
constexpr int kMaxKeptName = 200;

// A picture file opened for reading: only a regular file (a FIFO or a device would keep the
// program waiting), opened without waiting for one.
class PictureFile {
public:
    explicit PictureFile(const QString& path)
    {
        try {
            const int fd = platform::openRegularFile(platform::encodeName(path));
            if (!file_.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
                platform::closeFile(fd);
        } catch (const IoError&) {
            // not a picture that can be read
        }
    }
    QFile* device() { return file_.isOpen() ? &file_ : nullptr; }

private:
    QFile file_;
};

// The reader's picture refused for its declared size (before anything is decoded).
bool refused(QImageReader& reader)
{
    return implausible(reader.size(), reader.device() ? reader.device()->size() : 0);
}

// Decodes scaled to kMaxSide, so that a photo of any size fits in a bounded memory, and
// turned the way the camera recorded it was held (the file's orientation tag); the scaled
// size is symmetric, so it holds before and after the turn.
std::optional<QImage> decodeScaled(QImageReader& reader)
{
    QImageReader::setAllocationLimit(1024);
    reader.setAutoTransform(true);
    if (refused(reader))
        return std::nullopt;
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
    if (refused(reader))
        return std::nullopt;
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
    PictureFile file(path);
    if (!file.device())
        return std::nullopt;
    QImageReader reader(file.device());
    return decodeFittingWith(reader, box);
}

std::optional<QImage> decodeFitting(QIODevice* device, QSize box)
{
    QImageReader reader(device);
    return decodeFittingWith(reader, box);
}

QSize uprightSize(const QString& path)
{
    PictureFile file(path);
    if (!file.device())
        return {};
    QImageReader reader(file.device());
    const QSize stored = reader.size();
    return reader.transformation() & QImageIOHandler::TransformationRotate90 ? stored.transposed() : stored;
}

std::optional<QImage> decode(const QString& path, const QByteArray& format)
{
    PictureFile file(path);
    if (!file.device())
        return std::nullopt;
    QImageReader reader(file.device(), format);
    return decodeScaled(reader);
}

bool implausible(QSize declared, qint64 fileBytes)
{
    if (!declared.isValid())
        return false;
    const qint64 pixels = qint64(declared.width()) * declared.height();
    return pixels > kMaxPixels || pixels > kMaxPixelsPerByte * std::max<qint64>(fileBytes, 1);
}

namespace {
QString oversizeOf(const QString& name, QIODevice* device)
{
    QImageReader reader(device);
    const QSize size = reader.size();
    if (!implausible(size, device->size()))
        return {};
    const QLocale italian(QLocale::Italian, QLocale::Italy);
    return QStringLiteral("L'immagine \u00AB%1\u00BB dichiara una dimensione di %2 \u00D7 %3 pixel, pi\u00F9 di "
                          "quanto il programma possa leggere da un file di %4: il file \u00E8 danneggiato o non "
                          "\u00E8 una vera foto, e non viene usato.")
        .arg(name)
        .arg(size.width())
        .arg(size.height())
        .arg(italian.formattedDataSize(device->size(), 1, QLocale::DataSizeTraditionalFormat));
}
} // namespace

QString oversize(const QString& path)
{
    PictureFile file(path);
    return file.device() ? oversizeOf(QFileInfo(path).fileName(), file.device()) : QString();
}

QString oversize(const QString& name, const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return oversizeOf(name, &buffer);
}

std::optional<Picture> readChosen(const QString& path)
{
    PictureFile file(path);
    if (!file.device())
        return std::nullopt;
    Picture chosen;
    chosen.jpeg = file.device()->readAll();
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

QString keptPath(const QString& path, const QDateTime& when, const QString& into, const QString& prefix,
                 QSet<QString>* chosen)
{
    const QFileInfo photo(path);
    const QString folder = into.isEmpty() ? photo.absolutePath() + QStringLiteral("/Cronologia") : into;
    // Named by the one rule for names the program makes, and never over a photo kept before.
    const QString wanted = filenames::portable(prefix + photo.completeBaseName() + QLatin1Char('_')
                                                   + when.toUTC().toString(QStringLiteral("yyyyMMdd-HHmmsszzz"))
                                                   + QLatin1Char('.') + photo.suffix(),
                                               kMaxKeptName, QStringLiteral("Foto"))
                               .name;
    const QString name = filenames::freeName(folder, wanted, kMaxKeptName, chosen ? *chosen : QSet<QString>());
    if (chosen)
        chosen->insert(name.toCaseFolded());
    return folder + QLatin1Char('/') + name;
}

QString keep(const QString& path, const QDateTime& when, const QString& into, const QString& prefix)
{
    if (!QFileInfo(path).isFile())
        return QString();
    const QString kept = keptPath(path, when, into, prefix, nullptr);
    if (!QDir().mkpath(QFileInfo(kept).absolutePath()))
        throw IoError(QStringLiteral("cannot make the folder %1").arg(QFileInfo(kept).absolutePath()));
    if (!platform::hardLink(path, kept)) {
        QFile in(path);
        if (!in.open(QIODevice::ReadOnly))
            throw IoError(QStringLiteral("cannot read %1").arg(path));
        writeFileSafely(kept, in.readAll());
    }
    return QDir(programdir::path()).relativeFilePath(kept);
}

} // namespace photofiles
