// What the history costs: a save with its journal against a save without (both forced to
// the disk) on a 100,000-card archive whose journal holds 200,000 entries; the history of a
// card with 1,000 versions in that journal (time and memory); the history and the first save
// of a card without versions, which walk the journal; and the bytes a typical artwork and
// report save add to their journals.
// Usage: history_bench [FOLDER]   (default /tmp/brevanto-history-bench, kept for later runs)
#include "TestPlatform.h"
#include "history/Versions.h"
#include "records/ArtworkArchive.h"
#include "records/ReportArchive.h"
#include "storage/ProgramDir.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {
constexpr int kCards = 100000;
constexpr int kEntries = 200000;
constexpr qint64 kBusyCard = 777; // the card with 1,000 versions

QByteArray artwork(int k, int version)
{
    TSchedaOpera r;
    r[TSchedaOpera::Titolo] = QStringLiteral("Paesaggio con cipressi %1").arg(k);
    r[TSchedaOpera::Soggetto] = QStringLiteral("Colline al tramonto con casolare e filare di cipressi");
    r[TSchedaOpera::Artista] = QStringLiteral("Anselmo Varrini");
    r[TSchedaOpera::Anno] = QStringLiteral("1894");
    r[TSchedaOpera::Nazione] = QStringLiteral("Italia");
    r[TSchedaOpera::Tecnica] = QStringLiteral("Olio su tela");
    r[TSchedaOpera::Corrente] = QStringLiteral("Macchiaioli");
    r[TSchedaOpera::Dimensioni] = QStringLiteral("cm 64 x 48 (con cornice cm 82 x 66)");
    r[TSchedaOpera::Supporto] = QStringLiteral("Tela di lino su telaio ligneo");
    r[TSchedaOpera::Luogo] = QStringLiteral("Collezione privata, Siena");
    r[TSchedaOpera::Proprietario] = QStringLiteral("Galleria Ferraresi");
    r[TSchedaOpera::CodFisc] = QStringLiteral("RSSMRA85T10A562S");
    r[TSchedaOpera::Recapito] = QStringLiteral("0577 123456");
    r[TSchedaOpera::Note] = QStringLiteral("Provenienza: eredit\u00E0 Ferraresi. Versione %1.").arg(version);
    r[TSchedaOpera::Valore] = QStringLiteral("12.500,00");
    r[TSchedaOpera::Venduta] = QStringLiteral("No");
    r[TSchedaOpera::File01] = QStringLiteral("perizia_%1.pdf").arg(k);
    r[TSchedaOpera::Desc01] = QStringLiteral("Perizia dello stato di conservazione");
    return r.encode();
}

QByteArray report()
{
    TSchedaIntervento r;
    r[TSchedaIntervento::NumRelazione] = QStringLiteral("2024/17");
    r[TSchedaIntervento::DataEmissione] = QStringLiteral("05/03/2024");
    r[TSchedaIntervento::Team] = QStringLiteral("Chiara Benvenuti, Luca Ferri");
    r[TSchedaIntervento::Intestazione] =
        QStringLiteral("Laboratorio Ars Nova - Restauro di dipinti e sculture lignee - Via dei Servi 12, Siena");
    r[TSchedaIntervento::StatoAnteOperam] = QStringLiteral("Sollevamenti della pellicola pittorica, vernice ossidata");
    r[TSchedaIntervento::Committente] = QStringLiteral("Galleria Ferraresi");
    r[TSchedaIntervento::Recapito] = QStringLiteral("0577 123456");
    r[TSchedaIntervento::TitoloOpera] = QStringLiteral("Paesaggio con cipressi");
    r[TSchedaIntervento::Anno] = QStringLiteral("1894");
    r[TSchedaIntervento::Tecnica] = QStringLiteral("Olio su tela");
    r[TSchedaIntervento::Artista] = QStringLiteral("Anselmo Varrini");
    r[TSchedaIntervento::Indagini] = QStringLiteral("Osservazione in luce radente e ultravioletta; fotografia "
                                                    "all'infrarosso; prove di solubilit\u00E0 della vernice.");
    r[TSchedaIntervento::DataInizio] = QStringLiteral("12/01/2024");
    r[TSchedaIntervento::StatoAvanzamento] = QStringLiteral("Concluso");
    r[TSchedaIntervento::DataFine] = QStringLiteral("28/02/2024");
    r[TSchedaIntervento::CauseDegrado] = QStringLiteral("Sbalzi di umidit\u00E0 e temperatura, esposizione alla luce");
    r[TSchedaIntervento::Conclusioni] = QStringLiteral(
        "Conservare a umidit\u00E0 relativa costante (50-55%) lontano da fonti di calore e luce diretta.");
    r[TSchedaIntervento::MaterialiInterventi] =
        QStringLiteral(
            "Preconsolidamento puntuale della pellicola pittorica con colla di storione al 5%. Rimozione dei depositi "
            "superficiali con soluzione acquosa tamponata. Assottigliamento della vernice ossidata con miscele di "
            "solventi a bassa polarit\u00E0. Stuccatura delle lacune con gesso e colla animale, reintegrazione "
            "pittorica a tratteggio con acquerelli e colori a vernice. Verniciatura finale a pennello e a spruzzo.\r\n")
            .repeated(3);
    r[TSchedaIntervento::Dimensioni] = QStringLiteral("cm 64 x 48");
    r[TSchedaIntervento::Note] = QStringLiteral("Ritiro concordato per il 10 marzo.");
    r[TSchedaIntervento::Totale] = QStringLiteral("1.850,00");
    r[TSchedaIntervento::Pagato] = QStringLiteral("No");
    return r.encode();
}

