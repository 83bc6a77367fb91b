#include "TestPlatform.h"
// The launcher's backup buttons and the automatic backup at the end, driven through the real
// launcher and the scripted Ui: what is asked, what is said, and what ends up on disk.
#include "Fixture.h"

#include "app/Avvio.h"
#include "app/Screens.h"
#include "backup/BackupReader.h"
#include "backup/BackupWriter.h"
#include "catalogue/Opere.h"
#include "records/SchedaOpera.h"
#include "storage/IniFile.h"
#include "widgets/Buttons.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>

namespace {
QByteArray artworks(const QStringList& titles)
{
    QByteArray out;
    for (const QString& title : titles) {
        TSchedaOpera r;
        r[TSchedaOpera::Titolo] = title;
        out += r.encode();
    }
    return out;
}

void fill(const Fixture& f, const QStringList& titles)
{
    writeBytes(f.file("Inventario_Opere.pro"), artworks(titles));
    writeBytes(f.file("Relazioni_Tecniche_Restauro.pro"), QByteArray(2 * 11895, ' '));
    QDir().mkpath(f.file("Inventario"));
    writeBytes(f.file("Inventario/Opera_1.jpg"), QByteArray(300000, 'j'));
}

QString titleShown()
{
    return child<QLineEdit>(frmOpere, qPrintable(TSchedaOpera::control(TSchedaOpera::Titolo)))->text();
}

void click(const char* name)
{
    QTest::mouseClick(child<ClickLabel>(frmAvvio, name), Qt::LeftButton);
}

// A backup of the fixture's laboratory, written outside it.
QString backupOf(const QString& folder)
{
    NoProgress quiet;
    return writeBackup(QDir(folder).filePath("copia.zip"), quiet).path;
}

const QString kInvalid = InvalidBackup::kText;
} // namespace

class TestBackupScreens : public QObject {
    Q_OBJECT

private slots:
    void backupAsksWhereAndSaysWhatItHolds();
    void backupFailureWarns();
    void backupProposesAFreeName();
    void backupTellsWhatIsNoFile();
    void backupRefusedWhileARestoreIsPending();
    void restoreReplacesTheDataAndEmptiesTheCards();
    void restoreAnsweredNoChangesNothing();
    void restoreRefuses_data();
    void restoreRefuses();
    void exitTakesTheAutomaticBackup_data();
    void exitTakesTheAutomaticBackup();
};

void TestBackupScreens::backupAsksWhereAndSaysWhatItHolds()
{
    Fixture f;
    fill(f, {"Primavera", "Estate", "Autunno"});
    QTemporaryDir out;
    const QString target = QDir(out.path()).filePath("mio.zip");
    f.ui.chooseFile(target);
    click("btnBackup");

    const QList<Ui::FileDialog> dialogs = f.ui.takeFileDialogs();
    QCOMPARE(dialogs.size(), 1);
    QCOMPARE(dialogs[0].filters, QStringList{"Backup di Brevanto (*.zip)"});
    QCOMPARE(dialogs[0].defaultSuffix, QString("zip"));
    QVERIFY2(
        QRegularExpression("^" + QRegularExpression::escape(QDir::homePath()) + "/Brevanto-backup-\\d{8}-\\d{4}\\.zip$")
            .match(dialogs[0].initialName)
            .hasMatch(),
        qPrintable(dialogs[0].initialName));
    const QList<TestUi::Message> messages = f.ui.takeMessages();
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages[0].kind, Ui::Kind::Information);
    const QString size = QLocale(QLocale::Italian).toString(double(QFileInfo(target).size()) / 1e6, 'f', 1);
    QCOMPARE(messages[0].text, QString::fromUtf8("Il backup è stato salvato in %1 (3 opere, 2 relazioni, %2 MB).")
                                   .arg(QDir::toNativeSeparators(target), size));
    NoProgress quiet;
    QCOMPARE(verifyBackup(target, quiet).artworks, 3);

    // The folder is remembered for the next time; a cancelled dialog writes nothing.
    QCOMPARE(IniFile(f.file("Brevanto.ini")).read("Backup", "UltimaCartella"), out.path());
    f.ui.chooseFile({});
    click("btnBackup");
    QVERIFY(f.ui.takeFileDialogs().at(0).initialName.startsWith(out.path() + "/Brevanto-backup-"));
    QCOMPARE(QDir(out.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"mio.zip"});
}

