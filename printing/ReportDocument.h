#pragma once
#include "printing/DocumentDialog.h"
#include "records/SchedaIntervento.h"
#include "widgets/CardFields.h"

#include <QImage>

class PictureFrame;

// What the two report screens share: the two-page report template filled from the report
// card's controls (through its field table), the logo and the two photos. The logo is
// read from Logo.bmp each time the screen is shown; the built-in logo stands in for a
// missing or unreadable file.
class ReportDocumentScreen : public DocumentDialog {
    Q_OBJECT
public:
    using Picture = std::function<QImage()>;

    PictureFrame* imgLogo; // hidden: the logo to print
    PictureFrame* imgTemp; // hidden: the built-in logo

    void btnStampaClick();

protected:
    ReportDocumentScreen(Ui& ui, const char* objectName, const char* caption, const QString& action,
                         const QString& failure, const FieldTable<TSchedaIntervento>& card, Picture photo1,
                         Picture photo2, const documentation::WorkingSet* documentation, QWidget* parent);
    // Prints or previews the filled template; throws IoError on failure.
    virtual void output(const report::Template& document) = 0;
    void showEvent(QShowEvent* e) override;

private:
    report::Template filled() const;

    QString failure_;
    FieldTable<TSchedaIntervento> card_;
    Picture photo1_, photo2_;
};
