#pragma once
#include "search/SearchScreen.h"

#include <functional>

struct TSchedaOpera;

// Finds works in the catalogue. The caller sets the mode in lblMemory ("opere" from the
// artwork card, "interventi" from the report card's import) and hands over what a chosen
// work is for; with any other mode a double-click only closes the screen.
class TfrmTrovaOpere : public SearchScreen {
    Q_OBJECT
public:
    using Chosen = std::function<void(const TSchedaOpera& record, qint64 position)>;
    explicit TfrmTrovaOpere(Ui& ui, QWidget* parent = nullptr, Chosen chosen = {});

protected:
    void search(const Criteria& criteria, ListLines& lines) override;
    void showRecord(qint64 position) override;

private:
    Chosen chosen_;
};
