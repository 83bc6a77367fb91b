#include "records/SchedaIntervento.h"

#include "common/Cp1252.h"
#include "common/ProgramDir.h"
#include "common/Text.h"

#include <cstring>

const std::array<TSchedaIntervento::Layout, TSchedaIntervento::kFields> TSchedaIntervento::layout = {{
    {"NumRelazione", 0, 51, "Relazione n.", 50},
    {"DataEmissione", 51, 11, "Data emissione:", 10},
    {"Team", 62, 121, "Team di Restauro:", 120},
    {"Intestazione", 183, 501, "Intestazione Laboratorio di Restauro:", 500},
    {"StatoAnteOperam", 684, 251, "Stato ante-operam:", 250},
    {"Committente", 935, 501, "Committente:", 500},
    {"Recapito", 1436, 51, "Recapito telefonico:", 50},
    {"TitoloOpera", 1487, 51, "Titolo opera d'arte:", 50},
    {"Anno", 1538, 31, "Anno:", 30},
    {"Tecnica", 1569, 51, "Tecnica utilizzata:", 50},
    {"Artista", 1620, 51, "Artista:", 50},
    {"Indagini", 1671, 1001, "Indagini diagnostiche:", 1000},
    {"DataInizio", 2672, 11, "Data inizio lavori:", 10},
    {"StatoAvanzamento", 2683, 51, "Stato avanzamento lavori:", 50},
    {"DataFine", 2734, 11, "Data fine lavori:", 10},
    {"CauseDegrado", 2745, 501, "Cause del degrado:", 500},
    {"Conclusioni", 3246, 1001, "Conclusioni e consigli:", 1000},
    {"MaterialiInterventi", 4247, 5001, "Materiali utilizzati e interventi eseguiti:", 5000},
    {"Dimensioni", 9248, 121, "Dimensioni opera:", 50},
    {"Note", 9369, 1001, "Note:", 1000},
    {"Totale", 10370, 16, "Totale: \u20AC", 15},
    {"Pagato", 10386, 3, "Pagato", 0},
    {"File01", 10389, 251, "Nome 1\u00B0 file allegato:", 0},
    {"File02", 10640, 251, "Nome 2\u00B0 file allegato:", 0},
    {"File03", 10891, 251, "Nome 3\u00B0 file allegato:", 0},
    {"Desc01", 11142, 251, "Descrizione 1\u00B0 file allegato:", 0},
    {"Desc02", 11393, 251, "Descrizione 2\u00B0 file allegato:", 0},
    {"Desc03", 11644, 251, "Descrizione 3\u00B0 file allegato:", 0},
}};

void TSchedaIntervento::setPaid(bool isPaid)
{
    (*this)[Pagato] = isPaid ? QStringLiteral("S\u00EC") : QStringLiteral("No");
}

std::optional<bool> TSchedaIntervento::paid() const
{
    const QString& v = (*this)[Pagato];
    if (v == QStringLiteral("S\u00EC"))
        return true;
    if (v == QStringLiteral("No"))
        return false;
    return std::nullopt;
}

QByteArray TSchedaIntervento::encode() const
{
    QByteArray out(kSize, '\0');
    for (size_t i = 0; i < layout.size(); ++i) {
        const Layout& f = layout[i];
        const QByteArray bytes = cp1252::encode(text[i]).left(f.width - 1);
        std::memcpy(out.data() + f.offset, bytes.constData(), size_t(bytes.size()));
    }
    return out;
}

QByteArrayView TSchedaIntervento::rawField(const char* bytes, Field field)
{
    const Layout& f = layout[size_t(field)];
    const char* start = bytes + f.offset;
    const void* nul = std::memchr(start, 0, size_t(f.width));
    const qsizetype length = nul ? static_cast<const char*>(nul) - start : f.width;
    return QByteArrayView(start, length);
}

QString TSchedaIntervento::fieldText(const char* bytes, Field field)
{
    const QByteArrayView raw = rawField(bytes, field);
    return text::trim(cp1252::decode(raw.data(), raw.size()));
}

TSchedaIntervento TSchedaIntervento::decode(const char* bytes)
{
    TSchedaIntervento r;
    for (int i = 0; i < kFields; ++i)
        r.text[size_t(i)] = fieldText(bytes, Field(i));
    return r;
}

QString TSchedaIntervento::archivePath()
{
    return programdir::file(QStringLiteral("Relazioni_Tecniche_Restauro.pro"));
}
