// The export of a large catalogue: filling the grid from the archive and writing the export
// file, each as a ratio to plainly reading / writing the same number of bytes.
// Usage: export_bench [RECORDS] [FOLDER]  (default 100000 in /tmp/brevanto-bench, the
// archive search_bench generates; made here when missing). QT_QPA_PLATFORM=offscreen.
#include "TestPlatform.h"
#include "export/ExpOpere.h"
#include "records/ArtworkArchive.h"
#include "storage/ProgramDir.h"
#include "storage/SafeFile.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

namespace {
double ms(QElapsedTimer& t)
{
    return double(t.nsecsElapsed()) / 1e6;
}
long peakMb()
{
    return long(testplatform::peakMemoryKb() / 1024);
}
} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const qint64 records = argc > 1 ? QByteArray(argv[1]).toLongLong() : 100000;
    const QString folder = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("/tmp/brevanto-bench");
    QDir().mkpath(folder);
    programdir::Override here(folder);
    ArtworkArchive archive;
    if (archive.count() < records) {
        QFile f(archive.path());
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 1;
        TSchedaOpera w;
        w[TSchedaOpera::Soggetto] = QStringLiteral("Figura femminile in un interno & paesaggio <sfondo>");
        w[TSchedaOpera::Artista] = QStringLiteral("Esposito");
        w[TSchedaOpera::Proprietario] = QStringLiteral("Rossi Mario");
        w[TSchedaOpera::Note] = QStringLiteral("Olio su tela, cornice dorata coeva");
        w[TSchedaOpera::Valore] = QStringLiteral("1.500,00");
        w.setSold(false);
        for (qint64 i = 0; i < records; ++i) {
            w[TSchedaOpera::Titolo] = QStringLiteral("Natura morta %1").arg(i);
            f.write(w.encode());
        }
    }
    const long startMb = peakMb();
    QElapsedTimer t;
    t.start();
    {
        QFile f(archive.path());
        f.open(QIODevice::ReadOnly);
        QByteArray buffer(1 << 20, '\0');
        while (f.read(buffer.data(), buffer.size()) > 0) { }
    }
    const double readMs = ms(t);

    ExportModel model;
    t.restart();
    model.load();
    const double fillMs = ms(t);
    const long filledMb = peakMb();

    const QString out = QDir(folder).filePath(QStringLiteral("Inventario_Opere.xls"));
    t.restart();
    {
        SafeFile file(out);
        exportfile::write(file.device(), model.rowCount(),
                          [&](qint64 r, int c, QByteArray& scratch) { return model.exportCell(r, c, scratch); });
        file.commit();
    }
    const double exportMs = ms(t);
    const qint64 bytes = QFileInfo(out).size();
    t.restart();
    {
        SafeFile file(out + QStringLiteral(".plain"));
        QByteArray block(1 << 20, 'x');
        for (qint64 left = bytes; left > 0; left -= block.size())
            file.device().write(block.constData(), qMin<qint64>(left, block.size()));
        file.commit();
    }
    const double plainMs = ms(t);
    QFile::remove(out + QStringLiteral(".plain"));

    std::printf("%d cards: read archive %.1f ms; grid filled %.1f ms (ratio %.2f), +%ld MB\n", model.rowCount(), readMs,
                fillMs, fillMs / readMs, filledMb - startMb);
    std::printf("export file %.1f MB written %.1f ms; plain write of as many bytes %.1f ms (ratio %.2f)\n",
                double(bytes) / 1e6, exportMs, plainMs, exportMs / plainMs);
    return 0;
}
