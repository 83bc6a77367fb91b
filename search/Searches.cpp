#include "search/Searches.h"

#include "search/ListOrder.h"

namespace searches {
namespace {
// Sorts whatever was found, also when the scan stopped on an error.
struct SortOnExit {
    ListLines& lines;
    ~SortOnExit() { listorder::sortArtworkLines(lines); }
};
} // namespace

void findArtworks(const ArtworkArchive& archive, const Criteria& criteria, ListLines& out)
{
    SortOnExit sort{out};
    archive.scan([&](qint64 k, const char* bytes) {
        if (criteria.matches<TSchedaOpera>(bytes))
            out.push_back({listlines::artworkLine(bytes), k});
        return true;
    });
}

void findReports(const ReportArchive& archive, const Criteria& criteria, ListLines& out)
{
    archive.scan([&](qint64 k, const char* bytes) {
        if (criteria.matches<TSchedaIntervento>(bytes))
            out.push_back({listlines::reportLine(bytes), k});
        return true;
    });
}

void unsoldArtworks(const ArtworkArchive& archive, ListLines& out)
{
    SortOnExit sort{out};
    archive.scan([&](qint64 k, const char* bytes) {
        if (TSchedaOpera::fieldText(bytes, TSchedaOpera::Venduta) == QStringLiteral("No"))
            out.push_back({listlines::artworkLine(bytes), k});
        return true;
    });
}

void unpaidReports(const ReportArchive& archive, ListLines& out)
{
    archive.scan([&](qint64 k, const char* bytes) {
        if (TSchedaIntervento::fieldText(bytes, TSchedaIntervento::Pagato) == QStringLiteral("No"))
            out.push_back({listlines::reportLine(bytes), k});
        return true;
    });
}

} // namespace searches
