#pragma once
#include "storage/RecordStore.h"

#include <QByteArray>
#include <QString>

#include <functional>

// One file that lives in a card's folder beside its record (its state of conservation, its works
// journal, a damage map), saved with the card as one of its parts: staged and put in place by the
// card's transaction, kept whole in every version of the card's history that changed it (the
// version's piece is the file's bytes), asked about when another workstation changed it since
// the card showed it. A kind of such file plugs in by its description; the bytes are the kind's
// own format, which the kind's screens read and write.
class SideFile : public SidePart {
public:
    struct Kind {
        QByteArray tag; // its piece in a version's block: four letters
        QString name; // its name in the card's folder
        std::function<QString(qint64 position)> folder; // the card's folder
        // Asked before a save would replace what another workstation stored since the card
        // showed it (the save keeps it in the history).
        QString conflictQuestion;
        // Whether bytes read whole; a file that does not is kept in the history's photo
        // folder (keptFolder) before a save replaces it.
        std::function<bool(const QByteArray& bytes)> whole;
        QString keptFolder;
    };

    explicit SideFile(Kind kind) : kind_(std::move(kind)) { }

    const Kind& kind() const { return kind_; }
    // The file of the card at position (0: a card not stored yet, which has none).
    QString path(qint64 position) const;
    qint64 position() const { return position_; }

    // The card at position, as stored (what an interrupted save left is settled first by the
    // caller); its bytes are then both the shown and the working ones. False, with the bytes
    // empty, when the file is there and cannot be read: it is then never written over.
    bool load(qint64 position);
    // The largest file read.
    static constexpr qint64 kLargest = 16 * 1024 * 1024;

    // The working copy, as the kind's screen edits it; empty: no file yet.
    const QByteArray& bytes() const { return bytes_; }
    void setBytes(const QByteArray& bytes) { bytes_ = bytes; }
    // The bytes as last loaded or stored.
    const QByteArray& shown() const { return shown_; }
    // A file that could not be read, or a kind's reader found of a later format: shown, never
    // written (the kind says so through setReadOnly).
    bool readOnly() const { return readOnly_; }
    void setReadOnly(bool readOnly) { readOnly_ = readOnly; }

    QByteArray tag() const override { return kind_.tag; }
    bool edited() const override { return position_ > 0 && bytes_ != shown_; }
    QString conflict(qint64 position) const override;
    QByteArray stored(qint64 position) override;
    QByteArray prepare(qint64 position, cardfiles::Transaction& tx) override;
    void committed(qint64 position) override;
    void discarded() override { prepared_ = false; }
    QString note() const override { return note_; }
    // What the save says when a file of a later format or one that cannot be read was left as
    // it was (the card's other parts stored): set by the kind, in Italian.
    void setReadOnlyNote(const QString& note) { readOnlyNote_ = note; }

private:
    QByteArray onDisk(qint64 position) const; // throws IoError

    Kind kind_;
    qint64 position_ = 0;
    QByteArray bytes_, shown_;
    bool readOnly_ = false;
    bool prepared_ = false;
    QString note_, readOnlyNote_;
};
