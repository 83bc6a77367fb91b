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

QString fieldTableProblem(const FieldTable& table, int recordFields)
{
    QList<int> seen(recordFields, 0);
    QSet<QWidget*> controls;
    for (const CardField& f : table) {
        if (f.field < 0 || f.field >= recordFields)
            return QStringLiteral("field %1 is not in the record").arg(f.field);
        if (!f.control)
            return QStringLiteral("field %1 has no control").arg(f.field);
        if (controls.contains(f.control))
            return QStringLiteral("%1 holds two fields").arg(f.control->objectName());
        controls.insert(f.control);
        ++seen[f.field];
    }
    for (int i = 0; i < recordFields; ++i)
        if (seen[i] != 1)
            return QStringLiteral("field %1 appears %2 times").arg(i).arg(seen[i]);
    return {};
}
