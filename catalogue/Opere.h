#pragma once
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

    // Fields in record order (Titolo .. Valore); the Enter chain follows it.
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

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void buildToolbar(class CardChrome& chrome);
    QWidget* buildFieldColumn(StatusHints& hints);
    QWidget* buildPhotoColumn(StatusHints& hints);
    void wireFields();
    QList<QLineEdit*> fields() const;
    TSchedaOpera cardRecord() const;
    void loadPhoto();
    void browse(Browse where);

    Ui& ui_;
    QLabel* imgBianco_;
};
