#include "search/TrovaInterventi.h"

#include "records/ReportArchive.h"
#include "search/Searches.h"
#include "storage/Text.h"

#include <QLabel>

namespace {
using F = TSchedaIntervento;
// A date is typed as the card shows it.
QString dateLabel(F::Field f)
{
    return F::caption(f) + QStringLiteral(" (gg/mm/aaaa):");
}
} // namespace

TfrmTrovaInterventi::TfrmTrovaInterventi(Ui& ui, QWidget* parent, Chosen chosen)
    : SearchScreen(ui,
                   {"frmTrovaInterventi", " Trova relazioni tecniche di restauro in archivio",
                    "Trova relazioni tecniche di restauro in archivio", "icoIstruzioni01",
                    "Fare doppio clic sulla voce in elenco per richiamare la scheda",
                    "Riepilogo relazioni tecniche di restauro in archivio", "Riepilogo dati"},
                   {
                       criterion<F>("txtNumScheda", F::NumRelazione, "effNumScheda"),
                       criterion<F>("txtData", F::DataEmissione, "effData", dateLabel(F::DataEmissione)),
                       criterion<F>("txtVeicolo", F::TitoloOpera, "effVeicolo"),
                       criterion<F>("txtChilometraggio", F::Artista, "effChilometraggio"),
                       criterion<F>("txtCliente", F::Committente, "effCliente"),
                       criterion<F>("txtRecapito", F::Recapito, "effRecapito"),
                       criterion<F>("txtTecnico", F::Team, "effTecnico"),
                       criterion<F>("txtDataInizio", F::DataInizio, "effDataInizio", dateLabel(F::DataInizio)),
                       criterion<F>("txtStato", F::StatoAvanzamento, "effStato"),
                       criterion<F>("txtNote", F::Note, "effNote"),
                   },
                   1, parent),
      chosen_(std::move(chosen))
{ }

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
