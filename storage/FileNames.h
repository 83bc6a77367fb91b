#pragma once
#include <QByteArray>
#include <QList>
#include <QSet>
#include <QString>

// The one rule for every file name the program makes from a name it was given (attachments,
// kept photos, documentation photos): a name that a card's record can hold (Windows-1252)
// and that every system a laboratory folder moves to can hold as a file name, Windows and
// its shares included.
namespace filenames {

// Why a name had to change.
enum class Change {
    None,
    Spelling, // characters the record cannot hold, spelled in Latin letters or replaced
    System, // characters, endings or device names a file system refuses
};

struct Portable {
    QString name;
    Change change = Change::None;
};

// The name made from given: Windows-1252 characters only (Greek and Cyrillic letters spelled
// in Latin ones, accents the code page lacks dropped, any other run of characters one "_"),
// no control character and none of \ / : * ? " < > |, no trailing dot or space, no device name
// (CON, PRN, AUX, NUL, COM1-COM9, LPT1-LPT9, with or without an extension: a "_" is added),
// the extension kept, at most maxLength characters; fallbackStem when nothing could be spelled.
Portable portable(const QString& given, int maxLength, const QString& fallbackStem);

// True for a name Windows keeps for a device, whatever its extension or case.
bool isDeviceName(const QString& name);

// The name of the file in folder that is name, ignoring case as Windows does (two names that
// differ only in case are one file there); empty when there is none.
QString existingAlike(const QString& folder, const QString& name);
// name when folder has no file of that name (ignoring case), else the first of "stem (2).ext",
// "stem (3).ext"... that it has not, at most maxLength characters.
// alsoTaken: further names held (case-folded) that are not files of folder yet.
QString freeName(const QString& folder, const QString& name, int maxLength, const QSet<QString>& alsoTaken = {});

// The name's stem and its extension (from the last dot on; none for a leading dot).
void split(const QString& name, QString& stem, QString& extension);

// Names that are not UTF-8, which Linux programs (Qt's file dialog among them) cannot show or
// open: the Windows-1252 bytes that a zip made on Windows and unpacked on Linux leaves, say.
// Only on a system whose names are bytes; Windows' names are always Unicode.
struct ForeignName {
    QByteArray bytes; // the name as the folder holds it
    QString name; // the same bytes read as Windows-1252
};
QList<ForeignName> foreignNames(const QString& folder);
// Renames a foreign name in folder to its Windows-1252 reading, in UTF-8, when nothing stands
// at that name: the new path, or empty (the name taken, or the rename refused).
QString adoptForeignName(const QString& folder, const ForeignName& foreign);
// A file missing at path whose name the folder holds as its Windows-1252 bytes is renamed to
// path; true when path then names a file.
bool adoptWindowsName(const QString& path);

} // namespace filenames
