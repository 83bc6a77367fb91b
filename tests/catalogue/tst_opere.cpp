#include <QtTest>
class TestOpere : public QObject { Q_OBJECT };
QTEST_MAIN(TestOpere)
#include "tst_opere.moc"
