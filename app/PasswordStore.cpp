#include "app/PasswordStore.h"

#include "app/Crypt.h"
#include "storage/IniFile.h"
#include "storage/ProgramDir.h"
#include "storage/Text.h"

namespace passwordstore {
namespace {
const QString kSection = QStringLiteral("Accesso");
const QString kKey = QStringLiteral("Valore");
} // namespace

QString path()
{
    return programdir::file(QStringLiteral("unins000.dll"));
}

QString normalise(const QString& typed)
{
    return text::trim(text::upperAscii(typed));
}

QString stored()
{
    return text::trim(Crypt::Unscramble(IniFile(path()).read(kSection, kKey)));
}

void store(const QString& typed)
{
    IniFile(path()).write(kSection, kKey, text::trim(Crypt::Scramble(normalise(typed))));
}

} // namespace passwordstore
