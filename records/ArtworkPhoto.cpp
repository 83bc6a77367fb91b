#include "records/ArtworkPhoto.h"

#include "storage/PhotoFiles.h"
#include "storage/ProgramDir.h"
#include "storage/Text.h"

#include <QDir>

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
    return photofiles::decode(path(position), "jpeg");
}

bool save(const QImage& image, const QByteArray& fileBytes, const QString& position)
{
    return QDir().mkpath(folder()) && photofiles::store(image, fileBytes, path(position));
}

} // namespace artworkphoto