long maxRssKb()
{
    return long(testplatform::peakMemoryKb());
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The archive and its journal, made once: each card saved twice, the busy card a thousand
// times, spread over the whole journal.
void prepare(const QString& folder)
{
    if (QFileInfo::exists(folder + QStringLiteral("/ready")))
        return;
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    programdir::Override here(folder);
    ArtworkArchive store;
    QFile archive(store.path());
    archive.open(QIODevice::WriteOnly);
    for (int k = 1; k <= kCards; ++k)
        archive.write(artwork(k, 0));
    archive.close();
    journal::Journal history(store.path(), TSchedaOpera::kSize);
    std::vector<journal::Change> batch;
    int written = 0, busy = 0;
    const QDateTime when = QDateTime::currentDateTimeUtc();
    for (int round = 0; round < 2; ++round) {
        for (int k = 1; k <= kCards; ++k) {
            if (k == kBusyCard)
                continue;
            batch.push_back({k, round ? journal::What::Modificata : journal::What::Inserita, artwork(k, round), {}});
            ++written;
            // The busy card's versions among the others.
            if (k % (kCards / 500) == 0 && busy < 1000) {
                batch.push_back({kBusyCard, journal::What::Modificata, artwork(int(kBusyCard), busy), {}});
                ++busy;
                ++written;
            }
            if (batch.size() >= 2000) {
                history.append(batch, when);
                batch.clear();
            }
        }
    }
    while (written < kEntries || busy < 1000) {
        batch.push_back({kBusyCard, journal::What::Modificata, artwork(int(kBusyCard), busy++), {}});
        ++written;
    }
    history.append(batch, when);
    QFile ready(folder + QStringLiteral("/ready"));
    ready.open(QIODevice::WriteOnly);
    std::printf("prepared %d cards and %d history entries in %s\n", kCards, written, qPrintable(folder));
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("/tmp/brevanto-history-bench");
    prepare(folder);
    programdir::Override here(folder);
    ArtworkArchive store;

    // Saves of one card, with the history and without, alternating so that both meet the
    // same disk; both force what they write to the disk.
    std::vector<double> with, without;
    QElapsedTimer t;
    for (int i = 0; i < 200; ++i) {
        const qint64 k = 1000 + i;
        t.start();
        store.save(artwork(int(k), 5 + i), QString::number(k), journal::What::Modificata);
        with.push_back(double(t.nsecsElapsed()) / 1e6);
        t.start();
        store.update(k, artwork(int(k), 6 + i));
        without.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::printf("save of a card, median of 200: with its history %.3f ms, without %.3f ms: %.2fx\n", median(with),
                median(without), median(with) / median(without));

    // The history of the card with 1,000 versions, as its screen reads it.
    std::vector<double> times;
    size_t versions = 0;
    const long rssBefore = maxRssKb();
    for (int i = 0; i < 5; ++i) {
        t.start();
        const std::vector<journal::Entry> entries = store.history(kBusyCard);
        const auto list = history::versions(entries, history::kindOf<TSchedaOpera>({0}), {QString()});
        times.push_back(double(t.nsecsElapsed()) / 1e6);
        versions = list.size();
    }
    const long rssAfter = maxRssKb();
    std::printf("history of a card with %zu versions in a journal of %d entries: median %.1f ms; memory %+ld KB\n",
                versions, kEntries, median(times), rssAfter - rssBefore);

    // A card the archive holds and the journal has no version of (an older installation's):
    // its history screen and its first save walk the whole journal to be sure. One such card
    // is added to the archive at each run.
    const qint64 old = store.append(artwork(kCards + 1, 0));
    t.start();
    const bool none = store.history(old).empty();
    const double empty = double(t.nsecsElapsed()) / 1e6;
    t.start();
    store.save(artwork(kCards + 1, 1), QString::number(old), journal::What::Modificata);
    const double first = double(t.nsecsElapsed()) / 1e6;
    std::printf("a card without versions in that journal: its history %.1f ms%s, its first save %.1f ms\n", empty,
                none ? "" : " (it had versions)", first);

    // What one typical save adds to each journal.
    QTemporaryDir scratch;
    programdir::Override there(scratch.path());
    ArtworkArchive artworks;
    artworks.save(artwork(1, 0), {}, journal::What::Inserita);
    const qint64 a0 = artworks.journal().end();
    artworks.save(artwork(2, 0), {}, journal::What::Inserita);
    ReportArchive reports;
    reports.save(report(), {}, journal::What::Inserita);
    const qint64 r0 = reports.journal().end();
    reports.save(report(), {}, journal::What::Inserita);
    std::printf("a typical save adds to its journal: artwork %lld bytes, report %lld bytes\n",
                static_cast<long long>(artworks.journal().end() - a0),
                static_cast<long long>(reports.journal().end() - r0));
    return 0;
}
