// The screens at 125%, 150% and 200% display scaling: every control stays where it is at
// 100% (in the screen's own units), and every picture and toolbar icon is drawn from pixels
// enough for the scale, never enlarged. Qt reads the scale once, when the application starts:
// the test runs itself once per scale (QT_SCALE_FACTOR) on a screen of 1280 x 800 units and
// compares what each run reports.
#include "Fixture.h"

#include "app/Screens.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

namespace {
// Writes one line per named, visible control of every screen the program makes at start-up:
// "geometry <screen>/<control> x y w h", and "blurred <screen>/<control>" for a picture or icon
// with fewer pixels than the scale needs.
int report()
{
    const qreal ratio = qApp->devicePixelRatio();
    Fixture f;
    QTextStream out(stdout);
    const QList<QWidget*> windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        if (!window->objectName().startsWith(QStringLiteral("frm")))
            continue;
        window->show();
        QCoreApplication::processEvents();
        QTest::qWait(20);
        for (QWidget* w : window->findChildren<QWidget*>()) {
            if (w->objectName().isEmpty() || w->objectName().startsWith(QStringLiteral("qt_"))
                || !w->isVisibleTo(window))
                continue;
            const QString name = window->objectName() + u'/' + w->objectName();
            const QPoint at = w->mapTo(window, QPoint(0, 0));
            out << "geometry " << name << ' ' << at.x() << ' ' << at.y() << ' ' << w->width() << ' ' << w->height()
                << '\n';
            if (auto* label = qobject_cast<QLabel*>(w); label && !label->pixmap().isNull()) {
                const QPixmap p = label->pixmap();
                if (p.devicePixelRatio() + 0.01 < ratio)
                    out << "blurred " << name << '\n';
            }
            if (auto* button = qobject_cast<QToolButton*>(w); button && !button->icon().isNull()) {
                const QSize needed = button->iconSize() * ratio;
                const QPixmap p = button->icon().pixmap(button->iconSize(), ratio);
                if (p.width() + 1 < needed.width() && p.height() + 1 < needed.height())
                    out << "blurred " << name << '\n';
            }
        }
        // For a look by eye: BREVANTO_SCALING_PICTURES=<folder> keeps each screen as shown.
        if (const QString folder = qEnvironmentVariable("BREVANTO_SCALING_PICTURES"); !folder.isEmpty())
            window->grab().save(QStringLiteral("%1/%2-%3.png").arg(folder, window->objectName()).arg(ratio));
        window->hide();
    }
    const QStringList problems = f.ui.problems();
    f.ui.reset();
    if (!problems.isEmpty()) {
        QTextStream(stderr) << problems.join(u'\n') << '\n';
        return 1;
    }
    return 0;
}

struct Run {
    QHash<QString, QRect> geometry;
    QStringList blurred;
    QString error;
};

Run runAt(const QString& scale)
{
    QTemporaryDir dir;
    QFile config(dir.filePath(QStringLiteral("schermo.json")));
    config.open(QIODevice::WriteOnly);
    const double f = scale.toDouble();
    // A screen of 1280 x 800 units at every scale.
    config.write(QStringLiteral(R"({"screens": [{"name": "s", "x": 0, "y": 0, "width": %1, "height": %2,
                    "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})")
                     .arg(qRound(1280 * f))
                     .arg(qRound(800 * f))
                     .toUtf8());
    config.close();
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // Named from the working folder: Qt splits the platform's options at colons, as in "C:/".
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen:configfile=schermo.json"));
    p.setWorkingDirectory(dir.path());
    env.insert(QStringLiteral("QT_SCALE_FACTOR"), scale);
    env.insert(QStringLiteral("QT_SCALE_FACTOR_ROUNDING_POLICY"), QStringLiteral("PassThrough"));
    p.setProcessEnvironment(env);
    p.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--report")});
    Run run;
    if (!p.waitForFinished(120000) || p.exitCode() != 0) {
        run.error = QString::fromLocal8Bit(p.readAllStandardError());
        return run;
    }
    for (const QString& line : QString::fromUtf8(p.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts)) {
        const QStringList w = line.trimmed().split(u' '); // CR LF on Windows
        if (w[0] == QStringLiteral("geometry") && w.size() == 6)
            run.geometry.insert(w[1], QRect(w[2].toInt(), w[3].toInt(), w[4].toInt(), w[5].toInt()));
        else if (w[0] == QStringLiteral("blurred"))
            run.blurred.append(w[1]);
    }
    return run;
}
} // namespace

class TestScaling : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void layoutAndPictures_data();
    void layoutAndPictures();

private:
    Run base_;
};

void TestScaling::initTestCase()
{
    base_ = runAt(QStringLiteral("1"));
    QVERIFY2(base_.error.isEmpty(), qPrintable(base_.error));
    QVERIFY(base_.geometry.size() > 100);
    QVERIFY2(base_.blurred.isEmpty(), qPrintable(base_.blurred.join(u' ')));
}

void TestScaling::layoutAndPictures_data()
{
    QTest::addColumn<QString>("scale");
    QTest::newRow("125%") << "1.25";
    QTest::newRow("150%") << "1.5";
    QTest::newRow("200%") << "2";
}

void TestScaling::layoutAndPictures()
{
    QFETCH(QString, scale);
    const Run scaled = runAt(scale);
    QVERIFY2(scaled.error.isEmpty(), qPrintable(scaled.error));
    QVERIFY2(scaled.blurred.isEmpty(), qPrintable(QStringLiteral("drawn enlarged: ") + scaled.blurred.join(u' ')));
    QCOMPARE(scaled.geometry.size(), base_.geometry.size());
    QStringList moved;
    for (auto it = base_.geometry.cbegin(); it != base_.geometry.cend(); ++it) {
        const QRect at = scaled.geometry.value(it.key());
        // A unit of rounding either way, where a fractional scale meets whole pixels.
        if (qAbs(at.x() - it->x()) > 2 || qAbs(at.y() - it->y()) > 2 || qAbs(at.width() - it->width()) > 2
            || qAbs(at.height() - it->height()) > 2)
            moved << QStringLiteral("%1 %2,%3 %4x%5 -> %6,%7 %8x%9")
                         .arg(it.key())
                         .arg(it->x())
                         .arg(it->y())
                         .arg(it->width())
                         .arg(it->height())
                         .arg(at.x())
                         .arg(at.y())
                         .arg(at.width())
                         .arg(at.height());
    }
    QVERIFY2(moved.isEmpty(), qPrintable(moved.join(QStringLiteral("\n"))));
}

int main(int argc, char** argv)
{
    if (argc == 2 && qstrcmp(argv[1], "--report") == 0) {
        QApplication app(argc, argv);
        return report();
    }
    QCoreApplication app(argc, argv);
    TestScaling test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_scaling.moc"
