#pragma once
#include "search/ListLines.h"
#include "widgets/Dialogs.h"

#include <QDateTime>
#include <QDialog>
#include <QLabel>

#include <functional>
#include <memory>

class LineModel;
class QLineEdit;
class QListView;
class QPushButton;
class QVBoxLayout;
class Ui;

// What the four list screens share: a fixed 862 x 560 window with the results panel
// panContainer (banner, find, the list lstRecords, its captions, Chiudi and Stampa), the
// in-list find with its last find key, and the double-click that hands the chosen
// line's record to the screen. Each line keeps the position of its record, so a
// double-click shows exactly that record.
class ListScreen : public QDialog {
    Q_OBJECT
public:
    QLabel* lblMemory;
    QWidget* panContainer;
    QLineEdit* txtTrova;
    QPushButton* btnTrova;
    QListView* lstRecords;
    QLabel* lblRigo03;
    QPushButton* btnChiudi;
    QPushButton* btnStampa;

    // The lines shown, in display order.
    const ListLines& lines() const;
    // The selected line (0-based), or -1.
    int selectedLine() const;
    void selectLine(int row);

    // The printing time; tests fix it.
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };

    void btnTrovaClick();
    void btnStampaClick();
    void lstRecordsDblClick();

protected:
    struct Look {
        const char* objectName;
        const char* caption;
        const char* banner;
        const char* instructionName; // icoIstruzioni01 or icoIstruzioni
        const char* doubleClickHint;
        const char* printTitle;
        const char* templateName;
    };
    ListScreen(Ui& ui, const Look& look, QWidget* parent);

    // Puts the lines into the list, shows the start of the list and gives txtTrova the focus.
    void setLines(ListLines lines);
    // Shows the record at position on its card when the mode allows it. Throws IoError
    // when the record cannot be read; the screen then closes and nothing changes.
    virtual void showRecord(qint64 position) = 0;
    // The results panel's layout, for a screen that adds a line under the list.
    QVBoxLayout* resultsLayout() const { return results_; }
    void forgetLastFindKey() { lastKey_.clear(); }
    void done(int result) override;
    // The window stands centred on the screen, wherever the card is.
    void showEvent(QShowEvent* e) override;

    Ui& ui_;

private:
    LineModel* model_;
    QVBoxLayout* results_;
    QString lastKey_;
    QString printTitle_;
    QString templateName_;
};

// Shows a list screen of type S for a card, modally, and destroys it: a search in mode,
// or a summary list (no mode); the record the user double-clicks goes to chosen.
template <class S> void showList(Ui& ui, QWidget* card, typename S::Chosen chosen, const QString& mode = {})
{
    auto screen = std::make_unique<S>(ui, card, std::move(chosen));
    if (!mode.isEmpty())
        screen->lblMemory->setText(mode);
    execOnce(ui, std::move(screen));
}

// The banner at the top of a list screen's panel.
QLabel* listBanner(const QString& text, QWidget* parent);
