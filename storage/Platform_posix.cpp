#include "storage/Platform.h"

#include <pwd.h>
#include <unistd.h>

namespace platform {

// Both are asked once per run: every save names them, and the user database is a file.
QString hostName()
{
    static const QString name = [] {
        char bytes[256] = {};
        if (::gethostname(bytes, sizeof bytes - 1) != 0)
            return QString();
        return QString::fromLocal8Bit(bytes);
    }();
    return name;
}

QString userName()
{
    static const QString name = [] {
        if (const passwd* pw = ::getpwuid(::geteuid()); pw && pw->pw_name)
            return QString::fromLocal8Bit(pw->pw_name);
        return qEnvironmentVariable("USER");
    }();
    return name;
}

} // namespace platform
