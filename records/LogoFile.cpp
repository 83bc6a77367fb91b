#include "records/LogoFile.h"

#include "common/ProgramDir.h"

namespace logofile {

QString path()
{
    return programdir::file(QStringLiteral("Logo.bmp"));
}

} // namespace logofile
