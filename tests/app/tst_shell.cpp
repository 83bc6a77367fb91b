#include "Fixture.h"
#include "TestPlatform.h"

#include "app/Avvio.h"
#include "app/CambiaPassword.h"
#include "app/Crypt.h"
#include "app/Password.h"
#include "app/Screens.h"
#include "attachments/AllegaCartella.h"
#include "catalogue/Opere.h"
#include "export/ExpOpere.h"
#include "printing/AnteprimaScheda.h"
#include "printing/StampaOpera.h"
#include "printing/StampaScheda.h"
#include "search/DaSaldare.h"
#include "search/Opere_Disponibili.h"
#include "search/TrovaInterventi.h"
#include "search/TrovaOpere.h"
#include "widgets/Buttons.h"
#include "widgets/Messages.h"
#include "widgets/PictureFrame.h"

#include <QLineEdit>
#include <QPushButton>

namespace {
const QString kWrong = QStringLiteral("Attenzione: password errata.");
const QString kReadError = QString::fromUtf8("Attenzione: si è verificato un errore durante la procedura di lettura "
                                             "della password. Si consiglia di reinstallare il software.");
const QString kChangeError = QString::fromUtf8("Attenzione: si è verificato un errore durante la procedura di modifica "
                                               "della password. Si consiglia di reinstallare il software.");

void writeStore(const Fixture& f, const QByteArray& value)
{
    writeBytes(f.file("unins000.dll"), "[Accesso]\r\nValore=" + value + "\r\n");
}

QByteArray scrambled(const QString& plain)
{
    return Crypt::Scramble(plain).toLatin1();
}

void typeLogin(const QString& text)
{
    activate(frmPassword);
    QLineEdit* e = child<QLineEdit>(frmPassword, "txtPassword");
    e->clear();
    // keyClicks only types Latin-1; other characters are inserted as a paste would.
    bool latin1 = true;
    for (QChar c : text)
        latin1 = latin1 && c.unicode() < 0x80;
    if (latin1)
        QTest::keyClicks(e, text);
    else
        e->insert(text);
}
} // namespace

class TestShell : public QObject {
    Q_OBJECT

private slots:
    void screensCreatedWithNames();
    void loginAccepts_data();
    void loginAccepts();
    void loginRefuses_data();
    void loginRefuses();
    void loginReadError_data();
    void loginReadError();
    void okEnabling();
    void enterRunsOkOnlyWithText();
    void passwordChangeFlow();
    void passwordChangeMessages();
    void passwordChangeRefusesUnstorable_data();
    void passwordChangeRefusesUnstorable();
    void passwordChangeStoreError();
    void passwordChangeOnAFullDisk();
    void passwordChangeEnterChainAndEffects();
    void launcherOpensCatalogueAndSite();
    void closingCardReturnsToLauncher();
};

void TestShell::screensCreatedWithNames()
{
    Fixture f;
    QCOMPARE(frmPassword->objectName(), QString("frmPassword"));
    QCOMPARE(frmCambiaPassword->objectName(), QString("frmCambiaPassword"));
    QCOMPARE(frmAvvio->objectName(), QString("frmAvvio"));
    QCOMPARE(frmOpere->objectName(), QString("frmOpere"));
    QCOMPARE(frmCambiaPassword->windowTitle(), QString(" Cambia password"));
    QCOMPARE(frmOpere->windowTitle(), QString(" Brevanto - Archivio Opere"));
    // The later screens, with the captions they are created with.
    const std::pair<QWidget*, const char*> screens[] = {
        {frmAllegaCartella, " Allega file"},
        {frmStampaOpera, " Stampa scheda"},
        {frmExpOpere, " Esporta archivio opere d'arte in Excel"},
        {frmOpere_Disponibili, " Riepilogo opere d'arte non vendute"},
        {frmTrovaOpere, " Trova opere d'arte in archivio"},
        {frmAnteprimaScheda, " Anteprima di stampa"},
        {frmStampaScheda, " Stampa documento"},
        {frmDaSaldare, " Riepilogo conti non saldati"},
        {frmTrovaInterventi, " Trova relazioni tecniche di restauro in archivio"},
    };
    for (const auto& [screen, caption] : screens) {
        QVERIFY(screen);
        QCOMPARE(screen->windowTitle(), QString::fromUtf8(caption));
        QCOMPARE(screen->objectName(), QString::fromLatin1(screen->metaObject()->className()).mid(1));
    }
    for (QWidget* w : QApplication::topLevelWidgets())
        QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
    QVERIFY(!child<QPushButton>(frmPassword, "cmdOK")->isEnabled());
    QVERIFY(!(frmPassword->windowFlags() & Qt::WindowCloseButtonHint));
}

