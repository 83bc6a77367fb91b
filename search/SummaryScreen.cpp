#include "search/SummaryScreen.h"

#include "storage/IoError.h"

#include <QLineEdit>
#include <QShowEvent>

SummaryScreen::SummaryScreen(Ui& ui, const Look& look, QWidget* parent) : ListScreen(ui, look, parent)
{ }

void SummaryScreen::showEvent(QShowEvent* e)
{
    ListScreen::showEvent(e);
    if (e->spontaneous())
        return;
    forgetLastFindKey();
    txtTrova->clear();
    ListLines lines;
    try {
        build(lines);
    } catch (const IoError&) {
        // Building stops without a message; what was found stays listed.
    }
    setLines(std::move(lines));
}
