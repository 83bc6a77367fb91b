#include "search/TrovaInterventi.h"

#include "common/Text.h"
#include "records/ReportArchive.h"
#include "search/Searches.h"

#include <QLabel>

namespace {
using F = TSchedaIntervento;
// Typing stops where the record's field ends.
int fieldWidth(F::Field f) { return F::layout[size_t(f)].width - 1; }
} // namespace

TfrmTrovaInterventi::TfrmTrovaInterventi(Ui& ui, QWidget* parent, Chosen chosen)
    : SearchScreen(ui,
                   {"frmTrovaInterventi", " Trova relazioni tecniche di restauro in archivio",
                    "Trova relazioni tecniche di restauro in archivio", "icoIstruzioni01",
                    "Fare doppio clic sulla voce in elenco per richiamare la scheda", "Riepilogo relazioni tecniche di restauro in archivio", "Riepilogo dati"},
                   {
                       {"txtNumScheda", "Relazione n.", F::NumRelazione, "effNumScheda", fieldWidth(F::NumRelazione)},
                       {"txtData", "Data emissione (gg/mm/aaaa):", F::DataEmissione, "effData", fieldWidth(F::DataEmissione)},
                       {"txtVeicolo", "Titolo opera d'arte:", F::TitoloOpera, "effVeicolo", fieldWidth(F::TitoloOpera)},
                       {"txtChilometraggio", "Artista:", F::Artista, "effChilometraggio", fieldWidth(F::Artista)},
                       {"txtCliente", "Committente:", F::Committente, "effCliente", fieldWidth(F::Committente)},
                       {"txtRecapito", "Recapito telefonico:", F::Recapito, "effRecapito", fieldWidth(F::Recapito)},
                       {"txtTecnico", "Team di Restauro:", F::Team, "effTecnico", fieldWidth(F::Team)},
                       {"txtDataInizio", "Data inizio lavori (gg/mm/aaaa):", F::DataInizio, "effDataInizio",
                        fieldWidth(F::DataInizio)},
                       {"txtStato", "Stato avanzamento lavori:", F::StatoAvanzamento, "effStato",
                        fieldWidth(F::StatoAvanzamento)},
                       {"txtNote", "Note:", F::Note, "effNote", fieldWidth(F::Note)},
                   },
                   1, parent),
      chosen_(std::move(chosen))
{
}

void TfrmTrovaInterventi::search(const Criteria& criteria, ListLines& lines)
{
    searches::findReports(ReportArchive(), criteria, lines);
}

void TfrmTrovaInterventi::showRecord(qint64 position)
{
    if (!chosen_ || text::trim(lblMemory->text()) != QStringLiteral("interventi"))
        return;
    chosen_(ReportArchive().record(position), position);
}
