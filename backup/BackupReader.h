#pragma once
#include "backup/Manifest.h"
#include "backup/Progress.h"
#include "storage/IoError.h"

// A file that is not a whole, valid backup of Brevanto: damaged, truncated, another zip, a
// member named outside the laboratory, a manifest that disagrees with the members.
class InvalidBackup : public IoError {
public:
    explicit InvalidBackup(const QString& cause) : IoError(cause, kText) { }
    static inline const QString kText =
        QStringLiteral("Attenzione: il file scelto non \u00E8 un backup valido di Brevanto o \u00E8 danneggiato. "
                       "Nessun dato \u00E8 stato modificato.");
};

// Reads the whole backup at path through libarchive and checks it: every member a regular
// file or folder with a safe name inside the laboratory, every member's CRC, size and
// SHA-256 as the manifest lists them, nothing missing and nothing more, the record counts
// agreeing with the archives. Returns the manifest. Throws InvalidBackup, or IoError when
// the file cannot be read or progress asks to stop.
Manifest verifyBackup(const QString& path, Progress& progress);

// As verifyBackup, and writes every member below folder (which must exist) as it goes. On
// any failure what was written below folder stays for the caller to remove.
Manifest unpackBackup(const QString& path, const QString& folder, Progress& progress);
