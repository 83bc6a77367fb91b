#include "printing/AnteprimaScheda.h"

#include "printing/PrintJob.h"
#include "printing/Renderer.h"
#include "storage/IoError.h"
#include "widgets/Ui.h"

#include <QPrinter>

#include <optional>

TfrmAnteprimaScheda::TfrmAnteprimaScheda(Ui& ui, QWidget* parent, const FieldTable<TSchedaIntervento>& card,
                                         Picture photo1, Picture photo2, const documentation::WorkingSet* documentation)
    : ReportDocumentScreen(
        ui, "frmAnteprimaScheda", " Anteprima di stampa", QStringLiteral("Mostra anteprima"),
        QStringLiteral("Attenzione: la visualizzazione dell'anteprima di stampa non \u00E8 andata a buon fine."), card,
        std::move(photo1), std::move(photo2), documentation, parent)
{
    instruction("imgLogo01", QStringLiteral("Anteprima di stampa"),
                QStringLiteral(
                    "L'operazione mostra in anteprima i dati che appariranno in stampa. Fare clic su "
                    "\u00ABMostra anteprima\u00BB per vedere il documento sullo schermo prima di stamparlo su carta."),
                QRect(22, 28, 319, 191));
}

void TfrmAnteprimaScheda::output(const report::Template& document)
{
    // The preview paints inside Qt's own window: a failure is noted there and raised here.
    std::optional<IoError> failed;
    const auto paint = [&](QPrinter& printer) {
        try {
            report::render(document, printer);
        } catch (const IoError& e) {
            failed = e;
        }
    };
    // Printed from the preview as from the print screen, its failures said at once.
    const auto printFromPreview = [&](QWidget* over) {
        try {
            print(document, over);
        } catch (const IoError& e) {
            showPrintFailure(ui_, over, e, kPrintFailed);
        }
    };
    ui_.preview(this, paint, printFromPreview);
    if (failed)
        throw *failed;
}
