// The report card's new card (numbered) and what its duplicate changes.
#include "reports/Interventi.h"

#include "records/Numbering.h"
#include "records/ReportArchive.h"
#include "storage/IoError.h"
#include "storage/Text.h"
#include "widgets/Messages.h"
#include "widgets/Style.h"

#include <QLabel>
#include <QLineEdit>

void TfrmInterventi::newCard()
{
    qint64 stored = 0;
    try {
        lblInizio->setText(numbering::readStart());
        stored = ReportArchive().count();
    } catch (const IoError&) {
        ui_.message(this, Ui::Kind::Error, messages::kArchiveAccess);
        return;
    }
    if (text::trim(lblInizio->text()).isEmpty())
        lblInizio->setText(QStringLiteral("1"));
    ClearReportCard();
    // A start that is no number, or one out of range, cannot number the report.
    const std::optional<qint64> start = numbering::parseStart(lblInizio->text());
    if (!start) {
        ui_.message(this, Ui::Kind::Error, messages::kArchiveAccess);
        return;
    }
    txtNumScheda->setText(QString::number(*start + stored));
    txtData->setText(today().toString(style::kShortDate));
    txtTecnico->setFocus();
}

void TfrmInterventi::prepareDuplicate()
{
    txtNumScheda->clear();
    txtData->setText(today().toString(style::kShortDate));
}
