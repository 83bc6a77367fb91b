#include "search/ListLines.h"

#include "records/SchedaIntervento.h"
#include "records/SchedaOpera.h"
#include "storage/Text.h"

namespace listlines {
namespace {
// Builds a line from a field getter, so that a record and its stored bytes give the same line.
template <class Get> QString artwork(Get field)
{
    using F = TSchedaOpera;
    QString line;
    line.reserve(160);
    line += column(field(F::Titolo), 34);
    line += QStringLiteral("  Artista: ");
    line += column(field(F::Artista), 28);
    line += QStringLiteral("  Anno: ");
    line += column(field(F::Anno), 14);
    line += QStringLiteral("  Prop. ");
    line += column(field(F::Proprietario), 30);
    line += QStringLiteral("  Valore: \u20AC ");
    line += text::trim(field(F::Valore));
    return line;
}

template <class Get> QString report(Get field)
{
    using F = TSchedaIntervento;
    QString line;
    line.reserve(160);
    line += QStringLiteral("N. ");
    line += column(field(F::NumRelazione), 10);
    line += QStringLiteral("  Data: ");
    line += column(field(F::DataEmissione), 10);
    line += QStringLiteral("  ");
    line += column(field(F::TitoloOpera), 32);
    line += QStringLiteral("  ");
    line += column(field(F::Artista), 24);
    line += QStringLiteral("  -  ");
    line += column(field(F::Committente), 24);
    line += QStringLiteral("  Tel. ");
    line += column(field(F::Recapito), 14);
    line += QStringLiteral("  \u20AC ");
    line += text::trim(field(F::Totale));
    return line;
}
} // namespace

QString column(const QString& value, int width)
{
    QString out = text::trim(value).left(width);
    out.resize(width, u' ');
    return out;
}

QString artworkLine(const TSchedaOpera& r)
{
    return artwork([&](TSchedaOpera::Field f) { return r[f]; });
}

QString artworkLine(const char* bytes)
{
    return artwork([&](TSchedaOpera::Field f) { return TSchedaOpera::fieldText(bytes, f); });
}

QString reportLine(const TSchedaIntervento& r)
{
    return report([&](TSchedaIntervento::Field f) { return r[f]; });
}

QString reportLine(const char* bytes)
{
    return report([&](TSchedaIntervento::Field f) { return TSchedaIntervento::fieldText(bytes, f); });
}

} // namespace listlines
