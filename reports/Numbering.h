#pragma once
#include <QString>

// The start of the automatic report numbering, kept in Contratti.ini beside the program.
namespace numbering {

QString file();
// The stored start as written (empty when the file, section or key is missing). Throws IoError.
QString readStart();
// Throws IoError when the file cannot be written; the old file then stays whole.
void writeStart(const QString& start);

} // namespace numbering
