#include "search/Criteria.h"

#include "storage/Cp1252.h"
#include "storage/Text.h"

namespace {
inline char fold(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c + ('a' - 'A')) : c;
}
} // namespace

void Criteria::add(int field, const QString& typed)
{
    if (text::trim(typed).isEmpty())
        return;
    const QString lowered = text::lowerAscii(typed);
    const QByteArray bytes = cp1252::encode(lowered);
    // A character outside Windows-1252 is stored as nothing it could match.
    const bool possible = cp1252::decode(bytes) == lowered;
    list_.push_back({field, bytes, possible});
}

bool Criteria::containsFolded(QByteArrayView haystack, QByteArrayView needle)
{
    const qsizetype n = needle.size();
    if (n == 0 || n > haystack.size())
        return false;
    const char first = needle[0];
    const char* h = haystack.data();
    const qsizetype last = haystack.size() - n;
    for (qsizetype i = 0; i <= last; ++i) {
        if (fold(h[i]) != first)
            continue;
        qsizetype j = 1;
        while (j < n && fold(h[i + j]) == needle[j])
            ++j;
        if (j == n)
            return true;
    }
    return false;
}
