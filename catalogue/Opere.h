#pragma once
#include "common/CardScreen.h"
#include "records/SchedaOpera.h"

#include <QImage>

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

    // The field table says which record field each control holds (txtColore: Artista).
    QLineEdit *txtCapo, *txtDescrizione, *txtColore, *txtTessuto, *txtMisure, *txtPeso, *txtUsura,
        *txtDifetti, *txtServizio, *txtSpecifiche, *txtCliente, *txtCodFisc, *txtRecapito, *txtNote,
        *txtPrezzo;
    QCheckBox* chkSegnala;
    PictureFrame* imgFoto;
    QImage blankPicture() const;

    PictureButton *cmdEsporta, *cmdSegnalati;
    PictureButton *btnCaricaFoto, *btnSalvaFoto, *btnCancFoto, *btnZoomFoto, *btnCodFisc;

    void ClearArtworkCard();
    void ShowArtworkRecord(const TSchedaOpera& record, qint64 k);

    void btnCaricaFotoClick();
    void btnSalvaFotoClick();
    void btnCancFotoClick();
    void btnZoomFotoClick();
    void btnCodFiscClick();
    void cmdTrovaClick();
    void cmdSegnalatiClick();
    void cmdStampaClick();
    void cmdFileClick();
    void cmdEsportaClick();

protected:
    void newCard() override { ClearArtworkCard(); }
    void showRecord(const TSchedaOpera& record, qint64 position) override { ShowArtworkRecord(record, position); }
    QLineEdit* amountField() const override { return txtPrezzo; }
    QWidget* firstField() const override;
    void clearPhotos() override;
    void savePhotos(bool newCard) override;
    void opened() override { ClearArtworkCard(); }

private:
    QWidget* buildFieldColumn(StatusHints& hints);
    QWidget* buildPhotoColumn(StatusHints& hints);
    void wireFields();
    void buildFieldTable();
    // The Enter chain and tab order: Titolo .. Valore.
    QList<QLineEdit*> enterChain() const;
    void loadPhoto();

    QLabel* imgBianco_;
};
