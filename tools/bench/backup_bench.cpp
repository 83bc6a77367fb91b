// The backup of a large laboratory against the common tools on the same files, in one run:
// writing it (with its full read-back check) against "bsdtar -a -cf x.zip" (which deflates the
// photos too) and against bsdtar doing what the backup does (the photos stored, the rest
// deflated), checking it against "unzip -t", and the memory each of ours takes above the
// program's idle size.
// Usage: backup_bench [CARDS] [REPORTS] [PHOTOS] [FOLDER]
//   (default 100000 cards, 100000 reports and 2000 photos of 2-5 MB, in /tmp/brevanto-bench;
//   the laboratory is generated once and reused). Needs bsdtar (libarchive-tools) and unzip.
#include "backup/BackupReader.h"
#include "backup/BackupWriter.h"
#include "records/SchedaIntervento.h"
#include "records/SchedaOpera.h"
#include "storage/IoError.h"
#include "storage/ProgramDir.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <cstdio>

namespace {
const char* const kTitles[] = {"Madonna col Bambino", "Natura morta",  "Ritratto di gentiluomo", "Paesaggio",
                               "Crocifissione",       "Annunciazione", "Veduta di Venezia",      "San Girolamo"};

void writeRecords(const QString& path, qint64 count, int size, const std::function<QByteArray(qint64)>& make)
{
    if (QFileInfo(path).size() == count * size)
        return;
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(path));
    QByteArray block;
    for (qint64 i = 0; i < count; ++i) {
        block += make(i);
        if (block.size() > 8 * 1024 * 1024 || i + 1 == count) {
            f.write(block);
            block.clear();
        }
    }
}

// Photos as incompressible as JPEG data, 2-5 MB each.
void writePhotos(const QString& root, int photos)
{
    QRandomGenerator random(7);
    QByteArray block(1024 * 1024, Qt::Uninitialized);
    for (int i = 1; i <= photos; ++i) {
        const QString path = i % 2 ? QStringLiteral("%1/Inventario/Opera_%2.jpg").arg(root).arg(i)
                                   : QStringLiteral("%1/Restauri/Foto_A_%2.jpg").arg(root).arg(i);
        const qint64 size = 2000000 + qint64(random.bounded(3000000));
        if (QFileInfo(path).size() == size)
            continue;
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            qFatal("cannot write %s", qPrintable(path));
        for (qint64 left = size; left > 0; left -= block.size()) {
            random.fillRange(reinterpret_cast<quint32*>(block.data()), block.size() / 4);
            f.write(block.constData(), qMin<qint64>(left, block.size()));
        }
    }
}

void generate(const QString& root, qint64 cards, qint64 reports, int photos)
{
    QDir().mkpath(root + QStringLiteral("/Inventario"));
    QDir().mkpath(root + QStringLiteral("/Restauri"));
    QDir().mkpath(root + QStringLiteral("/Documenti_Allegati"));
    writeRecords(root + QStringLiteral("/Inventario_Opere.pro"), cards, TSchedaOpera::kSize, [](qint64 i) {
        TSchedaOpera r;
        r[TSchedaOpera::Titolo] = QString::fromLatin1(kTitles[i % 8]) + QStringLiteral(" n. %1").arg(i);
        r[TSchedaOpera::Proprietario] = QStringLiteral("Collezione %1").arg(i % 97);
        r[TSchedaOpera::Valore] = QStringLiteral("%1,00").arg(i % 5000);
        return r.encode();
    });
    writeRecords(root + QStringLiteral("/Relazioni_Tecniche_Restauro.pro"), reports, TSchedaIntervento::kSize,
                 [](qint64 i) {
                     TSchedaIntervento r;
                     r[TSchedaIntervento::NumRelazione] = QStringLiteral("%1/2024").arg(i);
                     r[TSchedaIntervento::MaterialiInterventi] =
                         QStringLiteral("Pulitura, consolidamento e ritocco pittorico. ").repeated(1 + i % 20);
                     return r.encode();
                 });
    writePhotos(root, photos);
    QFile ini(root + QStringLiteral("/Brevanto.ini"));
    if (ini.open(QIODevice::WriteOnly))
        ini.write("[Schede Interventi]\r\nIntestazione Azienda=Laboratorio\r\n");
}

// The peak resident size since the last reset, in MB; resetting starts a new peak.
double peakMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
    return 0;
}
double residentMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
    return 0;
}
void resetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

