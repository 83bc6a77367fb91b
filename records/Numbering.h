#pragma once
#include <QString>

#include <optional>

// The start of the automatic report numbering, kept in Contratti.ini beside the program.
namespace numbering {

QString file();
// The stored start as written (empty when the file, section or key is missing). Throws IoError.
QString readStart();
// Throws IoError when the file cannot be written; the old file then stays whole.
void writeStart(const QString& start);

// The largest start (in size) taken as one; a larger, hand-edited value counts as no
// number, so that adding the number of reports can never overflow.
constexpr qint64 kMaxStart = 999999999;
// A stored start as a whole number of at most kMaxStart in size, or nothing.
std::optional<qint64> parseStart(const QString& text);

} // namespace numbering
