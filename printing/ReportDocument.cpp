#include "printing/ReportDocument.h"

#include "common/IoError.h"
#include "common/PhotoFiles.h"
#include "common/PictureFrame.h"
#include "common/Style.h"
#include "common/Ui.h"
#include "printing/Templates.h"
#include "records/LogoFile.h"

#include <QLabel>

#include <QPushButton>
#include <QShowEvent>
#include <optional>

namespace {
// The template's value objects, in the order they are filled; each is named after the
// card control whose text it prints.
const char* const kValues[] = {
    "txtNumScheda", "txtData",           "txtAzienda", "txtCliente",    "txtRecapito",   "txtVeicolo",  "txtTarga",
    "txtMarca",     "txtChilometraggio", "txtTecnico", "txtPratica",    "txtDataInizio", "txtDataFine", "txtStato",
    "txtDanni",     "txtVernice",        "txtRicambi", "txtInterventi", "txtManodopera", "txtTotale",   "txtNote"};
} // namespace

ReportDocumentScreen::ReportDocumentScreen(Ui& ui, const char* objectName, const char* caption, const QString& action,
                                           const QString& failure, const FieldTable<TSchedaIntervento>& card,
                                           Picture photo1, Picture photo2, QWidget* parent)
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
