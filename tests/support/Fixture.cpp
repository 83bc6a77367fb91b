#include "Fixture.h"

#include "app/Screens.h"
#include "common/Style.h"

#include <QApplication>

#include <QFile>
#include <QSet>

Fixture::Fixture()
{
    override_ = std::make_unique<programdir::Override>(dir_.path());
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance()))
        style::installAppearance(*app);
    createScreens(ui);
}

Fixture::~Fixture()
{
    // A test that failed already says why; otherwise anything left unchecked fails it.
    if (!QTest::currentTestFailed()) {
        const QStringList problems = ui.problems();
        if (!problems.isEmpty())
            QTest::qFail(qPrintable(problems.join(QStringLiteral("; "))), __FILE__, __LINE__);
    }
    destroyScreens();
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

QByteArray readBytes(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void activate(QWidget* w)
{
    w->show();
    w->activateWindow();
    if (!QTest::qWaitForWindowActive(w))
        qWarning("window %s did not become active", qPrintable(w->objectName()));
}
