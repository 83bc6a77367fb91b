#pragma once
#include <QString>

#include <functional>

// The find inside a list: the next line holding the typed text, with A-Z taken as a-z.
namespace listfind {

// The key a typed text gives (only A-Z lower-cased, nothing trimmed).
QString key(const QString& typed);

// The line to select, or -1 when no line holds key (the selection then stays). A new key
// (different from lastKey) searches from line 0, line 0 included; the same key again
// searches from the line after selected, wrapping, and ends on selected itself. An empty
// key matches no line. line(i) gives the text of line i of count lines; selected >= 0.
int next(const std::function<QString(int)>& line, int count, int selected, const QString& key, const QString& lastKey);

} // namespace listfind