void TestShell::loginAccepts_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("typed");
    QTest::newRow("lower case") << "PRIMAVERILENZA"
                                << "primaverilenza";
    QTest::newRow("mixed case") << "PRIMAVERILENZA"
                                << "PrimaVerilenza";
    QTest::newRow("spaces around") << "PRIMAVERILENZA"
                                   << "   primaverilenza  ";
    QTest::newRow("inner space") << "DUE PAROLE"
                                 << "due parole";
    QTest::newRow("accented capital") << QString::fromUtf8("CITTÀ") << QString::fromUtf8("cittÀ");
}

void TestShell::loginAccepts()
{
    QFETCH(QString, stored);
    QFETCH(QString, typed);
    Fixture f;
    writeStore(f, scrambled(stored));
    typeLogin(typed);
    frmPassword->cmdOKClick();
    QVERIFY(frmAvvio->isVisible());
    QVERIFY(!frmPassword->isVisible());
    QCOMPARE(frmPassword->txtPassword->text(), typed);
    VERIFY_UI_CLEAN(f.ui);
}

void TestShell::loginRefuses_data()
{
    QTest::addColumn<QByteArray>("store");
    QTest::addColumn<QString>("typed");
    QTest::newRow("wrong") << ("[Accesso]\r\nValore=" + scrambled("PRIMAVERILENZA")) << "primavera";
    QTest::newRow("inner space differs") << ("[Accesso]\r\nValore=" + scrambled("DUEPAROLE")) << "due parole";
    QTest::newRow("accented lower vs upper")
        << ("[Accesso]\r\nValore=" + scrambled(QString::fromUtf8("CITTÀ"))) << QString::fromUtf8("città");
    QTest::newRow("no store") << QByteArray() << "primaverilenza";
    QTest::newRow("no key") << QByteArray("[Accesso]\r\nAltro=1\r\n") << "primaverilenza";
    QTest::newRow("empty value") << QByteArray("[Accesso]\r\nValore=\r\n") << "primaverilenza";
    QTest::newRow("odd digit ignored, lower hex")
        << ("[Accesso]\r\nValore=" + scrambled("ABC").toLower() + "7") << "abcd";
}

void TestShell::loginRefuses()
{
    QFETCH(QByteArray, store);
    QFETCH(QString, typed);
    Fixture f;
    if (!store.isEmpty())
        writeBytes(f.file("unins000.dll"), store);
    typeLogin(typed);
    frmPassword->cmdOKClick();
    QCOMPARE(f.ui.takeMessages(), QList<TestUi::Message>({{Ui::Kind::Plain, kWrong, {}}}));
    QVERIFY(frmPassword->isVisible());
    QVERIFY(!frmAvvio->isVisible());
    QCOMPARE(frmPassword->txtPassword->text(), QString());
    QVERIFY(!frmPassword->cmdOK->isEnabled());
    QCOMPARE(QApplication::focusWidget(), frmPassword->txtPassword);
    VERIFY_UI_CLEAN(f.ui);
}

void TestShell::loginReadError_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::newRow("space inside") << QByteArray("9E 1");
    QTest::newRow("letter beyond F") << QByteArray("9G");
}

void TestShell::loginReadError()
{
    QFETCH(QByteArray, value);
    Fixture f;
    writeStore(f, value);
    typeLogin("primaverilenza");
    frmPassword->cmdOKClick();
    QCOMPARE(f.ui.takeMessages(), QList<TestUi::Message>({{Ui::Kind::Plain, kReadError, {}}}));
    QCOMPARE(frmPassword->txtPassword->text(), QString("primaverilenza"));
    QVERIFY(frmPassword->isVisible());
    VERIFY_UI_CLEAN(f.ui);
}

void TestShell::okEnabling()
{
    Fixture f;
    typeLogin("   ");
    QVERIFY(!frmPassword->cmdOK->isEnabled());
    QTest::keyClicks(frmPassword->txtPassword, "x");
    QVERIFY(frmPassword->cmdOK->isEnabled());
    QTest::keyClick(frmPassword->txtPassword, Qt::Key_Backspace);
    QVERIFY(!frmPassword->cmdOK->isEnabled());
}

void TestShell::enterRunsOkOnlyWithText()
{
    Fixture f;
    writeStore(f, scrambled("PRIMAVERILENZA"));
    typeLogin("  ");
    QTest::keyClick(frmPassword->txtPassword, Qt::Key_Return);
    QVERIFY(frmPassword->isVisible());
    typeLogin("primaverilenza");
    QTest::keyClick(frmPassword->txtPassword, Qt::Key_Return);
    QVERIFY(frmAvvio->isVisible());
    VERIFY_UI_CLEAN(f.ui);
}

