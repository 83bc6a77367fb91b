// What forcing a save to the disk costs: the time of one report save (append, and update
// in place) with the archive forced to the disk, against writing the same bytes without
// forcing them. Usage: save_bench [SAVES] [FOLDER]   (default 200 in a temporary folder)
#include "records/ReportArchive.h"
#include "storage/ArchiveFile.h"
#include "storage/ProgramDir.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int saves = argc > 1 ? atoi(argv[1]) : 200;
    QTemporaryDir tmp(argc > 2 ? QString::fromLocal8Bit(argv[2]) + QStringLiteral("/save-bench-XXXXXX") : QString());
    programdir::Override here(tmp.path());
    TSchedaIntervento r;
    r[TSchedaIntervento::NumRelazione] = QStringLiteral("1");
    r[TSchedaIntervento::MaterialiInterventi] = QStringLiteral("Pulitura e consolidamento. ").repeated(150);
    const QByteArray bytes = r.encode();

    ReportArchive archive;
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < saves; ++i)
        archive.append(bytes);
    const double appendMs = double(t.nsecsElapsed()) / 1e6 / saves;
    t.restart();
    for (int i = 0; i < saves; ++i)
        archive.update(1 + i % 10, bytes);
    const double updateMs = double(t.nsecsElapsed()) / 1e6 / saves;

    t.restart();
    for (int i = 0; i < saves; ++i) {
        ArchiveFile plain;
        plain.open(tmp.filePath(QStringLiteral("plain.pro")), TSchedaIntervento::kSize);
        plain.append(bytes.constData());
        plain.close();
    }
    const double plainMs = double(t.nsecsElapsed()) / 1e6 / saves;
    std::printf("per save, forced to the disk: append %.2f ms, update %.2f ms; unforced append %.3f ms\n", appendMs,
                updateMs, plainMs);
    return 0;
}
