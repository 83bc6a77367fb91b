#include "storage/CardFiles.h"

#include "storage/Bytes.h"
#include "storage/Crc32.h"
#include "storage/IoError.h"
#include "storage/Platform.h"
#include "storage/ProgramDir.h"

#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <QRandomGenerator>
#include <QSet>
#include <QtEndian>

#include <algorithm>

namespace cardfiles {
namespace {
using bytes::put;
using bytes::putText;
using bytes::Reader;
const QByteArray kMagic = QByteArrayLiteral("BRVC");
const QByteArray kDocumentationMagic = QByteArrayLiteral("BRVD");
constexpr quint8 kVersion = 1;
// The marks of what the staging folder holds: a save's new file, and what stood where it went.
const QString kStagedMark = QStringLiteral("salvataggio-");
const QString kAsideMark = QStringLiteral("indietro-");
const QString kSessionPrefix = QStringLiteral("sessione-");
constexpr int kKeyLength = 8;

QString relative(const QString& path)
{
    return QDir(programdir::path()).relativeFilePath(path);
}

QString absolute(const QString& relativePath)
{
    return programdir::file(relativePath);
}

QString random(int length)
{
    static const char kAlphabet[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    QString out;
    for (int i = 0; i < length; ++i)
        out += QLatin1Char(kAlphabet[QRandomGenerator::system()->bounded(36)]);
    return out;
}

bool exists(const QString& path)
{
    return platform::status(platform::encodeName(path)).kind != platform::Kind::Missing;
}

void ensureFolder(const QString& folder)
{
    if (QFileInfo(folder).isDir())
        return;
    ensureFolder(QFileInfo(folder).absolutePath());
    platform::makeFolder(platform::encodeName(folder));
}

void move(const QString& from, const QString& to)
{
    platform::rename(platform::encodeName(from), platform::encodeName(to));
}

// What a name in the staging folder is.
struct Staged {
    enum class Kind { New, Aside, Addition, Session, Other };
    Kind kind = Kind::Other;
    qint64 position = 0;
    QString session;
};

Staged parse(const QString& name)
{
    Staged s;
    if (name.startsWith(kSessionPrefix)) {
        s.kind = Staged::Kind::Session;
        s.session = name.mid(kSessionPrefix.size());
        return s;
    }
    const bool hidden = name.startsWith(u'.');
    const qsizetype dash = name.indexOf(u'-', hidden ? 1 : 0);
    bool number = false;
    s.position = name.mid(hidden ? 1 : 0, dash - (hidden ? 1 : 0)).toLongLong(&number);
    if (dash < 0 || !number || s.position < 1)
        return {};
    if (hidden) {
        if (name.lastIndexOf(u'.' + kStagedMark) > dash)
            s.kind = Staged::Kind::New;
        else if (name.lastIndexOf(u'.' + kAsideMark) > dash)
            s.kind = Staged::Kind::Aside;
        return s;
    }
    // An addition: "<position>-<session>-<name>".
    if (name.size() > dash + kKeyLength + 2 && name[dash + kKeyLength + 1] == u'-') {
        s.kind = Staged::Kind::Addition;
        s.session = name.mid(dash + 1, kKeyLength);
    }
    return s;
}

// The sessions of this process: another one's additions go when its lock is free, never these.
QMutex ownMutex;
QSet<QString> ownSessions;

bool alive(const QString& staging, const QString& key)
{
    {
        QMutexLocker hold(&ownMutex);
        if (ownSessions.contains(key))
            return true;
    }
    const int fd = platform::openFile(staging + u'/' + kSessionPrefix + key, platform::Open::ReadWrite);
    if (fd < 0)
        return false;
    const bool held = !platform::lockIsFree(fd);
    platform::closeFile(fd);
    return held;
}

// A step's path, when it lies where the save of a card of filesFolder may put or take a file:
// inside that folder, without a part that leads out of it or that no system can hold.
std::optional<QString> checked(const QString& relativePath, const QString& filesFolder)
{
    const QString root = relative(filesFolder) + u'/';
    if (!relativePath.startsWith(root))
        return std::nullopt;
    const QStringList parts = relativePath.mid(root.size()).split(u'/');
    for (const QString& part : parts)
        if (part.isEmpty() || part == QLatin1String(".") || part == QLatin1String("..")
            || std::any_of(part.begin(), part.end(),
                           [](QChar c) { return c == u'\\' || c == u':' || c.unicode() < 0x20; }))
            return std::nullopt;
    if (parts.size() > 4)
        return std::nullopt;
    return absolute(relativePath);
}

bool identical(const QString& path, qint64 size, quint32 crc)
{
    QFile f(path);
    if (f.size() != size || !f.open(QIODevice::ReadOnly))
        return false;
    quint32 sum = 0;
    while (!f.atEnd()) {
        const QByteArray block = f.read(1 << 20);
        if (block.isEmpty())
            return false;
        sum = crc32(block, sum);
    }
    return sum == crc;
}

// Does again, where still to do, what a committed save's steps say. Steps outside the card's
// files folder (a damaged or forged journal) are left alone.
void redo(const QList<Step>& steps, const QString& filesFolder)
{
    const QString staging = stagingFolder(filesFolder);
    QSet<QString> touched;
    for (const Step& s : steps) {
        const std::optional<QString> from = checked(s.from, filesFolder), to = checked(s.to, filesFolder);
        if (!from || !to)
            continue;
        const bool fromStaging = QFileInfo(*from).absolutePath() == staging;
        const bool toStaging = QFileInfo(*to).absolutePath() == staging;
        if (s.kind == Step::Kind::Retire) {
            if (fromStaging || toStaging || !QFileInfo(*from).isFile() || exists(*to)
                || !identical(*from, s.size, s.crc))
                continue;
        } else if (s.kind == Step::Kind::Place) {
            if (!fromStaging || toStaging || !QFileInfo(*from).isFile())
                continue;
        } else {
            continue;
        }
        ensureFolder(QFileInfo(*to).absolutePath());
        move(*from, *to);
        touched << QFileInfo(*from).absolutePath() << QFileInfo(*to).absolutePath();
    }
    for (const QString& folder : std::as_const(touched))
        platform::syncFolder(folder);
}
} // namespace

QByteArray encode(const Block& block)
{
    QByteArray out = kMagic;
    put<quint8>(out, kVersion);
    put<quint8>(out, quint8(std::min<qsizetype>(block.pieces.size(), 255)));
    for (auto it = block.pieces.cbegin(); it != block.pieces.cend(); ++it) {
        out.append(it.key().leftJustified(4, ' ', true));
        put<quint32>(out, quint32(it.value().size()));
        out.append(it.value());
    }
    put<quint16>(out, quint16(std::min<qsizetype>(block.steps.size(), 65535)));
    for (const Step& s : block.steps) {
        put<quint8>(out, quint8(s.kind));
        putText(out, s.from);
        putText(out, s.to);
        put<qint64>(out, s.size);
        put<quint32>(out, s.crc);
    }
    return out;
}

std::optional<Block> decode(QByteArrayView bytes)
{
    Block block;
    if (bytes.startsWith(kDocumentationMagic)) {
        block.pieces.insert(kDocumentation, bytes.toByteArray());
        return block;
    }
    if (!bytes.startsWith(kMagic))
        return std::nullopt;
    Reader r(bytes.sliced(4));
    quint8 version = 0, pieces = 0;
    if (!r.get(version) || version != kVersion || !r.get(pieces))
        return std::nullopt;
    for (int i = 0; i < pieces; ++i) {
        QByteArrayView tag, piece;
        quint32 length = 0;
        if (!r.take(4, tag) || !r.get(length) || !r.take(qsizetype(length), piece)
            || block.pieces.contains(tag.toByteArray()))
            return std::nullopt;
        block.pieces.insert(tag.toByteArray(), piece.toByteArray());
    }
    quint16 steps = 0;
    if (!r.get(steps))
        return std::nullopt;
    for (int i = 0; i < steps; ++i) {
        Step s;
        quint8 kind = 0;
        if (!r.get(kind) || (kind != quint8(Step::Kind::Place) && kind != quint8(Step::Kind::Retire)) || !r.text(s.from)
            || !r.text(s.to) || !r.get(s.size) || !r.get(s.crc))
            return std::nullopt;
        s.kind = Step::Kind(kind);
        block.steps.append(s);
    }
    if (!r.atEnd())
        return std::nullopt;
    return block;
}

QString stagingFolder(const QString& filesFolder)
{
    return filesFolder + QStringLiteral("/.brevanto-salvataggi");
}

Transaction::Transaction(QString filesFolder, qint64 position) : files_(std::move(filesFolder)), position_(position)
{ }

Transaction::~Transaction()
{
    try {
        forget();
    } catch (const IoError&) {
        // what stays is removed by the next access under the lock
    }
}

void Transaction::forget()
{
    for (const QString& path : std::as_const(staged_))
        platform::removeFile(path);
    staged_.clear();
    for (const Move& m : std::as_const(places_))
        if (!m.aside.isEmpty())
            platform::removeFile(m.aside);
}

void Transaction::put(const QString& path, const QByteArray& bytes)
{
    if (files_.isEmpty())
        throw IoError(QStringLiteral("an archive without a files folder stores no file beside a card"));
    // A folder standing where the file goes, or a file made read-only, is not replaced.
    const platform::Status there = platform::status(platform::encodeName(path));
    if (there.kind == platform::Kind::Folder)
        throw IoError(QStringLiteral("%1 is a folder").arg(path));
    if (there.kind == platform::Kind::File && platform::isReadOnly(path))
        throw IoError(QStringLiteral("%1 is read-only").arg(path));
    const QString staging = stagingFolder(files_);
    ensureFolder(staging);
    QString temporary;
    const int fd = platform::createBeside(
        staging + u'/' + QString::number(position_) + u'-' + QFileInfo(path).fileName(), kStagedMark, &temporary);
    if (fd < 0)
        throw IoError(QStringLiteral("cannot create a file in %1: %2").arg(staging, platform::lastError()), {},
                      platform::diskFull());
    staged_ << temporary;
    platform::clearLastError();
    const bool written = platform::writeAt(fd, 0, bytes.constData(), bytes.size()) && platform::syncFile(fd);
    const QString why = platform::lastError();
    const bool full = platform::diskFull();
    platform::closeFile(fd);
    if (!written)
        throw IoError(QStringLiteral("cannot write %1: %2").arg(temporary, why), {}, full);
    places_.append({temporary, path, {}});
}

void Transaction::place(const QString& staged, const QString& path)
{
    places_.append({staged, path, {}});
}

void Transaction::retire(const QString& path, const QString& kept, qint64 size, quint32 crc)
{
    retires_.append({path, kept, {}});
    identities_.append({size, crc});
}

QList<Step> Transaction::steps() const
{
    QList<Step> out;
    for (qsizetype i = 0; i < retires_.size(); ++i)
        out.append({Step::Kind::Retire, relative(retires_[i].from), relative(retires_[i].to), identities_[i].first,
                    identities_[i].second});
    for (const Move& m : places_)
        out.append({Step::Kind::Place, relative(m.from), relative(m.to), 0, 0});
    return out;
}

void Transaction::apply()
{
    const QString staging = stagingFolder(files_);
    QSet<QString> touched;
    try {
        for (Move& m : retires_) {
            ensureFolder(QFileInfo(m.to).absolutePath());
            if (!platform::renameIfFree(platform::encodeName(m.from), platform::encodeName(m.to)))
                throw IoError(QStringLiteral("%1 is taken").arg(m.to));
            touched << QFileInfo(m.from).absolutePath() << QFileInfo(m.to).absolutePath();
            ++done_;
        }
        for (Move& m : places_) {
            if (exists(m.to)) {
                // What stands there waits aside until the save is done, so that it can come back.
                const QString aside = staging
                                      + QStringLiteral("/.%1-%2.%3%4")
                                            .arg(position_)
                                            .arg(QFileInfo(m.to).fileName(), kAsideMark, random(6));
                move(m.to, aside);
                m.aside = aside;
            }
            ensureFolder(QFileInfo(m.to).absolutePath());
            move(m.from, m.to);
            staged_.removeAll(m.from);
            touched << QFileInfo(m.to).absolutePath();
            ++done_;
        }
    } catch (const IoError&) {
        try {
            undo();
        } catch (const IoError&) {
            // The journal's entry stands: the next access under the lock completes the save.
        }
        throw;
    }
    touched << staging;
    for (const QString& folder : std::as_const(touched))
        platform::syncFolder(folder);
    applied_ = true;
}

void Transaction::undo()
{
    // Backwards from the last step done: the new files back into the staging folder, what
    // stood in their place back where it was, the retired ones back into the card's folders.
    for (int i = done_; i-- > 0;) {
        if (i >= retires_.size()) {
            Move& m = places_[i - retires_.size()];
            if (exists(m.to)) {
                move(m.to, m.from);
                staged_ << m.from;
            }
            if (!m.aside.isEmpty()) {
                move(m.aside, m.to);
                m.aside.clear();
            }
        } else {
            const Move& m = retires_[i];
            if (exists(m.to) && !exists(m.from))
                move(m.to, m.from);
        }
        done_ = i;
    }
    // The additions placed go back to the working copy that staged them, not away.
    for (const Move& m : std::as_const(places_))
        if (!m.from.contains(u'.' + kStagedMark))
            staged_.removeAll(m.from);
    applied_ = false;
}

Session::Session(const QString& filesFolder) : folder_(stagingFolder(filesFolder))
{
    ensureFolder(folder_);
    for (int attempt = 0; fd_ < 0 && attempt < 100; ++attempt) {
        key_ = random(kKeyLength);
        const QByteArray path = platform::encodeName(folder_ + u'/' + kSessionPrefix + key_);
        fd_ = platform::createFile(path);
    }
    if (fd_ < 0)
        throw IoError(QStringLiteral("cannot make a session in %1").arg(folder_));
    if (platform::lockFile(fd_, platform::Lock::Exclusive) == platform::Locked::Failed) {
        platform::closeFile(fd_);
        platform::removeFile(folder_ + u'/' + kSessionPrefix + key_);
        throw IoError(QStringLiteral("cannot lock a session in %1: %2").arg(folder_, platform::lastError()));
    }
    QMutexLocker hold(&ownMutex);
    ownSessions.insert(key_);
}

Session::~Session()
{
    {
        QMutexLocker hold(&ownMutex);
        ownSessions.remove(key_);
    }
    platform::unlockFile(fd_);
    platform::closeFile(fd_);
    platform::removeFile(folder_ + u'/' + kSessionPrefix + key_);
}

QString Session::stagedPath(qint64 position, const QString& name) const
{
    return folder_ + QStringLiteral("/%1-%2-%3").arg(position).arg(key_, name);
}

QMap<QString, QString> stagedAdditions(const QString& filesFolder, qint64 position)
{
    QMap<QString, QString> out;
    const QString staging = stagingFolder(filesFolder);
    if (!QFileInfo(staging).isDir())
        return out;
    for (const QByteArray& bytes : platform::folderNames(platform::encodeName(staging))) {
        const QString name = platform::decodeName(bytes);
        const Staged s = parse(name);
        if (s.kind == Staged::Kind::Addition && s.position == position)
            out.insert(name.mid(QString::number(position).size() + kKeyLength + 2), staging + u'/' + name);
    }
    return out;
}

bool unsettled(const QString& filesFolder, qint64 position)
{
    const QString staging = stagingFolder(filesFolder);
    if (!QFileInfo(staging).isDir())
        return false;
    for (const QByteArray& bytes : platform::folderNames(platform::encodeName(staging))) {
        const Staged s = parse(platform::decodeName(bytes));
        if (s.kind == Staged::Kind::Other || s.kind == Staged::Kind::Session)
            continue;
        if (position != 0 && s.position != position)
            continue;
        if (s.kind != Staged::Kind::Addition || !alive(staging, s.session))
            return true;
    }
    return false;
}

void settle(const QString& filesFolder, const journal::Journal& journal, qint64 position)
{
    const QString staging = stagingFolder(filesFolder);
    if (!QFileInfo(staging).isDir())
        return;
    QMap<qint64, QStringList> saves; // what interrupted saves left, per card
    QStringList gone;
    QSet<QString> referenced; // sessions with additions waiting
    const QList<QByteArray> names = platform::folderNames(platform::encodeName(staging));
    for (const QByteArray& bytes : names) {
        const QString name = platform::decodeName(bytes);
        const Staged s = parse(name);
        if (s.kind == Staged::Kind::Session || s.kind == Staged::Kind::Other)
            continue;
        const bool asked = position == 0 || s.position == position;
        if (s.kind == Staged::Kind::Addition) {
            if (referenced.contains(s.session) || alive(staging, s.session))
                referenced << s.session;
            else if (asked)
                gone << name;
        } else if (asked) {
            saves[s.position] << name;
        }
    }
    for (auto it = saves.cbegin(); it != saves.cend(); ++it) {
        // The card's newest entry names these files when their save was committed.
        const std::optional<journal::Entry> newest = journal.newest(it.key());
        const std::optional<Block> block = newest ? decode(newest->extra) : std::nullopt;
        if (block) {
            const bool committed = std::any_of(block->steps.begin(), block->steps.end(), [&](const Step& s) {
                return s.kind == Step::Kind::Place && it.value().contains(QFileInfo(s.from).fileName());
            });
            if (committed)
                redo(block->steps, filesFolder);
        }
        for (const QString& name : it.value())
            platform::removeFile(staging + u'/' + name);
    }
    for (const QString& name : std::as_const(gone)) {
        platform::removeFile(staging + u'/' + name);
        platform::removeFile(staging + QStringLiteral("/Miniature/") + name); // its cached thumbnail
    }
    // The lock files of sessions that ended without removing theirs.
    for (const QByteArray& bytes : names) {
        const Staged s = parse(platform::decodeName(bytes));
        if (s.kind == Staged::Kind::Session && !referenced.contains(s.session) && !alive(staging, s.session))
            platform::removeFile(staging + u'/' + platform::decodeName(bytes));
    }
}

} // namespace cardfiles
