#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

// The photographic documentation of a card: its photos in order, each with its phase, its
// caption and the date it was taken, kept in a small list file beside the photos
// ("Elenco.ini", written out in the README). The list is text (UTF-8, any alphabet), in
// sections like an INI file, with a format number and a check of everything before its end.
namespace documentation {

// What a card is: its phases and where its documentation lives follow from it.
enum class Kind { Artwork, Report };

// The phases of a card's photos, in the order they are grouped and printed.
const QStringList& phases(Kind kind);

// The longest caption, in characters.
constexpr int kMaxCaption = 250;
// The format this program writes; a list of a later one is read as far as it can be and
// never written over.
constexpr int kFormat = 1;
// A list longer than this is not read past it (and counts as damaged).
constexpr qsizetype kLargestList = 16 * 1024 * 1024;
// The name of the list file inside a card's folder.
inline const QString kListName = QStringLiteral("Elenco.ini");

struct Photo {
    QString file; // its name in the card's folder
    QString phase;
    QString caption;
    QDate taken; // invalid: not known
    qint64 size = 0; // the file's bytes when it was listed, and their CRC-32: which photo it is
    quint32 crc = 0;
    bool operator==(const Photo&) const = default;
};

// What a list file holds, read as far as it can be.
struct List {
    QList<Photo> photos;
    int format = 0; // 0: no list
    bool damaged = false; // a part could not be read: the photos are those that could
    int expected = 0; // how many photos the list says it holds
    bool newer() const { return format > kFormat; }
};

// The list's bytes, as this program writes them.
QByteArray encode(const QList<Photo>& photos);
// Reads any bytes; never fails, says what it could not read.
List decode(QByteArrayView bytes);

// Whether name can be the name of a photo in a card's folder: a plain name, as the program
// makes names (nothing leading out of the folder, no list or cache name), ending in .jpg or .jpeg.
bool isPhotoName(const QString& name);

} // namespace documentation
