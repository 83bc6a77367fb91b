#pragma once
#include "printing/DocumentDialog.h"
#include "records/SchedaOpera.h"
#include "widgets/CardFields.h"

#include <QImage>

class PictureFrame;

// Prints the artwork card as a one-page sheet from the card's controls (through its field
// table) and the photo the card shows.
class TfrmStampaOpera : public DocumentDialog {
    Q_OBJECT
public:
    explicit TfrmStampaOpera(Ui& ui, QWidget* parent = nullptr, const FieldTable<TSchedaOpera>& card = {},
                             std::function<QImage()> photo = {},
                             const documentation::WorkingSet* documentation = nullptr);

    PictureFrame* imgLogo; // hidden: the photo to print
    PictureFrame* imgTemp; // hidden: the placeholder when the photo cannot be taken

    void btnStampaClick();

protected:
    void showEvent(QShowEvent* e) override;

private:
    report::Template filled() const;

    FieldTable<TSchedaOpera> card_;
    std::function<QImage()> photo_;
};

// The euro sign as a picture, drawn by the program.
QImage euroSign();
