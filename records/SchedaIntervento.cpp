#include "records/SchedaIntervento.h"

#include "storage/Cp1252.h"
#include "storage/ProgramDir.h"
#include "storage/Text.h"

#include <cstring>

const std::array<TSchedaIntervento::Layout, TSchedaIntervento::kFields> TSchedaIntervento::layout = {{
    {"NumRelazione", 0, 51, "Relazione n.", 50, "txtNumScheda",
     "Attenzione: per salvare la scheda \u00E8 necessario assegnare un numero alla Relazione."},
    {"DataEmissione", 51, 11, "Data emissione:", 10, "txtData",
     "Attenzione: per salvare la scheda \u00E8 necessario indicare la data di emissione della Relazione."},
    {"Team", 62, 121, "Team di Restauro:", 120, "txtTecnico", nullptr},
    {"Intestazione", 183, 501, "Intestazione Laboratorio di Restauro:", 500, "txtAzienda",
     "Attenzione: per salvare la scheda \u00E8 necessario indicare l'intestazione del Laboratorio di Restauro."},
    {"StatoAnteOperam", 684, 251, "Stato ante-operam:", 250, "txtPratica", nullptr},
    {"Committente", 935, 501, "Committente:", 500, "txtCliente",
     "Attenzione: per salvare la scheda \u00E8 necessario indicare il nome del committente."},
    {"Recapito", 1436, 51, "Recapito telefonico:", 50, "txtRecapito",
     "Attenzione: per salvare la scheda \u00E8 necessario indicare il recapito telefonico del committente."},
    {"TitoloOpera", 1487, 51, "Titolo opera d'arte:", 50, "txtVeicolo",
     "Attenzione: per salvare la scheda \u00E8 necessario indicare il titolo dell'opera d'arte."},
    {"Anno", 1538, 31, "Anno:", 30, "txtTarga",
     "Attenzione: per salvare la scheda \u00E8 necessario indicare l'anno di realizzazione dell'opera d'arte."},
    {"Tecnica", 1569, 51, "Tecnica utilizzata:", 50, "txtMarca", nullptr},
    {"Artista", 1620, 51, "Artista:", 50, "txtChilometraggio",
     "Attenzione: per salvare la scheda \u00E8 necessario indicare il nome dell'artista."},
    {"Indagini", 1671, 1001, "Indagini diagnostiche:", 1000, "txtDanni", nullptr},
    {"DataInizio", 2672, 11, "Data inizio lavori:", 10, "txtDataInizio", nullptr},
    {"StatoAvanzamento", 2683, 51, "Stato avanzamento lavori:", 50, "txtStato", nullptr},
    {"DataFine", 2734, 11, "Data fine lavori:", 10, "txtDataFine", nullptr},
    {"CauseDegrado", 2745, 501, "Cause del degrado:", 500, "txtVernice", nullptr},
    {"Conclusioni", 3246, 1001, "Conclusioni e consigli:", 1000, "txtRicambi", nullptr},
    {"MaterialiInterventi", 4247, 5001, "Materiali utilizzati e interventi eseguiti:", 5000, "txtInterventi", nullptr},
    {"Dimensioni", 9248, 121, "Dimensioni opera:", 50, "txtManodopera", nullptr},
    {"Note", 9369, 1001, "Note:", 1000, "txtNote", nullptr},
    {"Totale", 10370, 16, "Totale: \u20AC", 15, "txtTotale", nullptr},
    {"Pagato", 10386, 3, "Pagato", 0, "chkPagato", nullptr},
    {"File01", 10389, 251, "Nome 1\u00B0 file allegato:", 0, "lblFile01", nullptr},
    {"File02", 10640, 251, "Nome 2\u00B0 file allegato:", 0, "lblFile02", nullptr},
    {"File03", 10891, 251, "Nome 3\u00B0 file allegato:", 0, "lblFile03", nullptr},
    {"Desc01", 11142, 251, "Descrizione 1\u00B0 file allegato:", 0, "lblDesc01", nullptr},
    {"Desc02", 11393, 251, "Descrizione 2\u00B0 file allegato:", 0, "lblDesc02", nullptr},
    {"Desc03", 11644, 251, "Descrizione 3\u00B0 file allegato:", 0, "lblDesc03", nullptr},
}};

void TSchedaIntervento::setPaid(bool isPaid)
{
    (*this)[Pagato] = yesNo(isPaid);
}

std::optional<bool> TSchedaIntervento::paid() const
{
    return yesNoOf((*this)[Pagato]);
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

QString TSchedaIntervento::archivePath()
{
    return programdir::file(QStringLiteral("Relazioni_Tecniche_Restauro.pro"));
}

QString TSchedaIntervento::filesFolder()
{
    return programdir::file(QStringLiteral("Restauri"));
}
