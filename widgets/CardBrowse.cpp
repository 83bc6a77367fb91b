#include "widgets/CardBrowse.h"

#include "storage/IoError.h"
#include "storage/Text.h"
#include "widgets/Messages.h"
#include "widgets/Ui.h"

#include <QLabel>

void browseCard(Ui& ui, QWidget* card, QLabel* lblPosizione, const RecordStore& store, Browse where,
                const std::function<void(const QByteArray&, qint64)>& show)
{
    const QString p = text::trim(lblPosizione->text());
    // On card 1 "previous" does nothing, whatever the archive holds.
    if (where == Browse::Previous && p == QStringLiteral("1"))
        return;
    RecordStore::Found found;
    try {
        found = store.browse(where, p.toLongLong());
    } catch (const IoError&) {
        ui.message(card, Ui::Kind::Error, messages::kArchiveAccess);
        return;
    }
    if (found.count == 0) {
        if (where == Browse::Next)
            lblPosizione->clear();
        ui.message(card, Ui::Kind::Information, messages::kEmptyArchive);
        return;
    }
    if (found.target > 0)
        show(found.record, found.target);
}
