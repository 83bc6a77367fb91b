#include "backup/BackupProgress.h"

#include <algorithm>

namespace {
QString textOf(Progress::Step step)
{
    switch (step) {
    case Progress::Step::Writing: return QStringLiteral("Scrittura del backup in corso...");
    case Progress::Step::Verifying: return QStringLiteral("Verifica del backup in corso...");
    case Progress::Step::Unpacking: return QStringLiteral("Lettura e verifica del backup in corso...");
    case Progress::Step::Replacing: return QStringLiteral("Sostituzione dei dati in corso...");
    case Progress::Step::Cleaning: return QStringLiteral("Rimozione dei dati sostituiti...");
    }
    return {};
}
} // namespace

BackupProgress::BackupProgress(QWidget* parent, const QString& title)
    : dialog_(textOf(Step::Writing), QStringLiteral("Annulla"), 0, 1000, parent)
{
    dialog_.setObjectName(QStringLiteral("frmProgressoBackup"));
    dialog_.setWindowTitle(title);
    dialog_.setWindowModality(Qt::WindowModal);
    dialog_.setMinimumDuration(500);
    dialog_.setAutoClose(false);
    dialog_.setAutoReset(false);
    dialog_.setMinimumWidth(420);
    dialog_.setValue(0);
}

void BackupProgress::begin(Step step, qint64 total)
{
    total_ = total;
    shown_ = -1;
    dialog_.setLabelText(textOf(step));
    // Once the data are being replaced the work is finished, never stopped halfway.
    if (step == Step::Replacing || step == Step::Cleaning)
        dialog_.setCancelButton(nullptr);
    advance(0);
}

bool BackupProgress::advance(qint64 done)
{
    const int value = total_ > 0 ? int(std::clamp<qint64>(done * 1000 / total_, 0, 1000)) : 1000;
    if (value != shown_) {
        shown_ = value;
        dialog_.setValue(value); // a modal progress window also handles the events here
    }
    return !dialog_.wasCanceled();
}
