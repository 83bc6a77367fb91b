#pragma once
#include "documentation/PhotoList.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// What a card's version in the history holds of its documentation: the list as that save
// stored it, and where the photos it took out of the card's folder (removed, or replaced by a
// turned copy) went. The journal keeps these bytes as they are (the README lays them out).
namespace documentation {

struct Kept {
    QString name; // the photo's name in the card's folder
    QString file; // where its bytes are kept, relative to the program folder
    bool operator==(const Kept&) const = default;
};

struct Block {
    QByteArray list; // the list file's bytes (empty: the card had no documentation)
    QList<Kept> kept;
    bool operator==(const Block&) const = default;
};

QByteArray encodeBlock(const Block& block);
// nullopt for bytes that are not a block this program reads.
std::optional<Block> decodeBlock(QByteArrayView bytes);

// What changed from the set older to the set newer, as the history lists it:
// "Documentazione: 3 foto aggiunte, 1 rimossa, 2 didascalie"; empty when nothing did.
QString changes(const QList<Photo>& newer, const QList<Photo>& older);

} // namespace documentation
