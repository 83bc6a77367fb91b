#include "documentation/WorkingSet.h"

#include "documentation/Exif.h"
#include "documentation/Thumbnails.h"
#include "documentation/VersionBlock.h"
#include "records/SchedaIntervento.h"
#include "records/SchedaOpera.h"
#include "storage/Crc32.h"
#include "storage/FileNames.h"
#include "storage/IoError.h"
#include "storage/PhotoFiles.h"
#include "storage/ProgramDir.h"
#include "storage/RecordStore.h"
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
// "1 foto ... non si trova", "3 foto ... non si trovano".
QString missingNote(qsizetype missing, const QString& folder)
{
    return missing == 1
               ? QStringLiteral("1 foto della documentazione non si trova pi\u00F9 nella cartella %1: \u00E8 segnata "
                                "come mancante. Si pu\u00F2 riprendere da un backup o rimuovere dalla documentazione.")
                     .arg(QDir::toNativeSeparators(folder))
               : QStringLiteral("%1 foto della documentazione non si trovano pi\u00F9 nella cartella %2: sono segnate "
                                "come mancanti. Si possono riprendere da un backup o rimuovere dalla documentazione.")
                     .arg(missing)
                     .arg(QDir::toNativeSeparators(folder));
}

// The size and CRC-32 of the file at path; nullopt when it cannot be read.
std::optional<std::pair<qint64, quint32>> identityOf(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    quint32 crc = 0;
    qint64 size = 0;
    while (!f.atEnd()) {
        const QByteArray block = f.read(1 << 20);
        if (block.isEmpty())
            return std::nullopt;
        crc = crc32(block, crc);
        size += block.size();
    }
    return std::pair{size, crc};
}

// A phase a damaged list cut short is the one of the kind it begins.
QString wholePhase(Kind kind, const QString& phase)
{
    if (phase.isEmpty() || phases(kind).contains(phase))
        return phase;
    QStringList matching;
    for (const QString& p : phases(kind))
        if (p.startsWith(phase))
            matching << p;
    return matching.size() == 1 ? matching.first() : phase;
}
} // namespace

QString folder(Kind kind, qint64 position)
{
    return programdir::file(photoFolder(kind) + QStringLiteral("/Documentazione/") + QString::number(position));
}

QString listPath(Kind kind, qint64 position)
{
    return folder(kind, position) + u'/' + kListName;
}

QString filesFolder(Kind kind)
{
    return kind == Kind::Report ? TSchedaIntervento::filesFolder() : TSchedaOpera::filesFolder();
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

// What a save prepared under the archive's lock, adopted once the save is complete.
struct WorkingSet::Prepared {
    QByteArray disk; // the list as it stood before this save
    QByteArray list; // the list this save stores
    bool write = false;
    QHash<quint64, std::pair<qint64, quint32>> identities; // photos whose bytes the save changes
    QHash<quint64, QString> names; // added photos that took another name than the one they waited under
    QSet<quint64> missing; // photos found gone while the save was prepared
    QStringList thumbnails; // staged photos whose thumbnails follow them into the card's folder
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
    return item.staged.isEmpty() ? folder() + u'/' + item.photo.file : item.staged;
}

Target WorkingSet::target() const
{
    if (!session_ && position_ > 0) {
        try {
            session_ = std::make_shared<cardfiles::Session>(filesFolder(kind_));
        } catch (const IoError&) {
            // The addition says that its photo cannot be written.
        }
    }
    return {folder(), archivePath(kind_), recordSize(kind_), filesFolder(kind_), position_, session_};
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
    // Only the files that wait in the staging folder for this working copy: never a stored one.
    for (const Item* i : added)
        if (!i->staged.isEmpty())
            removeWithThumbnail(i->staged);
}

void WorkingSet::load(qint64 position)
{
    discardAdditions();
    prepared_.reset();
    items_.clear();
    notes_.clear();
    readOnly_ = edited_ = damagedOnDisk_ = false;
    shown_.clear();
    note_.clear();
    position_ = std::max<qint64>(0, position);
    if (position_ == 0)
        return;
    try {
        // What an interrupted save of this card left is finished (or rolled back) first.
        RecordStore(archivePath(kind_), recordSize(kind_), filesFolder(kind_)).settle(position_);
    } catch (const IoError&) {
        // The next save of the card tries again; what is stored is shown meanwhile.
    }
    try {
        shown_ = readList(listPath(kind_, position_));
    } catch (const IoError&) {
        notes_ << kUnreadable.arg(QDir::toNativeSeparators(folder()));
        readOnly_ = true; // never written over what could not be read
        return;
    }
    if (shown_.isEmpty()) {
        noteWhatIsMissing();
        return;
    }
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
        item.photo.phase = list.damaged ? wholePhase(kind_, p.phase) : p.phase;
        item.missing = !QFileInfo(folder() + u'/' + p.file).isFile();
        missing += item.missing;
        items_.append(item);
    }
    // Grouped by phase, in the list's order within each.
    std::stable_sort(items_.begin(), items_.end(), [this](const Item& a, const Item& b) {
        return phaseIndex(kind_, a.photo.phase) < phaseIndex(kind_, b.photo.phase);
    });
    if (missing > 0)
        notes_ << missingNote(missing, folder());
}