double timed(const std::function<void()>& work)
{
    QElapsedTimer t;
    t.start();
    work();
    return double(t.nsecsElapsed()) / 1e9;
}

double runTool(const QString& program, const QStringList& args, const QString& in)
{
    return timed([&] {
        QProcess p;
        p.setWorkingDirectory(in);
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p.start(program, args);
        if (!p.waitForFinished(-1) || p.exitCode() != 0)
            qFatal("%s failed", qPrintable(program));
    });
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const qint64 cards = argc > 1 ? atoll(argv[1]) : 100000;
    const qint64 reports = argc > 2 ? atoll(argv[2]) : 100000;
    const int photoCount = argc > 3 ? atoi(argv[3]) : 2000;
    const QString base = argc > 4 ? QString::fromLocal8Bit(argv[4]) : QStringLiteral("/tmp/brevanto-bench");
    const QString bsdtar = QStandardPaths::findExecutable(QStringLiteral("bsdtar"));
    const QString unzip = QStandardPaths::findExecutable(QStringLiteral("unzip"));
    if (bsdtar.isEmpty() || unzip.isEmpty()) {
        std::fprintf(stderr, "needs bsdtar (libarchive-tools) and unzip\n");
        return 2;
    }
    const QString root = base + QStringLiteral("/laboratorio");
    std::printf("generating %lld cards, %lld reports, %d photos in %s ...\n", cards, reports, photoCount,
                qPrintable(root));
    std::fflush(stdout);
    generate(root, cards, reports, photoCount);
    programdir::Override here(root);
    const QString ours = base + QStringLiteral("/ours.zip");
    const QString theirs = base + QStringLiteral("/bsdtar.zip");
    const QString photos = base + QStringLiteral("/bsdtar-foto.zip");
    const QString rest = base + QStringLiteral("/bsdtar-resto.zip");
    for (const QString& zip : {ours, theirs, photos, rest})
        QFile::remove(zip);

    const double idle = residentMb();
    const QStringList records = {"Inventario_Opere.pro", "Relazioni_Tecniche_Restauro.pro", "Brevanto.ini",
                                 "Documenti_Allegati"};
    const QStringList photoFolders = {"Inventario", "Restauri"}; // photos only, in this laboratory
    const double tTheirs = runTool(bsdtar, QStringList{"-a", "-cf", theirs} + records + photoFolders, root);
    // Like for like: the photos stored as the backup stores them, the rest deflated.
    const double tAlike =
        runTool(bsdtar,
                QStringList{"--format", "zip", "--options", "zip:compression=store", "-cf", photos} + photoFolders,
                root)
        + runTool(bsdtar, QStringList{"--format", "zip", "-cf", rest} + records, root);
    resetPeak();
    BackupSummary summary;
    NoProgress quiet;
    const double tOurs = timed([&] { summary = writeBackup(ours, quiet); });
    const double peakWrite = peakMb() - idle;

    const double tUnzip = runTool(unzip, {"-tq", ours}, base);
    resetPeak();
    const double tVerify = timed([&] { verifyBackup(ours, quiet); });
    const double peakVerify = peakMb() - idle;

    std::printf(
        "laboratory: %lld cards, %lld reports, %d photos; zip %.2f GB (bsdtar's %.2f GB, like for like %.2f GB)\n",
        summary.artworks, summary.reports, photoCount, double(summary.bytes) / 1e9,
        double(QFileInfo(theirs).size()) / 1e9, double(QFileInfo(photos).size() + QFileInfo(rest).size()) / 1e9);
    std::printf("backup (written and read back): %.1f s; bsdtar -a -cf (photos deflated too): %.1f s; ratio %.2f "
                "(target <= 1.5)\n",
                tOurs, tTheirs, tOurs / tTheirs);
    std::printf(
        "backup (written and read back): %.1f s; bsdtar like for like (photos stored, the rest deflated): %.1f s; "
        "ratio %.2f\n",
        tOurs, tAlike, tOurs / tAlike);
    std::printf("verify: %.1f s; unzip -t: %.1f s; ratio %.2f (target <= 1.5)\n", tVerify, tUnzip, tVerify / tUnzip);
    std::printf("memory above idle (%.0f MB): backup %.1f MB, verify %.1f MB (target < 64)\n", idle, peakWrite,
                peakVerify);
    for (const QString& zip : {ours, theirs, photos, rest})
        QFile::remove(zip);
    return 0;
}
