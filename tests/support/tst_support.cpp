// The fixture's own checks: a test that leaves a message unchecked or asks for a missing
// control fails, and the run goes on with the next test.
#include <QProcess>
#include <QtTest>

class TestSupport : public QObject {
    Q_OBJECT
private slots:
    void failuresAreReportedAndTheRunGoesOn()
    {
        QProcess p;
        p.start(QStringLiteral(SELFCHECK), {});
        QVERIFY(p.waitForFinished(60000));
        const QString out = QString::fromUtf8(p.readAllStandardOutput());
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
