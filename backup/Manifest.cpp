#include "backup/Manifest.h"

#include "storage/IniFile.h"
#include "storage/IoError.h"

namespace {
const QString kBackup = QStringLiteral("Backup");
const QString kMembers = QStringLiteral("File");
const QString kDocumentation = QStringLiteral("Documentazione");
const QString kFormat = QStringLiteral("yyyy-MM-dd'T'HH:mm:ss");

// Names are kept in ASCII whatever the code page: the zip holds the bytes of each name, and
// a name outside Windows-1252, or not UTF-8 at all, must still come back whole. Spaces too are
// encoded: the settings reader trims a value's first and last.
QString nameField(const QByteArray& name)
{
    return QString::fromLatin1(name.toPercentEncoding("/"));
}

qint64 number(const QString& text, const QString& what)
{
    bool ok = false;
    const qint64 n = text.toLongLong(&ok);
    if (!ok || n < 0)
        throw IoError(QStringLiteral("manifest: bad %1 '%2'").arg(what, text));
    return n;
}
} // namespace

QByteArray Manifest::encode() const
{
    IniText ini;
    ini.setValue(kBackup, QStringLiteral("Data"), date.toString(kFormat));
    ini.setValue(kBackup, QStringLiteral("Versione"), version);
    ini.setValue(kBackup, QStringLiteral("Opere"), QString::number(artworks));
    ini.setValue(kBackup, QStringLiteral("Relazioni"), QString::number(reports));
    ini.setValue(kBackup, QStringLiteral("File"), QString::number(members.size()));
    for (qsizetype i = 0; i < members.size(); ++i) {
        const Member& m = members[i];
        ini.setValue(kMembers, QString::number(i + 1),
                     QStringLiteral("%1,%2,%3").arg(m.size).arg(QString::fromLatin1(m.sha256), nameField(m.name)));
    }
    // Photos per card, where a card has a documentation list: "N=archive,position,photos".
    if (!documentation.isEmpty()) {
        ini.setValue(kBackup, QStringLiteral("Documentazioni"), QString::number(documentation.size()));
        for (qsizetype i = 0; i < documentation.size(); ++i) {
            const Documented& d = documentation[i];
            ini.setValue(kDocumentation, QString::number(i + 1),
                         QStringLiteral("%1,%2,%3").arg(d.archive).arg(d.position).arg(d.photos));
        }
    }
    return ini.bytes();
}

Manifest Manifest::decode(const QByteArray& bytes)
{
    const IniText ini(bytes);
    Manifest m;
    m.date = QDateTime::fromString(ini.value(kBackup, QStringLiteral("Data")), kFormat);
    if (!m.date.isValid())
        throw IoError(QStringLiteral("manifest: no date"));
    m.version = ini.value(kBackup, QStringLiteral("Versione"));
    m.artworks = number(ini.value(kBackup, QStringLiteral("Opere")), QStringLiteral("artwork count"));
    m.reports = number(ini.value(kBackup, QStringLiteral("Relazioni")), QStringLiteral("report count"));
    const qint64 count = number(ini.value(kBackup, QStringLiteral("File")), QStringLiteral("member count"));
    for (qint64 i = 1; i <= count; ++i) {
        const QString line = ini.value(kMembers, QString::number(i));
        const qsizetype first = line.indexOf(u',');
        const qsizetype second = first < 0 ? -1 : line.indexOf(u',', first + 1);
        if (second < 0)
            throw IoError(QStringLiteral("manifest: member %1 unreadable").arg(i));
        Member member;
        member.size = number(line.left(first), QStringLiteral("size"));
        member.sha256 = line.mid(first + 1, second - first - 1).toLatin1();
        member.name = QByteArray::fromPercentEncoding(line.mid(second + 1).toLatin1());
        const bool folder = member.name.endsWith('/');
        if (folder ? !member.sha256.isEmpty() || member.size != 0
                   : member.sha256.size() != 64 || !std::all_of(member.sha256.begin(), member.sha256.end(), [](char c) {
                         return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
                     }))
            throw IoError(QStringLiteral("manifest: member %1 has a bad checksum").arg(i));
        m.members.append(member);
    }
    // Backups of earlier versions have no documentation counts.
    const QString lists = ini.value(kBackup, QStringLiteral("Documentazioni"));
    const qint64 documented = lists.isEmpty() ? 0 : number(lists, QStringLiteral("documentation count"));
    for (qint64 i = 1; i <= documented; ++i) {
        const QStringList parts = ini.value(kDocumentation, QString::number(i)).split(u',');
        if (parts.size() != 3)
            throw IoError(QStringLiteral("manifest: documentation %1 unreadable").arg(i));
        m.documentation.append(
            {parts[0], number(parts[1], QStringLiteral("position")), number(parts[2], QStringLiteral("photo count"))});
    }
    return m;
}
