#pragma once
#include "documentation/WorkingSet.h"
#include "history/Versions.h"
#include "storage/IoError.h"
#include "storage/Text.h"
#include "widgets/CardScreen.h"
#include "widgets/Dialogs.h"
#include "widgets/Messages.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QDialog>

class PictureFrame;
class QPushButton;
class QTableWidget;
class QTreeView;

// The versions of a card, newest first: when, what happened, where, who, what changed.
class VersionModel : public QAbstractTableModel {
    Q_OBJECT
public:
    VersionModel(std::vector<history::Version> versions, QObject* parent);
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    const history::Version& version(int row) const { return versions_[size_t(row)]; }

private:
    std::vector<history::Version> versions_;
};

// The history of the card on screen: its saved versions in lstVersioni; the one chosen
// beside the card as it stands in grdConfronto, changed rows marked, with its photo in
// imgVersione (and imgVersione02 for a report's second photo). Ripristina puts the chosen
// version on the card, to be saved as a new version, after asking when the card holds edits
// not saved; Enter and a double click on a version only choose it.
class TfrmCronologia : public QDialog {
    Q_OBJECT
    Q_PROPERTY(QColor changedColour MEMBER changedColour_)
public:
    // Puts the version on the card: its record, its photos (per frame, the file of each) and
    // its documentation.
    using Restore = std::function<void(const history::Version& version)>;
    // unsavedEdits: the card holds edits not saved, which a restore would replace.
    TfrmCronologia(Ui& ui, QWidget* parent, std::vector<history::Version> versions, history::RecordKind kind,
                   QStringList current, bool unsavedEdits, Restore restore, std::function<void(QWidget*)> help = {});

    QTreeView* lstVersioni;
    QTableWidget* grdConfronto;
    PictureFrame* imgVersione;
    PictureFrame* imgVersione02; // nullptr for a card with one photo
    QPushButton* btnRipristina;
    QPushButton* btnChiudi;

    // The version chosen (0 the newest), or -1.
    int chosen() const;
    void choose(int row);
    void btnRipristinaClick();

protected:
    void showEvent(QShowEvent* e) override;

private:
    void showChosen();

    Ui& ui_;
    VersionModel* model_;
    history::RecordKind kind_;
    QStringList current_;
    bool unsavedEdits_;
    Restore restore_;
    QColor changedColour_;
};

// Puts a version's documentation in the card's working copy, and says which of its photos
// could not be brought back.
void restoreDocumentation(Ui& ui, QWidget* card, documentation::WorkingSet& set, const history::Version& version);

// The history screen of a card over records R with the given photo frames: the card's
// versions read under its archive's lock, the card as it stands, and restore.
template <class R>
void showCardHistory(Ui& ui, Card<R>& card, QList<quint8> frames, const QStringList& currentPhotos,
                     const QString& documentationFolder, const TfrmCronologia::Restore& restore,
                     const std::function<void(QWidget*)>& help)
{
    const QString position = text::trim(card.lblPosizione->text());
    if (position.isEmpty()) {
        ui.message(&card, Ui::Kind::Information, messages::kNotSavedYet);
        return;
    }
    std::vector<journal::Entry> entries;
    try {
        entries = card.archive().history(position.toLongLong());
    } catch (const IoError&) {
        ui.message(&card, Ui::Kind::Error, messages::kArchiveAccess);
        return;
    }
    if (entries.empty()) {
        ui.message(&card, Ui::Kind::Information, messages::kNoHistoryYet);
        return;
    }
    const history::RecordKind kind = history::kindOf<R>(std::move(frames));
    QStringList current;
    for (const CardField<R>& f : card.fieldTable())
        current << text::trim(cardfields::value(f.control));
    execOnce(ui, std::make_unique<TfrmCronologia>(ui, &card,
                                                  history::versions(entries, kind, currentPhotos, documentationFolder),
                                                  kind, current, card.unsavedEdits(), restore, help));
}
