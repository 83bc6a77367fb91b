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
        .arg(megabytes(s.bytes));
}
} // namespace

void backupNow(Ui& ui, QWidget* parent)
{
    Ui::FileDialog dialog;
    dialog.title = QStringLiteral("Salva il backup");
    dialog.filters = {kFilter};
    dialog.defaultSuffix = QStringLiteral("zip");
    dialog.initialName = QDir(lastFolder()).filePath(defaultBackupName(QDateTime::currentDateTime()));
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
                   QStringLiteral("Attenzione: il backup non \u00E8 stato salvato. Controllare che nella cartella "
                                  "scelta si possa scrivere e che ci sia spazio sufficiente."),
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
                       .arg(QDir::toNativeSeparators(r.safetyCopy)));
        return true;
    } catch (const restore::SwapInterrupted& e) {
        // The data are partly replaced: the cards are emptied, the next start completes it.
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
        ui.message(parent, Ui::Kind::Warning,
                   QStringLiteral("Attenzione: il backup automatico non \u00E8 riuscito. Il programma verr\u00E0 "
                                  "chiuso ugualmente; al prossimo avvio conviene fare un backup con il pulsante "
                                  "\u00ABBackup\u00BB."),
                   e.cause());
    }
}

void recoverAtStart(Ui& ui)
{
    try {
        if (restore::recoverInterrupted() == restore::Recovery::Completed)
            ui.message(nullptr, Ui::Kind::Information,
                       QStringLiteral("Il ripristino di un backup era stato interrotto: ora \u00E8 stato "
                                      "completato."));
    } catch (const IoError& e) {
        ui.message(nullptr, Ui::Kind::Warning,
                   QStringLiteral("Attenzione: il ripristino di un backup interrotto non si \u00E8 potuto "
                                  "completare. Accertarsi di possedere i privilegi di scrittura nella cartella "
                                  "di installazione del programma."),
                   e.cause());
    }
}

} // namespace backupactions