// A folder that cannot be written: a warning in Italian with the cause in its details, and
// no file.
void TestBackupScreens::backupFailureWarns()
{
    Fixture f;
    fill(f, {"Primavera"});
    f.ui.chooseFile(f.file("non/esiste/b.zip"));
    click("btnBackup");
    f.ui.takeFileDialogs();
    const QList<TestUi::Message> messages = f.ui.takeMessages();
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages[0].kind, Ui::Kind::Warning);
    QVERIFY(messages[0].text.startsWith(QString::fromUtf8("Attenzione: il backup non è stato salvato.")));
    QVERIFY(!messages[0].details.isEmpty());
    QVERIFY(!QFileInfo::exists(f.file("non")));
}

// A backup of this minute is already in the last folder: the dialog proposes the next name.
void TestBackupScreens::backupProposesAFreeName()
{
    Fixture f;
    fill(f, {"Primavera"});
    QTemporaryDir out;
    IniFile(f.file("Brevanto.ini")).write("Backup", "UltimaCartella", out.path());
    const QDateTime now = QDateTime::currentDateTime();
    for (const QDateTime& when : {now, now.addSecs(60)}) // the minute may turn meanwhile
        writeBytes(QDir(out.path()).filePath(defaultBackupName(when)), "an earlier backup");
    f.ui.chooseFile({});
    click("btnBackup");
    const QString proposed = f.ui.takeFileDialogs().at(0).initialName;
    QVERIFY2(proposed.endsWith("-2.zip"), qPrintable(proposed));
}

// What is no file among the laboratory's (a link among the documents) is named in the message.
void TestBackupScreens::backupTellsWhatIsNoFile()
{
    Fixture f;
    fill(f, {"Primavera"});
    QDir().mkpath(f.file("Documenti_Allegati"));
    if (!testplatform::makeSymlink("/etc/hostname", f.file("Documenti_Allegati/altrove.pdf")))
        QSKIP("Links need rights this system does not give an ordinary user.");
    QTemporaryDir out;
    f.ui.chooseFile(QDir(out.path()).filePath("b.zip"));
    click("btnBackup");
    f.ui.takeFileDialogs();
    const QList<TestUi::Message> messages = f.ui.takeMessages();
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages[0].kind, Ui::Kind::Information);
    QVERIFY2(messages[0].text.endsWith(QString::fromUtf8(
                 "\n\nNon contiene, perché non sono file ma collegamenti o simili: «Documenti_Allegati/altrove.pdf».")),
             qPrintable(messages[0].text));
}

