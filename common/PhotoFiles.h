#pragma once
#include "common/Ui.h"

#include <QImage>
#include <QString>
#include <optional>

// Picture files chosen by the user: the dialogs of the cards and reading and writing.
namespace photofiles {

Ui::FileDialog openDialog();
Ui::FileDialog saveDialog();

// JPEG or BMP, as the extension says; empty on any failure.
std::optional<QImage> read(const QString& path);
// Writes JPEG through a temporary file: false on any failure, the old file kept whole.
bool writeJpeg(const QImage& image, const QString& path);
// A name typed without extension gets ".jpg".
QString withJpegSuffix(const QString& path);

} // namespace photofiles
