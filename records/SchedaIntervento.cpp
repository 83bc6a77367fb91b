#include "records/SchedaIntervento.h"

#include "common/Cp1252.h"
#include "common/ProgramDir.h"
#include "common/Text.h"

#include <cstring>

const std::array<TSchedaIntervento::Layout, TSchedaIntervento::kFields> TSchedaIntervento::layout = {{
    {"NumRelazione", 0, 51},       {"DataEmissione", 51, 11},  {"Team", 62, 121},
    {"Intestazione", 183, 501},    {"StatoAnteOperam", 684, 251}, {"Committente", 935, 501},
    {"Recapito", 1436, 51},        {"TitoloOpera", 1487, 51},  {"Anno", 1538, 31},
    {"Tecnica", 1569, 51},         {"Artista", 1620, 51},      {"Indagini", 1671, 1001},
    {"DataInizio", 2672, 11},      {"StatoAvanzamento", 2683, 51}, {"DataFine", 2734, 11},
    {"CauseDegrado", 2745, 501},   {"Conclusioni", 3246, 1001}, {"MaterialiInterventi", 4247, 5001},
    {"Dimensioni", 9248, 121},     {"Note", 9369, 1001},       {"Totale", 10370, 16},
    {"Pagato", 10386, 3},          {"File01", 10389, 251},     {"File02", 10640, 251},
    {"File03", 10891, 251},        {"Desc01", 11142, 251},     {"Desc02", 11393, 251},
    {"Desc03", 11644, 251},
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
