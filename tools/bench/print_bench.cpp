// The list printout of a whole archive: laying out and writing LINES list lines (default
// 100 000) to a PDF, as a ratio to writing the same text to a plain file.
// Usage: print_bench [LINES]   (QT_QPA_PLATFORM=offscreen)
#include "TestPlatform.h"
#include "printing/Renderer.h"
#include "printing/Templates.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const int count = argc > 1 ? atoi(argv[1]) : 100000;
    QStringList lines;
    lines.reserve(count);
    for (int i = 0; i < count; ++i)
        lines << QStringLiteral(
                     "N. %1  Data: 05/03/2024  Madonna col Bambino               Esposito                  -  "
                     "Rossi Mario               Tel. 055 1234567    \u20AC 1.200,00")
                     .arg(i + 1, -10);
    QTemporaryDir dir;

    QElapsedTimer t;
    t.start();
    {
        QFile plain(dir.filePath("lines.txt"));
        if (!plain.open(QIODevice::WriteOnly))
            return 1;
        for (const QString& l : lines) {
            plain.write(l.toUtf8());
            plain.write("\n");
        }
    }
    const double plainMs = double(t.nsecsElapsed()) / 1e6;

    t.restart();
    report::Template doc = templates::summaryList(QStringLiteral("Riepilogo dati"));
    templates::fillSummary(doc, QStringLiteral("Riepilogo relazioni tecniche di restauro in archivio"),
                           templates::printStamp(QDateTime::currentDateTime()), lines);
    const size_t pages = report::layout(doc).size();
    {
        QPdfWriter pdf(dir.filePath("lines.pdf"));
        report::render(doc, pdf);
    }
    const double pdfMs = double(t.nsecsElapsed()) / 1e6;
    std::printf("%d lines: plain text file %.1f ms, list printout to PDF %.1f ms (%zu pages, %.1f MB), ratio %.1f; "
                "peak memory %ld MB\n",
                count, plainMs, pdfMs, pages, double(QFileInfo(dir.filePath("lines.pdf")).size()) / 1e6,
                pdfMs / plainMs, long(testplatform::peakMemoryKb() / 1024));
    return 0;
}
