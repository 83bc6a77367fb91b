#pragma once
#include "storage/Journal.h"

#include <QByteArray>
#include <QString>

#include <functional>

// Which card the browse buttons ask for, relative to the card shown.
enum class Browse { First, Previous, Next, Last };

// What a card stores beside its record (its documentation), saved under the archive's lock
// with the record and kept in the same version of its history.
class Companion {
public:
    virtual ~Companion() = default;
    // Whether it holds changes not saved.
    virtual bool edited() const = 0;
    // Before a save of the card at position: the question to ask when another workstation
    // changed what is stored since the card showed it and a save would replace that; empty:
    // nothing to ask.
    virtual QString conflict(qint64 position) const = 0;
    // Under the lock, before anything is written: what the card at position has stored
    // beside its record until now (asked only for the version kept before a card's first one)
    // and what this save stores. Both throw IoError, and then nothing is written.
    virtual QByteArray stored(qint64 position) = 0;
    virtual QByteArray prepare(qint64 position) = 0;
    // Under the lock, once the record is written: stores what prepare() gave. Never throws: a
    // failure is kept for the card to tell (failure(), in Italian, and its technical cause),
    // and the record stays saved.
    virtual void commit(qint64 position) = 0;
    // The save stopped after prepare(): what it prepared is dropped.
    virtual void discard() = 0;
    virtual QString failure() const = 0;
    virtual QString failureCause() const = 0;
};

// One archive of fixed-size records, addressed by 1-based position as the cards show it.
// Each call opens the file, does its work and closes it again, so no file stays open
// between user actions; every failure throws IoError. A missing archive is created empty.
class RecordStore {
public:
    RecordStore(QString path, int recordSize);

    const QString& path() const { return path_; }
    int recordSize() const { return size_; }

    qint64 count() const;
    // The record at position (1-based).
    QByteArray read(qint64 position) const;
    // Overwrites the record at position (1-based, at most count() + 1).
    void update(qint64 position, const QByteArray& record);
    // Appends under the archive's lock; returns the new record's position.
    qint64 append(const QByteArray& record);
    // Overwrites the record at the position a card shows, or appends it when that text is
    // empty (a card not stored yet). Returns the record's position. The version is kept in
    // the archive's history (save, with what happened inferred).
    qint64 store(const QByteArray& record, const QString& position);

    // A card's save: under the archive's lock, the version is appended to the archive's
    // history and forced to the disk, and only then the record is written (appended when
    // position is empty). Before a card's first save with a history, the version it had is
    // kept first. what: Inserita for an append, else Modificata or Ripristinata. A companion
    // stores what the card keeps beside the record in the same version. Throws IoError, and
    // then nothing is written.
    qint64 save(const QByteArray& record, const QString& position, journal::What what,
                const QList<journal::KeptPhoto>& kept = {}, Companion* companion = nullptr);
    // The card's versions in the history, newest first.
    std::vector<journal::Entry> history(qint64 position) const;
    journal::Journal journal() const { return journal::Journal(path_, size_); }
    // After a power failure: what the history holds and the archive lost is written back;
    // then the archive is forced to the disk. Cheap when nothing was left to do.
    void recover();
    // Forces the archive and its history's index to the disk and marks the history synced.
    void checkpoint();

    // Hands every whole record to visit(position, bytes) in archive order, reading the file
    // sequentially in large blocks; visit returns false to stop early. The bytes are valid
    // only during the call.
    void scan(const std::function<bool(qint64 position, const char* bytes)>& visit) const;

    // What the browse buttons find: the archive's count and, when a card is to be shown,
    // its position and bytes (target 0: nothing to show).
    struct Found {
        qint64 count = 0;
        qint64 target = 0;
        QByteArray record;
    };
    Found browse(Browse where, qint64 current) const;

private:
    void requireSize(const QByteArray& record) const; // throws IoError for another size

    QString path_;
    int size_;
};

// A record store that decodes its records into the record type R (R::kSize, R::decode,
// R::encode and R::archivePath()).
template <class R> class TypedStore : public RecordStore {
public:
    TypedStore() : RecordStore(R::archivePath(), R::kSize) { }
    explicit TypedStore(QString path) : RecordStore(std::move(path), R::kSize) { }

    R record(qint64 position) const { return R::decode(read(position).constData()); }
    qint64 store(const R& r, const QString& position) { return RecordStore::store(r.encode(), position); }
    void scanRecords(const std::function<bool(qint64 position, const R& record)>& visit) const
    {
        scan([&](qint64 position, const char* bytes) { return visit(position, R::decode(bytes)); });
    }
};
