#include "search/DaSaldare.h"

#include "records/ReportArchive.h"
#include "search/Searches.h"

TfrmDaSaldare::TfrmDaSaldare(Ui& ui, QWidget* parent, Chosen chosen)
    : SummaryScreen(ui,
                    {"frmDaSaldare", " Riepilogo conti non saldati", "Riepilogo conti non saldati", "icoIstruzioni",
                     "Fare doppio clic su una voce in elenco per richiamare la scheda", "Riepilogo conti non saldati",
                     "Riepilogo conti non saldati"},
                    parent),
      chosen_(std::move(chosen))
{ }

void TfrmDaSaldare::build(ListLines& lines)
{
    searches::unpaidReports(ReportArchive(), lines);
}

void TfrmDaSaldare::showRecord(qint64 position)
{
    if (chosen_)
        chosen_(ReportArchive().record(position), position);
}
