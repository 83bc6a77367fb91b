#pragma once
#include <QString>
#include <QStringList>

#include <functional>

class QDialog;
class QPrinter;
class QWidget;

// Everything that asks the user or leaves the program goes through this seam: message
// boxes, file dialogs, modal screens and the shell. Production uses QtUi; tests use a
// scripted double that records each call and answers from a queue.
class Ui {
public:
    enum class Kind { Plain, Warning, Error, Information };
    enum class Answer { Ok, Cancel, Yes, No };

    struct FileDialog {
        QString title;
        QStringList filters; // "Immagine JPEG (*.jpg *.jpeg)"
        QString defaultSuffix; // without the dot
        QString initialName;
        bool confirmOverwrite = true;
    };

    virtual ~Ui() = default;

    // Plain: OK only, no icon. Typed kinds: OK and Cancel with the kind's icon. Details, when
    // given, stay folded in a "Dettagli" part of the box (a technical cause, say).
    virtual Answer message(QWidget* parent, Kind kind, const QString& text, const QString& details = {}) = 0;
    // Yes and No; byDefault (Yes or No) is the button Enter presses. No unless the question
    // says otherwise: a question whose Yes deletes or replaces something keeps No.
    virtual Answer question(QWidget* parent, const QString& text, Answer byDefault = Answer::No) = 0;
    // The chosen path, or empty when cancelled.
    virtual QString openFile(QWidget* parent, const FileDialog& dialog) = 0;
    virtual QString saveFile(QWidget* parent, const FileDialog& dialog) = 0;
    // Several files chosen at once; empty when cancelled. One at a time where not overridden.
    virtual QStringList openFiles(QWidget* parent, const FileDialog& dialog)
    {
        const QString one = openFile(parent, dialog);
        return one.isEmpty() ? QStringList() : QStringList{one};
    }
    // Shows a screen modally and returns its result code.
    virtual int exec(QDialog* dialog) = 0;
    // Opens a web address, a mail link, a document or a file with the system's program.
    virtual void openUrl(const QString& command) = 0;
    // The print dialog for printer (its default printer, one copy, all pages): true when the
    // user chose to print, false when cancelled.
    virtual bool printDialog(QWidget* parent, QPrinter& printer) = 0;
    // The modal, maximised print preview at 100 %; paint lays the document out on the printer
    // it is given. Its Stampa button calls print with the preview window, which prints the
    // document through the print dialog as the screens do.
    using Paint = std::function<void(QPrinter&)>;
    using Print = std::function<void(QWidget* over)>;
    virtual void preview(QWidget* parent, const Paint& paint, const Print& print) = 0;
};
