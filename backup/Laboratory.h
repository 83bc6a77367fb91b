#pragma once
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// What belongs to a laboratory in its program folder: the files and folders a backup holds,
// and the names a backup may hold. Not the executable, the manual or the Backup folder.
// Names are the bytes the file system holds, relative to the program folder with '/'
// between the parts; they need not be UTF-8.
namespace laboratory {

// The manifest inside every backup, beside the laboratory's files.
inline const QString kManifest = QStringLiteral("brevanto-backup.ini");
// The folder of the program folder where automatic backups and the copy taken before a
// restore go.
inline const QString kBackupFolder = QStringLiteral("Backup");
// Where a restore unpacks the backup and keeps the data it replaces until the swap is done:
// while it stands in the program folder, a restore is under way or was interrupted.
inline const QString kStaging = QStringLiteral(".brevanto-ripristino");

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
// What the program rebuilds from the files above and no backup holds: the journals'
// indexes. A restore moves them aside with the data they were built from.
const QStringList& derived();

// The thumbnails of a card's documentation (Inventario/Documentazione/<n>/Miniature and the
// same in Restauri): a cache the program rebuilds, which no backup holds.
bool isCache(const QByteArray& relative);
// The card whose documentation list file name is (Inventario/Documentazione/<n>/Elenco.ini, or
// the same in Restauri): its archive and position; an empty archive for any other name.
struct ListOf {
    QString archive;
    qint64 position = 0;
};
ListOf listOf(const QByteArray& name);

// One file or folder of a laboratory; a folder's name ends with '/'.
struct Entry {
    QByteArray name;
    qint64 size = 0;
    bool isFolder() const { return name.endsWith('/'); }
};

// Everything of the laboratory present under root: the files in the order of files(), then
// each folder followed by what is below it, sorted by name. A link in a top-level name is
// followed; what is neither a file nor a folder (a link below the folders, a FIFO), or a
// top-level name held by the wrong kind, holds no data of the laboratory and goes to leftOut
// instead. Throws IoError.
QList<Entry> collect(const QString& root, QList<QByteArray>* leftOut = nullptr);

// The top-level file or folder a member name belongs to, or empty when the name is not a
// place of a laboratory: absolute, with an empty, "." or ".." part or a NUL byte, outside
// the files and folders above, a file name with parts below it, or a file where the program
// keeps a folder (a top-level folder or the Cronologia folder of the photos). Any other
// byte is accepted: the laboratory's own files are named as their authors chose.
QString topLevelOf(const QByteArray& name);

// The archive whose lock guards the file name: the archive itself, the archive of a journal
// or of a documentation list (written only under its archive's lock); empty for every other
// file.
QString guardOf(const QByteArray& name);

// How many whole records an archive of size bytes holds (0 for a name that is no archive).
qint64 recordsIn(const QByteArray& name, qint64 size);

// A name as a message shows it: UTF-8, or else Windows-1252, as a name from Windows would be.
QString shown(const QByteArray& name);

} // namespace laboratory
