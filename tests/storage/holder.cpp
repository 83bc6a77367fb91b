// Holds a file open as another program does (a virus scanner, an editor): "holder PATH MS".
// Opens it for reading as Qt opens files (others may read and write it, not remove or
// replace it, on Windows), says "held" on its output, keeps it open MS milliseconds and exits.
#include <QCoreApplication>
#include <QFile>
#include <QThread>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3)
        return 2;
    QFile f(QCoreApplication::arguments().at(1));
    if (!f.open(QIODevice::ReadOnly))
        return 1;
    std::fputs("held\n", stdout);
    std::fflush(stdout);
    QThread::msleep(QCoreApplication::arguments().at(2).toULong());
    return 0;
}
