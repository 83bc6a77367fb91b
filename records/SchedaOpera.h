#pragma once
#include "records/FieldText.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <array>
#include <optional>

// The artwork record: 2925 bytes of 22 length-prefixed Windows-1252 texts.
struct TSchedaOpera : Described<TSchedaOpera> {
    static constexpr int kSize = 2925;
    static constexpr int kFields = 22;

    enum Field {
        Titolo,
        Soggetto,
        Artista,
        Anno,
        Nazione,
        Tecnica,
        Corrente,
        Dimensioni,
        Supporto,
        Luogo,
        Proprietario,
        CodFisc,
        Recapito,
        Note,
        Valore,
        Venduta,
        File01,
        File02,
        File03,
        Desc01,
        Desc02,
        Desc03
    };

    struct Layout {
        const char* name;
        int offset;
        int width; // characters; the field takes width + 1 bytes
        const char* label; // the card's caption, UTF-8
        int typed; // characters the card lets the user type; 0: not typed there
        const char* control; // the card control that holds it
        const char* required; // the warning when it is empty at save; nullptr: optional
    };
    static const std::array<Layout, kFields> layout;

    std::array<QString, kFields> text;

    // The characters the field holds.
    static int characters(Field f) { return layout[size_t(f)].width; }

    QString& operator[](Field f) { return text[size_t(f)]; }
    const QString& operator[](Field f) const { return text[size_t(f)]; }

    // "Sì" or "No" from the sold box.
    void setSold(bool sold);
    // True for "Sì", false for "No", empty for anything else.
    std::optional<bool> sold() const;

    // Each text trimmed, converted to Windows-1252 and cut to its width; unused bytes zero.
    QByteArray encode() const;
    // One field of a stored record, its bytes as stored (untrimmed): the characters its
    // length byte counts; the bytes after them are ignored.
    static QByteArrayView rawField(const char* bytes, Field f);

    // The artwork archive beside the executable.
    static QString archivePath();
    // The folder of the cards' photos and documentation.
    static QString filesFolder();
};
