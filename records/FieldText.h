#pragma once
#include <QString>

// A card's caption without its colon and what follows it: "Titolo opera:" is "Titolo
// opera", "Valore: \u20AC" is "Valore".
inline QString captionOf(const char* label)
{
    const QString l = QString::fromUtf8(label);
    const qsizetype colon = l.indexOf(u':');
    return (colon < 0 ? l : l.left(colon)).trimmed();
}
