// Not a test of its own: tst_support runs it and expects exactly the first two to fail.
#include "Fixture.h"

#include "app/Screens.h"
#include "catalogue/Opere.h"

#include <QLineEdit>

class SelfCheck : public QObject {
    Q_OBJECT
private slots:
    void leavesAMessageUnchecked()
    {
        Fixture f;
        f.ui.message(frmOpere, Ui::Kind::Warning, QStringLiteral("nobody reads this"));
    }
    void asksForAMissingControl()
    {
        Fixture f;
        child<QLineEdit>(frmOpere, "txtNonEsiste")->setText(QStringLiteral("x"));
    }
    void runsAfterwards()
    {
        Fixture f;
        QVERIFY(child<QLineEdit>(frmOpere, "txtCapo"));
    }
};

QTEST_MAIN(SelfCheck)
#include "selfcheck.moc"
