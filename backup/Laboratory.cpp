#include "backup/Laboratory.h"

#include "documentation/PhotoList.h"
#include "documentation/Thumbnails.h"
#include "records/SchedaIntervento.h"
#include "records/SchedaOpera.h"
#include "storage/Cp1252.h"
#include "storage/IoError.h"
#include "storage/Platform.h"

#include <QFile>

#include <algorithm>

namespace laboratory {
namespace {
// Below the folders, depth first; names sorted as bytes.
void collectBelow(const QByteArray& root, const QByteArray& folder, QList<Entry>& out, QList<QByteArray>* leftOut)
{
    QList<QByteArray> names;
    try {
        names = platform::folderNames(root + folder);
    } catch (const IoError& e) {
        throw IoError(e.cause(),
                      QStringLiteral("Attenzione: il backup non \u00E8 stato salvato perch\u00E9 non si \u00E8 "
                                     "potuta leggere la cartella \u00AB%1\u00BB dei dati. Controllare che "
                                     "sia leggibile.")
                          .arg(shown(folder)));
    }
    std::sort(names.begin(), names.end());
    for (const QByteArray& name : names) {
        const QByteArray relative = folder + '/' + name;
        const platform::Status s = platform::status(root + relative);
        if (s.kind == platform::Kind::Folder && isCache(relative))
            continue;
        if (s.kind == platform::Kind::Folder) {
            out.append({relative + '/', 0});
            collectBelow(root, relative, out, leftOut);
        } else if (s.kind == platform::Kind::File) {
            out.append({relative, s.size});
        } else if (s.kind != platform::Kind::Missing && leftOut) {
            leftOut->append(relative);
        }
    }
}
// The parts of a name inside a card's documentation folder: "Restauri", "Documentazione", the
// position and what follows; empty when the name lies elsewhere.
QList<QByteArray> documentationParts(const QByteArray& name, qsizetype parts)
{
    const QList<QByteArray> p = name.split('/');
    if (p.size() != parts || (p[0] != "Inventario" && p[0] != "Restauri") || p[1] != "Documentazione" || p[2].isEmpty()
        || p[2].size() > 18 || !std::all_of(p[2].begin(), p[2].end(), [](char c) { return c >= '0' && c <= '9'; }))
        return {};
    return p;
}
} // namespace

bool isCache(const QByteArray& relative)
{
    const QList<QByteArray> p = documentationParts(relative, 4);
    return !p.isEmpty() && p[3] == thumbnails::kFolder.toUtf8();
}

ListOf listOf(const QByteArray& name)
{
    const QList<QByteArray> p = documentationParts(name, 4);
    if (p.isEmpty() || p[3] != documentation::kListName.toUtf8())
        return {};
    return {p[0] == "Restauri" ? kReports : kArtworks, p[2].toLongLong()};
}

const QStringList& files()
{
    static const QStringList names = {
        kArtworks,
        kArtworksJournal,
        kReports,
        kReportsJournal,
        QStringLiteral("unins000.dll"),
        QStringLiteral("Contratti.ini"),
        QStringLiteral("Brevanto.ini"),
        QStringLiteral("Logo.bmp"),
        QStringLiteral("Inventario_Opere.xls"),
    };
    return names;
}

const QStringList& folders()
{
    static const QStringList names = {QStringLiteral("Inventario"), QStringLiteral("Restauri"),
                                      QStringLiteral("Documenti_Allegati")};
    return names;
}

const QStringList& derived()
{
    static const QStringList names = {kArtworksJournal + QStringLiteral(".indice"),
                                      kReportsJournal + QStringLiteral(".indice")};
    return names;
}

QList<Entry> collect(const QString& root, QList<QByteArray>* leftOut)
{
    QByteArray base = platform::encodeName(root);
    if (!base.endsWith('/'))
        base += '/';
    QList<Entry> out;
    // A top-level name held by something else than its file or folder is told, not skipped.
    const auto other = [leftOut](const QByteArray& name, platform::Kind kind, platform::Kind wanted) {
        if (kind != platform::Kind::Missing && kind != wanted && leftOut)
            leftOut->append(name);
        return kind != wanted;
    };
    for (const QString& name : files()) {
        const platform::Status s = platform::status(base + name.toUtf8(), true);
        if (!other(name.toUtf8(), s.kind, platform::Kind::File))
            out.append({name.toUtf8(), s.size});
    }
    for (const QString& folder : folders()) {
        if (other(folder.toUtf8(), platform::status(base + folder.toUtf8(), true).kind, platform::Kind::Folder))
            continue;
        out.append({folder.toUtf8() + '/', 0});
        collectBelow(base, folder.toUtf8(), out, leftOut);
    }
    return out;
}

QString topLevelOf(const QByteArray& name)
{
    if (name.isEmpty() || name.startsWith('/') || name.contains('\0'))
        return {};
    const bool folder = name.endsWith('/');
    QList<QByteArray> parts = name.split('/');
    if (folder)
        parts.removeLast();
    for (const QByteArray& part : parts)
        if (part.isEmpty() || part == "." || part == "..")
            return {};
    const QString top = QString::fromUtf8(parts.constFirst());
    if (folders().contains(top)) {
        // The program keeps its photos' earlier versions in a Cronologia folder of each.
        const bool programFolder =
            parts.size() == 1 || (parts.size() == 2 && parts[1] == "Cronologia" && top != u"Documenti_Allegati");
        return folder || !programFolder ? top : QString();
    }
    if (files().contains(top) && parts.size() == 1 && !folder)
        return top;
    return {};
}

QString guardOf(const QByteArray& name)
{
    if (name == kArtworks.toUtf8() || name == kArtworksJournal.toUtf8())
        return kArtworks;
    if (name == kReports.toUtf8() || name == kReportsJournal.toUtf8())
        return kReports;
    return listOf(name).archive;
}

qint64 recordsIn(const QByteArray& name, qint64 size)
{
    if (name == kArtworks.toUtf8())
        return size / TSchedaOpera::kSize;
    if (name == kReports.toUtf8())
        return size / TSchedaIntervento::kSize;
    return 0;
}

QString shown(const QByteArray& name)
{
    return name.isValidUtf8() ? QString::fromUtf8(name) : cp1252::decode(name);
}

} // namespace laboratory