void TestShell::passwordChangeFlow()
{
    Fixture f;
    writeStore(f, scrambled("PRIMAVERILENZA"));
    activate(frmPassword);
    QTest::mouseClick(child<QPushButton>(frmPassword, "btnCambiaPassword"), Qt::LeftButton);
    QVERIFY(QTest::qWaitForWindowActive(frmCambiaPassword));
    QVERIFY(frmCambiaPassword->isVisible());
    QVERIFY(!frmPassword->isVisible());
    QCOMPARE(QApplication::focusWidget(), frmCambiaPassword->txtPasswordOld);

    QTest::keyClicks(frmCambiaPassword->txtPasswordOld, "PrimaVerilenza");
    QTest::keyClicks(frmCambiaPassword->txtPasswordNew, "  nuova chiave ");
    QVERIFY(!frmCambiaPassword->cmdOK->isEnabled());
    QTest::keyClicks(frmCambiaPassword->txtConferma, "nuova chiave");
    QVERIFY(frmCambiaPassword->cmdOK->isEnabled());
    QTest::mouseClick(frmCambiaPassword->cmdOK, Qt::LeftButton);
    QCOMPARE(
        f.ui.takeMessages(),
        QList<TestUi::Message>({{Ui::Kind::Plain, QString("Modifica della password completata con successo."), {}}}));
    QVERIFY(!frmCambiaPassword->isVisible());
    QVERIFY(frmPassword->isVisible());
    QCOMPARE(frmPassword->txtPassword->text(), QString());
    QCOMPARE(readBytes(f.file("unins000.dll")), "[Accesso]\r\nValore=" + scrambled("NUOVA CHIAVE") + "\r\n");

    typeLogin("NUOVA chiave");
    frmPassword->cmdOKClick();
    QVERIFY(frmAvvio->isVisible());
    VERIFY_UI_CLEAN(f.ui);
}

void TestShell::passwordChangeMessages()
{
    Fixture f;
    writeStore(f, scrambled("VECCHIA"));
    auto* c = frmCambiaPassword;
    activate(c);

    // Old password wrong: only the old field is emptied.
    QTest::keyClicks(c->txtPasswordOld, "sbagliata");
    QTest::keyClicks(c->txtPasswordNew, "nuova");
    QTest::keyClicks(c->txtConferma, "nuova");
    c->cmdOKClick();
    QCOMPARE(f.ui.takeMessages(),
             QList<TestUi::Message>({{Ui::Kind::Plain, QString("Attenzione: vecchia password errata."), {}}}));
    QCOMPARE(c->txtPasswordOld->text(), QString());
    QCOMPARE(c->txtPasswordNew->text(), QString("nuova"));
    QCOMPARE(QApplication::focusWidget(), c->txtPasswordOld);

    // Confirmation compared exactly: lower and upper case differ.
    QTest::keyClicks(c->txtPasswordOld, "vecchia");
    c->txtConferma->setText("NUOVA");
    c->cmdOKClick();
    QCOMPARE(f.ui.takeMessages().value(0).text,
             QString::fromUtf8("Attenzione: la nuova password non è stata confermata correttamente. E' necessario "
                               "reinserire entrambi i valori."));
    QCOMPARE(c->txtPasswordNew->text(), QString());
    QCOMPARE(c->txtConferma->text(), QString());
    QCOMPARE(c->txtPasswordOld->text(), QString("vecchia"));
    QCOMPARE(QApplication::focusWidget(), c->txtPasswordNew);
    QCOMPARE(readBytes(f.file("unins000.dll")), "[Accesso]\r\nValore=" + scrambled("VECCHIA") + "\r\n");

    // Chiudi after typing leaves the store alone and empties the login field.
    QTest::keyClicks(c->txtPasswordNew, "altro");
    frmPassword->txtPassword->setText("digitato");
    QTest::mouseClick(child<QPushButton>(c, "cmdEsci"), Qt::LeftButton);
    QVERIFY(!c->isVisible());
    QVERIFY(frmPassword->isVisible());
    QCOMPARE(frmPassword->txtPassword->text(), QString());
    QCOMPARE(readBytes(f.file("unins000.dll")), "[Accesso]\r\nValore=" + scrambled("VECCHIA") + "\r\n");

    // Showing again starts from empty fields.
    c->show();
    QCOMPARE(c->txtPasswordOld->text(), QString());
    QVERIFY(!c->cmdOK->isEnabled());
    VERIFY_UI_CLEAN(f.ui);
}

void TestShell::passwordChangeRefusesUnstorable_data()
{
    QTest::addColumn<QString>("password");
    QTest::newRow("euro sign") << QString::fromUtf8("prezzo€");
    QTest::newRow("256 characters") << QString(256, QChar('a'));
}

