#include "Fixture.h"

#include "app/Screens.h"
#include "catalogue/Opere.h"
#include "taxcodes/CodFisc.h"
#include "taxcodes/PartitaIVA.h"

#include <QLineEdit>
#include <QPushButton>

namespace {
const QString kComposition =
    QStringLiteral("Attenzione: il codice fiscale deve essere composto da 16 caratteri alfanumerici.");
const QString kLength = QStringLiteral("Attenzione: la partita IVA deve essere composta da 11 caratteri numerici.");
const QString kIvaWrong =
    QString::fromUtf8("Attenzione: il numero di partita IVA digitato risulta ERRATO!\r\n\r\nNon è quindi possibile "
                      "fornire informazioni relative all'Ufficio IVA che lo ha rilasciato.");
QString ivaValid(const QString& office)
{
    return QStringLiteral("Il numero di partita IVA digitato risulta VALIDO.\r\n\r\nE' stato rilasciato dall'Ufficio "
                          "IVA del Comune di ")
           + office + ".";
}
} // namespace

class TestCheckScreens : public QObject {
    Q_OBJECT

private slots:
    void cardOpensTheRightCheck_data();
    void cardOpensTheRightCheck();
    void codiceFiscaleScreen();
    void codiceFiscaleResults_data();
    void codiceFiscaleResults();
    void partitaIvaScreen();
    void partitaIvaResults_data();
    void partitaIvaResults();
};

void TestCheckScreens::cardOpensTheRightCheck_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("screen");
    QTest::addColumn<QString>("field");
    QTest::newRow("eleven digits") << " 12345678901 "
                                   << "frmPartitaIva"
                                   << "txtPartitaIva";
    QTest::newRow("a letter") << "RSSMRA85T10A562S"
                              << "frmCodFisc"
                              << "txtCodFisc";
    QTest::newRow("empty") << ""
                           << "frmCodFisc"
                           << "txtCodFisc";
}

void TestCheckScreens::cardOpensTheRightCheck()
{
    QFETCH(QString, code);
    QFETCH(QString, screen);
    QFETCH(QString, field);
    Fixture f;
    frmOpere->show();
    frmOpere->txtCodFisc->setText(code);
    QString seen;
    f.ui.onExec([&](QDialog* d) {
        seen = d->findChild<QLineEdit*>(field) ? d->findChild<QLineEdit*>(field)->text() : QStringLiteral("<missing>");
        return int(QDialog::Rejected);
    });
    frmOpere->btnCodFiscClick();
    QCOMPARE(f.ui.takeExecuted(), QStringList{screen});
    QCOMPARE(seen, code.trimmed());
    QCOMPARE(frmOpere->txtCodFisc->text(), code); // the check never changes the card
    VERIFY_UI_CLEAN(f.ui);
}

void TestCheckScreens::codiceFiscaleScreen()
{
    Fixture f;
    TfrmCodFisc screen(f.ui);
    QCOMPARE(screen.windowTitle(), QString(" Controllo codice fiscale"));
    QCOMPARE(screen.size(), QSize(478, 254));
    QCOMPARE(screen.txtCodFisc->maxLength(), 16);
    activate(&screen);
    QCOMPARE(QApplication::focusWidget(), screen.txtCodFisc);
    QTest::keyClicks(screen.txtCodFisc, " rss");
    QCOMPARE(screen.txtCodFisc->text(), QString("RSS"));
    QTest::keyClick(screen.txtCodFisc, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), screen.btnControlla);
    QVERIFY(screen.isVisible()); // Enter does not check

    QTest::mouseClick(screen.btnControlla, Qt::LeftButton);
    QCOMPARE(f.ui.takeMessages(), QList<TestUi::Message>({{Ui::Kind::Warning, kComposition, {}}}));
    QVERIFY(screen.isVisible());
    QCOMPARE(QApplication::focusWidget(), screen.txtCodFisc);
    VERIFY_UI_CLEAN(f.ui);
}

