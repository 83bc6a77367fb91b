#include "Cards.h"

#include "app/Screens.h"
#include "catalogue/Opere.h"
#include "reports/Interventi.h"

#include <QLineEdit>

namespace {
const QString kNeed = QString::fromUtf8("Attenzione: per salvare la scheda \u00E8 necessario ");

} // namespace

QList<std::pair<QString, QString>> mandatoryOf(const QString& name)
{
    if (name == "opere")
        return {{"txtCapo", kNeed + "indicare il titolo dell'opera."},
                {"txtColore", kNeed + "indicare il nome dell'artista creatore dell'opera."},
                {"txtTessuto", kNeed + "indicare l'anno di realizzazione dell'opera."},
                {"txtCliente", kNeed + "indicare il proprietario attuale dell'opera."}};
    return {{"txtNumScheda", kNeed + "assegnare un numero alla Relazione."},
            {"txtData", kNeed + "indicare la data di emissione della Relazione."},
            {"txtAzienda", kNeed + "indicare l'intestazione del Laboratorio di Restauro."},
            {"txtCliente", kNeed + "indicare il nome del committente."},
            {"txtRecapito", kNeed + "indicare il recapito telefonico del committente."},
            {"txtVeicolo", kNeed + "indicare il titolo dell'opera d'arte."},
            {"txtTarga", kNeed + "indicare l'anno di realizzazione dell'opera d'arte."},
            {"txtChilometraggio", kNeed + "indicare il nome dell'artista."}};
}

CardKind kindOf(const QString& name)
{
    CardKind k;
    if (name == "opere") {
        auto* c = frmOpere;
        k.card = c;
        k.archive = "Inventario_Opere.pro";
        k.size = TSchedaOpera::kSize;
        k.key = c->txtCapo;
        k.fillMandatory = [c] {
            c->txtCapo->setText("Titolo");
            c->txtColore->setText("Artista");
            c->txtTessuto->setText("1900");
            c->txtCliente->setText("Proprietario");
        };
        k.record = [](const QString& key) {
            TSchedaOpera r;
            r[TSchedaOpera::Titolo] = key;
            r[TSchedaOpera::Venduta] = "No";
            return r.encode();
        };
        k.saveFailure = Ui::Kind::Error;
        k.firstField = "txtCapo";
    } else {
        auto* c = frmInterventi;
        k.card = c;
        k.archive = "Relazioni_Tecniche_Restauro.pro";
        k.size = TSchedaIntervento::kSize;
        k.key = c->txtNumScheda;
        k.fillMandatory = [c] {
            c->txtNumScheda->setText("1");
            c->txtData->setText("01/02/2024");
            c->txtAzienda->setText("Laboratorio");
            c->txtCliente->setText("Committente");
            c->txtRecapito->setText("055");
            c->txtVeicolo->setText("Titolo");
            c->txtTarga->setText("1900");
            c->txtChilometraggio->setText("Artista");
        };
        k.record = [](const QString& key) {
            TSchedaIntervento r;
            r[TSchedaIntervento::NumRelazione] = key;
            r[TSchedaIntervento::Pagato] = "No";
            return r.encode();
        };
        k.saveFailure = Ui::Kind::Plain;
        k.firstField = "txtNumScheda";
    }
    return k;
}

QList<TestUi::Message> informed(const QString& text)
{
    return {{Ui::Kind::Information, text, {}}};
}