void TestShell::passwordChangeRefusesUnstorable()
{
    QFETCH(QString, password);
    Fixture f;
    writeStore(f, scrambled("VECCHIA"));
    auto* c = frmCambiaPassword;
    c->show();
    c->txtPasswordOld->setText("vecchia");
    c->txtPasswordNew->setText(password);
    c->txtConferma->setText(password);
    c->cmdOKClick();
    QCOMPARE(f.ui.takeMessages(),
             QList<TestUi::Message>(
                 {{Ui::Kind::Warning,
                   QString("Attenzione: la nuova password contiene caratteri non ammessi o supera i 255 caratteri."),
                   {}}}));
    QVERIFY(c->isVisible());
    QCOMPARE(readBytes(f.file("unins000.dll")), "[Accesso]\r\nValore=" + scrambled("VECCHIA") + "\r\n");
    VERIFY_UI_CLEAN(f.ui);
}

void TestShell::passwordChangeStoreError()
{
    Fixture f;
    writeStore(f, "ZZ");
    auto* c = frmCambiaPassword;
    c->show();
    c->txtPasswordOld->setText("x");
    c->txtPasswordNew->setText("y");
    c->txtConferma->setText("y");
    c->cmdOKClick();
    QCOMPARE(f.ui.takeMessages(), QList<TestUi::Message>({{Ui::Kind::Plain, kChangeError, {}}}));
    QCOMPARE(c->txtPasswordOld->text(), QString("x"));
    QVERIFY(c->isVisible());
    VERIFY_UI_CLEAN(f.ui);
}

void TestShell::passwordChangeOnAFullDisk()
{
    Fixture f;
    writeStore(f, scrambled("VECCHIA"));
    const QByteArray before = readBytes(f.file("unins000.dll"));
    auto* c = frmCambiaPassword;
    c->show();
    c->txtPasswordOld->setText("vecchia");
    c->txtPasswordNew->setText(QString(200, u'n'));
    c->txtConferma->setText(QString(200, u'n'));
    {
        const auto full = testplatform::limitFileSize(64);
        if (!full)
            QSKIP("This system cannot make a disk full on request.");
        c->cmdOKClick();
    }
    // Never "changed with success" for a store that was not written; the old one still opens.
    QCOMPARE(f.ui.takeMessages(), QList<TestUi::Message>({{Ui::Kind::Plain, kChangeError, {}}}));
    QCOMPARE(readBytes(f.file("unins000.dll")), before);
    QVERIFY(c->isVisible());
}

void TestShell::passwordChangeEnterChainAndEffects()
{
    Fixture f;
    auto* c = frmCambiaPassword;
    activate(c);
    QWidget* effOld = child<QWidget>(c, "effPasswordOld");
    QWidget* effNew = child<QWidget>(c, "effPasswordNew");
    QVERIFY(effOld->isVisible());
    QTest::keyClick(c->txtPasswordOld, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), c->txtPasswordNew);
    QVERIFY(!effOld->isVisible());
    QVERIFY(effNew->isVisible());
    // The style sheet's colours: yellow inside, the outline running from yellow to white.
    const QImage look = effNew->grab().toImage();
    QCOMPARE(look.pixelColor(look.width() / 2, look.height() / 2), QColor(0xFF, 0xFF, 0x00));
    QCOMPARE(look.pixelColor(look.width() / 2, look.height() - 2).blue() > 0xC0, true);
    QTest::keyClick(c->txtPasswordNew, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), c->txtConferma);
    c->txtPasswordOld->setText("a");
    c->txtPasswordNew->setText("b");
    c->txtConferma->setText("b");
    QTest::keyClick(c->txtConferma, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), c->txtPasswordOld);
    VERIFY_UI_CLEAN(f.ui); // Enter never ran OK: no message
}

void TestShell::launcherOpensCatalogueAndSite()
{
    Fixture f;
    frmAvvio->show();
    QTest::mouseClick(child<QWidget>(frmAvvio, "btnApp01"), Qt::LeftButton);
    QVERIFY(frmOpere->isVisible());
    QVERIFY(frmOpere->windowState() & Qt::WindowMaximized);
    QVERIFY(!frmAvvio->isVisible());
    frmOpere->hide();
    frmAvvio->show();
    QTest::mouseClick(child<QWidget>(frmAvvio, "imgSito"), Qt::LeftButton);
    QCOMPARE(f.ui.takeOpened(), QStringList({maker::kWeb}));
    VERIFY_UI_CLEAN(f.ui);
}

void TestShell::closingCardReturnsToLauncher()
{
    Fixture f;
    frmAvvio->openCatalogue();
    QTest::mouseClick(frmOpere->cmdEsci, Qt::LeftButton);
    QVERIFY(!frmOpere->isVisible());
    QVERIFY(frmAvvio->isVisible());
}

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
