#pragma once
#include "search/ListScreen.h"

// A summary list: no criteria; the list is built from its archive each time the screen
// is shown. An archive that cannot be read stops the building silently, keeping the
// lines found so far.
class SummaryScreen : public ListScreen {
    Q_OBJECT
protected:
    SummaryScreen(Ui& ui, const Look& look, QWidget* parent);
    // Appends the listed lines; throws IoError when the archive cannot be read.
    virtual void build(ListLines& lines) = 0;
    void showEvent(QShowEvent* e) override;
};
