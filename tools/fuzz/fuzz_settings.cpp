// Garbage settings files: the INI reader with its Windows-1252 decoding, and the password
// store read through it and unscrambled.
#include "FuzzMain.h"

#include "app/PasswordStore.h"
#include "storage/IniFile.h"
#include "storage/IoError.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    fuzz::init(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString ini = fuzz::asFile(QStringLiteral("Contratti.ini"), data, size);
    try {
        IniFile f(ini);
        (void)f.read(QStringLiteral("Numerazione Contratti"), QStringLiteral("Inizio"));
        f.write(QStringLiteral("Schede Interventi"), QStringLiteral("Intestazione Azienda"),
                QStringLiteral("Lab \u00E0"));
    } catch (const IoError&) { }
    fuzz::asFile(QStringLiteral("unins000.dll"), data, size);
    try {
        (void)passwordstore::stored();
    } catch (const IoError&) { }
    return 0;
}
