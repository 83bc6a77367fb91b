#pragma once
#include "documentation/PhotoList.h"
#include "storage/CardFiles.h"

#include <QImage>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

#include <memory>
#include <utility>

// Adding photos to a card's documentation: each file checked, a JPEG copied as it is, any
// other picture converted to JPEG, under a name of its own in the card's folder, its date read
// from the photo. A file that cannot be added leaves nothing behind.
namespace documentation {

// The largest photo file added, in bytes.
constexpr qint64 kLargestPhoto = qint64(512) * 1024 * 1024;

// Where a card's photos go: its folder, the archive under whose lock names are taken, and the
// working session whose additions wait in the staging folder of the cards' files folder until
// the card is saved.
struct Target {
    QString folder;
    QString archive;
    int recordSize = 0;
    QString filesFolder;
    qint64 position = 0;
    std::shared_ptr<cardfiles::Session> session;
};

// A photo's bytes and their CRC-32: the same file added twice has the same.
using Identity = std::pair<qint64, quint32>;

struct Imported {
    enum class Outcome { Added, Duplicate, Refused };
    Outcome outcome = Outcome::Refused;
    QString source; // the file chosen, as the user named it
    Photo photo; // added: its name, date, size and CRC (no phase or caption yet)
    QImage thumbnail; // added: its thumbnail, upright
    QString message; // why it was not added, or what the user should know of one that was
    QString cause; // the technical cause, for the message's details
};

// Adds the file at path to target, unless its bytes are among known. Safe from any thread.
Imported importFile(const Target& target, const QString& path, const QSet<Identity>& known);
// Writes bytes for target's folder under a name of its own made from wanted (names differing
// only in case count as one, and those of additions waiting count as taken), taken under the
// archive's lock so that two workstations never take the same. The file waits in the staging
// folder (stagedPath) until the card's save puts it in place. Returns the name; throws
// IoError, leaving nothing behind.
QString storeBytes(const Target& target, const QString& wanted, const QByteArray& bytes);
// Where the photo named name, added for target and not yet saved, waits.
QString stagedPath(const Target& target, const QString& name);
// Adds a picture (a webcam capture) as a JPEG named after name.
Imported importPicture(const Target& target, const QImage& picture, const QString& name, const QSet<Identity>& known);

// Adds files one after the other in a thread of its own and hands each result to the thread
// that made it, so that the screen stays usable while large photos are copied.
class Importer : public QObject {
    Q_OBJECT
public:
    explicit Importer(QObject* parent = nullptr);
    // Drops what waits and waits for the file being added.
    ~Importer() override;
    Importer(const Importer&) = delete;
    Importer& operator=(const Importer&) = delete;

    void add(const Target& target, const QStringList& paths, const QSet<Identity>& known);
    void addPicture(const Target& target, const QImage& picture, const QString& name, const QSet<Identity>& known);
    // Drops what waits; the file being added is finished.
    void cancel();
    // Files waiting or being added.
    int pending() const;
    // Waits until nothing is being added (tests and the screen's closing).
    void wait();

signals:
    void imported(const documentation::Imported& result);
    // Every file asked for is done.
    void finished();

private:
    struct Shared;
    // The worker: adds the files asked for one after the other until none waits.
    static void work(const std::shared_ptr<Shared>& shared, Importer* self);
    std::shared_ptr<Shared> shared_;
    void enqueue(std::function<Imported(const QSet<Identity>&)> job, const QSet<Identity>& known);
};

} // namespace documentation
