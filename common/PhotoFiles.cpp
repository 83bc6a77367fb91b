#include "common/PhotoFiles.h"

#include "common/IoError.h"
#include "common/SafeFile.h"

#include <QFileInfo>
#include <QImageReader>

namespace photofiles {

Ui::FileDialog openDialog()
{
    Ui::FileDialog d;
    d.title = QStringLiteral("Selezionare un file di immagine in formato Jpeg o Bitmap.");
    d.filters = QStringList{QStringLiteral("Immagine JPEG (*.jpg; *.jpeg)"), QStringLiteral("Immagine Bitmap (*.bmp)")};
    return d;
}

Ui::FileDialog saveDialog()
{
    Ui::FileDialog d;
    d.title = QStringLiteral("Selezionare la cartella in cui si desidera salvare il file Jpeg.");
    d.filters = QStringList{QStringLiteral("File Jpeg (*.jpg)")};
    d.defaultSuffix = QStringLiteral("jpg");
    d.initialName = QStringLiteral("Foto.jpg");
    return d;
}

std::optional<QImage> read(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    const QByteArray format = suffix == QStringLiteral("bmp") ? QByteArray("bmp") : QByteArray("jpeg");
    QImageReader reader(path, format);
    QImage image = reader.read();
    if (image.isNull())
        return std::nullopt;
    return image;
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

} // namespace photofiles
