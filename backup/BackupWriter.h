#pragma once
#include "backup/Progress.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

// What a backup holds, as the screens and the command line tell it.
struct BackupSummary {
    QString path;
    QDateTime date;
    qint64 artworks = 0;
    qint64 reports = 0;
    qint64 bytes = 0; // the size of the zip file
    // What stands in the laboratory's folders but is neither a file nor a folder (a link, a
    // FIFO): no data of the laboratory, left out, named as the user sees them.
    QStringList leftOut;
};

// What a backup left out, in a sentence for the user; empty when nothing was.
QString leftOutText(const BackupSummary& s);

// The name a backup gets when only its folder is chosen: Brevanto-backup-AAAAMMGG-HHMM.zip.
QString defaultBackupName(const QDateTime& when);

// What a backup does when its name is taken.
enum class Placement {
    Replace, // replaces a backup of this program; any other file is refused
    FreeName, // takes the first free name of NAME.zip, NAME-2.zip, NAME-3.zip, ...
};

// Writes a backup of the laboratory in the program folder to target, a zip file: each
// archive and journal read under the archive lock, photos stored as they are and the rest
// compressed, the manifest last, every name as the bytes the file system holds. The file is
// written beside target, read back and checked in full, forced to the disk and only then
// renamed. The program's own temporary files that an earlier, interrupted backup left beside
// target are removed first, and no other. Refused (IoError with a text for the user) while a
// restore is under way or interrupted, for a target among the laboratory's files or inside
// its folders, and for an existing file that is no backup of this program. Throws IoError
// (and nothing stays behind) on any failure, or when progress asks to stop; a file that
// cannot be read is named in the text for the user.
BackupSummary writeBackup(const QString& target, Progress& progress, Placement placement = Placement::Replace);

// Refuses (IoError with a text for the user) what writeBackup refuses before it writes: any
// backup while a restore is under way or interrupted, and a target among the laboratory's
// files or inside its folders, wherever the names of the path lead.
void checkBackupTarget(const QString& target);

// For the restore: the data it is about to replace, written while its staging folder stands
// (when no other backup is), under a free name.
BackupSummary writeSafetyCopy(const QString& target, Progress& progress);

// The name a backup gets at target when that is taken by other files: target itself for
// 1, NAME-2.zip for 2, and so on.
QString numberedName(const QString& target, int n);
