#include "app/Crypt.h"
#include "app/PasswordStore.h"
#include "storage/IoError.h"
#include "storage/ProgramDir.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// Scrambling worked out by hand from the key schedule (K0 = 57309, K' = (c + K) * 40503
// + 29437 mod 65536), independently of the code under test.
static QString referenceScramble(const QString& plain)
{
    unsigned k = 57309;
    QString out;
    for (QChar ch : plain) {
        const unsigned c = (ch.unicode() & 0xFF) ^ (k >> 8);
        out += QStringLiteral("%1").arg(c, 2, 16, QChar('0')).toUpper();
        k = ((c + k) * 40503u + 29437u) % 65536u;
    }
    return out;
}

class TestCrypt : public QObject {
    Q_OBJECT

private slots:
    void scrambleKnownValues_data();
    void scrambleKnownValues();
    void roundTrip();
    void unscrambleOddAndLowerCase();
    void unscrambleRejectsNonHex_data();
    void unscrambleRejectsNonHex();
    void storable();
    void storeWritesNormalisedPassword();
};

void TestCrypt::scrambleKnownValues_data()
{
    QTest::addColumn<QString>("plain");
    QTest::addColumn<QString>("hex");
    // First byte: 'A' (0x41) XOR (57309 >> 8 = 0xDF) = 0x9E.
    QTest::newRow("A") << "A"
                       << "9E";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("initial password") << "PRIMAVERILENZA" << referenceScramble("PRIMAVERILENZA");
    QTest::newRow("latin-1") << QString::fromUtf8("CITTÀ ÿ") << referenceScramble(QString::fromUtf8("CITTÀ ÿ"));
}

void TestCrypt::scrambleKnownValues()
{
    QFETCH(QString, plain);
    QFETCH(QString, hex);
    QCOMPARE(Crypt::Scramble(plain), hex);
    QCOMPARE(Crypt::Scramble(plain).size(), plain.size() * 2);
}

void TestCrypt::roundTrip()
{
    QString all;
    for (int i = 0; i < 255; ++i)
        all += QChar(char16_t(i + 1));
    QCOMPARE(Crypt::Unscramble(Crypt::Scramble(all)), all);
    QCOMPARE(Crypt::Unscramble(Crypt::Scramble("PRIMAVERILENZA")), QString("PRIMAVERILENZA"));
}

void TestCrypt::unscrambleOddAndLowerCase()
{
    const QString hex = Crypt::Scramble("SEGRETO");
    QCOMPARE(Crypt::Unscramble(hex + "F"), QString("SEGRETO"));
    QCOMPARE(Crypt::Unscramble(hex.toLower()), QString("SEGRETO"));
    QCOMPARE(Crypt::Unscramble("7"), QString());
}

void TestCrypt::unscrambleRejectsNonHex_data()
{
    QTest::addColumn<QString>("hex");
    QTest::newRow("inner space") << "9E 1";
    QTest::newRow("letter beyond F") << "9G";
    QTest::newRow("late pair") << Crypt::Scramble("ABC") + "ZZ";
}

void TestCrypt::unscrambleRejectsNonHex()
{
    QFETCH(QString, hex);
    QVERIFY_THROWS_EXCEPTION(IoError, Crypt::Unscramble(hex));
}

void TestCrypt::storable()
{
    QVERIFY(Crypt::storable(QString(255, QChar('x'))));
    QVERIFY(!Crypt::storable(QString(256, QChar('x'))));
    QVERIFY(Crypt::storable(QString::fromUtf8("ÿÀ")));
    QVERIFY(!Crypt::storable(QString::fromUtf8("€")));
}

void TestCrypt::storeWritesNormalisedPassword()
{
    QTemporaryDir dir;
    programdir::Override here(dir.path());
    QCOMPARE(passwordstore::stored(), QString());
    passwordstore::store("  nuova Parola  ");
    QFile f(dir.filePath("unins000.dll"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("[Accesso]\r\nValore=") + referenceScramble("NUOVA PAROLA").toLatin1() + "\r\n");
    QCOMPARE(passwordstore::stored(), QString("NUOVA PAROLA"));
}

QTEST_GUILESS_MAIN(TestCrypt)
#include "tst_crypt.moc"
