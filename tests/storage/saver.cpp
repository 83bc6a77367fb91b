// Saves artwork cards as a workstation would, through the record store and its history:
// "saver FOLDER TAG COUNT [POSITION]" appends COUNT cards, or with POSITION saves that card
// COUNT times. Each card's title holds the tag and its sequence number; every save that
// returned is reported on standard output ("saved N") before the next begins.
#include "records/ArtworkArchive.h"
#include "storage/ProgramDir.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 4)
        return 2;
    programdir::Override here(QString::fromLocal8Bit(argv[1]));
    const QString tag = QString::fromLocal8Bit(argv[2]);
    const int count = std::atoi(argv[3]);
    const QString position = argc > 4 ? QString::fromLocal8Bit(argv[4]) : QString();
    ArtworkArchive archive;
    for (int i = 0; i < count; ++i) {
        TSchedaOpera card;
        card[TSchedaOpera::Titolo] = tag + QLatin1Char(':') + QString::number(i);
        card[TSchedaOpera::Note] = QStringLiteral("Nota %1 ").arg(i).repeated(10);
        card[TSchedaOpera::Venduta] = QStringLiteral("No");
        try {
            archive.save(card.encode(), position,
                         position.isEmpty() ? journal::What::Inserita : journal::What::Modificata);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "%s\n", e.what());
            return 1;
        }
        std::printf("saved %d\n", i);
        std::fflush(stdout);
    }
    return 0;
}
