// The report card's save, new and duplicate actions.
#include "reports/Interventi.h"

#include "common/ArchiveFile.h"
#include "common/CardParts.h"
#include "common/IniFile.h"
#include "common/IoError.h"
#include "common/Messages.h"
#include "common/ProgramDir.h"
#include "common/Style.h"
#include "common/Text.h"
#include "common/Ui.h"
#include "reports/PhotoBox.h"
#include "reports/SchedaIntervento.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace numbering {
QString file()
{
    return programdir::file(QStringLiteral("Contratti.ini"));
}
const QString kSection = QStringLiteral("Numerazione Contratti");
const QString kKey = QStringLiteral("Inizio");
} // namespace numbering

TSchedaIntervento TfrmInterventi::cardRecord() const
{
    TSchedaIntervento r;
    const QList<QLineEdit*> edits = recordEdits();
    for (int i = 0; i < edits.size(); ++i)
        r.text[size_t(i)] = edits[i]->text();
    r[TSchedaIntervento::MaterialiInterventi] = memoText();
    r[TSchedaIntervento::Dimensioni] = txtManodopera->text();
    r[TSchedaIntervento::Note] = txtNote->text();
    r[TSchedaIntervento::Totale] = txtTotale->text();
    r.setPaid(chkPagato->isChecked());
    for (int i = 0; i < 3; ++i) {
        r[TSchedaIntervento::Field(TSchedaIntervento::File01 + i)] = lblFile[i]->text();
        r[TSchedaIntervento::Field(TSchedaIntervento::Desc01 + i)] = lblDesc[i]->text();
    }
    return r;
}

void TfrmInterventi::cmdSalvaClick()
{
    finishEditing(this, txtTotale, btnFocus);

    auto need = [](const char* what) {
        return QStringLiteral("Attenzione: per salvare la scheda \u00E8 necessario ") + QString::fromUtf8(what);
    };
    const auto missing = firstMissing({
        {txtNumScheda, need("assegnare un numero alla Relazione.")},
        {txtData, need("indicare la data di emissione della Relazione.")},
        {txtAzienda, need("indicare l'intestazione del Laboratorio di Restauro.")},
        {txtCliente, need("indicare il nome del committente.")},
        {txtRecapito, need("indicare il recapito telefonico del committente.")},
        {txtVeicolo, need("indicare il titolo dell'opera d'arte.")},
        {txtTarga, need("indicare l'anno di realizzazione dell'opera d'arte.")},
        {txtChilometraggio, need("indicare il nome dell'artista.")},
    });
    if (missing) {
        ui_.message(this, Ui::Kind::Warning, missing->message);
        missing->edit->setFocus();
        return;
    }

    const QString position = text::trim(lblPosizione->text());
    try {
        const qint64 stored =
            storeRecord(TSchedaIntervento::archivePath(), TSchedaIntervento::kSize, cardRecord().encode(), position);
        lblPosizione->setText(QString::number(stored));
    } catch (const IoError&) {
        ui_.message(this, Ui::Kind::Plain, messages::kArchiveAccess);
        return;
    }
    SaveReportPhotos();
    ui_.message(this, Ui::Kind::Information,
                position.isEmpty() ? QStringLiteral("La scheda corrente \u00E8 stata inserita in archivio.")
                                   : QStringLiteral("Le modifiche apportate alla scheda corrente sono state salvate in archivio."));
}

void TfrmInterventi::cmdNuovoClick()
{
    try {
        lblInizio->setText(IniFile(numbering::file()).read(numbering::kSection, numbering::kKey));
        if (text::trim(lblInizio->text()).isEmpty())
            lblInizio->setText(QStringLiteral("1"));
        ArchiveFile archive;
        archive.open(TSchedaIntervento::archivePath(), TSchedaIntervento::kSize);
        const qint64 n = archive.count();
        archive.close();
        ClearReportCard();
        bool whole = false;
        const qint64 start = text::trim(lblInizio->text()).toLongLong(&whole);
        if (!whole)
            throw IoError(QStringLiteral("numbering start is not a whole number"));
        txtNumScheda->setText(QString::number(start + n));
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
    for (int i = 0; i < 3; ++i) {
        lblFile[i]->clear();
        lblDesc[i]->clear();
    }
    lblPosizione->clear();
    foto1->clear();
    foto2->clear();
    txtNumScheda->setFocus();
    ui_.message(this, Ui::Kind::Information, messages::kDuplicated);
}
