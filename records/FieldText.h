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

// What every record says of its fields, from its layout table (R::layout, R::Field): the
// card's caption of a field ("Titolo opera:") and its name without the colon ("Titolo
// opera"), as lists, the export and the history show it; the characters the card lets the
// user type; the card control that holds it; the warning when it is left empty.
template <class R> struct Described {
    template <class Field> static QString label(Field f) { return QString::fromUtf8(R::layout[size_t(f)].label); }
    template <class Field> static QString caption(Field f) { return captionOf(R::layout[size_t(f)].label); }
    template <class Field> static int typed(Field f) { return R::layout[size_t(f)].typed; }
    template <class Field> static QString control(Field f) { return QString::fromLatin1(R::layout[size_t(f)].control); }
    template <class Field> static QString required(Field f)
    {
        const char* warning = R::layout[size_t(f)].required;
        return warning ? QString::fromUtf8(warning) : QString();
    }
};
