#include "backup/BackupActions.h"

#include "backup/AutoBackup.h"
#include "backup/BackupProgress.h"
#include "backup/BackupReader.h"
#include "backup/BackupWriter.h"
#include "backup/Restore.h"
#include "storage/IniFile.h"
#include "storage/IoError.h"
#include "storage/ProgramDir.h"
#include "widgets/Ui.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

namespace backupactions {
namespace {
const QString kSection = QStringLiteral("Backup");
const QString kLastFolder = QStringLiteral("UltimaCartella");
const QString kFilter = QStringLiteral("Backup di Brevanto (*.zip)");

IniFile settings()
{
    return IniFile(programdir::file(QStringLiteral("Brevanto.ini")));
}

QString lastFolder()
{
    QString folder;
    try {
        folder = settings().read(kSection, kLastFolder);
    } catch (const IoError&) {
        folder.clear(); // an unreadable settings file: the home folder
    }
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QDir::homePath();
}

QString megabytes(qint64 bytes)
{
    return QLocale(QLocale::Italian, QLocale::Italy).toString(double(bytes) / 1e6, 'f', 1);
}

QString dateOf(const QDateTime& when)
{
    return when.toString(QStringLiteral("dd/MM/yyyy 'alle' HH:mm"));
}

QString saved(const BackupSummary& s)
{
    return QStringLiteral("Il backup \u00E8 stato salvato in %1 (%2 opere, %3 relazioni, %4 MB).")
               .arg(QDir::toNativeSeparators(s.path))
               .arg(s.artworks)
               .arg(s.reports)
               .arg(megabytes(s.bytes))
           + (s.leftOut.isEmpty() ? QString() : QStringLiteral("\n\n") + leftOutText(s));
}

// The text an error carries for the user, or the action's own.
QString textOf(const IoError& e, const QString& fallback)
{
    return e.userText().isEmpty() ? fallback : e.userText();
}

// A folder of replaced data that a restore could not remove, told so that it can go by hand.
QString leftOverNote(const QString& folder)
{
    return folder.isEmpty() ? QString()
                            : QStringLiteral("\n\nI dati sostituiti non si sono potuti eliminare del tutto: sono "
                                             "rimasti in %1, che si pu\u00F2 eliminare.")
                                  .arg(QDir::toNativeSeparators(folder));
}
} // namespace

void backupNow(Ui& ui, QWidget* parent)
{
    Ui::FileDialog dialog;
    dialog.title = QStringLiteral("Salva il backup");
    dialog.filters = {kFilter};
    dialog.defaultSuffix = QStringLiteral("zip");
    const QString proposed = QDir(lastFolder()).filePath(defaultBackupName(QDateTime::currentDateTime()));
    dialog.initialName = proposed;
    for (int n = 2; QFileInfo::exists(dialog.initialName); ++n) // a second backup of the same minute
        dialog.initialName = numberedName(proposed, n);
    const QString target = ui.saveFile(parent, dialog);
    if (target.isEmpty())
        return;
    try {
        settings().write(kSection, kLastFolder, QFileInfo(target).absolutePath());
    } catch (const IoError&) {
        // Not remembering the folder is no reason to stop the backup.
    }
    BackupProgress progress(parent, QStringLiteral(" Backup"));
    try {
        const BackupSummary s = writeBackup(target, progress);
        progress.finish();
        ui.message(parent, Ui::Kind::Information, saved(s));
    } catch (const IoError& e) {
        progress.finish();
        if (progress.wasCanceled())
            return;
        ui.message(parent, Ui::Kind::Warning,
                   textOf(e, QStringLiteral("Attenzione: il backup non \u00E8 stato salvato. Controllare che nella "
                                            "cartella scelta si possa scrivere e che ci sia spazio sufficiente.")),
                   e.cause());
    }
}

bool restore(Ui& ui, QWidget* parent)
{
    Ui::FileDialog dialog;
    dialog.title = QStringLiteral("Ripristina backup");
    dialog.filters = {kFilter};
    dialog.initialName = lastFolder();
    const QString path = ui.openFile(parent, dialog);
    if (path.isEmpty())
        return false;

    Manifest manifest;
    {
        BackupProgress progress(parent, QStringLiteral(" Ripristino backup"));
        try {
            manifest = verifyBackup(path, progress);
        } catch (const IoError& e) {
            progress.finish();
            if (!progress.wasCanceled())
                ui.message(parent, Ui::Kind::Warning, InvalidBackup::kText, e.cause());
            return false;
        }
    }
    const QString question =
        QStringLiteral("Il backup del %1 contiene %2 opere e %3 relazioni. I dati attuali saranno sostituiti; prima "
                       "ne verr\u00E0 salvata una copia in \u00ABBackup\u00BB.\n\nSe altre postazioni usano la stessa "
                       "cartella, prima di continuare chiudere Brevanto su tutte.\n\nContinuare?")
            .arg(dateOf(manifest.date))
            .arg(manifest.artworks)
            .arg(manifest.reports);
    if (ui.question(parent, question) != Ui::Answer::Yes)
        return false;

    BackupProgress progress(parent, QStringLiteral(" Ripristino backup"));
    try {
        const restore::Result r = restore::restoreBackup(path, progress);
        progress.finish();
        ui.message(parent, Ui::Kind::Information,
                   QStringLiteral("Il ripristino \u00E8 stato completato: ora i dati sono quelli del backup del %1 "
                                  "(%2 opere, %3 relazioni). I dati sostituiti sono stati salvati in %4.")
                           .arg(dateOf(r.restored.date))
                           .arg(r.restored.artworks)
                           .arg(r.restored.reports)
                           .arg(QDir::toNativeSeparators(r.safetyCopy))
                       + leftOverNote(r.leftOver));
        return true;
    } catch (const restore::SwapInterrupted& e) {
        // The data are partly replaced: the cards are emptied, the next start puts them back.
        progress.finish();
        ui.message(parent, Ui::Kind::Warning, e.userText(), e.cause());
        return true;
    } catch (const IoError& e) {
        progress.finish();
        if (!e.userText().isEmpty()) // a backup found damaged while unpacking it again
            ui.message(parent, Ui::Kind::Warning, e.userText(), e.cause());
        else if (progress.wasCanceled())
            ui.message(parent, Ui::Kind::Information,
                       QStringLiteral("Il ripristino \u00E8 stato annullato. Nessun dato \u00E8 stato modificato."));
        else
            ui.message(parent, Ui::Kind::Warning,
                       QStringLiteral("Attenzione: il ripristino non \u00E8 riuscito. Nessun dato \u00E8 stato "
                                      "modificato."),
                       e.cause());
        return false;
    }
}

void automaticBackup(Ui& ui, QWidget* parent)
{
    BackupProgress progress(parent, QStringLiteral(" Backup automatico"));
    try {
        autobackup::runIfDue(QDateTime::currentDateTime(), progress);
    } catch (const IoError& e) {
        progress.finish();
        if (progress.wasCanceled())
            return;
        const QString closing = QStringLiteral("Il programma verr\u00E0 chiuso ugualmente.");
        ui.message(parent, Ui::Kind::Warning,
                   e.userText().isEmpty()
                       ? QStringLiteral("Attenzione: il backup automatico non \u00E8 riuscito. %1 Al prossimo avvio "
                                        "conviene fare un backup con il pulsante \u00ABBackup\u00BB.")
                             .arg(closing)
                       : QStringLiteral("%1\n\n%2").arg(e.userText(), closing),
                   e.cause());
    }
}

bool recoverAtStart(Ui& ui)
{
    try {
        const restore::Recovered r = restore::recoverInterrupted();
        if (r.what == restore::Recovery::Completed)
            ui.message(nullptr, Ui::Kind::Information,
                       QStringLiteral("Il ripristino di un backup era stato interrotto: ora \u00E8 stato completato.")
                           + leftOverNote(r.leftOver));
        else if (r.what == restore::Recovery::Undone)
            ui.message(nullptr, Ui::Kind::Information,
                       QStringLiteral("Il ripristino di un backup non era riuscito: i dati sono stati rimessi come "
                                      "erano prima del ripristino.")
                           + leftOverNote(r.leftOver));
        return true;
    } catch (const IoError& e) {
        ui.message(nullptr, Ui::Kind::Warning,
                   QStringLiteral("Attenzione: il ripristino di un backup interrotto non si \u00E8 potuto completare "
                                  "n\u00E9 annullare, e i dati sono in parte vecchi e in parte nuovi: il programma "
                                  "verr\u00E0 chiuso per non modificarli. Accertarsi di possedere i privilegi di "
                                  "scrittura nella cartella di installazione del programma e su quanto contiene, poi "
                                  "riavviare Brevanto."),
                   e.cause());
        return false;
    }
}

} // namespace backupactions
