#include "records/SchedaOpera.h"

#include "storage/Cp1252.h"
#include "storage/ProgramDir.h"
#include "storage/Text.h"

#include <cstring>

const std::array<TSchedaOpera::Layout, TSchedaOpera::kFields> TSchedaOpera::layout = {{
    {"Titolo", 0, 50, "Titolo opera:", 50, "txtCapo",
     "Attenzione: per salvare la scheda \u00E8 necessario indicare il titolo dell'opera."},
    {"Soggetto", 51, 120, "Soggetto rappresentato:", 120, "txtDescrizione", nullptr},
    {"Artista", 172, 50, "Artista:", 50, "txtColore",
     "Attenzione: per salvare la scheda \u00E8 necessario indicare il nome dell'artista creatore dell'opera."},
    {"Anno", 223, 50, "Anno realizzazione:", 50, "txtTessuto",
     "Attenzione: per salvare la scheda \u00E8 necessario indicare l'anno di realizzazione dell'opera."},
    {"Nazione", 274, 50, "Nazione:", 50, "txtMisure", nullptr},
    {"Tecnica", 325, 50, "Tecnica utilizzata:", 50, "txtPeso", nullptr},
    {"Corrente", 376, 50, "Corrente artistica:", 50, "txtUsura", nullptr},
    {"Dimensioni", 427, 250, "Dimensioni:", 250, "txtDifetti", nullptr},
    {"Supporto", 678, 120, "Supporto:", 120, "txtServizio", nullptr},
    {"Luogo", 799, 250, "Luogo conservazione:", 250, "txtSpecifiche", nullptr},
    {"Proprietario", 1050, 50, "Proprietario attuale:", 50, "txtCliente",
     "Attenzione: per salvare la scheda \u00E8 necessario indicare il proprietario attuale dell'opera."},
    {"CodFisc", 1101, 16, "Codice fiscale:", 16, "txtCodFisc", nullptr},
    {"Recapito", 1118, 30, "Tel. preferenziale:", 30, "txtRecapito", nullptr},
    {"Note", 1149, 250, "Note:", 250, "txtNote", nullptr},
    {"Valore", 1400, 15, "Valore: \u20AC", 15, "txtPrezzo", nullptr},
    {"Venduta", 1416, 2, "Venduta", 0, "chkSegnala", nullptr},
    {"File01", 1419, 250, "Nome 1\u00B0 file allegato:", 0, "lblFile01", nullptr},
    {"File02", 1670, 250, "Nome 2\u00B0 file allegato:", 0, "lblFile02", nullptr},
    {"File03", 1921, 250, "Nome 3\u00B0 file allegato:", 0, "lblFile03", nullptr},
    {"Desc01", 2172, 250, "Descrizione 1\u00B0 file allegato:", 0, "lblDesc01", nullptr},
    {"Desc02", 2423, 250, "Descrizione 2\u00B0 file allegato:", 0, "lblDesc02", nullptr},
    {"Desc03", 2674, 250, "Descrizione 3\u00B0 file allegato:", 0, "lblDesc03", nullptr},
}};

void TSchedaOpera::setSold(bool isSold)
{
    (*this)[Venduta] = yesNo(isSold);
}

std::optional<bool> TSchedaOpera::sold() const
{
    return yesNoOf((*this)[Venduta]);
}

QByteArray TSchedaOpera::encode() const
{
    QByteArray out(kSize, '\0');
    for (size_t i = 0; i < layout.size(); ++i) {
        const Layout& f = layout[i];
        const QByteArray bytes = cp1252::encode(text::trim(text[i])).left(f.width);
        out[f.offset] = char(bytes.size());
        std::memcpy(out.data() + f.offset + 1, bytes.constData(), size_t(bytes.size()));
    }
    return out;
}

QByteArrayView TSchedaOpera::rawField(const char* bytes, Field field)
{
    const Layout& f = layout[size_t(field)];
    // A length beyond the field's width (a damaged record) is read as the full width.
    const int length = qMin(int(static_cast<unsigned char>(bytes[f.offset])), f.width);
    return QByteArrayView(bytes + f.offset + 1, length);
}

QString TSchedaOpera::archivePath()
{
    return programdir::file(QStringLiteral("Inventario_Opere.pro"));
}

QString TSchedaOpera::filesFolder()
{
    return programdir::file(QStringLiteral("Inventario"));
}
