#pragma once
#include <QDialog>

#include <array>

class ClickLabel;
class QLabel;
class QLineEdit;
class QPushButton;
class Ui;

// Up to three files attached to a card: each is copied into the attachments folder and
// its bare name and description handed back to the card's slot labels, given by the
// caller, when the user applies. The mode in lblMemory ("opere" or "interventi") says
// which card opened the screen.
class TfrmAllegaCartella : public QDialog {
    Q_OBJECT
public:
    using Slots = std::array<QLabel*, 3>;
    TfrmAllegaCartella(Ui& ui, QWidget* parent = nullptr, Slots cardFiles = {}, Slots cardDescs = {});

    QLabel* lblMemory;
    std::array<QLineEdit*, 3> txtFile;
    std::array<QLineEdit*, 3> txtDesc;
    std::array<QPushButton*, 3> btnSfoglia;
    std::array<QPushButton*, 3> btnApri;
    std::array<ClickLabel*, 3> imgCancella;
    QPushButton* btnAnnulla;
    QPushButton* btnApplica;

    void btnSfogliaClick(int slot);
    void btnApriClick(int slot);
    void btnApplicaClick();

private:
    QWidget* slotBox(int slot);

    Ui& ui_;
    Slots cardFiles_;
    Slots cardDescs_;
};

// The attachments screen of a card (mode "opere" or "interventi") over its six slot labels,
// shown modally and destroyed when closed.
void attachToCard(Ui& ui, QWidget* card, const QString& mode, TfrmAllegaCartella::Slots files,
                  TfrmAllegaCartella::Slots descs);
