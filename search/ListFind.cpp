#include "search/ListFind.h"

#include "storage/Text.h"

namespace listfind {

QString key(const QString& typed)
{
    return text::lowerAscii(typed);
}

int next(const std::function<QString(int)>& line, int count, int selected, const QString& k, const QString& lastKey)
{
    if (count <= 0 || k.isEmpty())
        return -1;
    auto matches = [&](int i) { return text::containsText(line(i), k); };
    int start = selected;
    if (k != lastKey) {
        start = 0;
        if (matches(0))
            return 0;
    }
    start = qBound(0, start, count - 1);
    int i = start;
    do {
        i = (i + 1) % count;
        if (matches(i))
            return i;
    } while (i != start);
    return -1;
}

} // namespace listfind
