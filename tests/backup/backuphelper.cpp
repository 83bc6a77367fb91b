#include "TestPlatform.h"
// Runs a backup or a restore in a process of its own and, at a chosen point, kills itself
// (SIGKILL, as kill -9 would) or makes a folder read-only, so that the tests can see what an
// interrupted or failing run leaves:
//   backuphelper backup PROGRAM_FOLDER TARGET STEP AFTER [--user] [--readonly=PATH]
//   backuphelper restore PROGRAM_FOLDER ZIP STEP AFTER [--user] [--readonly=PATH]
// STEP is the number of a Progress::Step; the action comes at the first report of that step
// whose progress reaches AFTER. --readonly=PATH makes PATH read-only there instead of the
// kill; --user runs as an ordinary user (nobody) when started as root, since root may write
// into read-only folders (exit 77 when that is not possible). Exits 0 when the run ended
// well, 1 with the text for the user and the cause on two lines of standard error.
#include "backup/BackupWriter.h"
#include "backup/Restore.h"
#include "storage/IoError.h"
#include "storage/Platform.h"
#include "storage/ProgramDir.h"

#include <QCoreApplication>
#include <QFile>
#include <cstdio>

namespace {
class ActAt : public Progress {
public:
    ActAt(int step, qint64 after, QByteArray readOnly) : step_(step), after_(after), readOnly_(std::move(readOnly)) { }
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
    void check(qint64 done)
    {
        if (current_ != step_ || done < after_ || acted_)
            return;
        acted_ = true;
        if (readOnly_.isEmpty())
            testplatform::killSelf();
        else
            testplatform::setMode(platform::decodeName(readOnly_), 0555);
    }
    int step_;
    qint64 after_;
    QByteArray readOnly_;
    int current_ = -1;
    bool acted_ = false;
};
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    const bool asUser = args.removeAll(QStringLiteral("--user")) > 0;
    QByteArray readOnly;
    for (qsizetype i = args.size() - 1; i >= 0; --i)
        if (args[i].startsWith(QStringLiteral("--readonly=")))
            readOnly = platform::encodeName(args.takeAt(i).mid(11));
    if (args.size() != 6)
        return 2;
    if (asUser && !testplatform::becomeOrdinaryUser())
        return 77;
    programdir::Override here(args[2]);
    ActAt progress(args[4].toInt(), args[5].toLongLong(), readOnly);
    try {
        if (args[1] == QLatin1String("backup"))
            writeBackup(args[3], progress);
        else
            restore::restoreBackup(args[3], progress);
    } catch (const IoError& e) {
        std::fprintf(stderr, "%s\n%s\n", qPrintable(e.userText()), e.what());
        return 1;
    }
    return 0;
}
