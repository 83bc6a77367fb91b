// Garbage backups: the zip reader with its checks of names, members and manifest, checking
// alone, asking whether a file is a backup, and unpacking into a scratch folder (which must
// never be left outside, and is emptied by the bytes of its names: they need not be UTF-8).
#include "FuzzMain.h"

#include "backup/BackupReader.h"
#include "storage/IoError.h"
#include "storage/Platform.h"

#include <QDir>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    fuzz::init(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString zip = fuzz::asFile(QStringLiteral("backup.zip"), data, size);
    NoProgress quiet;
    try {
        (void)verifyBackup(zip, quiet);
    } catch (const IoError&) { }
    (void)isBackup(zip);
    const QString into = fuzz::folder().filePath(QStringLiteral("unpacked"));
    QDir().mkpath(into);
    try {
        (void)unpackBackup(zip, into, quiet);
    } catch (const IoError&) { }
    platform::removeAll(platform::encodeName(into));
    return 0;
}
