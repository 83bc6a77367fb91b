#pragma once
#include "search/ListLines.h"

// The order of the artwork lists: by whole line, character by character, with a-z taken
// as A-Z and every other character by its UTF-16 code; a line that is a prefix of another
// first; equal lines keep their archive order.
namespace listorder {

bool artworkLess(const QString& a, const QString& b);
void sortArtworkLines(ListLines& lines);

} // namespace listorder
