#pragma once
#include "widgets/Ui.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class QDialog;

// The scripted Ui of the tests. Every call is recorded; messages answer OK (or a queued
// answer), file dialogs and modal screens need an answer queued by the test. A call the
// test did not script, and a recorded message the test did not take, are listed by
// problems(), which the fixture checks after each test.
class TestUi : public Ui {
public:
    struct Message {
        Kind kind;
        QString text;
        QString parent; // objectName of the parent window
        QString details = {};
        Answer byDefault = Answer::Ok; // a question's default button: Yes or No
        bool operator==(const Message& o) const { return kind == o.kind && text == o.text; }
    };

    Answer message(QWidget* parent, Kind kind, const QString& text, const QString& details = {}) override;
    Answer question(QWidget* parent, const QString& text, Answer byDefault = Answer::No) override;
    QString openFile(QWidget* parent, const FileDialog& dialog) override;
    QString saveFile(QWidget* parent, const FileDialog& dialog) override;
    QStringList openFiles(QWidget* parent, const FileDialog& dialog) override;
    int exec(QDialog* dialog) override;
    void openUrl(const QString& command) override;
    bool printDialog(QWidget* parent, QPrinter& printer) override;
    void preview(QWidget* parent, const Paint& paint, const Print& print) override;

    // Scripting.
    void answerNext(Answer a) { answers_.append(a); }
    void chooseFile(const QString& path) { files_.append(path); } // empty = cancel
    void chooseFiles(const QStringList& paths) { fileLists_.append(paths); } // empty = cancel
    void onExec(std::function<int(QDialog*)> handler) { handlers_.append(std::move(handler)); }
    // The print dialog's answer: the handler sets up the printer (say, a PDF file) and
    // returns true to print, false to cancel.
    void onPrint(std::function<bool(QPrinter&)> handler) { printHandlers_.append(std::move(handler)); }
    // The preview: the handler receives the document's paint function and what its Stampa
    // button does.
    using PreviewHandler = std::function<void(const Paint&, const Print&)>;
    void onPreview(PreviewHandler handler) { previewHandlers_.append(std::move(handler)); }

    // What happened.
    QList<Message> takeMessages();
    QList<FileDialog> takeFileDialogs();
    QStringList takeOpened();
    QStringList takeExecuted(); // objectNames of the modal screens shown

    QStringList problems() const;
    void reset();

private:
    QList<Message> messages_;
    QList<Answer> answers_;
    QStringList files_;
    QList<QStringList> fileLists_;
    QList<FileDialog> fileDialogs_;
    QList<std::function<int(QDialog*)>> handlers_;
    QList<std::function<bool(QPrinter&)>> printHandlers_;
    QList<PreviewHandler> previewHandlers_;
    QStringList executed_;
    QStringList opened_;
    QStringList unexpected_;
};
