#pragma once
#include <QImage>
#include <QString>
#include <optional>

// The two photos of a report: Restauri/Foto_A_<n>.jpg and Restauri/Foto_B_<n>.jpg.
namespace reportphotos {

enum class Frame { A, B };

QString folder();
QString path(Frame frame, const QString& position);
// Each photo on its own: a missing or unreadable file gives an empty result for that
// photo only. The folder is created when missing.
std::optional<QImage> load(Frame frame, const QString& position);
// Stores a photo (the chosen file's bytes as they are, or the picture as JPEG); false on
// any failure, the old photo kept whole.
bool save(const QImage& image, const QByteArray& fileBytes, Frame frame, const QString& position);

} // namespace reportphotos
