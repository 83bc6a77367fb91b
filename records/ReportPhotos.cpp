#include "records/ReportPhotos.h"

#include "storage/PhotoFiles.h"
#include "storage/ProgramDir.h"
#include "storage/Text.h"

#include <QDir>

namespace reportphotos {

QString folder()
{
    return programdir::file(QStringLiteral("Restauri"));
}

QString path(Frame frame, const QString& position)
{
    return folder() + (frame == Frame::A ? QStringLiteral("/Foto_A_") : QStringLiteral("/Foto_B_"))
           + text::trim(position) + QStringLiteral(".jpg");
}

std::optional<QImage> load(Frame frame, const QString& position)
{
    QDir().mkpath(folder());
    return photofiles::decode(path(frame, position), "jpeg");
}

bool save(const QImage& image, const QByteArray& fileBytes, Frame frame, const QString& position)
{
    return QDir().mkpath(folder()) && photofiles::store(image, fileBytes, path(frame, position));
}

} // namespace reportphotos
