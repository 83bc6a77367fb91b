#pragma once
#include <QString>

// The reversible scrambling of the stored password.
namespace Crypt {

// Two upper-case hexadecimal digits per character (its low 8 bits).
QString Scramble(const QString& plain);
// The inverse; an odd last digit is ignored; hexadecimal letters in either case. Throws
// IoError when a pair of characters is not hexadecimal (a damaged store).
QString Unscramble(const QString& hex);

// True when Unscramble(Scramble(s)) gives s back: at most 255 characters, all U+0000-U+00FF.
bool storable(const QString& plain);

} // namespace Crypt
