#include "common/RecordStore.h"

#include "common/ArchiveFile.h"
#include "common/IoError.h"
#include "common/Text.h"

RecordStore::RecordStore(QString path, int recordSize) : path_(std::move(path)), size_(recordSize)
{ }

qint64 RecordStore::count() const
{
    ArchiveFile archive;
    archive.open(path_, size_);
    const qint64 n = archive.count();
    archive.close();
    return n;
}

QByteArray RecordStore::read(qint64 position) const
{
    ArchiveFile archive;
    archive.open(path_, size_);
    if (position < 1 || position > archive.count())
        throw IoError(QStringLiteral("no record %1 in %2").arg(position).arg(path_));
    QByteArray bytes(size_, '\0');
    archive.seek(position - 1);
    archive.read(bytes.data());
    archive.close();
    return bytes;
}

void RecordStore::update(qint64 position, const QByteArray& record)
{
    if (record.size() != size_)
        throw IoError(QStringLiteral("a record of %1 bytes for an archive of %2").arg(record.size()).arg(size_));
    ArchiveFile archive;
    archive.open(path_, size_);
    if (position < 1)
        throw IoError(QStringLiteral("no record %1 in %2").arg(position).arg(path_));
    archive.seek(position - 1);
    archive.write(record.constData());
    archive.sync();
    archive.close();
}

qint64 RecordStore::append(const QByteArray& record)
{
    if (record.size() != size_)
        throw IoError(QStringLiteral("a record of %1 bytes for an archive of %2").arg(record.size()).arg(size_));
    ArchiveFile archive;
    archive.open(path_, size_);
    const qint64 position = archive.append(record.constData());
    archive.sync();
    archive.close();
    return position;
}

qint64 RecordStore::store(const QByteArray& record, const QString& position)
{
    const QString p = text::trim(position);
    if (p.isEmpty())
        return append(record);
    bool number = false;
    const qint64 k = p.toLongLong(&number);
    if (!number)
        throw IoError(QStringLiteral("'%1' is not a card position").arg(p));
    update(k, record);
    return k;
}

void RecordStore::scan(const std::function<bool(qint64, const char*)>& visit) const
{
    ArchiveFile archive;
    archive.open(path_, size_);
    const qint64 n = archive.count();
    for (qint64 k = 1; k <= n; ++k)
        if (!visit(k, archive.next()))
            break;
    archive.close();
}

RecordStore::Found RecordStore::browse(Browse where, qint64 current) const
{
    ArchiveFile archive;
    archive.open(path_, size_);
    Found found;
    found.count = archive.count();
    if (found.count == 0)
        return found;
    switch (where) {
    case Browse::First: found.target = 1; break;
    case Browse::Last: found.target = found.count; break;
    case Browse::Next: found.target = current >= found.count ? 0 : current + 1; break;
    case Browse::Previous: found.target = current >= 2 ? current - 1 : 1; break;
    }
    if (found.target > 0) {
        found.record = QByteArray(size_, '\0');
        archive.seek(found.target - 1);
        archive.read(found.record.data());
    }
    archive.close();
    return found;
}
