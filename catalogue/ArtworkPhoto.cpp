#include "catalogue/ArtworkPhoto.h"

#include "common/PhotoFiles.h"
#include "common/ProgramDir.h"
#include "common/Text.h"

#include <QDir>
#include <QImageReader>

namespace artworkphoto {

QString folder()
{
    return programdir::file(QStringLiteral("Inventario"));
}

QString path(const QString& position)
{
    return folder() + QStringLiteral("/Opera_") + text::trim(position) + QStringLiteral(".jpg");
}

std::optional<QImage> load(const QString& position)
{
    QDir().mkpath(folder());
    QImageReader reader(path(position), "jpeg");
    QImage image = reader.read();
    if (image.isNull())
        return std::nullopt;
    return image;
}

bool save(const QImage& image, const QString& position)
{
    return QDir().mkpath(folder()) && photofiles::writeJpeg(image, path(position));
}

} // namespace artworkphoto
