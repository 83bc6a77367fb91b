#pragma once
#include "backup/Progress.h"

#include <QDateTime>
#include <QString>

// What a backup holds, as the screens and the command line tell it.
struct BackupSummary {
    QString path;
    QDateTime date;
    qint64 artworks = 0;
    qint64 reports = 0;
    qint64 bytes = 0; // the size of the zip file
};

// The name a backup gets when only its folder is chosen: Brevanto-backup-AAAAMMGG-HHMM.zip.
QString defaultBackupName(const QDateTime& when);

// Writes a backup of the laboratory in the program folder to target, a zip file: each
// archive and journal read under the archive lock, photos stored as they are and the rest
// compressed, the manifest last. The file is written beside target, read back and checked in
// full, forced to the disk and only then renamed to target. Temporary files that an earlier,
// interrupted backup left beside target are removed first. Throws IoError (and nothing
// stays behind) on any failure, or when progress asks to stop.
BackupSummary writeBackup(const QString& target, Progress& progress);
