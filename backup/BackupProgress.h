#pragma once
#include "backup/Progress.h"

#include <QProgressDialog>

// The progress window of a backup or a restore: shows itself when the work takes longer than
// a moment, says which step runs, and offers "Annulla" while the work can still be stopped
// without leaving anything behind.
class BackupProgress : public Progress {
public:
    BackupProgress(QWidget* parent, const QString& title);

    void begin(Step step, qint64 total) override;
    bool advance(qint64 done) override;
    bool wasCanceled() const { return dialog_.wasCanceled(); }
    // Takes the window away before a message; closing it instead would count as Annulla.
    void finish() { dialog_.hide(); }
    QProgressDialog& dialog() { return dialog_; }

private:
    QProgressDialog dialog_;
    qint64 total_ = 0;
    int shown_ = -1;
};
