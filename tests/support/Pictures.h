#pragma once
#include <QByteArray>
#include <QImage>
#include <QString>

// Photos as cameras write them, for the tests of everything that shows or prints a photo.

// A picture whose four quarters have four different colours (red top left, green top right,
// blue bottom left, white bottom right), so that any turn or mirror shows.
QImage quarteredPicture(QSize size = {120, 80});
// The colours of a picture's four quarters as "top-left top-right bottom-left bottom-right",
// each "red", "green", "blue", "white" or "other".
QString quartersOf(const QImage& image);

// A JPEG that shows upright as the picture given, stored as a camera held otherwise stores it:
// the pixels turned or mirrored and an Exif orientation tag (1 to 8) saying how to show them.
QByteArray orientedJpeg(const QImage& upright, int orientation);
