#pragma once
#include "documentation/PhotoList.h"
#include "storage/Journal.h"

#include <QMap>
#include <QStringList>

#include <vector>

// A card's history as its screen shows it: each version's fields, what changed from the
// version before it, and the photos it had.
namespace history {

struct Version {
    journal::Entry entry;
    QStringList fields; // the version's field texts, in record order
    QStringList changed; // captions of the fields that differ from the version before
    QStringList photos; // per photo frame: the file the version's picture stands in; empty: none
    // The version's photographic documentation, and per photo the file its bytes are in now
    // (the card's folder or the history's photo folder; empty: none).
    QList<documentation::Photo> documentation;
    QStringList documentationFiles;
    // What the version kept beside its record, by kind (a version that did not change a kind
    // has the piece of the version before): what its restore brings back.
    QMap<QByteArray, QByteArray> pieces;
};

// What a history needs of a record type.
struct RecordKind {
    QStringList captions; // per field
    std::function<QStringList(const QByteArray&)> fieldsOf; // a stored record's field texts
    QList<quint8> frames; // the photo frames (0; or 1 and 2)
};

template <class R> RecordKind kindOf(QList<quint8> frames)
{
    RecordKind k;
    for (int i = 0; i < R::kFields; ++i)
        k.captions << R::caption(typename R::Field(i));
    k.fieldsOf = [](const QByteArray& bytes) {
        const R r = R::decode(bytes.constData());
        return QStringList(r.text.begin(), r.text.end());
    };
    k.frames = std::move(frames);
    return k;
}

// The versions (newest first) with their fields, changes and photos; currentPhotos holds
// the file each frame's stored photo stands in now (an empty text: none), documentationFolder
// the card's documentation folder (empty: a card without one).
std::vector<Version> versions(const std::vector<journal::Entry>& entries, const RecordKind& kind,
                              const QStringList& currentPhotos, const QString& documentationFolder = {});

// "dd/MM/yyyy HH:mm:ss" in local time.
QString when(const journal::Entry& entry);

} // namespace history
