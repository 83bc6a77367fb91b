#include "storage/ProgramDir.h"

#include <QCoreApplication>
#include <QDir>

namespace programdir {
namespace {
QString& overridden()
{
    static QString dir;
    return dir;
}
QString withSeparator(QString dir)
{
    if (!dir.endsWith(u'/'))
        dir += u'/';
    return dir;
}
} // namespace

QString path()
{
    if (!overridden().isEmpty())
        return overridden();
    return withSeparator(QCoreApplication::applicationDirPath());
}

QString file(const QString& name)
{
    return path() + name;
}

Override::Override(const QString& dir) : previous_(overridden())
{
    overridden() = withSeparator(QDir(dir).absolutePath());
}

Override::~Override()
{
    overridden() = previous_;
}

} // namespace programdir
