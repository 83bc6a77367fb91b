#pragma once
#include "TestUi.h"

#include "common/ProgramDir.h"

#include <QTemporaryDir>
#include <QtTest>
#include <memory>

// A program directory in a temporary folder and the screens built on a scripted Ui.
class Fixture {
public:
    Fixture();
    ~Fixture();

    QString file(const QString& name) const { return dir_.filePath(name); }
    QString path() const { return dir_.path(); }
    TestUi ui;

private:
    QTemporaryDir dir_;
    std::unique_ptr<programdir::Override> override_;
};

// The named child, failing the test when it is missing.
template <typename T>
T* child(QObject* parent, const char* name)
{
    T* w = parent->findChild<T*>(QString::fromLatin1(name));
    if (!w)
        qFatal("missing control %s", name);
    return w;
}

// Fails the current test when the scripted Ui saw something the test did not check.
#define VERIFY_UI_CLEAN(ui)                                                                   \
    do {                                                                                      \
        const QStringList problems_ = (ui).problems();                                        \
        QVERIFY2(problems_.isEmpty(), qPrintable(problems_.join(QStringLiteral("; "))));      \
    } while (0)

// Shows a window and makes it the active one, so that focus changes really happen.
void activate(QWidget* w);

// Writes bytes to a file, failing the test on error.
void writeBytes(const QString& path, const QByteArray& bytes);
QByteArray readBytes(const QString& path);
