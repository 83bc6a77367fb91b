#include "TestUi.h"

#include <QDialog>
#include <QWidget>

Ui::Answer TestUi::message(QWidget* parent, Kind kind, const QString& text, const QString& details)
{
    messages_.append({kind, text, parent ? parent->window()->objectName() : QString(), details});
    return answers_.isEmpty() ? Answer::Ok : answers_.takeFirst();
}

Ui::Answer TestUi::question(QWidget* parent, const QString& text, Answer byDefault)
{
    messages_.append({Kind::Plain, text, parent ? parent->window()->objectName() : QString(), {}, byDefault});
    if (answers_.isEmpty()) {
        unexpected_ << QStringLiteral("question without a scripted answer: ") + text;
        return Answer::No;
    }
    return answers_.takeFirst();
}

QString TestUi::openFile(QWidget*, const FileDialog& dialog)
{
    fileDialogs_.append(dialog);
    if (files_.isEmpty()) {
        unexpected_ << QStringLiteral("open dialog without a scripted file: ") + dialog.title;
        return {};
    }
    return files_.takeFirst();
}

QStringList TestUi::openFiles(QWidget*, const FileDialog& dialog)
{
    fileDialogs_.append(dialog);
    if (fileLists_.isEmpty()) {
        unexpected_ << QStringLiteral("open dialog without scripted files: ") + dialog.title;
        return {};
    }
    return fileLists_.takeFirst();
}

QString TestUi::saveFile(QWidget*, const FileDialog& dialog)
{
    fileDialogs_.append(dialog);
    if (files_.isEmpty()) {
        unexpected_ << QStringLiteral("save dialog without a scripted file: ") + dialog.title;
        return {};
    }
    return files_.takeFirst();
}

int TestUi::exec(QDialog* dialog)
{
    executed_ << dialog->objectName();
    if (handlers_.isEmpty()) {
        unexpected_ << QStringLiteral("modal screen without a scripted handler: ") + dialog->objectName();
        return QDialog::Rejected;
    }
    return handlers_.takeFirst()(dialog);
}

void TestUi::openUrl(const QString& command)
{
    opened_ << command;
}

bool TestUi::printDialog(QWidget*, QPrinter& printer)
{
    executed_ << QStringLiteral("QPrintDialog");
    if (printHandlers_.isEmpty()) {
        unexpected_ << QStringLiteral("print dialog without a scripted answer");
        return false;
    }
    return printHandlers_.takeFirst()(printer);
}

void TestUi::preview(QWidget*, const Paint& paint, const Print& print)
{
    executed_ << QStringLiteral("QPrintPreview");
    if (previewHandlers_.isEmpty()) {
        unexpected_ << QStringLiteral("preview without a scripted handler");
        return;
    }
    previewHandlers_.takeFirst()(paint, print);
}

QList<TestUi::Message> TestUi::takeMessages()
{
    return std::exchange(messages_, {});
}
QList<Ui::FileDialog> TestUi::takeFileDialogs()
{
    return std::exchange(fileDialogs_, {});
}
QStringList TestUi::takeOpened()
{
    return std::exchange(opened_, {});
}
QStringList TestUi::takeExecuted()
{
    return std::exchange(executed_, {});
}

QStringList TestUi::problems() const
{
    QStringList p = unexpected_;
    for (const Message& m : messages_)
        p << QStringLiteral("message not checked by the test: ") + m.text;
    for (const FileDialog& d : fileDialogs_)
        p << QStringLiteral("file dialog not checked by the test: ") + d.title;
    if (!answers_.isEmpty())
        p << QStringLiteral("%1 scripted answers left").arg(answers_.size());
    if (!files_.isEmpty() || !fileLists_.isEmpty())
        p << QStringLiteral("%1 scripted files left").arg(files_.size() + fileLists_.size());
    if (!handlers_.isEmpty())
        p << QStringLiteral("%1 scripted screens never shown").arg(handlers_.size());
    if (!printHandlers_.isEmpty())
        p << QStringLiteral("%1 scripted print dialogs never shown").arg(printHandlers_.size());
    if (!previewHandlers_.isEmpty())
        p << QStringLiteral("%1 scripted previews never shown").arg(previewHandlers_.size());
    for (const QString& o : opened_)
        p << QStringLiteral("shell open not checked by the test: ") + o;
    return p;
}

void TestUi::reset()
{
    *this = TestUi();
}
