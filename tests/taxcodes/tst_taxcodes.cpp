#include "taxcodes/Checks.h"

#include <QtTest>

class TestTaxCodes : public QObject {
    Q_OBJECT

private slots:
    void codiceFiscale_data();
    void codiceFiscale();
    void partitaIva_data();
    void partitaIva();
    void offices();
};

void TestTaxCodes::codiceFiscale_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("wellFormed");
    QTest::addColumn<bool>("valid");
    QTest::newRow("fifteen A then I") << "AAAAAAAAAAAAAAAI" << true << true;
    QTest::newRow("fifteen 0 then I") << "000000000000000I" << true << true;
    QTest::newRow("fifteen A then J") << "AAAAAAAAAAAAAAAJ" << true << false;
    QTest::newRow("published example") << "RSSMRA85T10A562S" << true << true;
    QTest::newRow("lower case") << "rssmra85t10a562s" << true << true;
    QTest::newRow("digit for letter of same rank") << "RSSMRA85T10AF62S" << true << true;
    QTest::newRow("one character changed") << "RSSMRB85T10A562S" << true << false;
    QTest::newRow("digit as check character") << "RSSMRA85T10A5621" << true << false;
    QTest::newRow("empty") << "" << false << false;
    QTest::newRow("fifteen") << "RSSMRA85T10A562" << false << false;
    QTest::newRow("inner blank") << "RSSMRA85 10A562S" << false << false;
    QTest::newRow("punctuation") << "RSSMRA85T10A562." << false << false;
}

void TestTaxCodes::codiceFiscale()
{
    QFETCH(QString, code);
    QFETCH(bool, wellFormed);
    QFETCH(bool, valid);
    QCOMPARE(taxcodes::codiceFiscaleWellFormed(code), wellFormed);
    QCOMPARE(taxcodes::codiceFiscaleValid(code), valid);
}

void TestTaxCodes::partitaIva_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<bool>("valid");
    QTest::newRow("eleven zeros") << "00000000000" << true;
    QTest::newRow("Torino") << "00000000018" << true;
    QTest::newRow("Monza") << "00000000968" << true;
    QTest::newRow("Bologna 2 as 120") << "00000001206" << true;
    QTest::newRow("one digit changed") << "00000000019" << false;
    QTest::newRow("adjacent swap") << "00000000108" << false;
    QTest::newRow("swap of 0 and 9 undetected") << "00000009068" << true;
    QTest::newRow("letter inside") << "0000000001A" << false;
    QTest::newRow("ten digits") << "0000000001" << false;
    QTest::newRow("blank inside") << "00000 00018" << false;
}

void TestTaxCodes::partitaIva()
{
    QFETCH(QString, number);
    QFETCH(bool, valid);
    QCOMPARE(taxcodes::partitaIvaValid(number), valid);
}

void TestTaxCodes::offices()
{
    QCOMPARE(taxcodes::ufficioIva("001"), QString("Torino"));
    QCOMPARE(taxcodes::ufficioIva("040"), QString::fromUtf8("Forlì"));
    QCOMPARE(taxcodes::ufficioIva("096"), QString("Monza (Milano 2)"));
    QCOMPARE(taxcodes::ufficioIva("099"), QString("Chiavari (Genova 2)"));
    QCOMPARE(taxcodes::ufficioIva("102"), QString("Napoli 2"));
    QCOMPARE(taxcodes::ufficioIva("120"), QString("Bologna 2"));
    QCOMPARE(taxcodes::ufficioIva("121"), QString("Napoli 2"));
    QCOMPARE(taxcodes::ufficioIva("000"), QString());
    QCOMPARE(taxcodes::ufficioIva("103"), QString());
    QCOMPARE(taxcodes::ufficioIva("119"), QString());
    QCOMPARE(taxcodes::ufficioIva("122"), QString());
    int known = 0;
    for (int i = 0; i < 1000; ++i)
        known += !taxcodes::ufficioIva(QStringLiteral("%1").arg(i, 3, 10, QChar('0'))).isEmpty();
    QCOMPARE(known, 104);
}

QTEST_GUILESS_MAIN(TestTaxCodes)
#include "tst_taxcodes.moc"
