#pragma once
#include "common/CardFields.h"

#include <QWidget>

#include <array>

enum class Browse;
class PictureButton;
class PictureFrame;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class StatusHints;
class Ui;
struct TSchedaOpera;

// The artwork card: one catalogued work at a time. The controls are the working copy of
// the card and lblPosizione holds its position in the archive (empty: not stored yet).
class TfrmOpere : public QWidget {
    Q_OBJECT
public:
    explicit TfrmOpere(Ui& ui, QWidget* parent = nullptr);

    // The field table says which record field each control holds (txtColore: Artista).
    QLineEdit *txtCapo, *txtDescrizione, *txtColore, *txtTessuto, *txtMisure, *txtPeso, *txtUsura,
        *txtDifetti, *txtServizio, *txtSpecifiche, *txtCliente, *txtCodFisc, *txtRecapito, *txtNote,
        *txtPrezzo;
    QCheckBox* chkSegnala;
    std::array<QLabel*, 3> lblFile;
    std::array<QLabel*, 3> lblDesc;
    QLabel* lblPosizione;
    QLabel* panInfo;
    PictureFrame* imgFoto;
    QImage blankPicture() const;
    QPushButton* btnFocus;

    PictureButton *cmdNuovo, *cmdDuplica, *cmdSalva, *cmdTrova, *cmdFile, *cmdStampa, *cmdPrimo,
        *cmdIndietro, *cmdAvanti, *cmdUltimo, *cmdEsporta, *cmdSegnalati, *cmdGuida, *cmdEsci;
    PictureButton *btnCaricaFoto, *btnSalvaFoto, *btnCancFoto, *btnZoomFoto, *btnCodFisc;

    // Which record field each control holds, in record order.
    const FieldTable& fieldTable() const { return fields_; }

    void ClearArtworkCard();
    void ShowArtworkRecord(const TSchedaOpera& record, qint64 k);

    void cmdNuovoClick();
    void cmdDuplicaClick();
    void cmdSalvaClick();
    void btnCaricaFotoClick();
    void btnSalvaFotoClick();
    void btnCancFotoClick();
    void btnZoomFotoClick();
    void btnCodFiscClick();
    void cmdPrimoClick();
    void cmdIndietroClick();
    void cmdAvantiClick();
    void cmdUltimoClick();
    void cmdTrovaClick();
    void cmdSegnalatiClick();
    void cmdStampaClick();
    void cmdFileClick();
    void cmdEsportaClick();

signals:
    // The card was closed: the shell shows the launcher again.
    void closed();
    // A help button of the card or of a screen it opened: the shell shows the help window
    // for topic over the window over.
    void helpRequested(QWidget* over, const QString& topic);

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void buildToolbar(class CardChrome& chrome);
    QWidget* buildFieldColumn(StatusHints& hints);
    QWidget* buildPhotoColumn(StatusHints& hints);
    void wireFields();
    void buildFieldTable();
    // The Enter chain and tab order: Titolo .. Valore.
    QList<QLineEdit*> enterChain() const;
    TSchedaOpera cardRecord() const;
    void loadPhoto();
    void browse(Browse where);

    Ui& ui_;
    QLabel* imgBianco_;
    FieldTable fields_;
};
