// The searches on a large archive, each as a ratio to plainly reading the same file:
// a report search with no criterion, one with two criteria matching about 1 %, the same
// for the artwork archive, the double-click on the last line (one record read by its
// position), and the time to put every line of the full report list on screen.
// Usage: search_bench [RECORDS] [FOLDER]   (default 100000 records in /tmp/brevanto-bench;
// the archives are generated once and reused). Run with QT_QPA_PLATFORM=offscreen.
#include "TestPlatform.h"
#include "records/ArtworkArchive.h"
#include "records/ReportArchive.h"
#include "search/LineModel.h"
#include "search/Searches.h"
#include "storage/ProgramDir.h"
#include "widgets/Style.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <cstdio>

namespace {
const char* const kSurnames[] = {"Rossi", "Bianchi", "Esposito", "Romano",  "Colombo", "Ricci", "Marino",   "Greco",
                                 "Bruno", "Gallo",   "Conti",    "De Luca", "Mancini", "Costa", "Giordano", "Rizzo"};
const char* const kTitles[] = {"Madonna col Bambino", "Natura morta",  "Ritratto di gentiluomo", "Paesaggio",
                               "Crocifissione",       "Annunciazione", "Veduta di Venezia",      "San Girolamo"};

template <class Make> void generate(const QString& path, qint64 records, int size, Make make)
{
    if (QFileInfo(path).size() == records * size)
        return;
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(path));
    QByteArray block;
    for (qint64 i = 0; i < records; ++i) {
        block += make(i);
        if (block.size() > 8 * 1024 * 1024 || i + 1 == records) {
            f.write(block);
            block.clear();
        }
    }
}

QByteArray reportBytes(qint64 i)
{
    TSchedaIntervento r;
    r[TSchedaIntervento::NumRelazione] = QString::number(i + 1);
    r[TSchedaIntervento::DataEmissione] = QStringLiteral("%1/%2/%3")
                                              .arg(1 + i % 28, 2, 10, QChar('0'))
                                              .arg(1 + i % 12, 2, 10, QChar('0'))
                                              .arg(1990 + i % 35);
    r[TSchedaIntervento::Intestazione] =
        QStringLiteral("Laboratorio di restauro Arte e Materia, via dei Servi 12, Firenze");
    r[TSchedaIntervento::Committente] =
        QStringLiteral("%1 %2").arg(QString::fromLatin1(kSurnames[i % 16])).arg(i % 97 == 0 ? "Collezione" : "Mario");
    r[TSchedaIntervento::Recapito] = QStringLiteral("055 %1").arg(100000 + i % 900000);
    r[TSchedaIntervento::TitoloOpera] = QString::fromLatin1(kTitles[i % 8]);
    r[TSchedaIntervento::Artista] = QString::fromLatin1(kSurnames[(i / 16) % 16]);
    r[TSchedaIntervento::Indagini] = QStringLiteral("Indagini in fluorescenza UV e riflettografia IR. ").repeated(8);
    r[TSchedaIntervento::MaterialiInterventi] =
        QStringLiteral("Pulitura con solventi a bassa polarita', consolidamento.\r\n").repeated(40);
    r[TSchedaIntervento::Totale] = QStringLiteral("%1,00").arg(500 + i % 5000);
    r[TSchedaIntervento::Pagato] = i % 3 ? QStringLiteral("S\u00EC") : QStringLiteral("No");
    return r.encode();
}

QByteArray artworkBytes(qint64 i)
{
    TSchedaOpera w;
    w[TSchedaOpera::Titolo] = QStringLiteral("%1 %2").arg(QString::fromLatin1(kTitles[i % 8])).arg(i);
    w[TSchedaOpera::Soggetto] = QStringLiteral("Figura femminile in un interno con finestra aperta sul paesaggio");
    w[TSchedaOpera::Artista] = QString::fromLatin1(kSurnames[(i / 16) % 16]);
    w[TSchedaOpera::Anno] = QString::number(1400 + i % 600);
    w[TSchedaOpera::Proprietario] =
        QStringLiteral("%1 %2").arg(QString::fromLatin1(kSurnames[i % 16])).arg(i % 97 == 0 ? "Collezione" : "Mario");
    w[TSchedaOpera::Note] = QStringLiteral("Olio su tela, cornice dorata coeva");
    w[TSchedaOpera::Valore] = QStringLiteral("%1,00").arg(1000 + i % 90000);
    w.setSold(i % 2);
    return w.encode();
}

