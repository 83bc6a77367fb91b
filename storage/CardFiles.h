#pragma once
#include "storage/Journal.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QMap>
#include <QString>

#include <memory>
#include <optional>

// The files a card keeps beside its record (its photos, its documentation and what else lives
// in its folder) are saved with the record as one transaction, with the archive's journal as
// its write-ahead log. Every new file is first written into the staging folder of the card's
// files folder ("Restauri/.brevanto-salvataggi") and forced to the disk; the journal entry of
// the save names each step that puts them in place (its commit point); only then are the
// files moved in and the record written. The next access under the archive's lock finds
// whatever an interrupted save left in the staging folder: the steps of a committed entry are
// done (again: each is done only where it is still to do), anything else is removed. The
// README lays out the block an entry carries.
namespace cardfiles {

// One step that puts a save's files in place, as the entry that commits the save names it.
// Paths are relative to the program folder, with '/'.
struct Step {
    enum class Kind : quint8 {
        Place = 1, // a staged file goes in place of to (what stands there is replaced)
        Retire = 2, // the file at from goes into the history's folder, at to
    };
    Kind kind = Kind::Place;
    QString from;
    QString to;
    qint64 size = 0; // Retire: which file it must be (its bytes and their CRC-32)
    quint32 crc = 0;
    bool operator==(const Step&) const = default;
};

// What a version of a card keeps beside its record in the journal: one piece per kind of file
// that lives beside a card, each in the format of its own (only the kinds this save changed),
// and the steps of the save.
struct Block {
    QMap<QByteArray, QByteArray> pieces; // by tag, four letters
    QList<Step> steps;
    bool operator==(const Block&) const = default;
};

// The tag of the documentation's piece. An entry written before pieces existed carries the
// documentation's block alone, which decode() reads as this piece.
inline const QByteArray kDocumentation = QByteArrayLiteral("DOCU");

QByteArray encode(const Block& block);
// nullopt for bytes that are not a block this program reads.
std::optional<Block> decode(QByteArrayView bytes);

// The staging folder inside a card's files folder (Restauri or Inventario).
QString stagingFolder(const QString& filesFolder);

// One save's files, staged under the archive's lock and put in place once the save's entry is
// in the journal. Destroyed before apply(), it removes what it staged: nothing changed.
class Transaction {
public:
    // For the card at position, whose files live in filesFolder (an absolute path).
    Transaction(QString filesFolder, qint64 position);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    qint64 position() const { return position_; }
    const QString& filesFolder() const { return files_; }

    // A new file for path: written into the staging folder and forced to the disk now, put in
    // place of what stands at path once the save is committed. Throws IoError.
    void put(const QString& path, const QByteArray& bytes);
    // A file staged before the save (a photo added to the documentation) goes to path.
    void place(const QString& staged, const QString& path);
    // The file at path leaves its place into the history's folder, at kept, once the save is
    // committed; size and crc say which file it is.
    void retire(const QString& path, const QString& kept, qint64 size, quint32 crc);
    // The card's own photos this save keeps, as the journal entry names them.
    QList<journal::KeptPhoto> keptPhotos;

    // The steps, relative to the program folder, in the order apply() takes them.
    QList<Step> steps() const;
    bool empty() const { return places_.isEmpty() && retires_.isEmpty(); }

    // Puts every file in place: those retired first, then the new ones. A step that fails
    // undoes those before it and throws IoError: then nothing has changed.
    void apply();
    // After apply(), when the save cannot be completed all the same: everything as before.
    // Throws IoError when a step cannot be undone.
    void undo();

private:
    struct Move {
        QString from, to, aside; // aside: where what stood at to waits until the save is done
    };
    void forget(); // removes what was staged and set aside

    QString files_;
    qint64 position_;
    QList<Move> retires_, places_;
    QList<std::pair<qint64, quint32>> identities_; // of each retired file
    QStringList staged_; // written here, removed unless put in place
    int done_ = 0; // steps done by apply()
    bool applied_ = false;
};

// A photo added to a card's documentation before the card is saved waits in the staging
// folder under a name that tells the card, the name it will take and the working session it
// belongs to. A session is held (a lock on a small file) while its card is open, so that a
// clean-up never removes what another workstation is still editing.
class Session {
public:
    // Opens a session in the staging folder of filesFolder. Throws IoError.
    explicit Session(const QString& filesFolder);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;
    // The staged path for a file that will be name in the folder of the card at position.
    QString stagedPath(qint64 position, const QString& name) const;
    const QString& key() const { return key_; }

private:
    QString folder_;
    QString key_;
    int fd_ = -1;
};

// What the staging folder holds for the card at position: the files added and waiting for
// its save (name they will take → staged path), of every live session.
QMap<QString, QString> stagedAdditions(const QString& filesFolder, qint64 position);

// Under the archive's lock: finishes or rolls back whatever interrupted saves left in the
// staging folder of filesFolder (for every card, or only for position when it is not 0), with
// journal the archive's journal. The additions of sessions no longer alive go too. Cheap when
// the staging folder is empty. Throws IoError when a committed step cannot be done.
void settle(const QString& filesFolder, const journal::Journal& journal, qint64 position = 0);
// Whether the staging folder holds anything of the card at position (0: of any card).
bool unsettled(const QString& filesFolder, qint64 position = 0);

} // namespace cardfiles
