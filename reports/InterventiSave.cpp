// The report card's save, new and duplicate actions.
#include "reports/Interventi.h"

#include "common/CardParts.h"
#include "common/IniFile.h"
#include "common/IoError.h"
#include "common/Messages.h"
#include "common/ProgramDir.h"
#include "common/Style.h"
#include "common/Text.h"
#include "common/Ui.h"
#include "records/Numbering.h"
#include "reports/PhotoBox.h"
#include "records/ReportArchive.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

TSchedaIntervento TfrmInterventi::cardRecord() const
{
    return cardfields::record<TSchedaIntervento>(fields_);
}

void TfrmInterventi::cmdSalvaClick()
{
    finishEditing(this, txtTotale, btnFocus);

    if (const CardField* missing = cardfields::firstMissing(fields_)) {
        ui_.message(this, Ui::Kind::Warning, missing->mandatory);
        missing->control->setFocus();
        return;
    }

    const QString position = text::trim(lblPosizione->text());
    try {
        const qint64 stored = ReportArchive().store(cardRecord(), position);
        lblPosizione->setText(QString::number(stored));
    } catch (const IoError&) {
        ui_.message(this, Ui::Kind::Plain, messages::kArchiveAccess);
        return;
    }
    SaveReportPhotos(position.isEmpty());
    ui_.message(this, Ui::Kind::Information,
                position.isEmpty() ? QStringLiteral("La scheda corrente \u00E8 stata inserita in archivio.")
                                   : QStringLiteral("Le modifiche apportate alla scheda corrente sono state salvate in archivio."));
}

void TfrmInterventi::cmdNuovoClick()
{
    try {
        lblInizio->setText(numbering::readStart());
        if (text::trim(lblInizio->text()).isEmpty())
            lblInizio->setText(QStringLiteral("1"));
        const qint64 n = ReportArchive().count();
        ClearReportCard();
        // A start that is no number, or one out of range, cannot number the report.
        const std::optional<qint64> start = numbering::parseStart(lblInizio->text());
        if (!start)
            throw IoError(QStringLiteral("numbering start is not a whole number of at most %1").arg(numbering::kMaxStart));
        txtNumScheda->setText(QString::number(*start + n));
        txtData->setText(today().toString(style::kShortDate));
        txtTecnico->setFocus();
    } catch (const IoError&) {
        ui_.message(this, Ui::Kind::Error, messages::kArchiveAccess);
    }
}

void TfrmInterventi::cmdDuplicaClick()
{
    if (text::trim(lblPosizione->text()).isEmpty()) {
        ui_.message(this, Ui::Kind::Warning, messages::kDuplicateUnsaved);
        return;
    }
    txtNumScheda->clear();
    txtData->setText(today().toString(style::kShortDate));
    for (const CardField& f : fields_)
        if (f.field >= TSchedaIntervento::File01)
            cardfields::clear(f.control);
    lblPosizione->clear();
    foto1->clear();
    foto2->clear();
    txtNumScheda->setFocus();
    ui_.message(this, Ui::Kind::Information, messages::kDuplicated);
}
