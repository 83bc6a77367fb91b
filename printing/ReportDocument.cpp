#include "printing/ReportDocument.h"

#include "common/IoError.h"
#include "common/PhotoFiles.h"
#include "common/Ui.h"
#include "common/PictureFrame.h"
#include "common/Style.h"
#include "printing/Renderer.h"
#include "records/LogoFile.h"
#include "printing/Templates.h"

#include <QLabel>

#include <optional>
#include <QPrinter>
#include <QPushButton>
#include <QShowEvent>

namespace {
// The template's value objects, in the order they are filled; each is named after the
// card control whose text it prints.
const char* const kValues[] = {"txtNumScheda", "txtData", "txtAzienda", "txtCliente", "txtRecapito", "txtVeicolo",
                               "txtTarga", "txtMarca", "txtChilometraggio", "txtTecnico", "txtPratica",
                               "txtDataInizio", "txtDataFine", "txtStato", "txtDanni", "txtVernice", "txtRicambi",
                               "txtInterventi", "txtManodopera", "txtTotale", "txtNote"};
} // namespace

ReportDocumentScreen::ReportDocumentScreen(Ui& ui, const char* objectName, const char* caption, const QString& action,
                                           const QString& failure, const FieldTable<TSchedaIntervento>& card, Picture photo1,
                                           Picture photo2, QWidget* parent)
    : DocumentDialog(ui, objectName, caption, action, parent), failure_(failure), card_(card),
      photo1_(std::move(photo1)), photo2_(std::move(photo2))
{
    imgLogo = new PictureFrame(QStringLiteral("imgLogo"), this);
    imgLogo->hide();
    imgTemp = new PictureFrame(QStringLiteral("imgTemp"), this);
    imgTemp->setImage(picture(QStringLiteral("logo_default")));
    imgTemp->hide();
    connect(btnStampa, &QPushButton::clicked, this, &ReportDocumentScreen::btnStampaClick);
}

void ReportDocumentScreen::showEvent(QShowEvent* e)
{
    DocumentDialog::showEvent(e);
    if (e->spontaneous())
        return;
    const std::optional<QImage> logo = photofiles::decode(logofile::path(), "bmp");
    imgLogo->setImage(logo ? *logo : imgTemp->image());
}

report::Template ReportDocumentScreen::filled() const
{
    report::Template t = templates::reportDocument();
    t.setPicture(QStringLiteral("imgLogo"), imgLogo->image().isNull() ? imgTemp->image() : imgLogo->image());
    t.setPicture(QStringLiteral("picFotografia01"), photo1_ ? photo1_() : QImage());
    t.setPicture(QStringLiteral("picFotografia02"), photo2_ ? photo2_() : QImage());
    for (const char* name : kValues)
        t.setText(QString::fromLatin1(name), printedValue(card_, QString::fromLatin1(name)));
    templates::setReportReference(t, printedValue(card_, QStringLiteral("txtNumScheda")),
                                  printedValue(card_, QStringLiteral("txtData")));
    return t;
}

void ReportDocumentScreen::btnStampaClick()
{
    try {
        output(filled());
    } catch (const IoError& e) {
        showPrintFailure(ui_, this, e, failure_);
    }
    accept();
}

TfrmStampaScheda::TfrmStampaScheda(Ui& ui, QWidget* parent, const FieldTable<TSchedaIntervento>& card, Picture photo1, Picture photo2)
    : ReportDocumentScreen(ui, "frmStampaScheda", " Stampa documento", QStringLiteral("Stampa"),
                           kPrintFailed, card,
                           std::move(photo1), std::move(photo2), parent)
{
    instruction("imgLogo01", QStringLiteral("Stampa documento"),
                QStringLiteral("L'operazione stampa su carta il documento con i dati inseriti nei campi di testo. "
                               "Premere \u00ABStampa\u00BB per avviare la stampa oppure \u00ABAnnulla\u00BB per annullare."),
                QRect(22, 26, 317, 198));
}

void TfrmStampaScheda::output(const report::Template& document)
{
    print(document);
}

TfrmAnteprimaScheda::TfrmAnteprimaScheda(Ui& ui, QWidget* parent, const FieldTable<TSchedaIntervento>& card, Picture photo1,
                                         Picture photo2)
    : ReportDocumentScreen(ui, "frmAnteprimaScheda", " Anteprima di stampa", QStringLiteral("Mostra anteprima"),
                           QStringLiteral("Attenzione: la visualizzazione dell'anteprima di stampa non \u00E8 andata a buon fine."),
                           card, std::move(photo1), std::move(photo2), parent)
{
    instruction("imgLogo01", QStringLiteral("Anteprima di stampa"),
                QStringLiteral("L'operazione mostra in anteprima i dati che appariranno in stampa. Fare clic su "
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
