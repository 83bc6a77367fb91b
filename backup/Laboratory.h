#pragma once
#include <QList>
#include <QString>
#include <QStringList>

// What belongs to a laboratory in its program folder: the files and folders a backup holds,
// and the names a backup may hold. Not the executable, the manual or the Backup folder.
namespace laboratory {

// The manifest inside every backup, beside the laboratory's files.
inline const QString kManifest = QStringLiteral("brevanto-backup.ini");
// The folder of the program folder where automatic backups and the copy taken before a
// restore go.
inline const QString kBackupFolder = QStringLiteral("Backup");

// The two record archives.
inline const QString kArtworks = QStringLiteral("Inventario_Opere.pro");
inline const QString kReports = QStringLiteral("Relazioni_Tecniche_Restauro.pro");
// Their journals, the history of every card.
inline const QString kArtworksJournal = QStringLiteral("Inventario_Opere.cronologia");
inline const QString kReportsJournal = QStringLiteral("Relazioni_Tecniche_Restauro.cronologia");

// The top-level files, each archive followed by its journal first.
const QStringList& files();
// The top-level folders, taken with everything below them.
const QStringList& folders();

// One file or folder of a laboratory, named relative to its root with '/' between the parts;
// a folder's name ends with '/'.
struct Entry {
    QString name;
    qint64 size = 0;
    bool isFolder() const { return name.endsWith(u'/'); }
};

// Everything of the laboratory present under root: the files in the order of files(), then
// each folder followed by what is below it, sorted by name. Links inside the folders are
// left out; a link in a top-level name is followed.
QList<Entry> collect(const QString& root);

// The top-level file or folder a member name belongs to, or empty when the name is not a
// safe place of a laboratory: absolute, with an empty, "." or ".." part, a backslash or a
// control character, outside the files and folders above, or a file name with parts below it.
QString topLevelOf(const QString& name);

// The archive whose lock guards the file name: the archive itself, or the archive of a journal
// (written only under its archive's lock); empty for every other file.
QString guardOf(const QString& name);

// How many whole records an archive of size bytes holds (0 for a name that is no archive).
qint64 recordsIn(const QString& name, qint64 size);

} // namespace laboratory
