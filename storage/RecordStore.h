#pragma once
#include "storage/Journal.h"

#include <QByteArray>
#include <QString>

#include <functional>

// Which card the browse buttons ask for, relative to the card shown.
enum class Browse { First, Previous, Next, Last };

namespace cardfiles {
class Transaction;
}

// What a card stores beside its record (its photos, its documentation, ...): saved under the
// archive's lock with the record, as one transaction, and kept in the same version of its
// history.
class SidePart {
public:
    virtual ~SidePart() = default;
    // Its piece of a version's block in the history (four letters); empty for what the
    // journal entry keeps on its own (the card's photos).
    virtual QByteArray tag() const = 0;
    // Whether it holds changes not saved.
    virtual bool edited() const = 0;
    // Before a save of the card at position: the question to ask when another workstation
    // changed what is stored since the card showed it and a save would replace that; empty:
    // nothing to ask.
    virtual QString conflict(qint64 position) const = 0;
    // Under the lock, before anything is written: its piece as the card at position stored it
    // until now (asked only for the version kept before a card's first one). Throws IoError.
    virtual QByteArray stored(qint64 position) = 0;
    // Under the lock: stages what this save stores (its files into tx, written and forced to
    // the disk) and gives its piece of the version (empty: nothing of it changed). Throws
    // IoError, and then nothing is stored.
    virtual QByteArray prepare(qint64 position, cardfiles::Transaction& tx) = 0;
    // The save is complete, every file in place: what was prepared is now what is stored.
    // Never throws.
    virtual void committed(qint64 position) = 0;
    // The save stopped after prepare(): nothing of it was stored, the part is as before.
    virtual void discarded() = 0;
    // After a save: what the user should hear of what this part did not store (a list of a
    // later program's, left as it was), in Italian; empty when it stored all.
    virtual QString note() const { return {}; }
};

// One archive of fixed-size records, addressed by 1-based position as the cards show it.
// Each call opens the file, does its work and closes it again, so no file stays open
// between user actions; every failure throws IoError. A missing archive is created empty.
class RecordStore {
public:
    // filesFolder: where the cards' files live (their photos and folders), for the saves that
    // store files beside a record; empty for an archive without.
    RecordStore(QString path, int recordSize, QString filesFolder = {});

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

    // A card's save, as one transaction: under the archive's lock the parts stage the files
    // they store, the version is appended to the archive's history and forced to the disk
    // (the save's commit point), then the files are put in place and the record is written
    // (appended when position is empty). Before a card's first save with a history, the
    // version it had is kept first. what: Inserita for an append, else Modificata or
    // Ripristinata. Throws IoError, and then nothing of the save is stored.
    qint64 save(const QByteArray& record, const QString& position, journal::What what,
                const QList<SidePart*>& parts = {});
    // The card's versions in the history, newest first; and its newest alone.
    std::vector<journal::Entry> history(qint64 position) const;
    std::optional<journal::Entry> newest(qint64 position) const;
    journal::Journal journal() const { return journal::Journal(path_, size_); }
    // After a power failure or a save that was interrupted: what the history holds and the
    // archive lost is written back and the archive forced to the disk; the files of saves left
    // half done are put in place, or removed when their save was never committed. Cheap when
    // nothing was left to do.
    void recover();
    // The same for the files of the card at position alone, when something of it was left.
    void settle(qint64 position);
    const QString& filesFolder() const { return files_; }
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
    QString files_;
};

// A record store that decodes its records into the record type R (R::kSize, R::decode,
// R::encode and R::archivePath()).
template <class R> class TypedStore : public RecordStore {
public:
    TypedStore() : RecordStore(R::archivePath(), R::kSize, R::filesFolder()) { }
    explicit TypedStore(QString path) : RecordStore(std::move(path), R::kSize) { }

    R record(qint64 position) const { return R::decode(read(position).constData()); }
    qint64 store(const R& r, const QString& position) { return RecordStore::store(r.encode(), position); }
    void scanRecords(const std::function<bool(qint64 position, const R& record)>& visit) const
    {
        scan([&](qint64 position, const char* bytes) { return visit(position, R::decode(bytes)); });
    }
};
