#include "search/TrovaOpere.h"

#include "records/ArtworkArchive.h"
#include "common/Text.h"
#include "search/Searches.h"

#include <QLabel>

namespace {
using F = TSchedaOpera;
int fieldWidth(F::Field f) { return F::layout[size_t(f)].width; }
} // namespace

TfrmTrovaOpere::TfrmTrovaOpere(Ui& ui, QWidget* parent, Chosen chosen)
    : SearchScreen(ui,
                   {"frmTrovaOpere", " Trova opere d'arte in archivio", "Trova opere d'arte in archivio",
                    "icoIstruzioni01", "Fare doppio clic sulla voce in elenco per richiamare la scheda", "Riepilogo opere d'arte in archivio", "Riepilogo dati"},
                   {
                       {"txtCapo", "Titolo opera:", F::Titolo, "effCampo01", fieldWidth(F::Titolo)},
                       {"txtDescrizione", "Soggetto rappresentato:", F::Soggetto, "effCampo02", fieldWidth(F::Soggetto)},
                       {"txtColore", "Artista:", F::Artista, "effCampo09", fieldWidth(F::Artista)},
                       {"txtTessuto", "Anno realizzazione:", F::Anno, "effCampo10", fieldWidth(F::Anno)},
                       {"txtDifetti", "Dimensioni:", F::Dimensioni, "effCampo05", fieldWidth(F::Dimensioni)},
                       {"txtServizio", "Supporto:", F::Supporto, "effCampo06", fieldWidth(F::Supporto)},
                       {"txtCliente", "Proprietario attuale:", F::Proprietario, "effCampo07", fieldWidth(F::Proprietario)},
                       {"txtCodFisc", "Codice fiscale:", F::CodFisc, "effCampo08", fieldWidth(F::CodFisc)},
                       {"txtSpecifiche", "Luogo conservazione:", F::Luogo, "effCampo03", fieldWidth(F::Luogo)},
                       {"txtNote", "Note:", F::Note, "effCampo04", fieldWidth(F::Note)},
                   },
                   3, parent),
      chosen_(std::move(chosen))
{
}

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
