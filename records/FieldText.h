#pragma once
#include "storage/Cp1252.h"
#include "storage/Text.h"

#include <QByteArrayView>
#include <QString>

#include <optional>

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

    // One field of a stored record, its text decoded and trimmed, without decoding the rest
    // of the record (R::rawField says which bytes are the field's).
    template <class Field> static QString fieldText(const char* bytes, Field f)
    {
        const QByteArrayView raw = R::rawField(bytes, f);
        return text::trim(cp1252::decode(raw.data(), raw.size()));
    }
    // Every field's text, decoded and trimmed.
    static R decode(const char* bytes)
    {
        R r;
        for (size_t i = 0; i < r.text.size(); ++i)
            r.text[i] = fieldText(bytes, typename R::Field(i));
        return r;
    }
};

// The yes/no boxes of the cards, as the records hold them: "S\u00EC" or "No".
inline QString yesNo(bool yes)
{
    return yes ? QStringLiteral("S\u00EC") : QStringLiteral("No");
}
// True for "S\u00EC", false for "No", empty for anything else.
inline std::optional<bool> yesNoOf(const QString& v)
{
    if (v == QStringLiteral("S\u00EC"))
        return true;
    if (v == QStringLiteral("No"))
        return false;
    return std::nullopt;
}
