#include "storage/RecordStore.h"

#include "storage/ArchiveFile.h"
#include "storage/CardFiles.h"
#include "storage/IoError.h"
#include "storage/Text.h"

#include <map>

namespace {
// The record at position k (1-based) of an open archive.
QByteArray recordAt(ArchiveFile& archive, qint64 k, int size)
{
    QByteArray bytes(size, '\0');
    archive.seek(k - 1);
    archive.read(bytes.data());
    return bytes;
}
} // namespace

RecordStore::RecordStore(QString path, int recordSize, QString filesFolder)
    : path_(std::move(path)), size_(recordSize), files_(std::move(filesFolder))
{ }

void RecordStore::requireSize(const QByteArray& record) const
{
    if (record.size() != size_)
        throw IoError(QStringLiteral("a record of %1 bytes for an archive of %2").arg(record.size()).arg(size_));
}

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
    const QByteArray bytes = recordAt(archive, position, size_);
    archive.close();
    return bytes;
}

void RecordStore::update(qint64 position, const QByteArray& record)
{
    requireSize(record);
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
    requireSize(record);
    ArchiveFile archive;
    archive.open(path_, size_);
    const qint64 position = archive.append(record.constData());
    archive.sync();
    archive.close();
    return position;
}

qint64 RecordStore::store(const QByteArray& record, const QString& position)
{
    const bool fresh = text::trim(position).isEmpty();
    return save(record, position, fresh ? journal::What::Inserita : journal::What::Modificata);
}

namespace {
// Entries written since the archive was last forced to the disk, in bytes of history,
// before a save forces it again: a power failure never leaves much to recover.
constexpr qint64 kCheckpointBytes = 1024 * 1024;

qint64 parsePosition(const QString& text)
{
    bool number = false;
    const qint64 k = text.toLongLong(&number);
    if (!number || k < 1)
        throw IoError(QStringLiteral("'%1' is not a card position").arg(text));
    return k;
}
} // namespace

qint64 RecordStore::save(const QByteArray& record, const QString& position, journal::What what,
                         const QList<SidePart*>& parts)
{
    requireSize(record);
    const QString p = text::trim(position);
    ArchiveFile archive;
    archive.open(path_, size_);
    archive.lock();
    const qint64 count = archive.count();
    const qint64 k = p.isEmpty() ? count + 1 : parsePosition(p);
    if (k > count + 1)
        throw IoError(QStringLiteral("no record %1 in %2").arg(k).arg(path_));
    journal::Journal history(path_, size_);
    if (!files_.isEmpty())
        cardfiles::settle(files_, history, k); // what an interrupted save of this card left
    const QByteArray old = k <= count ? recordAt(archive, k, size_) : QByteArray();
    // The card as it was goes first when the history has none of it yet.
    const auto before = [&]() {
        if (k > count)
            return journal::Before();
        cardfiles::Block block;
        for (SidePart* part : parts)
            if (!part->tag().isEmpty())
                if (const QByteArray piece = part->stored(k); !piece.isEmpty())
                    block.pieces.insert(part->tag(), piece);
        return journal::Before{old, block.pieces.isEmpty() ? QByteArray() : cardfiles::encode(block)};
    };
    const auto discarded = [&] {
        for (SidePart* part : parts)
            part->discarded();
    };
    cardfiles::Transaction tx(files_, k);
    journal::Appended appended;
    qint64 pending = 0;
    try {
        cardfiles::Block block;
        for (SidePart* part : parts)
            if (const QByteArray piece = part->prepare(k, tx); !piece.isEmpty() && !part->tag().isEmpty())
                block.pieces.insert(part->tag(), piece);
        block.steps = tx.steps();
        const QByteArray extra =
            block.pieces.isEmpty() && block.steps.isEmpty() ? QByteArray() : cardfiles::encode(block);
        // The commit point: the version, with the steps that put its files in place, on the disk.
        pending = history.append({{k, p.isEmpty() ? journal::What::Inserita : what, record, tx.keptPhotos, extra}},
                                 QDateTime::currentDateTimeUtc(), before, &appended);
    } catch (const IoError&) {
        discarded();
        throw;
    }
    try {
        tx.apply();
        // The files in place, the record follows; it reaches the disk at the next checkpoint
        // (or is put back by recover() after a power failure).
        archive.seek(k - 1);
        archive.write(record.constData());
    } catch (const IoError&) {
        // Nothing of the save may stand: the files, the record and the history as they were.
        try {
            tx.undo();
            if (k > count) {
                archive.truncate(count);
            } else {
                archive.seek(k - 1);
                archive.write(old.constData());
            }
            history.retract(appended);
        } catch (const IoError&) {
            // The version stands in the history: the next access under the lock completes it.
        }
        discarded();
        throw;
    }
    for (SidePart* part : parts)
        part->committed(k);
    if (pending > kCheckpointBytes) {
        archive.sync();
        history.markSynced();
    }
    archive.close();
    return k;
}

std::vector<journal::Entry> RecordStore::history(qint64 position) const
{
    ArchiveFile archive;
    archive.open(path_, size_);
    archive.lock(); // the index beside the history is brought up to date under the lock
    return journal::Journal(path_, size_).versions(position);
}

std::optional<journal::Entry> RecordStore::newest(qint64 position) const
{
    ArchiveFile archive;
    archive.open(path_, size_);
    archive.lock();
    return journal::Journal(path_, size_).newest(position);
}

void RecordStore::checkpoint()
{
    journal::Journal history(path_, size_);
    if (!history.unsynced())
        return;
    ArchiveFile archive;
    archive.open(path_, size_);
    archive.lock();
    archive.sync();
    history.markSynced();
}

void RecordStore::settle(qint64 position)
{
    if (files_.isEmpty() || !cardfiles::unsettled(files_, position))
        return;
    ArchiveFile archive;
    archive.open(path_, size_);
    archive.lock();
    cardfiles::settle(files_, journal::Journal(path_, size_), position);
}

void RecordStore::recover()
{
    settle(0);
    journal::Journal history(path_, size_);
    if (!history.unsynced())
        return;
    ArchiveFile archive;
    archive.open(path_, size_);
    archive.lock();
    // The newest version of each card saved since the last checkpoint.
    std::map<qint64, journal::Entry> newest;
    history.scanFrom(history.synced(), [&](const journal::Entry& e) {
        newest[e.position] = e;
        return true;
    });
    for (const auto& [k, e] : newest) {
        const qint64 count = archive.count();
        if (k > count + 1)
            continue;
        const QByteArray stored = k <= count ? recordAt(archive, k, size_) : QByteArray();
        if (k <= count && stored == e.record)
            continue;
        // Put back only a write that was lost or torn: every sector as the version before
        // or the new one. A record another program wrote since is left alone.
        QByteArray before(size_, '\0');
        if (e.previous > 0)
            for (const journal::Entry& v : history.versions(k))
                if (v.offset == e.previous)
                    before = v.record;
        bool lost = k > count;
        if (!lost) {
            lost = true;
            for (qint64 at = 0; lost && at < size_; at += 512) {
                const qint64 n = std::min<qint64>(512, size_ - at);
                const QByteArrayView part(stored.constData() + at, n);
                lost = part == QByteArrayView(e.record.constData() + at, n)
                       || part == QByteArrayView(before.constData() + at, n);
            }
        }
        if (!lost)
            continue;
        archive.seek(k - 1);
        archive.write(e.record.constData());
    }
    archive.sync();
    history.markSynced();
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
    if (found.target > 0)
        found.record = recordAt(archive, found.target, size_);
    archive.close();
    return found;
}
