#include "backup/AutoBackup.h"

#include "backup/Laboratory.h"
#include "storage/IniFile.h"
#include "storage/IoError.h"
#include "storage/ProgramDir.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace autobackup {
namespace {
const QString kSection = QStringLiteral("Backup");
const QString kPrefix = QStringLiteral("Brevanto-backup-automatico-");
const QString kStamp = QStringLiteral("yyyyMMdd-HHmm");

int number(const IniFile& ini, const QString& key, int fallback)
{
    bool ok = false;
    const int n = ini.read(kSection, key).trimmed().toInt(&ok);
    return ok && n >= 0 ? n : fallback;
}

// The automatic backups in the folder, oldest first (their names sort by date).
QStringList existing(const QString& folder)
{
    static const QRegularExpression name(QStringLiteral("^Brevanto-backup-automatico-\\d{8}-\\d{4}\\.zip$"));
    QStringList found = QDir(folder).entryList({kPrefix + QStringLiteral("*.zip")}, QDir::Files, QDir::Name);
    found.removeIf([](const QString& n) { return !name.match(n).hasMatch(); });
    return found;
}

QDateTime madeAt(const QString& fileName)
{
    return QDateTime::fromString(fileName.mid(kPrefix.size(), kStamp.size()), kStamp);
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
    if (!QDir().mkpath(s.folder))
        throw IoError(QStringLiteral("cannot make the folder %1").arg(s.folder));
    BackupSummary summary = writeBackup(QDir(s.folder).filePath(fileName(now)), progress);
    // The newest copies are kept, the one just written always among them (an older one may
    // carry a later name when the clock was put back).
    QStringList made = existing(s.folder);
    made.removeOne(QFileInfo(summary.path).fileName());
    while (made.size() >= s.copies)
        QFile::remove(QDir(s.folder).filePath(made.takeFirst()));
    return summary;
}

} // namespace autobackup
