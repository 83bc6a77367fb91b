#include "backup/AutoBackup.h"

#include "backup/Laboratory.h"
#include "storage/IniFile.h"
#include "storage/IoError.h"
#include "storage/ProgramDir.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

namespace autobackup {
namespace {
const QString kSection = QStringLiteral("Backup");
const QString kPrefix = QStringLiteral("Brevanto-backup-automatico-");
const QString kStamp = QStringLiteral("yyyyMMdd-HHmm");
// A second backup of the same minute takes the next free number: ...-HHMM-2.zip.
const QRegularExpression kName(QStringLiteral("^Brevanto-backup-automatico-(\\d{8}-\\d{4})(?:-(\\d{1,6}))?\\.zip$"));

int number(const IniFile& ini, const QString& key, int fallback)
{
    bool ok = false;
    const int n = ini.read(kSection, key).trimmed().toInt(&ok);
    return ok && n >= 0 ? n : fallback;
}

// The automatic backups in the folder, oldest first: by the minute in their names, then by
// their number within it.
QStringList existing(const QString& folder)
{
    QStringList found = QDir(folder).entryList({kPrefix + QStringLiteral("*.zip")}, QDir::Files);
    found.removeIf([](const QString& n) { return !kName.match(n).hasMatch(); });
    const auto key = [](const QString& n) {
        const QRegularExpressionMatch m = kName.match(n);
        return std::pair(m.captured(1), m.captured(2).isEmpty() ? 1 : m.captured(2).toInt());
    };
    std::sort(found.begin(), found.end(), [&key](const QString& a, const QString& b) { return key(a) < key(b); });
    return found;
}

QDateTime madeAt(const QString& fileName)
{
    return QDateTime::fromString(kName.match(fileName).captured(1), kStamp);
}
} // namespace

Settings settings()
{
    Settings s;
    QString folder;
    try {
        const IniFile ini(programdir::file(QStringLiteral("Brevanto.ini")));
        s.days = number(ini, QStringLiteral("Giorni"), s.days);
        s.copies = qMax(1, number(ini, QStringLiteral("Copie"), s.copies));
        folder = ini.read(kSection, QStringLiteral("Cartella")).trimmed();
    } catch (const IoError&) {
        // the defaults
    }
    if (folder.isEmpty())
        folder = laboratory::kBackupFolder;
    s.folder = QDir::cleanPath(QDir(programdir::path()).absoluteFilePath(folder));
    return s;
}

QString fileName(const QDateTime& when)
{
    return kPrefix + when.toString(kStamp) + QStringLiteral(".zip");
}

bool due(const Settings& s, const QDateTime& now)
{
    if (s.days <= 0)
        return false;
    const QStringList made = existing(s.folder);
    if (made.isEmpty())
        return true;
    const QDateTime newest = madeAt(made.constLast());
    const qint64 days = newest.isValid() ? newest.date().daysTo(now.date()) : -1;
    return days < 0 || days >= s.days; // a date ahead of the clock: the clock was put back
}

std::optional<BackupSummary> runIfDue(const QDateTime& now, Progress& progress)
{
    const Settings s = settings();
    if (!due(s, now))
        return std::nullopt;
    const QString target = QDir(s.folder).filePath(fileName(now));
    checkBackupTarget(target); // before its folder is made
    if (!QDir().mkpath(s.folder))
        throw IoError(QStringLiteral("cannot make the folder %1").arg(s.folder));
    BackupSummary summary = writeBackup(target, progress, Placement::FreeName);
    // The newest copies are kept, the one just written always among them (an older one may
    // carry a later name when the clock was put back).
    QStringList made = existing(s.folder);
    made.removeOne(QFileInfo(summary.path).fileName());
    while (made.size() >= s.copies)
        QFile::remove(QDir(s.folder).filePath(made.takeFirst()));
    return summary;
}

} // namespace autobackup
