#pragma once
#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

// The history beside an archive: every version of every card a save stored, appended to a
// journal file that is never rewritten ("Inventario_Opere.cronologia" beside
// "Inventario_Opere.pro"). Each entry carries its length, a version byte and a CRC-32, so
// a torn last entry is recognised and ignored and a damaged one in the middle is skipped
// without losing the entries after it. Entries of one card are chained newest to oldest,
// and a small index beside the journal (".indice") points at the newest of each card, so a
// card's history is read without reading the journal. The index is trusted only when it
// proves it was made from this journal as it stands (its identity and a fingerprint of the
// bytes before the end it has seen) and each card's note passes its check; else it is
// rebuilt. The layout is written down in the README.
//
// The journal is the save's write-ahead log: an entry is forced to the disk before the
// archive record changes, and the record itself is forced to the disk at checkpoints; after
// a power failure recover() puts back into the archive what its journal holds.
namespace journal {

enum class What : quint8 {
    Inserita = 1, // a new card
    Modificata = 2, // a card saved again
    Ripristinata = 3, // a version restored from the history and saved
    Precedente = 4, // the card as it was before its first save with a history
};
// What happened, as the history screen shows it.
QString label(What what);

// A kept photo: the frame it belongs to (0 the artwork's photo, 1 photo A, 2 photo B) and
// its file, relative to the program folder.
struct KeptPhoto {
    quint8 frame = 0;
    QString file;
    bool operator==(const KeptPhoto&) const = default;
};

struct Entry {
    qint64 offset = 0; // where the entry starts in the journal
    qint64 position = 0; // the card's position in the archive (1-based)
    qint64 previous = 0; // offset of the card's entry before this one; 0: none
    What what = What::Modificata;
    QDateTime when; // UTC
    QString workstation;
    QString user;
    QList<KeptPhoto> kept; // photos this save replaced
    QByteArray record; // the record's bytes as stored
    QByteArray extra; // what the card stored beside its record (its documentation); empty: nothing
};

// What a save hands the journal: the new version (and the kept photos it replaced).
struct Change {
    qint64 position = 0;
    What what = What::Modificata;
    QByteArray record;
    QList<KeptPhoto> kept;
    // What the card stores beside its record, kept with the version as it is (the journal
    // does not read it); empty: nothing.
    QByteArray extra = {};
};

// What a card stored before its first version in the journal: its record and what it
// stored beside it.
struct Before {
    QByteArray record; // empty: none (a new card)
    QByteArray extra;
};

// Where an append put its entries, so that a save that cannot be completed withdraws them.
struct Appended {
    qint64 from = 0; // the entries' first byte and the end of the last
    qint64 to = 0;
    std::vector<std::pair<qint64, qint64>> newestBefore; // per card: its newest entry before them
};

// The largest extra an entry carries.
constexpr qint64 kLargestExtra = 16 * 1024 * 1024;

class Journal {
public:
    // The journal of the archive at archivePath, for records of recordSize bytes.
    Journal(const QString& archivePath, int recordSize);

    static QString pathFor(const QString& archivePath);
    const QString& path() const { return path_; }
    QString indexPath() const;

    // Appends the changes (in order) with the time, workstation and user, and forces them
    // to the disk; before the first change's card's first version in the journal, the
    // version storedBefore gives (when it gives one) goes first: it is asked only then. The
    // caller holds the archive's lock. Returns the bytes of history the archive may not yet
    // hold on the disk. Throws IoError; then nothing of them counts as written.
    qint64 append(const std::vector<Change>& changes, const QDateTime& when,
                  const std::function<Before()>& storedBefore = {}, Appended* appended = nullptr);
    // Withdraws the entries of the last append, as if it never was: zeros over them, forced to
    // the disk, and the index back to each card's entry before them. The caller still holds
    // the archive's lock it appended under. Throws IoError.
    void retract(const Appended& appended);
    // The newest readable version of the card at position; nullopt when there is none. The
    // caller holds the archive's lock.
    std::optional<Entry> newest(qint64 position) const;
    // True when the journal holds a version of the card at position. The caller holds the
    // archive's lock (the index is brought up to date, a damaged header mended).
    bool hasCard(qint64 position) const;
    // Every readable version of the card at position, newest first. The caller holds the
    // archive's lock, as for hasCard.
    std::vector<Entry> versions(qint64 position) const;
    // Every readable entry in journal order; visit returns false to stop. Damaged entries
    // are skipped, a torn end ignored.
    void scan(const std::function<bool(const Entry&)>& visit) const;
    // The same from offset from on (an entry boundary or before one).
    void scanFrom(qint64 from, const std::function<bool(const Entry&)>& visit) const;

    // Offsets: the end of the last entry, and the point before which the archive is known
    // to hold every entry on the disk (where the header's end is brought up to date).
    qint64 end() const;
    qint64 synced() const;
    // True when the journal holds entries the archive may not yet hold on the disk.
    bool unsynced() const;
    // Records that the archive holds every entry, on the disk. The caller holds the
    // archive's lock and has forced the archive to the disk.
    void markSynced();

    // A journal's entry bytes, parsed and checked; nullopt for anything else. For tests and
    // the fuzz target.
    static std::optional<Entry> parse(QByteArrayView bytes, qint64 offset, int recordSize);

private:
    QString path_;
    int recordSize_;
};

} // namespace journal
