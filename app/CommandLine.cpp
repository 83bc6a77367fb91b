#include "app/CommandLine.h"

#include "backup/BackupReader.h"
#include "backup/BackupWriter.h"
#include "storage/IoError.h"
#include "storage/Platform.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

#include <cstdio>
#include <cstring>

namespace commandline {
namespace {
constexpr int kFailed = 1;
constexpr int kUsage = 2;

void say(std::FILE* to, const QString& line)
{
    platform::writeLine(to == stderr ? platform::Stream::Error : platform::Stream::Output, line);
}

int usage(std::FILE* to, int code)
{
    say(to, QStringLiteral(
                "Uso: brevanto [opzione]\n"
                "Senza opzioni apre il programma. Le opzioni lavorano senza finestre, per i backup programmati:\n"
                "  --backup FILE_O_CARTELLA  scrive un backup verificato di tutti i dati nel file indicato;\n"
                "                            per una cartella, vi crea Brevanto-backup-AAAAMMGG-HHMM.zip\n"
                "  --verify FILE             controlla per intero un backup senza modificare nulla\n"
                "  --help                    mostra questo aiuto\n"
                "Termina con 0 se tutto \u00E8 andato bene, con un altro codice in caso di errore."));
    return code;
}

// A path as the system writes it (with backslashes on Windows).
QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// The text an error carries for the user, followed by its cause.
QString failure(const IoError& e, const QString& fallback)
{
    return QStringLiteral("%1 Dettagli: %2").arg(e.userText().isEmpty() ? fallback : e.userText(), e.cause());
}

int backup(const QString& where)
{
    // A folder gets the default name, or a free one when a backup of the same minute is there.
    const bool folder = QFileInfo(where).isDir() || where.endsWith(u'/');
    const QString target = folder ? QDir(where).filePath(defaultBackupName(QDateTime::currentDateTime())) : where;
    try {
        NoProgress quiet;
        const BackupSummary s = writeBackup(target, quiet, folder ? Placement::FreeName : Placement::Replace);
        say(stdout,
            QStringLiteral("Backup salvato in %1 (%2 opere, %3 relazioni, %4 MB).%5")
                .arg(shown(QFileInfo(s.path).absoluteFilePath()), QString::number(s.artworks),
                     QString::number(s.reports), QLocale(QLocale::Italian).toString(double(s.bytes) / 1e6, 'f', 1),
                     s.leftOut.isEmpty() ? QString() : u' ' + leftOutText(s)));
        return 0;
    } catch (const IoError& e) {
        say(stderr, failure(e, QStringLiteral("Backup non riuscito: impossibile scrivere %1.")
                                   .arg(shown(QFileInfo(target).absoluteFilePath()))));
        return kFailed;
    }
}

int verify(const QString& path)
{
    try {
        NoProgress quiet;
        const Manifest m = verifyBackup(path, quiet);
        say(stdout, QStringLiteral("Backup valido: %1, del %2, con %3 opere e %4 relazioni.")
                        .arg(shown(path), m.date.toString(QStringLiteral("dd/MM/yyyy HH:mm")))
                        .arg(m.artworks)
                        .arg(m.reports));
        return 0;
    } catch (const InvalidBackup& e) {
        say(stderr, QStringLiteral("Backup non valido: %1 non \u00E8 un backup di Brevanto o \u00E8 danneggiato. "
                                   "Dettagli: %2")
                        .arg(shown(path), e.cause()));
    } catch (const IoError& e) {
        say(stderr, failure(e, QStringLiteral("Verifica non riuscita: impossibile leggere %1.").arg(shown(path))));
    }
    return kFailed;
}
} // namespace

bool wanted(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        for (const char* option : {"--backup", "--verify", "--help", "-h"})
            if (std::strcmp(argv[i], option) == 0)
                return true;
    return false;
}

int run(const QStringList& arguments)
{
    // Started from a console (a scheduled task, a prompt), the answer goes to that console.
    platform::attachConsole();
    const QStringList args = arguments.mid(1);
    if (args.size() == 1 && (args[0] == u"--help" || args[0] == u"-h"))
        return usage(stdout, 0);
    if (args.size() == 2 && args[0] == u"--backup")
        return backup(args[1]);
    if (args.size() == 2 && args[0] == u"--verify")
        return verify(args[1]);
    return usage(stderr, kUsage);
}

} // namespace commandline
