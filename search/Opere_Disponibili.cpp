#include "search/Opere_Disponibili.h"

#include "records/ArtworkArchive.h"
#include "search/Searches.h"

TfrmOpere_Disponibili::TfrmOpere_Disponibili(Ui& ui, QWidget* parent, Chosen chosen)
    : SummaryScreen(ui,
                    {"frmOpere_Disponibili", " Riepilogo opere d'arte non vendute",
                     "Riepilogo opere d'arte non vendute", "icoIstruzioni",
                     "Fare doppio clic su una voce in elenco per richiamare la scheda",
                     "Riepilogo opere d'arte non vendute", "Riepilogo dati"},
                    parent),
      chosen_(std::move(chosen))
{ }

void TfrmOpere_Disponibili::build(ListLines& lines)
{
    searches::unsoldArtworks(ArtworkArchive(), lines);
}

void TfrmOpere_Disponibili::showRecord(qint64 position)
{
    if (chosen_)
        chosen_(ArtworkArchive().record(position), position);
}
