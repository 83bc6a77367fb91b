#pragma once
#include <QDateTime>
#include <QImage>
#include <QSet>
#include <QSize>
#include <QString>
#include <optional>

class QIODevice;

// Picture files: reading photos upright and scaled, storing them, keeping replaced ones.
namespace photofiles {

// The longest side a picture is decoded to for showing and printing: a photo of any size
// (100 megapixels and more) is decoded scaled down, in at most about 64 MB.
constexpr int kMaxSide = 4000;

// The largest picture the program decodes, in pixels, and the most pixels a file may claim for
// each byte it holds. A header past either describes a picture no camera or scanner makes (a
// file of a few hundred bytes that would cost gigabytes and a minute to decode): it is refused
// from its header, before any decoding, everywhere the program reads a picture.
constexpr qint64 kMaxPixels = qint64(1) << 28;
constexpr qint64 kMaxPixelsPerByte = 2048;
bool implausible(QSize declared, qint64 fileBytes);
// Why the picture at path (or in bytes, named name) is refused for the size its header
// declares, in Italian, naming the file and the size; empty when it is not refused.
QString oversize(const QString& path);
QString oversize(const QString& name, const QByteArray& bytes);

// A regular JPEG or BMP file (format "jpeg" or "bmp"), decoded scaled to kMaxSide and upright
// as the photo's orientation tag says (the file itself is never changed); empty for
// a missing, unreadable or undecodable file and for anything that is not a regular file.
std::optional<QImage> decode(const QString& path, const QByteArray& format);
// A picture of any format Qt reads, upright, decoded at no more than the size that fits box
// (never larger than the picture itself): a photo of any size is read at the size it is shown
// or printed at, in little time and memory. From a regular file or from a device.
std::optional<QImage> decodeFitting(const QString& path, QSize box);
std::optional<QImage> decodeFitting(QIODevice* device, QSize box);
// The upright size of the picture at path, from its header alone; invalid when unreadable.
QSize uprightSize(const QString& path);
// A picture file the user chose: decoded scaled like any picture, and, for a JPEG, the
// file's own bytes, to be stored as they are.
struct Picture {
    QImage image;
    QByteArray jpeg; // empty for a BMP
};
// JPEG or BMP, as the extension says, read once; empty on any failure.
std::optional<Picture> readChosen(const QString& path);
// Writes JPEG through the safe-write path: false on any failure, the old file kept whole.
bool writeJpeg(const QImage& image, const QString& path);
// Stores a photo: the chosen file's bytes as they are when there are any, else the
// picture as JPEG. False on any failure, the old file kept whole.
bool store(const QImage& image, const QByteArray& fileBytes, const QString& path);
// Keeps the photo file at path in the history's photo folder "Cronologia" beside it (or in
// folder, when given), under the file's name with the time (after prefix): a link to the same
// bytes where the disk allows one, else a copy. Returns the kept file's path relative to the
// program folder, or an empty text when there is no photo at path. Throws IoError when it
// cannot be kept.
QString keep(const QString& path, const QDateTime& when, const QString& folder = {}, const QString& prefix = {});
// Where keep() would put the photo at path: a free name in the history's photo folder (folder,
// or "Cronologia" beside path), the absolute path; the file is neither made nor moved. Names in
// chosen count as taken (those given for one save), and the one given joins them.
QString keptPath(const QString& path, const QDateTime& when, const QString& folder, const QString& prefix,
                 QSet<QString>* chosen);

// A name typed without extension gets ".jpg".
QString withJpegSuffix(const QString& path);

} // namespace photofiles
