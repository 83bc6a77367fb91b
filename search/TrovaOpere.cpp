#include "search/TrovaOpere.h"

#include "records/ArtworkArchive.h"
#include "search/Searches.h"
#include "storage/Text.h"

#include <QLabel>

namespace {
using F = TSchedaOpera;
} // namespace

TfrmTrovaOpere::TfrmTrovaOpere(Ui& ui, QWidget* parent, Chosen chosen)
    : SearchScreen(ui,
                   {"frmTrovaOpere", " Trova opere d'arte in archivio", "Trova opere d'arte in archivio",
                    "icoIstruzioni01", "Fare doppio clic sulla voce in elenco per richiamare la scheda",
                    "Riepilogo opere d'arte in archivio", "Riepilogo dati"},
                   {
                       criterion<F>("txtCapo", F::Titolo, "effCampo01"),
                       criterion<F>("txtDescrizione", F::Soggetto, "effCampo02"),
                       criterion<F>("txtColore", F::Artista, "effCampo09"),
                       criterion<F>("txtTessuto", F::Anno, "effCampo10"),
                       criterion<F>("txtDifetti", F::Dimensioni, "effCampo05"),
                       criterion<F>("txtServizio", F::Supporto, "effCampo06"),
                       criterion<F>("txtCliente", F::Proprietario, "effCampo07"),
                       criterion<F>("txtCodFisc", F::CodFisc, "effCampo08"),
                       criterion<F>("txtSpecifiche", F::Luogo, "effCampo03"),
                       criterion<F>("txtNote", F::Note, "effCampo04"),
                   },
                   3, parent),
      chosen_(std::move(chosen))
{ }

void TfrmTrovaOpere::search(const Criteria& criteria, ListLines& lines)
{
    searches::findArtworks(ArtworkArchive(), criteria, lines);
}

void TfrmTrovaOpere::showRecord(qint64 position)
{
    const QString mode = text::trim(lblMemory->text());
    if (!chosen_ || (mode != QStringLiteral("opere") && mode != QStringLiteral("interventi")))
        return;
    chosen_(ArtworkArchive().record(position), position);
}
