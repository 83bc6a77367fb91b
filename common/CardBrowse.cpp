#include "common/CardBrowse.h"

#include "common/ArchiveFile.h"
#include "common/IoError.h"
#include "common/Messages.h"
#include "common/Text.h"
#include "common/Ui.h"

#include <QLabel>

void browseCard(Ui& ui, QWidget* card, QLabel* lblPosizione, const QString& archivePath, int recordSize,
                Browse where, const std::function<void(const QByteArray&, qint64)>& show)
{
    const QString p = text::trim(lblPosizione->text());
    // On card 1 "previous" does nothing, whatever the archive holds.
    if (where == Browse::Previous && p == QStringLiteral("1"))
        return;
    QByteArray bytes(recordSize, '\0');
    qint64 target = 1;
    try {
        ArchiveFile archive;
        archive.open(archivePath, recordSize);
        const qint64 n = archive.count();
        if (n == 0) {
            if (where == Browse::Next)
                lblPosizione->clear();
            archive.close();
            ui.message(card, Ui::Kind::Information, messages::kEmptyArchive);
            return;
        }
        const qint64 current = p.toLongLong();
        switch (where) {
        case Browse::First: target = 1; break;
        case Browse::Last: target = n; break;
        case Browse::Next:
            if (current >= n)
                return;
            target = current + 1;
            break;
        case Browse::Previous: target = current >= 2 ? current - 1 : 1; break;
        }
        archive.seek(target - 1);
        archive.read(bytes.data());
        archive.close();
    } catch (const IoError&) {
        ui.message(card, Ui::Kind::Error, messages::kArchiveAccess);
        return;
    }
    show(bytes, target);
}