// While a restore is under way or interrupted the backup is refused, and the user is told why.
void TestBackupScreens::backupRefusedWhileARestoreIsPending()
{
    Fixture f;
    fill(f, {"Primavera"});
    QDir().mkpath(f.file(".brevanto-ripristino"));
    QTemporaryDir out;
    f.ui.chooseFile(QDir(out.path()).filePath("b.zip"));
    click("btnBackup");
    f.ui.takeFileDialogs();
    const QList<TestUi::Message> messages = f.ui.takeMessages();
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages[0].kind, Ui::Kind::Warning);
    QVERIFY2(messages[0].text.startsWith(QString::fromUtf8("Attenzione: il backup non è stato salvato perché il "
                                                           "ripristino di un backup è in corso o è stato interrotto")),
             qPrintable(messages[0].text));
    QVERIFY(!messages[0].details.isEmpty());
    QCOMPARE(QDir(out.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

// After Sì the data are the backup's, a copy of the replaced data is in Backup, and no card
// shows what was there before: an open card is closed and shows the restored data when
// opened again.
void TestBackupScreens::restoreReplacesTheDataAndEmptiesTheCards()
{
    Fixture f;
    fill(f, {"Primavera", "Estate", "Autunno"});
    QTemporaryDir out;
    const QString zip = backupOf(out.path());
    writeBytes(f.file("Inventario_Opere.pro"), artworks({"Inverno"}));
    frmAvvio->openCatalogue();
    frmOpere->cmdPrimoClick();
    QCOMPARE(titleShown(), QString("Inverno"));
    frmAvvio->show();

    f.ui.chooseFile(zip);
    f.ui.answerNext(Ui::Answer::Yes);
    click("btnRipristino");
    const QList<Ui::FileDialog> dialogs = f.ui.takeFileDialogs();
    QCOMPARE(dialogs.size(), 1);
    QCOMPARE(dialogs[0].filters, QStringList{"Backup di Brevanto (*.zip)"});
    const QList<TestUi::Message> messages = f.ui.takeMessages();
    QCOMPARE(messages.size(), 2);
    QVERIFY2(QRegularExpression(
                 QString::fromUtf8("^Il backup del \\d\\d/\\d\\d/\\d{4} alle \\d\\d:\\d\\d contiene 3 opere e 2 "
                                   "relazioni\\. I dati attuali saranno sostituiti; prima ne verrà salvata una "
                                   "copia in «Backup»\\.\n\n.*altre postazioni.*\n\nContinuare\\?$"))
                 .match(messages[0].text)
                 .hasMatch(),
             qPrintable(messages[0].text));
    QCOMPARE(messages[1].kind, Ui::Kind::Information);
    QVERIFY(messages[1].text.startsWith(QString::fromUtf8("Il ripristino è stato completato")));

    QCOMPARE(readBytes(f.file("Inventario_Opere.pro")), artworks({"Primavera", "Estate", "Autunno"}));
    const QStringList copies = QDir(f.file("Backup")).entryList({"Brevanto-prima-del-ripristino-*.zip"});
    QCOMPARE(copies.size(), 1);
    QVERIFY(messages[1].text.contains(copies[0]));
    QVERIFY(!frmOpere->isVisible());
    QCOMPARE(titleShown(), QString());
    QCOMPARE(frmOpere->lblPosizione->text(), QString());
    frmAvvio->openCatalogue();
    frmOpere->cmdPrimoClick();
    QCOMPARE(titleShown(), QString("Primavera"));
}

void TestBackupScreens::restoreAnsweredNoChangesNothing()
{
    Fixture f;
    fill(f, {"Primavera"});
    QTemporaryDir out;
    const QString zip = backupOf(out.path());
    writeBytes(f.file("Inventario_Opere.pro"), artworks({"Inverno"}));
    f.ui.chooseFile(zip);
    f.ui.answerNext(Ui::Answer::No);
    click("btnRipristino");
    f.ui.takeFileDialogs();
    QCOMPARE(f.ui.takeMessages().size(), 1); // the question only
    QCOMPARE(readBytes(f.file("Inventario_Opere.pro")), artworks({"Inverno"}));
    QVERIFY(!QFileInfo::exists(f.file("Backup")));
}

void TestBackupScreens::restoreRefuses_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("not a zip") << QByteArray("PK\x03\x04 this is not really a zip");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("truncated") << QByteArray("<half of a backup>");
}

// A file that is no valid backup: the one warning, no question, nothing changed.
void TestBackupScreens::restoreRefuses()
{
    QFETCH(QByteArray, bytes);
    Fixture f;
    fill(f, {"Primavera"});
    QTemporaryDir out;
    const QString path = QDir(out.path()).filePath("x.zip");
    if (bytes == "<half of a backup>") {
        const QByteArray whole = readBytes(backupOf(out.path()));
        bytes = whole.left(whole.size() / 2);
    }
    writeBytes(path, bytes);
    const QByteArray before = readBytes(f.file("Inventario_Opere.pro"));
    f.ui.chooseFile(path);
    click("btnRipristino");
    f.ui.takeFileDialogs();
    const QList<TestUi::Message> messages = f.ui.takeMessages();
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages[0].kind, Ui::Kind::Warning);
    QCOMPARE(messages[0].text, kInvalid);
    QVERIFY(!messages[0].details.isEmpty());
    QCOMPARE(readBytes(f.file("Inventario_Opere.pro")), before);
    QCOMPARE(QDir(f.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             (QStringList{"Inventario", "Inventario_Opere.pro", "Relazioni_Tecniche_Restauro.pro"}));
}

void TestBackupScreens::exitTakesTheAutomaticBackup_data()
{
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QString>("folder"); // where the backup is expected, empty for none
    QTest::addColumn<QString>("warning"); // how the warning begins, empty for none
    const QString failed = QString::fromUtf8("Attenzione: il backup automatico non è riuscito.");
    const QString refused = QString::fromUtf8("Attenzione: il backup non è stato salvato perché ");
    QTest::newRow("default") << QByteArray() << "Backup"
                             << "";
    QTest::newRow("a folder of its own") << QByteArray("[Backup]\r\nCartella=Copie\r\n") << "Copie"
                                         << "";
    QTest::newRow("turned off") << QByteArray("[Backup]\r\nGiorni=0\r\n") << ""
                                << "";
    QTest::newRow("folder cannot be made") << QByteArray("[Backup]\r\nCartella=Logo.bmp/sotto\r\n") << "" << failed;
    QTest::newRow("folder inside the photos") << QByteArray("[Backup]\r\nCartella=Inventario/Copie\r\n") << ""
                                              << refused + QString::fromUtf8("%1 fa parte dei dati");
    QTest::newRow("a restore pending") << QByteArray("<pending>") << ""
                                       << refused + QString::fromUtf8("il ripristino di un backup");
}

// The exit picture ends the program after the automatic backup; a failure warns.
void TestBackupScreens::exitTakesTheAutomaticBackup()
{
    QFETCH(QByteArray, settings);
    QFETCH(QString, folder);
    QFETCH(QString, warning);
    Fixture f;
    fill(f, {"Primavera"});
    writeBytes(f.file("Logo.bmp"), "BM");
    if (settings == "<pending>")
        QDir().mkpath(f.file(".brevanto-ripristino"));
    else if (!settings.isEmpty())
        writeBytes(f.file("Brevanto.ini"), settings);
    frmAvvio->show();
    click("imgEsci");
    const QList<TestUi::Message> messages = f.ui.takeMessages();
    QCOMPARE(messages.size(), warning.isEmpty() ? 0 : 1);
    if (!warning.isEmpty()) {
        QCOMPARE(messages[0].kind, Ui::Kind::Warning);
        warning.replace("%1", QDir::toNativeSeparators(f.file("Inventario/Copie/Brevanto-backup-automatico-")));
        QVERIFY2(messages[0].text.startsWith(warning.section("Brevanto-backup-automatico-", 0, 0)),
                 qPrintable(messages[0].text));
        QVERIFY(messages[0].text.contains(QString::fromUtf8("Il programma verrà chiuso ugualmente.")));
    }
    QVERIFY(!QFileInfo::exists(f.file("Inventario/Copie")));
    const QStringList made =
        folder.isEmpty() ? QStringList() : QDir(f.file(folder)).entryList({"Brevanto-backup-automatico-*.zip"});
    QCOMPARE(made.size(), folder.isEmpty() ? 0 : 1);
    if (!folder.isEmpty()) {
        NoProgress quiet;
        QCOMPARE(verifyBackup(QDir(f.file(folder)).filePath(made[0]), quiet).artworks, 1);
    }
    QVERIFY(!QFileInfo::exists(f.file("Backup")) || folder == "Backup");
}

QTEST_MAIN(TestBackupScreens)
#include "tst_backupscreens.moc"
