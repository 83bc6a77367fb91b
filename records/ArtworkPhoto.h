#pragma once
#include <QImage>
#include <QString>
#include <optional>

// The artwork photos: Inventario/Opera_<n>.jpg beside the executable.
namespace artworkphoto {

QString folder();
QString path(const QString& position);
// The stored photo of the card at that position; empty when it is missing or unreadable.
// The folder is created when missing.
std::optional<QImage> load(const QString& position);
// Stores the photo (the chosen file's bytes as they are, or the picture as JPEG); false on
// any failure, the old photo kept whole.
bool save(const QImage& image, const QByteArray& fileBytes, const QString& position);

} // namespace artworkphoto
