#include "taxcodes/Checks.h"

#include "storage/Text.h"

#include <QHash>

#include <algorithm>

namespace taxcodes {
namespace {
// Values at odd positions of the letters A..Z; a digit counts as the letter of its rank.
constexpr int kOdd[26] = {1, 0, 5, 7, 9, 13, 15, 17, 19, 21, 2, 4, 18, 20, 11, 3, 6, 8, 12, 14, 16, 10, 22, 25, 24, 23};

int rank(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') ? u - u'0' : u - u'A';
}

bool isDigits(const QString& s)
{
    for (QChar c : s)
        if (c.unicode() < u'0' || c.unicode() > u'9')
            return false;
    return true;
}
} // namespace

bool codiceFiscaleWellFormed(const QString& code)
{
    const QString c = text::upperAscii(code);
    if (c.size() != 16)
        return false;
    for (QChar ch : c) {
        const char16_t u = ch.unicode();
        if (!((u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'Z')))
            return false;
    }
    return true;
}

bool codiceFiscaleValid(const QString& code)
{
    if (!codiceFiscaleWellFormed(code))
        return false;
    const QString c = text::upperAscii(code);
    int sum = 0;
    for (int i = 0; i < 15; ++i)
        sum += (i % 2 == 0) ? kOdd[rank(c.at(i))] : rank(c.at(i));
    return c.at(15) == QChar(char16_t(u'A' + sum % 26));
}

bool partitaIvaValid(const QString& number)
{
    if (number.size() != 11 || !isDigits(number))
        return false;
    int sum = 0;
    for (int i = 0; i < 10; ++i) {
        const int d = number.at(i).unicode() - u'0';
        sum += (i % 2 == 0) ? d : (2 * d > 9 ? 2 * d - 9 : 2 * d);
    }
    return number.at(10).unicode() - u'0' == (10 - sum % 10) % 10;
}

QString ufficioIva(const QString& code)
{
    static const QHash<QString, QString> offices = [] {
        const char* const names[] = {"Torino",
                                     "Vercelli",
                                     "Novara",
                                     "Cuneo",
                                     "Asti",
                                     "Alessandria",
                                     "Aosta",
                                     "Imperia",
                                     "Savona",
                                     "Genova 1",
                                     "La Spezia",
                                     "Varese",
                                     "Como",
                                     "Sondrio",
                                     "Milano 1",
                                     "Bergamo",
                                     "Brescia 1",
                                     "Pavia",
                                     "Cremona",
                                     "Mantova",
                                     "Bolzano",
                                     "Trento",
                                     "Verona",
                                     "Vicenza",
                                     "Belluno",
                                     "Treviso",
                                     "Venezia",
                                     "Padova",
                                     "Rovigo",
                                     "Udine",
                                     "Gorizia",
                                     "Trieste",
                                     "Piacenza",
                                     "Parma",
                                     "Reggio Emilia",
                                     "Modena",
                                     "Bologna 1",
                                     "Ferrara",
                                     "Ravenna",
                                     "Forl\u00EC",
                                     "Pesaro",
                                     "Ancona",
                                     "Macerata",
                                     "Ascoli Piceno",
                                     "Massa Carrara",
                                     "Lucca",
                                     "Pistoia",
                                     "Firenze 1",
                                     "Livorno",
                                     "Pisa",
                                     "Arezzo",
                                     "Siena",
                                     "Grosseto",
                                     "Perugia",
                                     "Terni",
                                     "Viterbo",
                                     "Rieti",
                                     "Roma 1",
                                     "Latina",
                                     "Frosinone",
                                     "Caserta",
                                     "Benevento",
                                     "Napoli 1",
                                     "Avellino",
                                     "Salerno",
                                     "Aquila",
                                     "Teramo",
                                     "Pescara",
                                     "Chieti",
                                     "Campobasso",
                                     "Foggia",
                                     "Bari",
                                     "Taranto",
                                     "Brindisi",
                                     "Lecce",
                                     "Potenza",
                                     "Matera",
                                     "Cosenza",
                                     "Catanzaro",
                                     "Reggio Calabria",
                                     "Trapani",
                                     "Palermo",
                                     "Messina",
                                     "Agrigento",
                                     "Caltanissetta",
                                     "Enna",
                                     "Catania",
                                     "Ragusa",
                                     "Siracusa",
                                     "Sassari",
                                     "Nuoro",
                                     "Cagliari",
                                     "Pordenone",
                                     "Isernia",
                                     "Oristano",
                                     "Monza (Milano 2)",
                                     "Prato (Firenze 2)",
                                     "Brescia 2",
                                     "Chiavari (Genova 2)",
                                     "Roma 2",
                                     "Bologna 2",
                                     "Napoli 2"};
        QHash<QString, QString> h;
        int n = 0;
        for (const char* name : names) {
            ++n;
            h.insert(QStringLiteral("%1").arg(n, 3, 10, QChar(u'0')), QString::fromUtf8(name));
        }
        h.insert(QStringLiteral("120"), h.value(QStringLiteral("101")));
        h.insert(QStringLiteral("121"), h.value(QStringLiteral("102")));
        return h;
    }();
    return offices.value(code);
}

bool isCodeCharacter(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z');
}

QString typedCode(const QString& text)
{
    return text::trim(text::upperAscii(text));
}

Check checkFor(const QString& code)
{
    const QString c = text::trim(code);
    const bool digits =
        !c.isEmpty() && std::all_of(c.begin(), c.end(), [](QChar ch) { return ch >= u'0' && ch <= u'9'; });
    return digits ? Check::PartitaIva : Check::CodiceFiscale;
}

} // namespace taxcodes