double plainRead(const QString& path)
{
    QElapsedTimer t;
    t.start();
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    QByteArray buffer(1024 * 1024, '\0');
    qint64 total = 0;
    for (qint64 got; (got = f.read(buffer.data(), buffer.size())) > 0;)
        total += got;
    return double(t.nsecsElapsed()) / 1e6;
}

template <class Run> double timed(Run run)
{
    QElapsedTimer t;
    t.start();
    run();
    return double(t.nsecsElapsed()) / 1e6;
}

long peakKb()
{
    return long(testplatform::peakMemoryKb());
}
} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    style::installAppearance(app);
    const qint64 records = argc > 1 ? QByteArray(argv[1]).toLongLong() : 100000;
    const QString folder = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("/tmp/brevanto-bench");
    QDir().mkpath(folder);
    programdir::Override here(folder);
    generate(ReportArchive().path(), records, TSchedaIntervento::kSize, reportBytes);
    generate(ArtworkArchive().path(), records, TSchedaOpera::kSize, artworkBytes);

    const long startKb = peakKb();
    const double readReports = (plainRead(ReportArchive().path()), plainRead(ReportArchive().path())); // warm
    ListLines all;
    const double allReports = timed([&] { searches::findReports(ReportArchive(), Criteria(), all); });
    Criteria two;
    two.add(TSchedaIntervento::Committente, QStringLiteral("collezione"));
    two.add(TSchedaIntervento::DataEmissione, QStringLiteral("/0"));
    ListLines some;
    const double twoReports = timed([&] { searches::findReports(ReportArchive(), two, some); });
    const double lastLine = timed([&] { ReportArchive().record(all.back().position); });

    const double readWorks = (plainRead(ArtworkArchive().path()), plainRead(ArtworkArchive().path()));
    ListLines works;
    const double allWorks = timed([&] { searches::findArtworks(ArtworkArchive(), Criteria(), works); });
    Criteria owner;
    owner.add(TSchedaOpera::Proprietario, QStringLiteral("COLLEZIONE"));
    owner.add(TSchedaOpera::Note, QStringLiteral("olio"));
    ListLines fewWorks;
    const double twoWorks = timed([&] { searches::findArtworks(ArtworkArchive(), owner, fewWorks); });

    // The whole report list on screen after the scan: the list screen's model and view.
    LineModel model;
    QListView view;
    view.setUniformItemSizes(true);
    view.setModel(&model);
    view.resize(830, 330);
    view.show();
    QApplication::processEvents();
    const qsizetype shown = qsizetype(all.size());
    const double onScreen = timed([&] {
        model.setLines(std::move(all));
        view.viewport()->repaint();
        QApplication::processEvents();
    });

    std::printf("%lld reports (%.0f MB), %lld artworks (%.0f MB), page cache warm\n", static_cast<long long>(records),
                double(records) * TSchedaIntervento::kSize / 1e6, static_cast<long long>(records),
                double(records) * TSchedaOpera::kSize / 1e6);
    std::printf("plain read of the report archive      %8.1f ms\n", readReports);
    std::printf("report search, no criterion (%lld lines) %8.1f ms  ratio %.2f\n", static_cast<long long>(shown),
                allReports, allReports / readReports);
    std::printf("report search, two criteria (%zu lines) %8.1f ms  ratio %.2f\n", some.size(), twoReports,
                twoReports / readReports);
    std::printf("double-click on the last line          %8.3f ms\n", lastLine);
    std::printf("plain read of the artwork archive     %8.1f ms\n", readWorks);
    std::printf("artwork search, no criterion, sorted  %8.1f ms  ratio %.2f\n", allWorks, allWorks / readWorks);
    std::printf("artwork search, two criteria (%zu lines) %8.1f ms  ratio %.2f\n", fewWorks.size(), twoWorks,
                twoWorks / readWorks);
    std::printf("all %lld report lines on screen after the scan: %.1f ms\n", static_cast<long long>(shown), onScreen);
    std::printf("peak memory: %ld MB at start, %ld MB after (lines of all searches held)\n", startKb / 1024,
                peakKb() / 1024);
    return 0;
}
