#include "backup/Laboratory.h"

#include "records/SchedaIntervento.h"
#include "records/SchedaOpera.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

#include <algorithm>

namespace laboratory {
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

QList<Entry> collect(const QString& root)
{
    const QDir base(root);
    QList<Entry> out;
    for (const QString& name : files()) {
        const QFileInfo info(base.filePath(name));
        if (info.isFile())
            out.append({name, info.size()});
    }
    for (const QString& folder : folders()) {
        const QFileInfo top(base.filePath(folder));
        if (!top.isDir())
            continue;
        QList<Entry> below;
        QDirIterator it(top.filePath(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            it.next();
            const QFileInfo info = it.fileInfo();
            if (info.isSymLink())
                continue;
            const QString name = folder + u'/' + QDir(top.filePath()).relativeFilePath(info.filePath());
            if (info.isDir())
                below.append({name + u'/', 0});
            else if (info.isFile())
                below.append({name, info.size()});
        }
        std::sort(below.begin(), below.end(), [](const Entry& a, const Entry& b) { return a.name < b.name; });
        out.append({folder + u'/', 0});
        out.append(below);
    }
    return out;
}

QString topLevelOf(const QString& name)
{
    if (name.isEmpty() || name.startsWith(u'/'))
        return {};
    for (QChar c : name)
        if (c.unicode() < 0x20 || c == u'\\' || c.unicode() == 0x7F)
            return {};
    QStringList parts = name.split(u'/');
    if (name.endsWith(u'/'))
        parts.removeLast(); // a folder
    for (const QString& part : parts)
        if (part.isEmpty() || part == u"." || part == u"..")
            return {};
    const QString top = parts.constFirst();
    if (folders().contains(top))
        return top;
    if (files().contains(top) && parts.size() == 1 && !name.endsWith(u'/'))
        return top;
    return {};
}

QString guardOf(const QString& name)
{
    if (name == kArtworks || name == kArtworksJournal)
        return kArtworks;
    if (name == kReports || name == kReportsJournal)
        return kReports;
    return {};
}

qint64 recordsIn(const QString& name, qint64 size)
{
    if (name == kArtworks)
        return size / TSchedaOpera::kSize;
    if (name == kReports)
        return size / TSchedaIntervento::kSize;
    return 0;
}

} // namespace laboratory
