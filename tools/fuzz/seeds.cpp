// Writes the seed inputs of the fuzz targets: real records, settings files and pictures
// made by the program's own code. Usage: seeds OUTPUT_DIR
#include "backup/BackupWriter.h"
#include "documentation/PhotoList.h"
#include "documentation/VersionBlock.h"
#include "records/ArtworkArchive.h"
#include "records/SchedaIntervento.h"
#include "records/SchedaOpera.h"
#include "storage/CardFiles.h"
#include "storage/IoError.h"
#include "storage/Platform.h"
#include "storage/ProgramDir.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>
#include <QtEndian>
#include <cstdio>

namespace {
void put(const QString& dir, const QString& name, const QByteArray& bytes)
{
    QDir().mkpath(dir);
    QFile f(dir + QLatin1Char('/') + name);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

QByteArray picture(const char* format)
{
    QImage img(24, 16, QImage::Format_RGB32);
    img.fill(QColor(200, 60, 30));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    img.save(&buffer, format);
    return bytes;
}
} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2)
        return 2;
    const QString out = QString::fromLocal8Bit(argv[1]);
    TSchedaOpera w;
    w[TSchedaOpera::Titolo] = QStringLiteral("Natura morta & fiori");
    w[TSchedaOpera::Proprietario] = QStringLiteral("Rossi Mario");
    w[TSchedaOpera::Valore] = QStringLiteral("1.500,00");
    w.setSold(true);
    TSchedaIntervento r;
    r[TSchedaIntervento::NumRelazione] = QStringLiteral("2024/17");
    r[TSchedaIntervento::DataEmissione] = QStringLiteral("05/03/2024");
    r[TSchedaIntervento::MaterialiInterventi] = QStringLiteral("Pulitura\r\nConsolidamento");
    r.setPaid(false);
    put(out + QStringLiteral("/records"), QStringLiteral("artwork"), w.encode());
    put(out + QStringLiteral("/records"), QStringLiteral("report"), r.encode());
    put(out + QStringLiteral("/settings"), QStringLiteral("password"), "[Accesso]\r\nValore=8D4AF7A2DE\r\n");
    put(out + QStringLiteral("/settings"), QStringLiteral("numbering"),
        "[Altro]\r\nx=1\r\n\r\n[Numerazione Contratti]\r\nInizio=100\r\n");
    put(out + QStringLiteral("/settings"), QStringLiteral("heading"),
        "[Schede Interventi]\r\nIntestazione Azienda=Lab\xE0\r\n");
    put(out + QStringLiteral("/pictures"), QStringLiteral("photo.jpg"), picture("JPEG"));
    // A journal the program wrote: two cards, one saved three times, a kept photo.
    QTemporaryDir scratch;
    {
        programdir::Override here(scratch.path());
        ArtworkArchive store;
        store.save(w.encode(), {}, journal::What::Inserita);
        w[TSchedaOpera::Note] = QStringLiteral("seconda versione");
        store.save(w.encode(), QStringLiteral("1"), journal::What::Modificata,
                   {{0, QStringLiteral("Inventario/Cronologia/Opera_1_x.jpg")}});
        store.save(w.encode(), {}, journal::What::Inserita);
        store.save(w.encode(), QStringLiteral("1"), journal::What::Ripristinata);
        QFile journalFile(scratch.filePath(QStringLiteral("Inventario_Opere.cronologia")));
        journalFile.open(QIODevice::ReadOnly);
        const QByteArray bytes = journalFile.readAll();
        // Only the written part: the zeros ahead of it add nothing to fuzz.
        put(out + QStringLiteral("/journal"), QStringLiteral("journal"),
            bytes.left(qFromLittleEndian<qint64>(bytes.constData() + 16)));
    }
    put(out + QStringLiteral("/pictures"), QStringLiteral("logo.bmp"), picture("BMP"));
    // A documentation list of three photos, in any alphabet, and a version's block holding it.
    const QByteArray list = documentation::encode({
        {QStringLiteral("Fronte.jpg"), QStringLiteral("Prima del restauro"),
         QStringLiteral("Stato iniziale, luce radente"), QDate(2024, 3, 5), 1234567, 0x1A2B3C4Du},
        {QStringLiteral("Saggio_1.jpg"),
         QStringLiteral("Durante il restauro"),
         QStringLiteral("Saggio di pulitura \u2014 \u0394\u03B9\u03B1\u03BB\u03CD\u03C4\u03B7\u03C2"),
         {},
         88,
         7},
        {QStringLiteral("UV.jpeg"), QStringLiteral("Indagine diagnostica"), {}, QDate(2023, 12, 31), 0, 0},
    });
    put(out + QStringLiteral("/doclist"), QStringLiteral("list"), list);
    put(out + QStringLiteral("/doclist"), QStringLiteral("block"),
        documentation::encodeBlock(
            {list,
             {{QStringLiteral("Fronte.jpg"), QStringLiteral("Restauri/Cronologia/Documentazione_1_Fronte.jpg")}}}));

    cardfiles::Block save;
    save.pieces.insert(cardfiles::kDocumentation, documentation::encodeBlock({list, {}}));
    save.steps = {{cardfiles::Step::Kind::Retire, QStringLiteral("Restauri/Documentazione/1/Fronte.jpg"),
                   QStringLiteral("Restauri/Cronologia/Documentazione_1_Fronte_20240305.jpg"), 1234567, 0x1A2B3C4Du},
                  {cardfiles::Step::Kind::Place,
                   QStringLiteral("Restauri/.brevanto-salvataggi/.1-Elenco.ini.salvataggio-abc123"),
                   QStringLiteral("Restauri/Documentazione/1/Elenco.ini"), 0, 0}};
    put(out + QStringLiteral("/doclist"), QStringLiteral("save"), cardfiles::encode(save));

    // A small laboratory's backup, made by the program's own writer.
    QTemporaryDir lab;
    put(lab.path(), QStringLiteral("Inventario_Opere.pro"), w.encode());
    put(lab.path(), QStringLiteral("Relazioni_Tecniche_Restauro.pro"), r.encode());
    put(lab.path() + QStringLiteral("/Inventario"), QStringLiteral("Opera_1.jpg"), picture("JPEG"));
    put(lab.path() + QStringLiteral("/Documenti_Allegati"), QStringLiteral("contratto.txt"), "Contratto");
    // Names as a laboratory's may be: not UTF-8, with a line break, in a folder of their own.
    QDir().mkpath(lab.path() + QStringLiteral("/Documenti_Allegati/vecchi"));
    for (const QByteArray& name :
         {QByteArray("/Documenti_Allegati/vecchi/citt\xE0.pdf"), QByteArray("/Documenti_Allegati/a\nb.txt")}) {
        QFile f;
        const int fd = platform::createFile(platform::encodeName(lab.path()) + name);
        if (fd >= 0 && f.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle))
            f.write("documento");
    }
    programdir::Override here(lab.path());
    QDir().mkpath(out + QStringLiteral("/backup"));
    NoProgress quiet;
    try {
        writeBackup(out + QStringLiteral("/backup/small.zip"), quiet);
        platform::removeAll(platform::encodeName(lab.path())); // QTemporaryDir cannot remove the Latin-1 name
    } catch (const IoError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
