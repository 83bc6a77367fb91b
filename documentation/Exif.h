#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>

#include <optional>

// The few things the program reads from and writes into a JPEG's Exif block: how the camera
// was held (the orientation tag, 1 to 8) and when the photo was taken. Everything else in the
// file stays byte for byte as it was.
namespace exif {

struct Info {
    bool present = false; // the file has an Exif block
    bool damaged = false; // it has one that cannot be read whole
    int orientation = 0; // 1 to 8; 0: no tag (shown as 1)
    QDateTime taken; // the original date and time, else the file's date and time in the block; invalid: none
};

// What the JPEG bytes say; only the segments before the picture data are read.
Info read(QByteArrayView jpeg);

// The orientation that shows the photo turned 90 degrees clockwise from how orientation shows
// it (0 counts as 1).
int turnedClockwise(int orientation);

// The same JPEG with its orientation tag set to orientation: the tag's value changed where
// it has one, else the tag added to the Exif block (or a block holding only the tag added);
// the picture data are not touched. nullopt when that cannot be done without encoding the
// picture anew (not a JPEG, a damaged Exif block, a block with no room left).
std::optional<QByteArray> withOrientation(QByteArrayView jpeg, int orientation);

// Whether the JPEG is whole: its segments and scans run on to its end-of-image marker (what a
// camera adds after it does not matter). A file cut short is not.
bool complete(QByteArrayView jpeg);

} // namespace exif
