// Start-up time: from starting the process to the first paint of its first window, for
// the program (the login screen) against a bare Qt program showing one dialog. Runs each
// 21 times, alternating, and prints the medians and their ratio (goal: within 1.5).
// Usage: startup [RUNS]   (QT_QPA_PLATFORM as for the program: xcb under a display, or offscreen)
#include "app/Password.h"
#include "app/Screens.h"
#include "storage/ProgramDir.h"
#include "widgets/QtUi.h"
#include "widgets/Style.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {
qint64 monotonicNs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
}

// Prints the clock at the watched window's first paint and ends the event loop.
class FirstPaint : public QObject {
protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            std::printf("%lld\n", static_cast<long long>(monotonicNs()));
            std::fflush(stdout);
            QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
        }
        return false;
    }

private:
    bool seen_ = false;
};

int child(int argc, char** argv, bool program)
{
    QApplication app(argc, argv);
    FirstPaint watch;
    QTemporaryDir dir;
    programdir::Override here(dir.path());
    if (program) {
        style::installAppearance(app);
        QtUi ui;
        startScreens(ui);
        frmPassword->installEventFilter(&watch);
        const int rc = app.exec();
        destroyScreens();
        return rc;
    }
    QDialog dialog;
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(QStringLiteral("Password:"), &dialog));
    dialog.installEventFilter(&watch);
    dialog.show();
    return app.exec();
}

double runOnce(const QString& self, const char* mode)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::SeparateChannels);
    const qint64 start = monotonicNs();
    p.start(self, {QString::fromLatin1(mode)});
    if (!p.waitForFinished(30000))
        return -1;
    const qint64 painted = p.readAllStandardOutput().trimmed().toLongLong();
    return painted > start ? double(painted - start) / 1e6 : -1;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}
} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && (qstrcmp(argv[1], "program") == 0 || qstrcmp(argv[1], "bare") == 0))
        return child(argc, argv, qstrcmp(argv[1], "program") == 0);

    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 21;
    const QString self = QCoreApplication::applicationFilePath();
    std::vector<double> program, bare;
    for (int i = 0; i < runs; ++i) {
        bare.push_back(runOnce(self, "bare"));
        program.push_back(runOnce(self, "program"));
    }
    if (std::count(bare.begin(), bare.end(), -1.0) || std::count(program.begin(), program.end(), -1.0)) {
        std::fprintf(stderr, "a run did not paint its window\n");
        return 1;
    }
    const double b = median(bare), p = median(program);
    std::printf("first window painted, median of %d runs: program %.1f ms, bare Qt dialog %.1f ms, ratio %.2f\n", runs,
                p, b, p / b);
    return 0;
}
