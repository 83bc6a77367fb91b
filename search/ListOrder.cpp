#include "search/ListOrder.h"

#include <algorithm>

namespace listorder {
namespace {
inline char16_t upper(char16_t c)
{
    return (c >= u'a' && c <= u'z') ? char16_t(c - (u'a' - u'A')) : c;
}
} // namespace

bool artworkLess(const QString& a, const QString& b)
{
    const qsizetype n = std::min(a.size(), b.size());
    const QChar* pa = a.constData();
    const QChar* pb = b.constData();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t ca = upper(pa[i].unicode());
        const char16_t cb = upper(pb[i].unicode());
        if (ca != cb)
            return ca < cb;
    }
    return a.size() < b.size();
}

void sortArtworkLines(ListLines& lines)
{
    std::stable_sort(lines.begin(), lines.end(),
                     [](const ListLine& x, const ListLine& y) { return artworkLess(x.text, y.text); });
}

} // namespace listorder
