// Replacing a file: never a worse file in place of a good one, whatever fails.
#include "app/PasswordStore.h"
#include "storage/IniFile.h"
#include "storage/IoError.h"
#include "storage/ProgramDir.h"
#include "storage/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "Files.h"
#include "TestPlatform.h"

class TestSafeFile : public QObject {
    Q_OBJECT
private slots:
    void replacesWholeAndKeepsPermissions();
    void failedFinalFlushKeepsTheOldFile_data();
    void failedFinalFlushKeepsTheOldFile();
    void missingFolderThrows();
    void symbolicLinkIsReplacedNotFollowed();
    void uncommittedLeavesNothing();
};

namespace {
using testfiles::read;
using testfiles::write;

QStringList entries(const QString& dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

} // namespace

void TestSafeFile::replacesWholeAndKeepsPermissions()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Contratti.ini");
    write(path, "old");
    testplatform::setMode(path, 0640);
    writeFileSafely(path, "new contents");
    QCOMPARE(read(path), QByteArray("new contents"));
    // Windows keeps only whether a file may be written.
    QVERIFY((testplatform::mode(path) & 0200) != 0);
#ifndef Q_OS_WIN
    QCOMPARE(testplatform::mode(path) & 0777, 0640);
#endif
    QCOMPARE(entries(dir.path()), QStringList{"Contratti.ini"});
}

void TestSafeFile::failedFinalFlushKeepsTheOldFile_data()
{
    QTest::addColumn<QString>("what");
    QTest::newRow("a file") << "file";
    QTest::newRow("the password store") << "password";
    QTest::newRow("a settings file") << "ini";
    QTest::newRow("large writes not checked by the writer") << "unchecked";
}

void TestSafeFile::failedFinalFlushKeepsTheOldFile()
{
    QFETCH(QString, what);
    QTemporaryDir dir;
    programdir::Override here(dir.path());
    const QString path = what == "password" ? passwordstore::path() : dir.filePath("Brevanto.ini");
    const QByteArray old = "[Accesso]\r\nValore=0123\r\n";
    write(path, old);
    {
        const auto full = testplatform::limitFileSize(64);
        if (!full)
            QSKIP("This system cannot make a disk full on request."); // more than the old file, less than the new one
        if (what == "file") {
            QVERIFY_THROWS_EXCEPTION(IoError, writeFileSafely(path, QByteArray(4096, 'x')));
        } else if (what == "unchecked") {
            // As a PDF or image writer does: large blocks, results never looked at.
            SafeFile f(path);
            for (int i = 0; i < 4; ++i)
                f.device().write(QByteArray(64 * 1024, 'p'));
            QVERIFY_THROWS_EXCEPTION(IoError, f.commit());
        } else if (what == "password")
            QVERIFY_THROWS_EXCEPTION(IoError, passwordstore::store(QString(200, u'a')));
        else
            QVERIFY_THROWS_EXCEPTION(
                IoError, IniFile(path).write("Schede Interventi", "Intestazione Azienda", QString(300, u'b')));
    }
    QCOMPARE(read(path), old);
    QCOMPARE(entries(dir.path()), QStringList{QFileInfo(path).fileName()});
}

void TestSafeFile::missingFolderThrows()
{
    QTemporaryDir dir;
    QVERIFY_THROWS_EXCEPTION(IoError, writeFileSafely(dir.filePath("no/such/folder/file"), "x"));
    QVERIFY(QDir(dir.path()).mkdir("Inventario_Opere.xls"));
    QVERIFY_THROWS_EXCEPTION(IoError, writeFileSafely(dir.filePath("Inventario_Opere.xls"), "x"));
    QVERIFY(QFileInfo(dir.filePath("Inventario_Opere.xls")).isDir());
    const QString readOnly = dir.filePath("Contratti.ini");
    write(readOnly, "kept");
    testplatform::setMode(readOnly, 0444);
    QVERIFY_THROWS_EXCEPTION(IoError, writeFileSafely(readOnly, "x"));
    QCOMPARE(read(readOnly), QByteArray("kept"));
}

void TestSafeFile::symbolicLinkIsReplacedNotFollowed()
{
    QTemporaryDir outside, program;
    const QString victim = outside.filePath("elsewhere.jpg");
    write(victim, "someone else's file");
    const QString link = program.filePath("Opera_1.jpg");
    if (!testplatform::makeSymlink(victim, link))
        QSKIP("Links need rights this system does not give an ordinary user.");
    writeFileSafely(link, "the photo");
    QCOMPARE(read(victim), QByteArray("someone else's file"));
    QVERIFY(!QFileInfo(link).isSymLink());
    QCOMPARE(read(link), QByteArray("the photo"));
}

void TestSafeFile::uncommittedLeavesNothing()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Logo.bmp");
    write(path, "old logo");
    {
        SafeFile f(path);
        f.device().write("half a logo");
    }
    QCOMPARE(read(path), QByteArray("old logo"));
    QCOMPARE(entries(dir.path()), QStringList{"Logo.bmp"});
}

QTEST_GUILESS_MAIN(TestSafeFile)
#include "tst_safefile.moc"
