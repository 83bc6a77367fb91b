#pragma once
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
QString freeName(const QString& folder, const QString& name, int maxLength);

// The name's stem and its extension (from the last dot on; none for a leading dot).
void split(const QString& name, QString& stem, QString& extension);

} // namespace filenames
