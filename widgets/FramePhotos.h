#pragma once
#include "storage/RecordStore.h"

#include <QList>
#include <QString>

#include <functional>

class PictureFrame;

// The photos in a card's frames, saved with the card as one of its parts: a frame's picture
// is written for a new card and whenever the user changed it, never else, and the photo it
// replaces goes into the history's photo folder (the journal entry names it).
class FramePhotos : public SidePart {
public:
    struct Frame {
        quint8 tag; // as the journal names the frame: 0 the artwork's photo, 1 photo A, 2 photo B
        PictureFrame* picture;
        std::function<QString(qint64 position)> path; // the photo's file for a card position
    };
    explicit FramePhotos(QList<Frame> frames) : frames_(std::move(frames)) { }
    // Whether the next save stores a new card, whose every frame is written.
    void setNewCard(bool fresh) { newCard_ = fresh; }

    QByteArray tag() const override { return {}; }
    bool edited() const override;
    QString conflict(qint64) const override { return {}; }
    QByteArray stored(qint64) override { return {}; }
    QByteArray prepare(qint64 position, cardfiles::Transaction& tx) override;
    void committed(qint64 position) override;
    void discarded() override { }

private:
    QList<Frame> frames_;
    bool newCard_ = false;
};
