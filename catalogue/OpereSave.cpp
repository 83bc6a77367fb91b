// The artwork card's new, duplicate and save actions.
#include "catalogue/Opere.h"

#include "records/ArtworkArchive.h"
#include "records/ArtworkPhoto.h"
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
    for (const CardField& f : fields_)
        if (f.field >= TSchedaOpera::File01)
            cardfields::clear(f.control);
    lblPosizione->clear();
    imgFoto->setImage(blankPicture());
    txtCapo->setFocus();
    ui_.message(this, Ui::Kind::Information, messages::kDuplicated);
}

TSchedaOpera TfrmOpere::cardRecord() const
{
    return cardfields::record<TSchedaOpera>(fields_);
}

void TfrmOpere::cmdSalvaClick()
{
    finishEditing(this, txtPrezzo, btnFocus);

    if (const CardField* missing = cardfields::firstMissing(fields_)) {
        ui_.message(this, Ui::Kind::Warning, missing->mandatory);
        missing->control->setFocus();
        return;
    }

    const QString position = text::trim(lblPosizione->text());
    try {
        const qint64 stored = ArtworkArchive().store(cardRecord(), position);
        lblPosizione->setText(QString::number(stored));
    } catch (const IoError&) {
        ui_.message(this, Ui::Kind::Error, messages::kArchiveAccess);
        return;
    }
    // The photo is written for a new card and whenever the user changed it, never else: a
    // stored photo is not re-encoded by every save. One that cannot be written leaves the
    // record saved and the frame as it is.
    if ((position.isEmpty() || imgFoto->isChanged())
        && artworkphoto::save(imgFoto->image(), imgFoto->fileBytes(), lblPosizione->text()))
        imgFoto->markStored();
    ui_.message(this, Ui::Kind::Information, position.isEmpty() ? kInserted : kSavedChanges);
}
