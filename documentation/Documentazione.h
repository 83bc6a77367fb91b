#pragma once
#include "documentation/Import.h"
#include "documentation/WorkingSet.h"

#include <QDialog>
#include <QImage>

#include <functional>
#include <optional>

class PictureFrame;
class QComboBox;
class QDateEdit;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class ThumbnailLoader;
class Ui;

namespace documentation {
class PhotoListView;
class PhotoModel;
} // namespace documentation

// The photographic documentation of the card on screen: every photo, grouped by phase, with
// its number and caption; the chosen one's phase, caption and date beside the list. Changes
// go into the card's working copy and are stored with the card's next save.
class TfrmDocumentazione : public QDialog {
    Q_OBJECT
public:
    // A still from the webcam, or nothing when the user took none.
    using Capture = std::function<std::optional<QImage>(QWidget* over)>;
    TfrmDocumentazione(Ui& ui, QWidget* parent, documentation::WorkingSet& set, Capture webcam = {},
                       std::function<void(QWidget*)> help = {});
    ~TfrmDocumentazione() override;

    QComboBox* cboFase; // the phase shown ("Tutte le fasi" first)
    documentation::PhotoListView* lstFoto;
    QLabel* lblAvviso; // what the user must know of the set (a damaged list, missing photos)
    // Lists the photos found in the card's folder that no list names (a list lost or emptied).
    QPushButton* btnRiprendiFoto;
    QLabel* lblStato; // additions and thumbnails under way
    PictureFrame* imgAnteprima;
    QLabel* lblNumero;
    QComboBox* cboFaseFoto;
    QPlainTextEdit* txtDidascalia; // one paragraph, at most 250 characters
    QDateEdit* dtpData;
    QPushButton *btnAggiungi, *btnWebcam, *btnRimuovi, *btnRuota, *btnSu, *btnGiu, *btnChiudi;

    documentation::PhotoModel* model() const { return model_; }
    // The photo chosen in the list; 0 for none.
    quint64 chosen() const;
    void choose(quint64 id);

    void btnAggiungiClick();
    void btnRiprendiFotoClick();
    void btnWebcamClick();
    void btnRimuoviClick();
    void btnRuotaClick();
    void btnSuClick();
    void btnGiuClick();
    // Adds files (chosen, or dropped from the file manager) to phase at place, in the background.
    void addFiles(const QStringList& paths, const QString& phase, int place);
    // Whether files are being added.
    bool adding() const;
    // Opens the chosen photo in the zoom window.
    void zoom();

protected:
    void showEvent(QShowEvent* e) override;
    void done(int result) override;

private:
    QWidget* buildDetails();
    void showChosen();
    void imported(const documentation::Imported& result);
    void additionsFinished();
    void updateState();
    void move(int by);
    // Scrolls the list to row (with its phase's heading) once the screen shows.
    void reveal(int row);
    // In the list, when it shows no photo: how to add some.
    void showEmptyHint();
    // The phase new photos take: the one shown, or the chosen photo's, or the first.
    QString phaseForNew() const;
    void wantVisible();

    Ui& ui_;
    documentation::WorkingSet& set_;
    Capture webcam_;
    ThumbnailLoader* loader_;
    documentation::Importer* importer_;
    documentation::PhotoModel* model_;
    // Where the photos being added go, and what they said.
    QString addPhase_;
    int addPlace_ = -1;
    QStringList said_, causes_;
    quint64 lastAdded_ = 0;
    int addTotal_ = 0, addDone_ = 0;
    quint64 previewFor_ = 0;
};

// The documentation screen of the card whose position (lblPosizione's text) is given: a card not
// stored yet has no documentation, and is told so. Shows what is stored now, unless the card
// holds changes of its own.
void showDocumentation(Ui& ui, QWidget* card, const QString& position, documentation::WorkingSet& set,
                       TfrmDocumentazione::Capture webcam, std::function<void(QWidget*)> help);
