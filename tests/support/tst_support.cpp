// The fixture's own checks: a test that leaves a message unchecked or asks for a missing
// control fails, and the run goes on with the next test.
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class TestSupport : public QObject {
    Q_OBJECT
private slots:
    void failuresAreReportedAndTheRunGoesOn()
    {
        // The log goes to a file: under Wine a Qt Test program's standard output is lost.
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString log = dir.filePath(QStringLiteral("selfcheck.txt"));
        QProcess p;
        p.start(QStringLiteral(SELFCHECK), {QStringLiteral("-o"), log + QStringLiteral(",txt")});
        QVERIFY(p.waitForFinished(60000));
        QFile file(log);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString out = QString::fromUtf8(file.readAll());
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), 2);
        QVERIFY2(out.contains(QStringLiteral("FAIL!  : SelfCheck::leavesAMessageUnchecked()")), qPrintable(out));
        QVERIFY2(out.contains(QStringLiteral("message not checked by the test: nobody reads this")), qPrintable(out));
        QVERIFY2(
            out.contains(QStringLiteral("FAIL!  : SelfCheck::asksForAMissingControl() missing control txtNonEsiste")),
            qPrintable(out));
        QVERIFY2(out.contains(QStringLiteral("PASS   : SelfCheck::runsAfterwards()")), qPrintable(out));
    }
};

QTEST_GUILESS_MAIN(TestSupport)
#include "tst_support.moc"
