#pragma once
#include "TestUi.h"

#include "storage/ProgramDir.h"
#include "widgets/CardFields.h"

#include <QSet>
#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>
#include <memory>
#include <type_traits>

// A program directory in a temporary folder and the screens built on a scripted Ui. When
// the fixture goes at the end of a test, the test fails if the scripted Ui saw something
// the test did not check (a message, a file dialog, a shell open, an unused answer).
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

// The named child. A missing one fails the current test (the run goes on with the next
// test) and hands back an unnamed hidden stand-in, so the test can run to its end safely.
template <typename T> T* child(QObject* parent, const char* name)
{
    if (T* w = parent->findChild<T*>(QString::fromLatin1(name)))
        return w;
    QTest::qFail(qPrintable(QStringLiteral("missing control %1").arg(QString::fromLatin1(name))), __FILE__, __LINE__);
    if constexpr (std::is_default_constructible_v<T>) {
        auto* standIn = new T;
        if constexpr (std::is_base_of_v<QWidget, T>)
            standIn->setParent(qobject_cast<QWidget*>(parent));
        else
            standIn->setParent(parent);
        return standIn;
    } else {
        qFatal("missing control %s", name);
    }
}

// Fails the current test when the scripted Ui saw something the test did not check; the
// fixture also checks this when it goes.
#define VERIFY_UI_CLEAN(ui)                                                                                            \
    do {                                                                                                               \
        const QStringList problems_ = (ui).problems();                                                                 \
        QVERIFY2(problems_.isEmpty(), qPrintable(problems_.join(QStringLiteral("; "))));                               \
    } while (0)

// Shows a window and makes it the active one, so that focus changes really happen.
void activate(QWidget* w);

// A picture of one colour, and the colour a picture shows at its centre: "red", "green",
// "blue", "other" or "none" (close enough for pictures stored as JPEG).
QImage filledPicture(QColor colour, QSize size = {60, 40});
QString colourOf(const QImage& image);

// Writes bytes to a file, failing the test on error.
void writeBytes(const QString& path, const QByteArray& bytes);
QByteArray readBytes(const QString& path);

// Empty when the card's field table holds every one of the record's fields exactly once,
// each in its own control; otherwise what is wrong.
template <class R> QString fieldTableProblem(const FieldTable<R>& table)
{
    QList<int> seen(R::kFields, 0);
    QSet<QWidget*> controls;
    for (const CardField<R>& f : table) {
        if (f.field < 0 || f.field >= R::kFields)
            return QStringLiteral("field %1 is not in the record").arg(int(f.field));
        if (!f.control)
            return QStringLiteral("field %1 has no control").arg(int(f.field));
        if (controls.contains(f.control))
            return QStringLiteral("%1 holds two fields").arg(f.control->objectName());
        controls.insert(f.control);
        ++seen[f.field];
    }
    for (int i = 0; i < R::kFields; ++i)
        if (seen[i] != 1)
            return QStringLiteral("field %1 appears %2 times").arg(i).arg(seen[i]);
    return {};
}
