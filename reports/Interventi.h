#pragma once
#include "common/CardFields.h"

#include <QDate>
#include <QWidget>

#include <array>
#include <functional>

enum class Browse;
class PhotoBox;
class PictureButton;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class StatusHints;
class Ui;
struct TSchedaIntervento;
struct TSchedaOpera;

// The report card: one restoration report at a time. The controls are the working copy
// and lblPosizione holds the report's position in the archive (empty: not stored yet).
class TfrmInterventi : public QWidget {
    Q_OBJECT
public:
    explicit TfrmInterventi(Ui& ui, QWidget* parent = nullptr);

    QLineEdit *txtNumScheda, *txtData, *txtTecnico, *txtAzienda, *txtPratica, *txtCliente, *txtRecapito,
        *txtVeicolo, *txtTarga, *txtMarca, *txtChilometraggio, *txtDanni, *txtDataInizio, *txtStato,
        *txtDataFine, *txtVernice, *txtRicambi;
    QPlainTextEdit* txtInterventi;
    QLineEdit *txtManodopera, *txtNote, *txtTotale;
    QCheckBox* chkPagato;
    std::array<QLabel*, 3> lblFile;
    std::array<QLabel*, 3> lblDesc;
    QLabel* lblInizio;
    QLabel* lblPosizione;
    QLabel* panInfo;
    QPushButton* btnFocus;
    PhotoBox* foto1;
    PhotoBox* foto2;

    PictureButton *cmdNuovo, *cmdDuplica, *cmdSalva, *cmdTrova, *cmdFile, *cmdAnteprima, *cmdStampa, *cmdPrimo,
        *cmdIndietro, *cmdAvanti, *cmdUltimo, *cmdNonPagati, *cmdNumerazione, *cmdGuida, *cmdEsci, *btnLogo,
        *impCliente;

    // Today's date; tests fix it.
    std::function<QDate()> today = [] { return QDate::currentDate(); };

    // Which record field each control holds, in record order (txtVeicolo: TitoloOpera).
    const FieldTable& fieldTable() const { return fields_; }

    void ClearReportCard();
    void ShowReportRecord(const TSchedaIntervento& record, qint64 n);
    void LoadReportPhotos();
    // newCard: the card was just appended, so both frames are written.
    void SaveReportPhotos(bool newCard);

    void cmdNuovoClick();
    void cmdDuplicaClick();
    void cmdSalvaClick();
    void cmdPrimoClick();
    void cmdIndietroClick();
    void cmdAvantiClick();
    void cmdUltimoClick();
    void cmdNumerazioneClick();
    void cmdTrovaClick();
    void impClienteClick();
    void cmdNonPagatiClick();
    void cmdStampaClick();
    void cmdFileClick();
    void cmdAnteprimaClick();
    // Puts a catalogued work's title, year, technique, artist, dimensions, owner and
    // telephone into the card; nothing else on the card changes.
    void importArtwork(const TSchedaOpera& work);
    void btnLogoClick();
    // Opens the date picker for one of the three date fields.
    void pickDate(QLineEdit* field);

    // The memo's text as stored: lines joined by CR LF.
    QString memoText() const;

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
    QWidget* buildFields(StatusHints& hints);
    QWidget* buildPhotos(StatusHints& hints);
    void wireFields();
    void wireDateField(QLineEdit* field);
    void buildFieldTable();
    // The Enter chain: every single-line field, the memo reached from txtRicambi.
    QList<QLineEdit*> chain() const;
    TSchedaIntervento cardRecord() const;
    void browse(Browse where);

    Ui& ui_;
    FieldTable fields_;
};
