#include "reports/ReportPhotos.h"

#include "common/PhotoFiles.h"
#include "common/ProgramDir.h"
#include "common/Text.h"

#include <QDir>
#include <QImageReader>

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
    QImageReader reader(path(frame, position), "jpeg");
    QImage image = reader.read();
    if (image.isNull())
        return std::nullopt;
    return image;
}

bool save(const QImage& image, Frame frame, const QString& position)
{
    return QDir().mkpath(folder()) && photofiles::writeJpeg(image, path(frame, position));
}

} // namespace reportphotos
