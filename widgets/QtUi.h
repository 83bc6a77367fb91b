#pragma once
#include "widgets/Ui.h"

// The real message boxes, file dialogs, print dialog, preview and shell.
class QtUi : public Ui {
public:
    Answer message(QWidget* parent, Kind kind, const QString& text, const QString& details = {}) override;
    Answer question(QWidget* parent, const QString& text, Answer byDefault = Answer::No) override;
    QString openFile(QWidget* parent, const FileDialog& dialog) override;
    QString saveFile(QWidget* parent, const FileDialog& dialog) override;
    QStringList openFiles(QWidget* parent, const FileDialog& dialog) override;
    int exec(QDialog* dialog) override;
    void openUrl(const QString& command) override;
    bool printDialog(QWidget* parent, QPrinter& printer) override;
    void preview(QWidget* parent, const Paint& paint, const Print& print) override;
};
