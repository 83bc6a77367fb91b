#pragma once
class QWidget;
class Ui;

// What the launcher does with backups: each action asks, works under a progress window and
// reports in Italian through the Ui seam.
namespace backupactions {

// Asks where to save (the last folder used is remembered in Brevanto.ini), writes the backup
// and says where it went and what it holds.
void backupNow(Ui& ui, QWidget* parent);

// Asks for a backup, checks all of it, asks for confirmation, then restores it (after a copy
// of the current data into the Backup folder). True when the data were replaced.
bool restore(Ui& ui, QWidget* parent);

// When the program ends: the automatic backup, if one is due. A failure warns; the caller
// ends the program all the same.
void automaticBackup(Ui& ui, QWidget* parent);

// At start, before anything reads the data: completes or undoes a restore that was
// interrupted. False when the data are still partly replaced: the program must not run on them.
bool recoverAtStart(Ui& ui);

} // namespace backupactions
