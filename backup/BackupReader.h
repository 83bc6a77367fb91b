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

// Reads the whole backup at path and checks it: only a regular file is opened; the manifest
// is read first and every member is held against it before any other byte is read (a
// regular file or folder with a name inside the laboratory, listed once, of the size the
// manifest gives), then every member's CRC, size and SHA-256, the record counts agreeing
// with the archives. Returns the manifest. Throws InvalidBackup, or IoError when the file
// cannot be read or progress asks to stop.
Manifest verifyBackup(const QString& path, Progress& progress);

// As verifyBackup, and writes every member below folder (which must exist and be empty) as
// it goes, each under the exact bytes of its name. A backup this system cannot unpack as it
// is (a name it cannot hold; two names it takes for one, as a file system that ignores case
// does; a name the disk changed; too little free space) throws IoError with a text for the
// user naming the file. On any failure what was written below folder stays for the caller
// to remove.
Manifest unpackBackup(const QString& path, const QString& folder, Progress& progress);

// Whether the file at path is a backup of this program: a zip with a manifest, read from its
// central directory alone (its members are not checked). False for anything else.
bool isBackup(const QString& path);
