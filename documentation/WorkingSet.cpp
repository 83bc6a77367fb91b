#include "documentation/WorkingSet.h"

#include "documentation/Exif.h"
#include "documentation/Thumbnails.h"
#include "documentation/VersionBlock.h"
#include "records/SchedaIntervento.h"
#include "records/SchedaOpera.h"
#include "storage/Crc32.h"
#include "storage/IoError.h"
#include "storage/PhotoFiles.h"
#include "storage/ProgramDir.h"
#include "storage/SafeFile.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QTransform>

#include <algorithm>
#include <tuple>
#include <vector>

namespace documentation {
namespace {
QString photoFolder(Kind kind)
{
    return kind == Kind::Report ? QStringLiteral("Restauri") : QStringLiteral("Inventario");
}

// The list file's bytes; empty when there is none. Throws IoError when one is there and
// cannot be read.
QByteArray readList(const QString& path)
{
    QFile f(path);
    if (!f.exists())
        return {};
    if (!QFileInfo(path).isFile() || !f.open(QIODevice::ReadOnly))
        throw IoError(QStringLiteral("cannot read %1: %2").arg(path, f.errorString()));
    const QByteArray bytes = f.read(kLargestList + 1);
    if (f.error() != QFileDevice::NoError)
        throw IoError(QStringLiteral("cannot read %1: %2").arg(path, f.errorString()));
    return bytes;
}

QByteArray readWhole(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw IoError(QStringLiteral("cannot read %1: %2").arg(path, f.errorString()));
    const QByteArray bytes = f.read(kLargestPhoto + 1);
    if (f.error() != QFileDevice::NoError || bytes.size() != f.size())
        throw IoError(QStringLiteral("cannot read %1: %2").arg(path, f.errorString()));
    return bytes;
}

void removeWithThumbnail(const QString& path)
{
    const QFileInfo f(path);
    QFile::remove(path);
    QFile::remove(f.absolutePath() + u'/' + thumbnails::kFolder + u'/' + f.fileName());
}

// A JPEG turned by quarter turns clockwise: its orientation tag changed where the file allows
// it, else the picture encoded anew (upright, at most photofiles::kMaxSide pixels a side).
QByteArray turned(const QByteArray& jpeg, int turns)
{
    int orientation = std::max(1, exif::read(jpeg).orientation);
    for (int t = 0; t < turns; ++t)
        orientation = exif::turnedClockwise(orientation);
    if (std::optional<QByteArray> tagged = exif::withOrientation(jpeg, orientation))
        return *tagged;
    QBuffer in;
    in.setData(jpeg);
    in.open(QIODevice::ReadOnly);
    const std::optional<QImage> picture =
        photofiles::decodeFitting(&in, QSize(photofiles::kMaxSide, photofiles::kMaxSide));
    if (!picture)
        throw IoError(QStringLiteral("cannot decode a photo to turn it"));
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    if (!picture->transformed(QTransform().rotate(90 * turns)).save(&buffer, "JPEG", 92))
        throw IoError(QStringLiteral("cannot encode a turned photo"));
    return out;
}

const QString kDamaged = QStringLiteral(
    "L'elenco della documentazione fotografica di questa scheda \u00E8 danneggiato: sono state lette %1 foto "
    "delle %2 che elenca. Salvando la scheda, l'elenco danneggiato resta nella cronologia.");
const QString kNewer = QStringLiteral(
    "La documentazione fotografica di questa scheda \u00E8 stata scritta da una versione pi\u00F9 recente di "
    "Brevanto: si pu\u00F2 vedere e stampare, ma non modificare con questa versione.");
const QString kUnreadable = QStringLiteral(
    "L'elenco della documentazione fotografica di questa scheda non si pu\u00F2 leggere: la documentazione non "
    "si pu\u00F2 modificare finch\u00E9 non si rimedia (controllare i permessi della cartella %1).");
const QString kMissing = QStringLiteral(
    "%1 foto della documentazione non si trovano pi\u00F9 nella cartella %2: sono segnate come mancanti. "
    "Si possono riprendere da un backup o rimuovere dalla documentazione.");
} // namespace

QString folder(Kind kind, qint64 position)
{
    return programdir::file(photoFolder(kind) + QStringLiteral("/Documentazione/") + QString::number(position));
}

QString listPath(Kind kind, qint64 position)
{
    return folder(kind, position) + u'/' + kListName;
}

QString keptFolder(Kind kind)
{
    return programdir::file(photoFolder(kind) + QStringLiteral("/Cronologia"));
}

QString archivePath(Kind kind)
{
    return kind == Kind::Report ? TSchedaIntervento::archivePath() : TSchedaOpera::archivePath();
}

int recordSize(Kind kind)
{
    return kind == Kind::Report ? TSchedaIntervento::kSize : TSchedaOpera::kSize;
}

int phaseIndex(Kind kind, const QString& phase)
{
    const qsizetype i = phases(kind).indexOf(phase);
    return i < 0 ? int(phases(kind).size()) : int(i);
}

// What a save prepared under the archive's lock and stores once the record is written.
struct WorkingSet::Prepared {
    QByteArray disk; // the list as it stood before this save
    QByteArray list; // the list this save writes
    bool write = false;
    struct Turned {
        quint64 id;
        std::unique_ptr<SafeFile> file;
        qint64 size;
        quint32 crc;
    };
    std::vector<Turned> turned;
    QStringList remove; // photos that leave the folder once the list no longer names them
};

WorkingSet::WorkingSet(Kind kind) : kind_(kind)
{ }

WorkingSet::~WorkingSet()
{
    prepared_.reset();
    discardAdditions();
}

QString WorkingSet::folder() const
{
    return documentation::folder(kind_, position_);
}

QString WorkingSet::pathOf(const Item& item) const
{
    return folder() + u'/' + item.photo.file;
}

Target WorkingSet::target() const
{
    return {folder(), archivePath(kind_), recordSize(kind_)};
}

void WorkingSet::discardAdditions()
{
    QList<const Item*> added;
    for (const Item& i : std::as_const(items_))
        if (i.added)
            added << &i;
    removeWritten(added);
}

void WorkingSet::removeWritten(const QList<const Item*>& added) const
{
    if (added.isEmpty())
        return;
    // Only the very files written here go: never one the stored list names, nor one put in
    // their place since (a backup restored over the folder).
    QSet<QString> listed;
    try {
        for (const Photo& p : decode(readList(listPath(kind_, position_))).photos)
            listed.insert(p.file.toCaseFolded());
    } catch (const IoError&) {
        return; // what cannot be read is not guessed at
    }
    for (const Item* i : added) {
        if (listed.contains(i->photo.file.toCaseFolded()))
            continue;
        QFile f(pathOf(*i));
        if (f.size() != i->photo.size || !f.open(QIODevice::ReadOnly) || crc32(f.readAll()) != i->photo.crc)
            continue;
        f.close();
        removeWithThumbnail(pathOf(*i));
    }
}

void WorkingSet::load(qint64 position)
{
    discardAdditions();
    prepared_.reset();
    items_.clear();
    notes_.clear();
    readOnly_ = edited_ = damagedOnDisk_ = false;
    shown_.clear();
    failure_.clear();
    failureCause_.clear();
    position_ = std::max<qint64>(0, position);
    if (position_ == 0)
        return;
    try {
        shown_ = readList(listPath(kind_, position_));
    } catch (const IoError&) {
        notes_ << kUnreadable.arg(QDir::toNativeSeparators(folder()));
        readOnly_ = true; // never written over what could not be read
        return;
    }
    if (shown_.isEmpty())
        return;
    const List list = decode(shown_);
    damagedOnDisk_ = list.damaged;
    readOnly_ = list.newer();
    if (list.newer())
        notes_ << kNewer;
    else if (list.damaged)
        notes_ << kDamaged.arg(list.photos.size()).arg(std::max<qsizetype>(list.expected, list.photos.size()));
    int missing = 0;
    for (const Photo& p : list.photos) {
        Item item;
        item.photo = p;
        item.id = nextId_++;
        item.missing = !QFileInfo(folder() + u'/' + p.file).isFile();
        missing += item.missing;
        items_.append(item);
    }
    // Grouped by phase, in the list's order within each.
    std::stable_sort(items_.begin(), items_.end(), [this](const Item& a, const Item& b) {
        return phaseIndex(kind_, a.photo.phase) < phaseIndex(kind_, b.photo.phase);
    });
    if (missing > 0)
        notes_ << kMissing.arg(missing).arg(QDir::toNativeSeparators(folder()));
}

int WorkingSet::indexOf(quint64 id) const
{
    for (qsizetype i = 0; i < items_.size(); ++i)
        if (items_[i].id == id)
            return int(i);
    return -1;
}

const Item* WorkingSet::find(quint64 id) const
{
    const int i = indexOf(id);
    return i < 0 ? nullptr : &items_[i];
}

QSet<Identity> WorkingSet::identities() const
{
    QSet<Identity> out;
    for (const Item& i : items_)
        out.insert({i.photo.size, i.photo.crc});
    return out;
}

quint64 WorkingSet::insert(Item item, int at)
{
    item.id = nextId_++;
    items_.insert(std::clamp<qsizetype>(at, 0, items_.size()), item);
    markEdited();
    return item.id;
}

quint64 WorkingSet::add(const Photo& photo)
{
    Item item;
    item.photo = photo;
    item.added = true;
    const int phase = phaseIndex(kind_, photo.phase);
    int at = 0;
    while (at < items_.size() && phaseIndex(kind_, items_[at].photo.phase) <= phase)
        ++at;
    return insert(item, at);
}

void WorkingSet::remove(quint64 id)
{
    const int i = indexOf(id);
    if (i < 0)
        return;
    // A stored photo leaves the folder at the next save, into the history; one added since
    // the card was shown is in no version and goes at once.
    if (items_[i].added)
        removeWritten({&items_[i]});
    items_.removeAt(i);
    markEdited();
}

void WorkingSet::rotate(quint64 id)
{
    const int i = indexOf(id);
    if (i < 0)
        return;
    items_[i].turns = (items_[i].turns + 1) % 4;
    markEdited();
}

void WorkingSet::setCaption(quint64 id, const QString& caption)
{
    const int i = indexOf(id);
    QString text = caption.left(kMaxCaption);
    if (i < 0 || items_[i].photo.caption == text)
        return;
    items_[i].photo.caption = text;
    markEdited();
}

void WorkingSet::setDate(quint64 id, const QDate& date)
{
    const int i = indexOf(id);
    if (i < 0 || items_[i].photo.taken == date)
        return;
    items_[i].photo.taken = date;
    markEdited();
}

int WorkingSet::countInPhase(const QString& phase) const
{
    return int(std::count_if(items_.begin(), items_.end(), [&](const Item& i) { return i.photo.phase == phase; }));
}

int WorkingSet::placeInPhase(quint64 id) const
{
    const Item* item = find(id);
    if (!item)
        return -1;
    int place = 0;
    for (const Item& i : items_) {
        if (i.id == id)
            return place;
        place += i.photo.phase == item->photo.phase;
    }
    return -1;
}

void WorkingSet::place(quint64 id, const QString& toPhase, int place)
{
    const QString phase = toPhase; // it may be the moving photo's own
    const int from = indexOf(id);
    if (from < 0 || (items_[from].photo.phase == phase && placeInPhase(id) == place))
        return;
    Item item = items_.takeAt(from);
    item.photo.phase = phase;
    // The phase's photos stand together, after those of the phases before it.
    const int index = phaseIndex(kind_, phase);
    int start = 0;
    while (start < items_.size() && phaseIndex(kind_, items_[start].photo.phase) < index)
        ++start;
    int at = start, seen = 0;
    while (at < items_.size() && items_[at].photo.phase == phase && seen < place) {
        ++at;
        ++seen;
    }
    while (at < items_.size() && phaseIndex(kind_, items_[at].photo.phase) == index && items_[at].photo.phase != phase)
        ++at; // another phase a later program named, kept where it was
    items_.insert(at, item);
    markEdited();
}

QStringList WorkingSet::restore(const QList<Photo>& photos, const QStringList& files)
{
    discardAdditions();
    QStringList said;
    QList<Item> restored;
    for (qsizetype i = 0; i < photos.size(); ++i) {
        Item item;
        item.photo = photos[i];
        item.id = nextId_++;
        const QString here = folder() + u'/' + photos[i].file;
        const QString from = files.value(i);
        const QFileInfo there(from);
        if (!from.isEmpty() && QFileInfo(here) == there && there.size() == photos[i].size) {
            restored.append(item); // the stored file is the version's
            continue;
        }
        try {
            if (from.isEmpty() || !there.isFile())
                throw IoError(QStringLiteral("no file for %1").arg(photos[i].file));
            const QByteArray bytes = readWhole(from);
            item.photo.file = storeBytes(target(), photos[i].file, bytes);
            item.photo.size = bytes.size();
            item.photo.crc = crc32(bytes);
            item.added = true;
        } catch (const IoError&) {
            item.missing = true;
            said << photos[i].file;
        }
        restored.append(item);
    }
    items_ = restored;
    std::stable_sort(items_.begin(), items_.end(), [this](const Item& a, const Item& b) {
        return phaseIndex(kind_, a.photo.phase) < phaseIndex(kind_, b.photo.phase);
    });
    markEdited();
    if (said.isEmpty())
        return {};
    return {QStringLiteral("Di %1 foto della versione scelta non si trova pi\u00F9 il file (%2): restano nella "
                           "documentazione come mancanti, con la loro didascalia.")
                .arg(said.size())
                .arg(said.join(QStringLiteral(", ")))};
}

QByteArray WorkingSet::listBytes() const
{
    QList<Photo> photos;
    for (const Item& i : items_)
        photos.append(i.photo);
    return encode(photos);
}

QString WorkingSet::conflict(qint64 position) const
{
    if (!edited_ || position != position_)
        return {};
    QByteArray disk;
    try {
        disk = readList(listPath(kind_, position_));
    } catch (const IoError&) {
        return {}; // the save says what it could not store
    }
    if (disk == shown_)
        return {};
    return QStringLiteral(
        "Attenzione: un'altra postazione ha modificato la documentazione fotografica di questa scheda dopo che "
        "\u00E8 stata aperta. Salvando, le sue modifiche saranno sostituite (restano comunque nella cronologia). "
        "Si vuole salvare?");
}

QByteArray WorkingSet::stored(qint64 position)
{
    const QByteArray disk = readList(listPath(kind_, position));
    return disk.isEmpty() ? QByteArray() : encodeBlock({disk, {}});
}

QByteArray WorkingSet::prepare(qint64 position)
{
    prepared_.reset();
    failure_.clear();
    failureCause_.clear();
    auto p = std::make_unique<Prepared>();
    p->disk = readList(listPath(kind_, position));
    // A save that leaves the documentation as it is stores nothing of it: its version has the
    // documentation of the version before, and the save costs what a save without one does.
    if (!edited_ || position != position_) {
        prepared_ = std::move(p);
        return {};
    }
    const List onDisk = decode(p->disk);
    if (readOnly_ || onDisk.newer()) {
        failure_ = QStringLiteral(
            "La scheda \u00E8 stata salvata in archivio, ma non la sua documentazione fotografica: \u00E8 stata "
            "scritta da una versione pi\u00F9 recente di Brevanto (anche su un'altra postazione) o non si pu\u00F2 "
            "leggere, e questa versione non la sostituisce.");
        prepared_ = std::move(p);
        return {};
    }
    Block block;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const QString prefix = QStringLiteral("Documentazione_%1_").arg(position);
    // Photos turned: the old file into the history, the turned one written beside it.
    QHash<quint64, std::pair<qint64, quint32>> newIdentity;
    for (const Item& i : std::as_const(items_)) {
        if (i.turns == 0 || i.missing)
            continue;
        const QString path = pathOf(i);
        const QByteArray bytes = turned(readWhole(path), i.turns);
        if (const QString kept = photofiles::keep(path, now, keptFolder(kind_), prefix); !kept.isEmpty())
            block.kept.append({i.photo.file, kept});
        auto file = std::make_unique<SafeFile>(path);
        if (file->device().write(bytes) != bytes.size())
            throw IoError(QStringLiteral("cannot write %1").arg(path));
        file->flush();
        newIdentity.insert(i.id, {bytes.size(), crc32(bytes)});
        p->turned.push_back({i.id, std::move(file), bytes.size(), crc32(bytes)});
    }
    QList<Photo> photos;
    QSet<QString> listed;
    for (const Item& i : std::as_const(items_)) {
        Photo photo = i.photo;
        if (const auto it = newIdentity.constFind(i.id); it != newIdentity.cend())
            std::tie(photo.size, photo.crc) = *it;
        photos.append(photo);
        listed.insert(photo.file.toCaseFolded());
    }
    p->list = encode(photos);
    // What the stored list names and this one does not leaves the folder, into the history:
    // the photos removed here, and those another workstation added when this save replaces
    // its list.
    for (const Photo& gone : onDisk.photos) {
        if (listed.contains(gone.file.toCaseFolded()))
            continue;
        const QString path = folder() + u'/' + gone.file;
        if (const QString kept = photofiles::keep(path, now, keptFolder(kind_), prefix); !kept.isEmpty())
            block.kept.append({gone.file, kept});
        p->remove << gone.file;
    }
    // A damaged list is replaced only once it is kept.
    if (onDisk.damaged && !p->disk.isEmpty())
        if (const QString kept = photofiles::keep(listPath(kind_, position), now, keptFolder(kind_), prefix);
            !kept.isEmpty())
            block.kept.append({kListName, kept});
    p->write = true;
    block.list = p->list;
    prepared_ = std::move(p);
    return encodeBlock(block);
}

void WorkingSet::commit(qint64 position)
{
    std::unique_ptr<Prepared> p = std::move(prepared_);
    if (!p || position != position_)
        return;
    if (!p->write) {
        // Nothing of this card's documentation changed here: it shows what is stored, which
        // another workstation may have changed meanwhile.
        if (!edited_ && p->disk != shown_)
            load(position_);
        return;
    }
    try {
        for (Prepared::Turned& t : p->turned) {
            t.file->commit();
            const int i = indexOf(t.id);
            if (i < 0)
                continue;
            items_[i].turns = 0;
            items_[i].photo.size = t.size;
            items_[i].photo.crc = t.crc;
        }
        if (!QDir().mkpath(folder()))
            throw IoError(QStringLiteral("cannot make the folder %1").arg(folder()));
        writeFileSafely(listPath(kind_, position_), p->list);
    } catch (const IoError& e) {
        failure_ = QStringLiteral(
            "La scheda \u00E8 stata salvata in archivio, ma non la sua documentazione fotografica: non \u00E8 "
            "stato possibile scrivere nella cartella della documentazione. Le modifiche alla documentazione "
            "restano nella scheda: controllare che il disco non sia pieno e che la cartella si possa scrivere, "
            "poi premere di nuovo \u00ABSalva\u00BB.");
        failureCause_ = e.cause();
        return;
    }
    for (const QString& name : std::as_const(p->remove))
        removeWithThumbnail(folder() + u'/' + name);
    for (Item& i : items_)
        i.added = false;
    shown_ = p->list;
    edited_ = damagedOnDisk_ = false;
    notes_.clear();
    if (const auto missing = std::count_if(items_.begin(), items_.end(), [](const Item& i) { return i.missing; }))
        notes_ << kMissing.arg(missing).arg(QDir::toNativeSeparators(folder()));
}

void WorkingSet::discard()
{
    prepared_.reset();
}

} // namespace documentation
