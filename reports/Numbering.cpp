#include "reports/Numbering.h"

#include "common/IniFile.h"
#include "common/ProgramDir.h"

namespace numbering {
namespace {
const QString kSection = QStringLiteral("Numerazione Contratti");
const QString kKey = QStringLiteral("Inizio");
} // namespace

QString file()
{
    return programdir::file(QStringLiteral("Contratti.ini"));
}

QString readStart()
{
    return IniFile(file()).read(kSection, kKey);
}

void writeStart(const QString& start)
{
    IniFile(file()).write(kSection, kKey, start);
}

} // namespace numbering
