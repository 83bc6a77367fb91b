#include "storage/SideFile.h"

#include "storage/CardFiles.h"
#include "storage/Crc32.h"
#include "storage/IoError.h"
#include "storage/PhotoFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QString SideFile::path(qint64 position) const
{
    return position > 0 ? kind_.folder(position) + u'/' + kind_.name : QString();
}

QByteArray SideFile::onDisk(qint64 position) const
{
    const QString file = path(position);
    const QFileInfo info(file);
    if (!info.exists())
        return {};
    QFile f(file);
    if (!info.isFile() || !f.open(QIODevice::ReadOnly))
        throw IoError(QStringLiteral("cannot read %1: %2").arg(file, f.errorString()));
    const QByteArray bytes = f.read(kLargest + 1);
    if (f.error() != QFileDevice::NoError)
        throw IoError(QStringLiteral("cannot read %1: %2").arg(file, f.errorString()));
    return bytes;
}

bool SideFile::load(qint64 position)
{
    position_ = std::max<qint64>(0, position);
    bytes_.clear();
    shown_.clear();
    readOnly_ = prepared_ = false;
    note_.clear();
    if (position_ == 0)
        return true;
    try {
        shown_ = bytes_ = onDisk(position_);
    } catch (const IoError&) {
        readOnly_ = true; // never written over what could not be read
        return false;
    }
    return true;
}

QString SideFile::conflict(qint64 position) const
{
    if (!edited() || position != position_)
        return {};
    try {
        if (onDisk(position) == shown_)
            return {};
    } catch (const IoError&) {
        return {}; // the save says what it could not store
    }
    return kind_.conflictQuestion;
}

QByteArray SideFile::stored(qint64 position)
{
    return onDisk(position);
}

QByteArray SideFile::prepare(qint64 position, cardfiles::Transaction& tx)
{
    note_.clear();
    prepared_ = false;
    if (!edited() || position != position_)
        return {};
    if (readOnly_) {
        note_ = readOnlyNote_;
        return {};
    }
    const QByteArray disk = onDisk(position);
    // A file that does not read whole is replaced only once it is kept.
    if (!disk.isEmpty() && kind_.whole && !kind_.whole(disk)) {
        const QString kept = photofiles::keptPath(path(position), QDateTime::currentDateTimeUtc(), kind_.keptFolder,
                                                  QStringLiteral("Documentazione_%1_").arg(position), nullptr);
        tx.retire(path(position), kept, disk.size(), crc32(disk));
    }
    tx.put(path(position), bytes_);
    prepared_ = true;
    return bytes_;
}

void SideFile::committed(qint64 position)
{
    if (prepared_ && position == position_)
        shown_ = bytes_;
    prepared_ = false;
}
