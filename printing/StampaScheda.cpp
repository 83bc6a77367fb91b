#include "printing/StampaScheda.h"

#include "printing/PrintJob.h"

TfrmStampaScheda::TfrmStampaScheda(Ui& ui, QWidget* parent, const FieldTable<TSchedaIntervento>& card, Picture photo1,
                                   Picture photo2, const documentation::WorkingSet* documentation)
    : ReportDocumentScreen(ui, "frmStampaScheda", " Stampa documento", QStringLiteral("Stampa"), kPrintFailed, card,
                           std::move(photo1), std::move(photo2), documentation, parent)
{
    instruction(
        "imgLogo01", QStringLiteral("Stampa documento"),
        QStringLiteral("L'operazione stampa su carta il documento con i dati inseriti nei campi di testo. "
                       "Premere \u00ABStampa\u00BB per avviare la stampa oppure \u00ABAnnulla\u00BB per annullare."),
        QRect(22, 26, 317, 198));
}

void TfrmStampaScheda::output(const report::Template& document)
{
    print(document);
}
