#include "printing/ReportDocument.h"

#include "printing/Templates.h"
#include "records/LogoFile.h"
#include "storage/IoError.h"
#include "storage/PhotoFiles.h"
#include "widgets/PictureFrame.h"
#include "widgets/Style.h"
#include "widgets/Ui.h"

#include <QLabel>

#include <QPushButton>
#include <QShowEvent>
#include <optional>

ReportDocumentScreen::ReportDocumentScreen(Ui& ui, const char* objectName, const char* caption, const QString& action,
                                           const QString& failure, const FieldTable<TSchedaIntervento>& card,
                                           Picture photo1, Picture photo2,
                                           const documentation::WorkingSet* documentation, QWidget* parent)
    : DocumentDialog(ui, objectName, caption, action, parent), failure_(failure), card_(card),
      photo1_(std::move(photo1)), photo2_(std::move(photo2))
{
    addDocumentationChoice(documentation);
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
    // The fields up to the total, each printed where the template has its control's name.
    for (int f = 0; f <= TSchedaIntervento::Totale; ++f) {
        const QString name = TSchedaIntervento::control(TSchedaIntervento::Field(f));
        t.setText(name, printedValue(card_, name));
    }
    const QString number = t.item(QStringLiteral("txtNumScheda")).text;
    const QString date = t.item(QStringLiteral("txtData")).text;
    templates::setReportReference(t, number, date);
    addDocumentation(t);
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
