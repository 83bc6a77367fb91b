#pragma once
#include "backup/Laboratory.h"
#include "backup/Manifest.h"
#include "backup/Progress.h"
#include "storage/IoError.h"

#include <QString>

// Puts a backup's files in place of the laboratory's, as a journaled swap that a crash or a
// failed rename can never leave half done: the backup is unpacked and checked in a staging
// folder beside the data; every rename the swap needs is proven possible; a marker file then
// records that the swap has begun, each top-level file and folder is renamed aside (the
// journals' indexes with them) and the new one renamed into its place, and the staging
// folder goes. A rename that fails all the same turns the marker round and moves back what
// was moved. At the next start an interrupted restore is completed or undone as its marker
// says (or discarded, without a marker: the old data was never touched).
namespace restore {

// The staging folder, in the program folder.
inline const QString kStaging = laboratory::kStaging;

struct Result {
    Manifest restored; // the backup now in place
    QString safetyCopy; // the backup of the data it replaced
    QString leftOver; // a folder of replaced data that could not be removed, or empty
};

// A restore that failed part-way and whose undo failed too: the data are partly replaced
// until a start completes the undo.
class SwapInterrupted : public IoError {
public:
    explicit SwapInterrupted(const QString& cause) : IoError(cause, kText) { }
    static inline const QString kText = QStringLiteral(
        "Attenzione: il ripristino non \u00E8 riuscito e i dati non si sono potuti rimettere come erano: "
        "Brevanto ci riprover\u00E0 al prossimo avvio. Nel frattempo non modificare i dati e non fare backup; "
        "controllare che nella cartella del programma si possa scrivere.");
};

// Unpacks path beside the data (checking it again in full), writes a backup of the current
// data into the Backup folder of the program folder, and swaps the backup's files in.
// Throws SwapInterrupted when a rename failed and the old data could not be put back; any
// other IoError (or InvalidBackup) leaves the data as they were.
Result restoreBackup(const QString& path, Progress& progress);

// Whether a restore is under way or was interrupted: its staging folder stands.
bool pending();

enum class Recovery { None, Discarded, Completed, Undone };
struct Recovered {
    Recovery what = Recovery::None;
    QString leftOver; // as in Result
};
// Completes, undoes or discards a restore that was interrupted. Throws IoError when the data
// are still partly replaced.
Recovered recoverInterrupted();

} // namespace restore
