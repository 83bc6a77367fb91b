#pragma once
#include <QString>

// The password store beside the executable: section "Accesso", key "Valore", holding the
// scrambled upper-cased password. Every function throws IoError when the store cannot be
// read, unscrambled or written.
namespace passwordstore {

QString path();
// A typed password as it is compared and stored: upper-cased (ASCII) and trimmed.
QString normalise(const QString& typed);
// Trim(Unscramble(stored value)); empty for a missing store, section or key.
QString stored();
// Writes Scramble of the normalised password.
void store(const QString& typed);

} // namespace passwordstore
