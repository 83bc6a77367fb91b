// Measures a full scan of a large artwork archive: every record read and decoded, as the
// searches and the export will do. Usage: archive_scan [RECORDS] (default 100000).
#include "records/SchedaOpera.h"
#include "storage/ArchiveFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const qint64 records = argc > 1 ? QByteArray(argv[1]).toLongLong() : 100000;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Inventario_Opere.pro"));

    TSchedaOpera card;
    card[TSchedaOpera::Titolo] = QStringLiteral("Natura morta con frutta e fiori");
    card[TSchedaOpera::Artista] = QStringLiteral("Anonimo");
    card[TSchedaOpera::Note] = QString(200, QChar(u'n'));
    card.setSold(false);
    const QByteArray bytes = card.encode();
    QElapsedTimer timer;
    timer.start();
    {
        ArchiveFile f;
        f.open(path, TSchedaOpera::kSize);
        for (qint64 i = 0; i < records; ++i)
            f.write(bytes.constData());
    }
    const qint64 writeMs = timer.restart();

    ArchiveFile f;
    f.open(path, TSchedaOpera::kSize);
    QByteArray buffer(TSchedaOpera::kSize, '\0');
    qint64 unsold = 0;
    while (!f.eof()) {
        f.read(buffer.data());
        unsold += TSchedaOpera::decode(buffer.constData()).sold() == false;
    }
    const qint64 scanMs = timer.elapsed();
    std::printf("%lld records (%.1f MB): written in %lld ms, scanned and decoded in %lld ms (%lld unsold)\n",
                static_cast<long long>(records), double(records) * TSchedaOpera::kSize / 1e6,
                static_cast<long long>(writeMs), static_cast<long long>(scanMs), static_cast<long long>(unsold));
    return unsold == records ? 0 : 1;
}
