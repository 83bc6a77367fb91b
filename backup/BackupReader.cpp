#include "backup/BackupReader.h"

#include "backup/Laboratory.h"
#include "backup/Sha256.h"
#include "backup/Zip.h"
#include "storage/Platform.h"

#include <QFile>
#include <QHash>
#include <QSet>

#include <optional>

namespace {
// A manifest larger than this is not one the program wrote.
constexpr qint64 kManifestLimit = 64 * 1024 * 1024;

const QString kNotHere = QStringLiteral("Attenzione: il backup non si pu\u00F2 ripristinare in questa cartella: %1 "
                                        "Nessun dato \u00E8 stato modificato.");

QString quoted(const QByteArray& name)
{
    return QStringLiteral("\u00AB%1\u00BB").arg(laboratory::shown(name));
}

// A name as one compares it on a file system that ignores case and the way accents are written.
QString folded(const QByteArray& name)
{
    return QString::fromUtf8(name).normalized(QString::NormalizationForm_C).toCaseFolded();
}

// Writes the members below a folder under the exact bytes of their names, and checks that the
// disk kept them so: a name that another takes for its own (a case-insensitive file system)
// or that the disk changed would lose a file once the folder replaces the laboratory's.
class Unpacker {
public:
    explicit Unpacker(const QString& folder) : root_(platform::encodeName(folder) + '/') { }

    void folder(const QByteArray& name) { makeFolder(name.chopped(1)); }

    // Starts a file and returns it open for writing.
    void file(const QByteArray& name, QFile& out)
    {
        const QByteArray parent = parentOf(name);
        if (!parent.isEmpty())
            makeFolder(parent);
        const int fd = platform::createFile(root_ + name);
        if (fd < 0)
            clash(name);
        expected_[parent].insert(name.mid(parent.isEmpty() ? 0 : parent.size() + 1));
        if (!out.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle))
            throw IoError(QStringLiteral("cannot write %1: %2").arg(platform::decodeName(name), out.errorString()));
    }

    // Every folder holds exactly the names written into it.
    void check() const
    {
        for (auto it = expected_.begin(); it != expected_.end(); ++it) {
            const QList<QByteArray> names = platform::folderNames(root_ + it.key());
            const QSet<QByteArray> found(names.begin(), names.end());
            if (found == it.value())
                continue;
            for (const QByteArray& name : it.value())
                if (!found.contains(name))
                    throw IoError(QStringLiteral("the disk did not keep the name %1").arg(platform::decodeName(name)),
                                  kNotHere.arg(QStringLiteral("il disco ha cambiato il nome del file %1.")
                                                   .arg(quoted(it.key().isEmpty() ? name : it.key() + '/' + name))));
        }
    }

private:
    static QByteArray parentOf(const QByteArray& name)
    {
        const qsizetype slash = name.lastIndexOf('/');
        return slash < 0 ? QByteArray() : name.left(slash);
    }

    void makeFolder(const QByteArray& name)
    {
        if (made_.contains(name))
            return;
        const QByteArray parent = parentOf(name);
        if (!parent.isEmpty())
            makeFolder(parent);
        if (!platform::makeFolder(root_ + name))
            clash(name);
        made_.insert(name);
        expected_[parent].insert(name.mid(parent.isEmpty() ? 0 : parent.size() + 1));
        expected_[name];
    }

    // The name is taken by one written before: tell which, when it differs only in case.
    [[noreturn]] void clash(const QByteArray& name) const
    {
        const QByteArray parent = parentOf(name);
        const QByteArray own = name.mid(parent.isEmpty() ? 0 : parent.size() + 1);
        QString other;
        for (const QByteArray& sibling : expected_.value(parent))
            if (folded(sibling) == folded(own))
                other = quoted(parent.isEmpty() ? sibling : parent + '/' + sibling);
        const QString why =
            other.isEmpty() ? QStringLiteral("il file %1 non si pu\u00F2 creare con il suo nome.").arg(quoted(name))
                            : QStringLiteral("i nomi %1 e %2 differiscono solo per maiuscole e minuscole, e il disco "
                                             "non li distingue: uno dei due andrebbe perso.")
                                  .arg(other, quoted(name));
        throw IoError(QStringLiteral("%1 is taken on this disk").arg(platform::decodeName(name)), kNotHere.arg(why));
    }

    QByteArray root_;
    QSet<QByteArray> made_;
    QHash<QByteArray, QSet<QByteArray>> expected_; // folder (empty: the root) -> the names it must hold
};

void writeAll(QFile& out, const char* data, qint64 length)
{
    if (out.write(data, length) != length)
        throw IoError(QStringLiteral("cannot write %1: %2").arg(out.fileName(), out.errorString()));
}

void closeChecked(QFile& out, const QByteArray& name)
{
    if (!out.flush())
        throw IoError(QStringLiteral("cannot write %1: %2").arg(platform::decodeName(name), out.errorString()));
    out.close();
    if (out.error() != QFileDevice::NoError)
        throw IoError(QStringLiteral("cannot close %1: %2").arg(platform::decodeName(name), out.errorString()));
}

