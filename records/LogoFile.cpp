#include "records/LogoFile.h"

#include "storage/ProgramDir.h"

namespace logofile {

QString path()
{
    return programdir::file(QStringLiteral("Logo.bmp"));
}

} // namespace logofile
