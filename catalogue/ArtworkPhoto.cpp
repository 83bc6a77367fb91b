#include "catalogue/ArtworkPhoto.h"

#include "common/ProgramDir.h"
#include "common/Text.h"

#include <QDir>
#include <QImageReader>
#include <QSaveFile>

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
    if (!QDir().mkpath(folder()) || image.isNull())
        return false;
    QSaveFile f(path(position));
    if (!f.open(QIODevice::WriteOnly))
        return false;
    return image.save(&f, "JPEG", 90) && f.commit();
}

} // namespace artworkphoto
