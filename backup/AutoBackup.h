#pragma once
#include "backup/BackupWriter.h"
#include "backup/Progress.h"

#include <QDateTime>
#include <QString>

#include <optional>

// The automatic backups taken when the program ends from the launcher, as the [Backup]
// section of Brevanto.ini sets them: every Giorni days (by date; 0: never), into Cartella
// (a folder relative to the program folder, by default Backup), keeping the newest Copie.
namespace autobackup {

struct Settings {
    int days = 1;
    QString folder; // absolute
    int copies = 10;
};

// Read from Brevanto.ini; an unreadable file or value gives the default.
Settings settings();

// The name of an automatic backup made at when.
QString fileName(const QDateTime& when);

// Whether an automatic backup is due at now: none in the folder yet, or the newest made
// Giorni or more calendar days before now.
bool due(const Settings& s, const QDateTime& now);

// Writes the automatic backup when it is due and removes the oldest automatic backups
// beyond Copie; nothing when it is not due. Throws IoError.
std::optional<BackupSummary> runIfDue(const QDateTime& now, Progress& progress);

} // namespace autobackup
