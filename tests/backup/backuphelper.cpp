// Runs a backup or a restore in a process of its own and kills itself (SIGKILL, as kill -9
// would) at a chosen point, so that the tests can see what an interrupted run leaves:
//   backuphelper backup PROGRAM_FOLDER TARGET STEP AFTER
//   backuphelper restore PROGRAM_FOLDER ZIP STEP AFTER
// STEP is the number of a Progress::Step; the kill comes at the first report of that step
// whose progress reaches AFTER. Exits 0 when the run ended before that point.
#include "backup/BackupWriter.h"
#include "backup/Restore.h"
#include "storage/IoError.h"
#include "storage/ProgramDir.h"

#include <QCoreApplication>
#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace {
class KillAt : public Progress {
public:
    KillAt(int step, qint64 after) : step_(step), after_(after) { }
    void begin(Step step, qint64) override
    {
        current_ = int(step);
        check(0);
    }
    bool advance(qint64 done) override
    {
        check(done);
        return true;
    }

private:
    void check(qint64 done) const
    {
        if (current_ == step_ && done >= after_)
            ::kill(::getpid(), SIGKILL);
    }
    int step_;
    qint64 after_;
    int current_ = -1;
};
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 6)
        return 2;
    programdir::Override here(args[2]);
    KillAt progress(args[4].toInt(), args[5].toLongLong());
    try {
        if (args[1] == QLatin1String("backup"))
            writeBackup(args[3], progress);
        else
            restore::restoreBackup(args[3], progress);
    } catch (const IoError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
