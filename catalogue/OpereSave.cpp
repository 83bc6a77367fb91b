// The artwork card's new, duplicate and save actions.
#include "catalogue/Opere.h"

#include "catalogue/ArtworkPhoto.h"
#include "catalogue/SchedaOpera.h"
#include "common/CardParts.h"
#include "common/IoError.h"
#include "common/Messages.h"
#include "common/Text.h"
#include "common/Ui.h"
#include "common/Widgets.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
const QString kSavedChanges = QStringLiteral("Le modifiche apportate alla scheda corrente sono state salvate in archivio.");
const QString kInserted = QStringLiteral("La scheda corrente \u00E8 stata inserita in archivio.");
} // namespace

void TfrmOpere::cmdNuovoClick()
{
    ClearArtworkCard();
}

void TfrmOpere::cmdDuplicaClick()
{
    if (text::trim(lblPosizione->text()).isEmpty()) {
        ui_.message(this, Ui::Kind::Warning, messages::kDuplicateUnsaved);
        return;
    }
    for (int i = 0; i < 3; ++i) {
        lblFile[i]->clear();
        lblDesc[i]->clear();
    }
    lblPosizione->clear();
    imgFoto->setImage(blankPicture());
    txtCapo->setFocus();
    ui_.message(this, Ui::Kind::Information, messages::kDuplicated);
}

TSchedaOpera TfrmOpere::cardRecord() const
{
    TSchedaOpera r;
    const QList<QLineEdit*> edits = fields();
    for (int i = 0; i < edits.size(); ++i)
        r.text[size_t(i)] = edits[i]->text();
    r.setSold(chkSegnala->isChecked());
    for (int i = 0; i < 3; ++i) {
        r[TSchedaOpera::Field(TSchedaOpera::File01 + i)] = lblFile[i]->text();
        r[TSchedaOpera::Field(TSchedaOpera::Desc01 + i)] = lblDesc[i]->text();
    }
    return r;
}

void TfrmOpere::cmdSalvaClick()
{
    finishEditing(this, txtPrezzo, btnFocus);

    const auto missing = firstMissing({
        {txtCapo, QStringLiteral("Attenzione: per salvare la scheda \u00E8 necessario indicare il titolo dell'opera.")},
        {txtColore, QStringLiteral("Attenzione: per salvare la scheda \u00E8 necessario indicare il nome dell'artista creatore dell'opera.")},
        {txtTessuto, QStringLiteral("Attenzione: per salvare la scheda \u00E8 necessario indicare l'anno di realizzazione dell'opera.")},
        {txtCliente, QStringLiteral("Attenzione: per salvare la scheda \u00E8 necessario indicare il proprietario attuale dell'opera.")},
    });
    if (missing) {
        ui_.message(this, Ui::Kind::Warning, missing->message);
        missing->edit->setFocus();
        return;
    }

    const QString position = text::trim(lblPosizione->text());
    try {
        const qint64 stored = storeRecord(TSchedaOpera::archivePath(), TSchedaOpera::kSize, cardRecord().encode(), position);
        lblPosizione->setText(QString::number(stored));
    } catch (const IoError&) {
        ui_.message(this, Ui::Kind::Error, messages::kArchiveAccess);
        return;
    }
    // A photo that cannot be written leaves the record saved and the frame as it is.
    artworkphoto::save(imgFoto->image(), lblPosizione->text());
    ui_.message(this, Ui::Kind::Information, position.isEmpty() ? kInserted : kSavedChanges);
}
