#include "records/Numbering.h"

#include "storage/IniFile.h"
#include "storage/ProgramDir.h"
#include "storage/Text.h"

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

std::optional<qint64> parseStart(const QString& text)
{
    bool whole = false;
    const qint64 start = text::trim(text).toLongLong(&whole);
    if (!whole || start < -kMaxStart || start > kMaxStart)
        return std::nullopt;
    return start;
}

} // namespace numbering
