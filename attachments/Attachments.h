#pragma once
#include "storage/FileNames.h"

#include <QString>

#include <functional>

// The attachments folder Documenti_Allegati beside the program, shared by every card of
// both archives: a card keeps only the bare names of its files.
namespace attachments {

QString folder();
// The longest name a card's slot holds.
constexpr int kMaxName = 250;
// A stored slot name as far as its first NUL, the rest of a damaged record's field.
QString shownName(const QString& stored);
// The bare file name a stored slot name stands for: its last path component; empty for a
// name that is empty, "." or "..", or holds a control character. A damaged or hand-edited
// name thus never leads outside the attachments folder, and never reaches the shell.
QString bareName(const QString& stored);
// The name a chosen file is attached under, one the card's record holds as it is and every
// system can hold as a file name (the one rule of filenames::portable), at most kMaxName
// characters, with the reason when it differs from the chosen one.
filenames::Portable portableName(const QString& chosen);
QString storableName(const QString& chosen);
// name when the folder has no file of that name (ignoring case), else the first of
// "stem (2).ext", "stem (3).ext"... that it has not.
QString freeName(const QString& name);
// The name of the folder's file that is name ignoring case, as on Windows; empty for none.
QString existingAlike(const QString& name);
// The file in the attachments folder a slot name refers to; empty when it names none.
QString pathOf(const QString& stored);
// True when both paths are the very same file.
bool sameFile(const QString& a, const QString& b);

// Copies source over target block by block (never the whole file in memory) into a
// temporary file beside target, put in place only when complete. progress(done, total)
// is called after each block; returning false stops the copy. Throws IoError on failure
// or when stopped; target is then as it was.
void copy(const QString& source, const QString& target, const std::function<bool(qint64, qint64)>& progress = {});

} // namespace attachments
