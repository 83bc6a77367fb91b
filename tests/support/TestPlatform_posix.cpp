#include "TestPlatform.h"

#include <QFile>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace testplatform {

bool makeFifo(const QString& path)
{
    return ::mkfifo(QFile::encodeName(path).constData(), 0644) == 0;
}

bool setMode(const QString& path, int mode)
{
    return ::chmod(QFile::encodeName(path).constData(), mode_t(mode)) == 0;
}

int mode(const QString& path)
{
    struct stat st { };
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}

bool makeSymlink(const QString& target, const QString& link)
{
    return QFile::link(target, link);
}

void killSelf()
{
    ::kill(::getpid(), SIGKILL);
    ::_exit(137);
}

bool ignoresPermissions()
{
    return ::geteuid() == 0;
}

qint64 peakMemoryKb()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

bool becomeOrdinaryUser()
{
    if (::geteuid() != 0)
        return true;
    return ::setgid(65534) == 0 && ::setuid(65534) == 0;
}

namespace {
class Limit : public FileSizeLimit {
public:
    explicit Limit(qint64 limit)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &old_);
        rlimit l = old_;
        l.rlim_cur = rlim_t(limit);
        setrlimit(RLIMIT_FSIZE, &l);
    }
    ~Limit() override { setrlimit(RLIMIT_FSIZE, &old_); }

private:
    rlimit old_{};
};
} // namespace

std::unique_ptr<FileSizeLimit> limitFileSize(qint64 limit)
{
    return std::make_unique<Limit>(limit);
}

} // namespace testplatform
