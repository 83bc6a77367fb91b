#pragma once
#include "documentation/WorkingSet.h"
#include "records/SchedaIntervento.h"
#include "widgets/CardScreen.h"
#include "widgets/FramePhotos.h"

#include <QDate>

#include <memory>

class PhotoBox;
class PictureButton;
class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class StatusHints;
struct TSchedaOpera;

// The report card: one restoration report at a time.
class TfrmInterventi : public Card<TSchedaIntervento> {
    Q_OBJECT
public:
    explicit TfrmInterventi(Ui& ui, QWidget* parent = nullptr);

    QLineEdit *txtNumScheda, *txtData, *txtTecnico, *txtAzienda, *txtPratica, *txtCliente, *txtRecapito, *txtVeicolo,
        *txtTarga, *txtMarca, *txtChilometraggio, *txtDanni, *txtDataInizio, *txtStato, *txtDataFine, *txtVernice,
        *txtRicambi;
    QPlainTextEdit* txtInterventi;
    QLineEdit *txtManodopera, *txtNote, *txtTotale;
    QCheckBox* chkPagato;
    QLabel* lblInizio;
    PhotoBox* foto1;
    PhotoBox* foto2;

    PictureButton *cmdAnteprima, *cmdNonPagati, *cmdNumerazione, *btnLogo, *impCliente;

    // Today's date; tests fix it.
    std::function<QDate()> today = [] { return QDate::currentDate(); };

    void ClearReportCard();
    void ShowReportRecord(const TSchedaIntervento& record, qint64 n);
    void LoadReportPhotos();

    void cmdNumerazioneClick();
    void cmdTrovaClick() override;
    void impClienteClick();
    void cmdNonPagatiClick();
    void cmdStampaClick() override;
    void cmdFileClick() override;
    void cmdCronologiaClick() override;
    void cmdDocumentazioneClick() override;
    void cmdAnteprimaClick();
    QList<SidePart*> sideParts(bool newCard) const override;
    // The card's photographic documentation: its working copy, saved with the card.
    documentation::WorkingSet& documentation() { return *docs_; }
    // Puts a catalogued work's title, year, technique, artist, dimensions, owner and
    // telephone into the card; nothing else on the card changes.
    void importArtwork(const TSchedaOpera& work);
    void btnLogoClick();
    // Opens the date picker for one of the three date fields.
    void pickDate(QLineEdit* field);

    // The memo's text as stored: lines joined by CR LF.
    QString memoText() const;

protected:
    void newCard() override;
    void showRecord(const TSchedaIntervento& record, qint64 position) override { ShowReportRecord(record, position); }
    QLineEdit* amountField() const override { return txtTotale; }
    QWidget* firstField() const override;
    void prepareDuplicate() override;
    void clearPhotos() override;
    void saved(bool newCard) override;
    void loadPhotos() override;
    void restorePhotos(const QStringList& photos) override;
    void opened() override;
    void closing() override;

private:
    QWidget* buildFields(StatusHints& hints);
    QWidget* buildPhotos(StatusHints& hints);
    void wireFields();
    void wireDateField(QLineEdit* field);
    // The Enter chain: every single-line field, the memo reached from txtRicambi.
    QList<QLineEdit*> chain() const;
    void openWebcam(PhotoBox* box, const QString& mode);
    template <class Screen> void showDocument();

    std::unique_ptr<documentation::WorkingSet> docs_;
    std::unique_ptr<FramePhotos> photos_;
};
