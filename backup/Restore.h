#pragma once
#include "backup/Manifest.h"
#include "backup/Progress.h"
#include "storage/IoError.h"

#include <QString>

// Puts a backup's files in place of the laboratory's, as a journaled swap that a crash can
// never leave half done: the backup is unpacked and checked in a staging folder beside the
// data, a marker file then records that the swap has begun, each top-level file and folder
// is renamed aside and the new one renamed into its place, and the staging folder goes. At
// the next start an interrupted restore is completed (marker present) or discarded (no
// marker: the old data was never touched).
namespace restore {

// The staging folder, in the program folder.
inline const QString kStaging = QStringLiteral(".brevanto-ripristino");

struct Result {
    Manifest restored; // the backup now in place
    QString safetyCopy; // the backup of the data it replaced
};

// A restore stopped after the swap began: the data are partly replaced, and the next start
// completes the swap.
class SwapInterrupted : public IoError {
public:
    explicit SwapInterrupted(const QString& cause) : IoError(cause, kText) { }
    static inline const QString kText =
        QStringLiteral("Attenzione: il ripristino non \u00E8 stato completato. Brevanto lo completer\u00E0 al "
                       "prossimo avvio.");
};

// Unpacks path beside the data (checking it again in full), writes a backup of the current
// data into the Backup folder of the program folder, and swaps the backup's files in.
// Throws SwapInterrupted once the swap has begun; before it, InvalidBackup or IoError, and
// nothing has changed.
Result restoreBackup(const QString& path, Progress& progress);

enum class Recovery { None, Discarded, Completed };
// Completes or discards a restore that was interrupted. Throws IoError.
Recovery recoverInterrupted();

} // namespace restore
