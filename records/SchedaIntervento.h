#pragma once
#include "records/FieldText.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <array>
#include <optional>

// The report record: 11895 bytes of NUL-terminated Windows-1252 texts.
struct TSchedaIntervento : Described<TSchedaIntervento> {
    static constexpr int kSize = 11895;
    static constexpr int kFields = 28;

    enum Field {
        NumRelazione,
        DataEmissione,
        Team,
        Intestazione,
        StatoAnteOperam,
        Committente,
        Recapito,
        TitoloOpera,
        Anno,
        Tecnica,
        Artista,
        Indagini,
        DataInizio,
        StatoAvanzamento,
        DataFine,
        CauseDegrado,
        Conclusioni,
        MaterialiInterventi,
        Dimensioni,
        Note,
        Totale,
        Pagato,
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
        int width; // bytes, the terminating NUL included
        const char* label; // the card's caption, UTF-8
        int typed; // characters the card lets the user type; 0: not typed there
        const char* control; // the card control that holds it
        const char* required; // the warning when it is empty at save; nullptr: optional
    };
    static const std::array<Layout, kFields> layout;

    std::array<QString, kFields> text;

    // The characters the field holds.
    static int characters(Field f) { return layout[size_t(f)].width - 1; }

    QString& operator[](Field f) { return text[size_t(f)]; }
    const QString& operator[](Field f) const { return text[size_t(f)]; }

    void setPaid(bool paid);
    // True for "Sì", false for "No", empty for anything else.
    std::optional<bool> paid() const;

    // Texts written as they stand (untrimmed), cut to width - 1 characters, NUL after them.
    QByteArray encode() const;
    // One field of a stored record, its bytes as stored (untrimmed): the characters up to
    // the first NUL (or the whole width).
    static QByteArrayView rawField(const char* bytes, Field f);

    static QString archivePath();
    // The folder of the cards' photos and documentation.
    static QString filesFolder();
};
