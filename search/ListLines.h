#pragma once
#include <QString>

#include <vector>

struct TSchedaOpera;
struct TSchedaIntervento;

// One line of a result or summary list and the position (1-based) of the record it
// stands for, kept together so that a chosen line leads back to exactly its record.
struct ListLine {
    QString text;
    qint64 position = 0;
};
using ListLines = std::vector<ListLine>;

// The fixed-width text lines that stand for a record in every list and list printout.
namespace listlines {

// The text trimmed, padded with spaces and cut to exactly width characters.
QString column(const QString& text, int width);

// Title 34, "  Artista: ", artist 28, "  Anno: ", year 14, "  Prop. ", owner 30,
// "  Valore: € ", then the value whole.
QString artworkLine(const TSchedaOpera& record);
QString artworkLine(const char* recordBytes);

// "N. ", number 10, "  Data: ", date 10, two spaces, title 32, two spaces, artist 24,
// "  -  ", client 24, "  Tel. ", telephone 14, "  € ", then the total whole.
QString reportLine(const TSchedaIntervento& record);
QString reportLine(const char* recordBytes);

} // namespace listlines