void TestCheckScreens::codiceFiscaleResults_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("closes");
    const QString valid = QString::fromUtf8("Il codice fiscale digitato è VALIDO.");
    const QString wrong = QString::fromUtf8("Attenzione: il codice fiscale digitato è ERRATO.");
    QTest::newRow("empty") << "" << int(Ui::Kind::Warning) << kComposition << false;
    QTest::newRow("A then I") << "AAAAAAAAAAAAAAAI" << int(Ui::Kind::Information) << valid << true;
    QTest::newRow("0 then I") << "000000000000000I" << int(Ui::Kind::Information) << valid << true;
    QTest::newRow("A then J") << "AAAAAAAAAAAAAAAJ" << int(Ui::Kind::Warning) << wrong << true;
    QTest::newRow("lower case valid") << "rssmra85t10a562s" << int(Ui::Kind::Information) << valid << true;
    QTest::newRow("inner blank") << "RSSMRA85 10A562S" << int(Ui::Kind::Warning) << kComposition << false;
}

void TestCheckScreens::codiceFiscaleResults()
{
    QFETCH(QString, code);
    QFETCH(int, kind);
    QFETCH(QString, message);
    QFETCH(bool, closes);
    Fixture f;
    TfrmCodFisc screen(f.ui);
    screen.show();
    screen.txtCodFisc->setText(code);
    screen.btnControllaClick();
    QCOMPARE(f.ui.takeMessages(), QList<TestUi::Message>({{Ui::Kind(kind), message, {}}}));
    QCOMPARE(screen.isVisible(), !closes);
}

void TestCheckScreens::partitaIvaScreen()
{
    Fixture f;
    TfrmPartitaIva screen(f.ui);
    QCOMPARE(screen.windowTitle(), QString(" Controllo partita IVA"));
    QCOMPARE(screen.size(), QSize(480, 254));
    QCOMPARE(screen.txtPartitaIva->maxLength(), 11);
    activate(&screen);
    QTest::keyClicks(screen.txtPartitaIva, "12a-b 3.4");
    QCOMPARE(screen.txtPartitaIva->text(), QString("1234"));
    QTest::keyClick(screen.txtPartitaIva, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), screen.btnControlla);
    VERIFY_UI_CLEAN(f.ui);
}

void TestCheckScreens::partitaIvaResults_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("closes");
    QTest::newRow("empty") << "" << int(Ui::Kind::Warning) << kLength << false;
    QTest::newRow("ten digits") << "0000000001" << int(Ui::Kind::Warning) << kLength << false;
    QTest::newRow("eleven zeros") << "00000000000" << int(Ui::Kind::Information) << ivaValid("") << true;
    QTest::newRow("Torino") << "00000000018" << int(Ui::Kind::Information) << ivaValid("Torino") << true;
    QTest::newRow("Monza") << "00000000968" << int(Ui::Kind::Information) << ivaValid("Monza (Milano 2)") << true;
    QTest::newRow("120") << "00000001206" << int(Ui::Kind::Information) << ivaValid("Bologna 2") << true;
    QTest::newRow("wrong digit") << "00000000019" << int(Ui::Kind::Warning) << kIvaWrong << true;
    QTest::newRow("pasted letter") << "0000000001A" << int(Ui::Kind::Warning) << kIvaWrong << true;
}

void TestCheckScreens::partitaIvaResults()
{
    QFETCH(QString, number);
    QFETCH(int, kind);
    QFETCH(QString, message);
    QFETCH(bool, closes);
    Fixture f;
    TfrmPartitaIva screen(f.ui);
    screen.show();
    screen.txtPartitaIva->setText(number);
    screen.btnControllaClick();
    QCOMPARE(f.ui.takeMessages(), QList<TestUi::Message>({{Ui::Kind(kind), message, {}}}));
    QCOMPARE(screen.isVisible(), !closes);
}

QTEST_MAIN(TestCheckScreens)
#include "tst_checkscreens.moc"
