// Garbage backups: the zip reader with its checks of names, members and manifest, checking
// alone and unpacking into a scratch folder (which must never be left outside).
#include "FuzzMain.h"

#include "backup/BackupReader.h"
#include "storage/IoError.h"

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
    const QString into = fuzz::folder().filePath(QStringLiteral("unpacked"));
    QDir().mkpath(into);
    try {
        (void)unpackBackup(zip, into, quiet);
    } catch (const IoError&) { }
    QDir(into).removeRecursively();
    return 0;
}