void WorkingSet::noteWhatIsMissing()
{
    // Photos in the folder that no list names: the list was lost or emptied by hand.
    if (const qsizetype found = unlisted().size(); found > 0) {
        notes_ << (found == 1 ? QStringLiteral("Nella cartella %1 c'\u00E8 una foto che l'elenco della documentazione "
                                               "fotografica non nomina (l'elenco manca o \u00E8 vuoto): si pu\u00F2 "
                                               "riprendere nella documentazione.")
                                    .arg(QDir::toNativeSeparators(folder()))
                              : QStringLiteral("Nella cartella %1 ci sono %2 foto che l'elenco della documentazione "
                                               "fotografica non nomina (l'elenco manca o \u00E8 vuoto): si possono "
                                               "riprendere nella documentazione.")
                                    .arg(QDir::toNativeSeparators(folder()))
                                    .arg(found));
        return;
    }
    if (QFileInfo(folder()).isDir())
        return;
    // No folder at all: the card's newest version says whether it had documentation.
    std::optional<journal::Entry> newest;
    try {
        newest = RecordStore(archivePath(kind_), recordSize(kind_)).newest(position_);
    } catch (const IoError&) {
        return;
    }
    const std::optional<cardfiles::Block> block = newest ? cardfiles::decode(newest->extra) : std::nullopt;
    const std::optional<Block> pieces = block && block->pieces.contains(cardfiles::kDocumentation)
                                            ? decodeBlock(block->pieces.value(cardfiles::kDocumentation))
                                            : std::nullopt;
    const qsizetype listed = pieces ? decode(pieces->list).photos.size() : 0;
    if (listed > 0)
        notes_ << QStringLiteral("La cartella della documentazione fotografica di questa scheda (%1) non c'\u00E8 "
                                 "pi\u00F9, ma l'ultima versione salvata della scheda ne elenca %2: si pu\u00F2 "
                                 "riprendere da un backup, o dalla cronologia della scheda per le foto che vi sono "
                                 "conservate.")
                      .arg(QDir::toNativeSeparators(folder()),
                           listed == 1 ? QStringLiteral("una foto") : QStringLiteral("%1 foto").arg(listed));
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
    item.staged = stagedPath(target(), photo.file);
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
            const Target into = target();
            item.photo.file = storeBytes(into, photos[i].file, bytes);
            item.photo.size = bytes.size();
            item.photo.crc = crc32(bytes);
            item.added = true;
            item.staged = stagedPath(into, item.photo.file);
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

QByteArray WorkingSet::tag() const
{
    return cardfiles::kDocumentation;
}

QStringList WorkingSet::unlisted() const
{
    if (position_ == 0 || readOnly_)
        return {};
    QSet<QString> listed;
    for (const Item& i : items_)
        listed.insert(i.photo.file.toCaseFolded());
    QStringList found;
    for (const QString& name : QDir(folder()).entryList(QDir::Files, QDir::Name))
        if (isPhotoName(name) && !listed.contains(name.toCaseFolded()))
            found << name;
    return found;
}

int WorkingSet::adoptUnlisted()
{
    const QStringList found = unlisted();
    for (const QString& name : found) {
        Photo p;
        p.file = name;
        p.phase = phases(kind_).value(0);
        const QString path = folder() + u'/' + name;
        if (const auto identity = identityOf(path))
            std::tie(p.size, p.crc) = *identity;
        p.taken = QFileInfo(path).lastModified().date();
        Item item;
        item.photo = p;
        insert(item, int(items_.size()));
    }
    return int(found.size());
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

QByteArray WorkingSet::prepare(qint64 position, cardfiles::Transaction& tx)
{
    prepared_.reset();
    note_.clear();
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
        note_ = QStringLiteral(
            "La scheda \u00E8 stata salvata in archivio, ma non la sua documentazione fotografica: \u00E8 stata "
            "scritta da una versione pi\u00F9 recente di Brevanto (anche su un'altra postazione) o non si pu\u00F2 "
            "leggere, e questa versione non la sostituisce.");
        prepared_ = std::move(p);
        return {};
    }
    Block block;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const QString prefix = QStringLiteral("Documentazione_%1_").arg(position);
    QSet<QString> chosen; // kept names given in this save
    const auto retire = [&](const QString& name, const QString& path) {
        const auto identity = identityOf(path);
        if (!identity)
            throw IoError(QStringLiteral("cannot read %1").arg(path));
        const QString kept = photofiles::keptPath(path, now, keptFolder(kind_), prefix, &chosen);
        tx.retire(path, kept, identity->first, identity->second);
        block.kept.append({name, QDir(programdir::path()).relativeFilePath(kept)});
    };
    // The names taken in the folder, so that an addition never lands on a file that stands.
    QSet<QString> taken;
    for (const Photo& stored : onDisk.photos)
        taken.insert(stored.file.toCaseFolded());
    QList<Photo> photos;
    QStringList gone;
    for (const Item& i : std::as_const(items_)) {
        Photo photo = i.photo;
        const QString path = pathOf(i);
        const bool present = !i.missing && QFileInfo(path).isFile();
        if (!i.missing && !present) {
            // Deleted behind the program's back since it was shown: named, and kept as missing.
            p->missing.insert(i.id);
            gone << photo.file;
        }
        if (i.added && present) {
            // A photo added for this save goes in place under a name no other file holds.
            if (taken.contains(photo.file.toCaseFolded()) || QFileInfo::exists(folder() + u'/' + photo.file)) {
                QSet<QString> names = taken;
                photo.file = filenames::freeName(folder(), photo.file, 120, names);
                p->names.insert(i.id, photo.file);
            }
            p->thumbnails << path;
        }
        taken.insert(photo.file.toCaseFolded());
        const QString final = folder() + u'/' + photo.file;
        if (present && i.turns != 0) {
            // Turned: the turned file takes the photo's place, the old one goes into the history.
            const QByteArray bytes = turned(readWhole(path), i.turns);
            if (!i.added)
                retire(photo.file, path);
            tx.put(final, bytes);
            photo.size = bytes.size();
            photo.crc = crc32(bytes);
            p->identities.insert(i.id, {photo.size, photo.crc});
        } else if (present && i.added) {
            tx.place(path, final);
        } else if (present && photo.size == 0) {
            // Listed by a damaged list without its size: which photo it is, from the file itself.
            if (const auto identity = identityOf(path)) {
                std::tie(photo.size, photo.crc) = *identity;
                p->identities.insert(i.id, *identity);
            }
        }
        photos.append(photo);
    }
    p->list = encode(photos);
    // What the stored list names and this one does not leaves the folder, into the history:
    // the photos removed here, and those another workstation added when this save replaces
    // its list.
    QSet<QString> listed;
    for (const Photo& photo : std::as_const(photos))
        listed.insert(photo.file.toCaseFolded());
    for (const Photo& old : onDisk.photos)
        if (!listed.contains(old.file.toCaseFolded()) && QFileInfo(folder() + u'/' + old.file).isFile())
            retire(old.file, folder() + u'/' + old.file);
    // A damaged list is replaced only once it is kept.
    if (onDisk.damaged && !p->disk.isEmpty())
        retire(kListName, listPath(kind_, position));
    tx.put(listPath(kind_, position), p->list);
    if (!gone.isEmpty())
        note_ = (gone.size() == 1
                     ? QStringLiteral("La scheda \u00E8 stata salvata, con la sua documentazione fotografica; la foto "
                                      "%1 non si trova pi\u00F9 nella cartella %2 ed \u00E8 segnata come mancante.")
                     : QStringLiteral("La scheda \u00E8 stata salvata, con la sua documentazione fotografica; le foto "
                                      "%1 non si trovano pi\u00F9 nella cartella %2 e sono segnate come mancanti."))
                    .arg(gone.join(QStringLiteral(", ")), QDir::toNativeSeparators(folder()));
    p->write = true;
    block.list = p->list;
    prepared_ = std::move(p);
    return encodeBlock(block);
}

void WorkingSet::committed(qint64 position)
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
    // The thumbnails of the photos put in place follow them (a cache: where they cannot, they
    // are made again).
    QDir().mkpath(folder() + u'/' + thumbnails::kFolder);
    for (Item& i : items_) {
        if (const auto it = p->names.constFind(i.id); it != p->names.cend())
            i.photo.file = *it;
        if (const auto it = p->identities.constFind(i.id); it != p->identities.cend())
            std::tie(i.photo.size, i.photo.crc) = *it;
        if (p->missing.contains(i.id))
            i.missing = true;
        if (!i.staged.isEmpty()) {
            const QFileInfo staged(i.staged);
            const QString thumbnail = staged.absolutePath() + u'/' + thumbnails::kFolder + u'/' + staged.fileName();
            QFile::rename(thumbnail, folder() + u'/' + thumbnails::kFolder + u'/' + i.photo.file);
            QFile::remove(i.staged); // a turned addition left its original waiting
            QFile::remove(thumbnail);
        }
        i.turns = 0;
        i.added = false;
        i.staged.clear();
    }
    shown_ = p->list;
    edited_ = damagedOnDisk_ = false;
    notes_.clear();
    if (const auto missing = std::count_if(items_.begin(), items_.end(), [](const Item& i) { return i.missing; }))
        notes_ << missingNote(missing, folder());
}

void WorkingSet::discarded()
{
    prepared_.reset();
}

} // namespace documentation
