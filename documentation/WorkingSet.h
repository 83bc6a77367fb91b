#pragma once
#include "documentation/Import.h"
#include "documentation/PhotoList.h"
#include "storage/CardFiles.h"
#include "storage/RecordStore.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

// A card's documentation as the card holds it: the working copy that the documentation
// screen edits, the print screens print and the card's save stores with its record.
namespace documentation {

// Where a card's documentation lives: Restauri/Documentazione/<position> or
// Inventario/Documentazione/<position>, and the list file inside it.
QString folder(Kind kind, qint64 position);
QString listPath(Kind kind, qint64 position);
// The history's photo folder the card's removed and replaced photos go to.
QString keptFolder(Kind kind);
// The folder of the cards' photos (Restauri or Inventario), whose staging folder holds what a
// save or an addition has not yet put in place.
QString filesFolder(Kind kind);
// The archive of the cards of that kind and its record size.
QString archivePath(Kind kind);
int recordSize(Kind kind);
// The phase's place in the kind's order; phases of no kind (a later program's) come last.
int phaseIndex(Kind kind, const QString& phase);

// One photo of the working copy.
struct Item {
    Photo photo; // as it is listed; size and CRC of the file as it is now
    quint64 id = 0; // stays the same while the set is edited
    int turns = 0; // quarter turns clockwise not yet stored in the file
    bool added = false; // its file was written for this working copy and is in no stored list yet
    bool missing = false; // the list names it, but its file is not in the folder
    QString staged; // added: where its file waits until the card is saved
};

class WorkingSet : public SidePart {
public:
    explicit WorkingSet(Kind kind);
    // The files of photos added and never stored are removed.
    ~WorkingSet() override;
    WorkingSet(const WorkingSet&) = delete;
    WorkingSet& operator=(const WorkingSet&) = delete;

    Kind kind() const { return kind_; }
    // The stored card's position; 0 for a card not stored yet (which has no documentation).
    qint64 position() const { return position_; }
    QString folder() const;
    QString pathOf(const Item& item) const;
    Target target() const;

    // The documentation stored for the card at position (0: none), in place of the working
    // copy; the files of photos added and not stored are removed first.
    void load(qint64 position);
    // What loading found that the user should hear (Italian sentences); empty when all is well.
    const QStringList& notes() const { return notes_; }
    // A list written by a later program: shown and printed, never changed.
    bool readOnly() const { return readOnly_; }

    const QList<Item>& items() const { return items_; }
    int indexOf(quint64 id) const;
    const Item* find(quint64 id) const;
    QSet<Identity> identities() const;

    // Edits (each marks the set edited).
    // A photo just imported, at the end of its phase.
    quint64 add(const Photo& photo);
    // A stored photo goes at the next save (into the history); one added since goes at once.
    void remove(quint64 id);
    void rotate(quint64 id);
    void setCaption(quint64 id, const QString& caption);
    void setDate(quint64 id, const QDate& date);
    // Moves the photo to place (counted among the photos of phase, clamped), taking that phase.
    void place(quint64 id, const QString& phase, int place);
    // The photo's place among those of its phase.
    int placeInPhase(quint64 id) const;
    int countInPhase(const QString& phase) const;

    // A version from the card's history as the working copy: its list, with the file each
    // photo's bytes are in now (per photo; empty: none). Photos whose file is the one in the
    // folder are taken as they are; the others are copied in, like new photos. Returns what the
    // user should hear of photos that could not be brought back.
    QStringList restore(const QList<Photo>& photos, const QStringList& files);

    // Photos in the card's folder that no list names (a list lost or emptied by hand), which
    // adoptUnlisted() takes into the set.
    QStringList unlisted() const;
    int adoptUnlisted();

    // Saved with the card, as one of its parts.
    QByteArray tag() const override;
    bool edited() const override { return edited_; }
    QString conflict(qint64 position) const override;
    QByteArray stored(qint64 position) override;
    QByteArray prepare(qint64 position, cardfiles::Transaction& tx) override;
    void committed(qint64 position) override;
    void discarded() override;
    QString note() const override { return note_; }

private:
    struct Prepared;
    quint64 insert(Item item, int at);
    void markEdited() { edited_ = true; }
    void discardAdditions();
    // An empty list: what the folder or the history says is missing, into the notes.
    void noteWhatIsMissing();
    // Removes the files of photos added here, where they are still the ones written.
    void removeWritten(const QList<const Item*>& added) const;
    QByteArray listBytes() const;

    Kind kind_;
    qint64 position_ = 0;
    QList<Item> items_;
    QStringList notes_;
    bool readOnly_ = false;
    bool edited_ = false;
    bool damagedOnDisk_ = false;
    QByteArray shown_; // the list's bytes as last loaded or stored
    quint64 nextId_ = 1;
    QString note_;
    std::unique_ptr<Prepared> prepared_;
    // The session the additions wait under, made with the first one.
    mutable std::shared_ptr<cardfiles::Session> session_;
};

} // namespace documentation