// Every member against the manifest, before any member's bytes are read.
void checkMembers(const QList<zipfile::Reader::Member>& members, const Manifest& manifest, bool unpacking)
{
    QHash<QByteArray, const zipfile::Reader::Member*> inZip;
    for (const zipfile::Reader::Member& m : members) {
        if (m.name == laboratory::kManifest.toUtf8())
            continue;
        if (m.special)
            throw InvalidBackup(QStringLiteral("%1 is not a plain file or folder").arg(laboratory::shown(m.name)));
        if (laboratory::topLevelOf(m.name).isEmpty() || inZip.contains(m.name))
            throw InvalidBackup(
                QStringLiteral("%1: a member name outside the laboratory, or twice").arg(laboratory::shown(m.name)));
        inZip.insert(m.name, &m);
    }
    QSet<QByteArray> listed;
    qint64 artworks = 0, reports = 0;
    for (const Manifest::Member& m : manifest.members) {
        const zipfile::Reader::Member* z = inZip.value(m.name);
        if (!z || listed.contains(m.name))
            throw InvalidBackup(
                QStringLiteral("%1 is listed but not in the zip, or listed twice").arg(laboratory::shown(m.name)));
        if (z->size != m.size)
            throw InvalidBackup(
                QStringLiteral("%1 differs from its size in the manifest").arg(laboratory::shown(m.name)));
        listed.insert(m.name);
        if (m.name == laboratory::kArtworks.toUtf8())
            artworks = laboratory::recordsIn(m.name, m.size);
        else if (m.name == laboratory::kReports.toUtf8())
            reports = laboratory::recordsIn(m.name, m.size);
        if (unpacking) {
            const QList<QByteArray> parts = m.name.split('/');
            for (const QByteArray& part : parts)
                if (!part.isEmpty() && !platform::holdsName(part))
                    throw IoError(
                        QStringLiteral("this system cannot hold the name %1").arg(laboratory::shown(m.name)),
                        kNotHere.arg(
                            QStringLiteral("questo sistema non ammette il nome del file %1.").arg(quoted(m.name))));
        }
    }
    if (listed.size() != inZip.size())
        throw InvalidBackup(QStringLiteral("the zip holds members the manifest does not list"));
    if (artworks != manifest.artworks || reports != manifest.reports)
        throw InvalidBackup(QStringLiteral("the manifest's counts disagree with the archives"));
}

Manifest readBackup(const QString& path, const QString& folder, Progress& progress)
{
    try {
        zipfile::Reader zip(path);
        progress.begin(folder.isEmpty() ? Progress::Step::Verifying : Progress::Step::Unpacking, zip.fileSize());
        const auto advance = [&progress](qint64 position) {
            if (!progress.advance(position))
                throw IoError(QStringLiteral("cancelled"));
        };

        const zipfile::Reader::Member* listing = nullptr;
        for (const zipfile::Reader::Member& m : zip.members())
            if (m.name == laboratory::kManifest.toUtf8()) {
                if (listing)
                    throw InvalidBackup(QStringLiteral("the manifest twice"));
                listing = &m;
            }
        if (!listing)
            throw InvalidBackup(QStringLiteral("no manifest: not a backup of this program"));
        if (listing->size > kManifestLimit || listing->special)
            throw InvalidBackup(QStringLiteral("a manifest this program never writes"));
        QByteArray text;
        zip.read(*listing, [&text](const char* data, qint64 n) { text.append(data, n); });
        Manifest manifest;
        try {
            manifest = Manifest::decode(text);
        } catch (const IoError& e) {
            throw InvalidBackup(e.cause());
        }
        checkMembers(zip.members(), manifest, !folder.isEmpty());
        if (!folder.isEmpty()) {
            qint64 needed = 0;
            for (const Manifest::Member& m : manifest.members)
                needed += m.size;
            const qint64 free = platform::freeSpace(platform::encodeName(folder));
            if (free >= 0 && needed > free)
                throw IoError(QStringLiteral("%1 bytes to unpack, %2 free").arg(needed).arg(free),
                              QStringLiteral("Attenzione: sul disco della cartella del programma non c'\u00E8 spazio "
                                             "sufficiente per ripristinare il backup (servono %1 MB). Nessun dato "
                                             "\u00E8 stato modificato.")
                                  .arg((needed + 999999) / 1000000));
        }

        QHash<QByteArray, QByteArray> checksums;
        for (const Manifest::Member& m : manifest.members)
            checksums.insert(m.name, m.sha256);
        std::optional<Unpacker> unpacker;
        if (!folder.isEmpty())
            unpacker.emplace(folder);
        Sha256 sha;
        for (const zipfile::Reader::Member& m : zip.members()) {
            if (&m == listing)
                continue;
            if (m.isFolder()) {
                if (unpacker)
                    unpacker->folder(m.name);
                continue;
            }
            QFile out;
            if (unpacker)
                unpacker->file(m.name, out);
            zip.read(
                m,
                [&](const char* data, qint64 n) {
                    sha.add(data, n);
                    if (out.isOpen())
                        writeAll(out, data, n);
                },
                advance);
            if (out.isOpen())
                closeChecked(out, m.name);
            if (sha.hex() != checksums.value(m.name))
                throw InvalidBackup(
                    QStringLiteral("%1 differs from its checksum in the manifest").arg(laboratory::shown(m.name)));
        }
        if (unpacker)
            unpacker->check();
        return manifest;
    } catch (const zipfile::Damaged& e) {
        throw InvalidBackup(e.cause());
    }
}
} // namespace

Manifest verifyBackup(const QString& path, Progress& progress)
{
    return readBackup(path, {}, progress);
}

Manifest unpackBackup(const QString& path, const QString& folder, Progress& progress)
{
    return readBackup(path, folder, progress);
}

bool isBackup(const QString& path)
{
    try {
        const zipfile::Reader zip(path);
        for (const zipfile::Reader::Member& m : zip.members())
            if (m.name == laboratory::kManifest.toUtf8())
                return true;
    } catch (const IoError&) {
        // not a zip, or not readable: not a backup
    }
    return false;
}
