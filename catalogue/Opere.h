#pragma once
#include "documentation/Documentazione.h"
#include "records/SchedaOpera.h"
#include "widgets/CardScreen.h"
#include "widgets/FramePhotos.h"

#include <QImage>

#include <memory>

class PictureButton;
class PictureFrame;
class QCheckBox;
class QLineEdit;
class StatusHints;

// The artwork card: one catalogued work at a time.
class TfrmOpere : public Card<TSchedaOpera> {
    Q_OBJECT
public:
    explicit TfrmOpere(Ui& ui, QWidget* parent = nullptr);

    // The photo column: the work's photo, or the blank picture when it has none.
    PictureFrame* imgFoto;
    QImage blankPicture() const;
    // The record's description says which field each control holds (txtColore: Artista).
    QLineEdit *txtCapo, *txtDescrizione, *txtColore, *txtTessuto, *txtMisure, *txtPeso, *txtUsura, *txtDifetti,
        *txtServizio, *txtSpecifiche, *txtCliente, *txtCodFisc, *txtRecapito, *txtNote, *txtPrezzo;
    QCheckBox* chkSegnala;

    PictureButton *cmdEsporta, *cmdSegnalati;
    PictureButton *btnCaricaFoto, *btnSalvaFoto, *btnCancFoto, *btnZoomFoto, *btnCodFisc;

    // How the documentation screen takes a photo from the webcam; set by the shell.
    TfrmDocumentazione::Capture webcam;
    // The card's photographic documentation: its working copy, saved with the card.
    documentation::WorkingSet& documentation() { return *docs_; }

    void ClearArtworkCard();
    void ShowArtworkRecord(const TSchedaOpera& record, qint64 k);

    void btnCaricaFotoClick();
    void btnSalvaFotoClick();
    void btnCancFotoClick();
    void btnZoomFotoClick();
    void btnCodFiscClick();
    void cmdTrovaClick() override;
    void cmdSegnalatiClick();
    void cmdStampaClick() override;
    void cmdFileClick() override;
    void cmdCronologiaClick() override;
    void cmdDocumentazioneClick() override;
    void cmdEsportaClick();
    QList<SidePart*> sideParts(bool newCard) const override;

protected:
    void newCard() override { ClearArtworkCard(); }
    void showRecord(const TSchedaOpera& record, qint64 position) override { ShowArtworkRecord(record, position); }
    QLineEdit* amountField() const override { return txtPrezzo; }
    QWidget* firstField() const override;
    void clearPhotos() override;
    void loadPhotos() override;
    void restorePhotos(const QStringList& photos) override;
    void saved(bool newCard) override;
    void opened() override { ClearArtworkCard(); }
    void closing() override;

private:
    QWidget* buildFieldColumn(StatusHints& hints);
    QWidget* buildPhotoColumn(StatusHints& hints);
    void wireFields();
    // The Enter chain and tab order: Titolo .. Valore.
    QList<QLineEdit*> enterChain() const;

    QLabel* imgBianco_;
    std::unique_ptr<documentation::WorkingSet> docs_;
    std::unique_ptr<FramePhotos> photos_;
};
