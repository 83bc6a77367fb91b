#pragma once
#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>

// Every kind of file that lives beside a card, as the history and the backup see them: the
// tag of its piece in a version's block, and what changed between two versions of it. A new
// kind is one more row here.
namespace sidefiles {

struct Kind {
    QByteArray tag;
    // What changed from the piece older to the piece newer (either empty: the card had none),
    // as the history lists it ("Documentazione: 3 foto aggiunte"); empty when nothing did.
    std::function<QString(const QByteArray& newer, const QByteArray& older)> changes;
};

const QList<Kind>& kinds();

} // namespace sidefiles
