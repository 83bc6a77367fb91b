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

} // namespace text
