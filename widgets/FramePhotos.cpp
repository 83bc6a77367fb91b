#include "widgets/FramePhotos.h"

#include "storage/CardFiles.h"
#include "storage/Crc32.h"
#include "storage/IoError.h"
#include "storage/PhotoFiles.h"
#include "storage/ProgramDir.h"
#include "widgets/PictureFrame.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>

bool FramePhotos::edited() const
{
    return std::any_of(frames_.begin(), frames_.end(), [](const Frame& f) { return f.picture->isChanged(); });
}

QByteArray FramePhotos::prepare(qint64 position, cardfiles::Transaction& tx)
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    QSet<QString> chosen;
    for (const Frame& f : std::as_const(frames_)) {
        if (!newCard_ && !f.picture->isChanged())
            continue;
        QByteArray bytes = f.picture->fileBytes();
        if (bytes.isEmpty()) {
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            if (f.picture->image().isNull() || !f.picture->image().save(&buffer, "JPEG", 90))
                throw IoError(QStringLiteral("cannot encode the photo of frame %1").arg(f.tag));
        }
        const QString path = f.path(position);
        // The photo it replaces is kept in the history.
        if (QFileInfo(path).isFile()) {
            QFile old(path);
            if (!old.open(QIODevice::ReadOnly))
                throw IoError(QStringLiteral("cannot read %1: %2").arg(path, old.errorString()));
            const QByteArray was = old.readAll();
            if (old.error() != QFileDevice::NoError)
                throw IoError(QStringLiteral("cannot read %1: %2").arg(path, old.errorString()));
            const QString kept = photofiles::keptPath(path, now, {}, {}, &chosen);
            tx.retire(path, kept, was.size(), crc32(was));
            tx.keptPhotos << journal::KeptPhoto{f.tag, QDir(programdir::path()).relativeFilePath(kept)};
        }
        tx.put(path, bytes);
    }
    return {};
}

void FramePhotos::committed(qint64)
{
    for (const Frame& f : std::as_const(frames_))
        f.picture->markStored();
    newCard_ = false;
}
