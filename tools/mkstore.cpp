// Places the installation's password store, holding the initial password, at the path
// given on the command line, unless a store is already there (a changed password stays).
#include "app/Crypt.h"
#include "storage/IniFile.h"
#include "storage/IoError.h"
#include "storage/Text.h"

#include <QCoreApplication>
#include <QFile>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: mkstore PATH\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    if (QFile::exists(path))
        return 0;
    try {
        IniFile(path).write(QStringLiteral("Accesso"), QStringLiteral("Valore"),
                            Crypt::Scramble(text::upperAscii(QStringLiteral("primaverilenza"))));
    } catch (const IoError& e) {
        std::fprintf(stderr, "mkstore: %s\n", e.what());
        return 1;
    }
    return 0;
}
