#pragma once
#include <QString>

namespace text {

// Removes every leading and trailing character whose code is U+0020 or lower.
QString trim(const QString& s);

// ASCII-only case mapping: accented letters and everything else stay as they are.
QString upperAscii(const QString& s);
QString lowerAscii(const QString& s);

// True when the lower-cased needle occurs as one contiguous piece of the lower-cased haystack.
bool containsText(const QString& haystack, const QString& needle);

// A count in a sentence, with its noun in the singular for one and in the plural otherwise:
// counted(1, "scheda", "schede") is "1 scheda", counted(0, ...) "0 schede".
QString counted(qint64 n, const QString& one, const QString& many);

} // namespace text
