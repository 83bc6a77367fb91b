#include "Fixture.h"

#include "app/Screens.h"
#include "widgets/Style.h"

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

QImage filledPicture(QColor colour, QSize size)
{
    QImage i(size, QImage::Format_RGB32);
    i.fill(colour);
    return i;
}

QString colourOf(const QImage& image)
{
    if (image.isNull())
        return QStringLiteral("none");
    const QColor c = image.pixelColor(image.width() / 2, image.height() / 2);
    auto near = [&](QColor w) {
        return qAbs(c.red() - w.red()) < 40 && qAbs(c.green() - w.green()) < 40 && qAbs(c.blue() - w.blue()) < 40;
    };
    for (const auto& [name, w] : {std::pair{"red", QColor(Qt::red)}, std::pair{"green", QColor(Qt::green)},
                                  std::pair{"blue", QColor(Qt::blue)}})
        if (near(w))
            return QString::fromLatin1(name);
    return QStringLiteral("other");
}
