// The platform seam where the systems differ: the paths the system's calls take, a file
// replaced while another program holds it open, paths longer than 260 characters, folders
// named in any alphabet, and the names a file system can hold.
#include "storage/ArchiveFile.h"
#include "storage/IoError.h"
#include "storage/Platform.h"
#include "storage/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "Files.h"

class TestPlatform : public QObject {
    Q_OBJECT
private slots:
    void systemPaths_data();
    void systemPaths();
    void replaceWhileAnotherProgramHoldsTheFile_data();
    void replaceWhileAnotherProgramHoldsTheFile();
    void pathsLongerThan260Characters();
    void foldersInAnyAlphabet();
    void namesTheFileSystemHolds_data();
    void namesTheFileSystemHolds();
};

namespace {
using testfiles::read;
using testfiles::write;

// Starts the holder on path for ms milliseconds and returns once it holds the file.
void holdOpen(QProcess& holder, const QString& path, int ms)
{
    holder.start(QStringLiteral(HOLDER), {path, QString::number(ms)});
    QVERIFY2(holder.waitForStarted(), qPrintable(holder.errorString()));
    QVERIFY(holder.waitForReadyRead(20000));
    QCOMPARE(holder.readLine().trimmed(), QByteArray("held"));
}

#ifdef Q_OS_WIN
constexpr bool onWindows = true;
#else
constexpr bool onWindows = false;
#endif
} // namespace

void TestPlatform::systemPaths_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected");
    QTest::newRow("drive, forward slashes") << "C:/Brevanto/Inventario_Opere.pro"
                                            << "\\\\?\\C:\\Brevanto\\Inventario_Opere.pro";
    QTest::newRow("drive, backslashes, dots") << "D:\\Lab\\Backup\\..\\Inventario\\.\\12.jpg"
                                              << "\\\\?\\D:\\Lab\\Inventario\\12.jpg";
    QTest::newRow("share") << "\\\\server\\share\\Brevanto\\Contratti.ini"
                           << "\\\\?\\UNC\\server\\share\\Brevanto\\Contratti.ini";
    QTest::newRow("share, forward slashes") << "//nas/laboratorio/Brevanto"
                                            << "\\\\?\\UNC\\nas\\laboratorio\\Brevanto";
    QTest::newRow("already prefixed") << "\\\\?\\C:\\Brevanto\\unins000.dll"
                                      << "\\\\?\\C:\\Brevanto\\unins000.dll";
}

void TestPlatform::systemPaths()
{
    if (!onWindows)
        QSKIP("paths are taken as they are on this system");
    QFETCH(QString, path);
    QFETCH(QString, expected);
    QCOMPARE(platform::systemPath(path), expected);
}

void TestPlatform::replaceWhileAnotherProgramHoldsTheFile_data()
{
    QTest::addColumn<int>("heldMs");
    QTest::addColumn<bool>("replaced");
    // Held for a moment, as a virus scanner holds a file it reads: the replace waits for it.
    QTest::newRow("held for a moment") << 500 << true;
    // Held for longer than the replace waits: on Windows the replace fails and the old file
    // stays whole; elsewhere an open file never stops a replace.
    QTest::newRow("held for long") << 6000 << !onWindows;
}

void TestPlatform::replaceWhileAnotherProgramHoldsTheFile()
{
    QFETCH(int, heldMs);
    QFETCH(bool, replaced);
    QTemporaryDir dir;
    const QString path = dir.filePath("Contratti.ini");
    write(path, "old contents");
    QProcess holder;
    holdOpen(holder, path, heldMs);

    bool failed = false;
    try {
        writeFileSafely(path, "new contents");
    } catch (const IoError&) {
        failed = true;
    }
    holder.waitForFinished(30000);
    QCOMPARE(!failed, replaced);
    QCOMPARE(read(path), replaced ? QByteArray("new contents") : QByteArray("old contents"));
    // Nothing of the attempt is left beside the file.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Contratti.ini"});
}

void TestPlatform::pathsLongerThan260Characters()
{
    QTemporaryDir dir;
    QString folder = dir.path();
    while (folder.size() < 300)
        folder += QStringLiteral("/Documentazione fotografica del restauro");
    QVERIFY(QDir().mkpath(folder));
    const QString ini = folder + QStringLiteral("/Brevanto.ini");
    writeFileSafely(ini, "[Stampa]\r\nDocumentazione=1\r\n");
    QCOMPARE(read(ini), QByteArray("[Stampa]\r\nDocumentazione=1\r\n"));
    writeFileSafely(ini, "[Stampa]\r\nDocumentazione=0\r\n");
    QCOMPARE(read(ini), QByteArray("[Stampa]\r\nDocumentazione=0\r\n"));

    const QString archive = folder + QStringLiteral("/Relazioni_Tecniche_Restauro.pro");
    QByteArray record(64, 'r');
    {
        ArchiveFile f;
        f.open(archive, record.size());
        f.append(record.constData());
        f.append(QByteArray(64, 's').constData());
    }
    QCOMPARE(read(archive), record + QByteArray(64, 's'));
    QCOMPARE(platform::status(platform::encodeName(archive)).size, 128);
    QVERIFY(platform::folderNames(platform::encodeName(folder)).contains("Relazioni_Tecniche_Restauro.pro"));
}

void TestPlatform::foldersInAnyAlphabet()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("Лаборатория реставрации 修復 Città"));
    QVERIFY(QDir().mkpath(folder));
    const QString archive = folder + QStringLiteral("/Inventario_Opere.pro");
    {
        ArchiveFile f;
        f.open(archive, 16);
        f.append("0123456789abcdef");
    }
    ArchiveFile f;
    f.open(archive, 16);
    QCOMPARE(f.count(), 1);
    QByteArray back(16, '\0');
    f.seek(0);
    f.read(back.data());
    QCOMPARE(back, QByteArray("0123456789abcdef"));
    writeFileSafely(folder + QStringLiteral("/Brevanto.ini"), "x");
    QCOMPARE(read(folder + QStringLiteral("/Brevanto.ini")), QByteArray("x"));
}

void TestPlatform::namesTheFileSystemHolds_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<bool>("heldOnWindows");
    QTest::newRow("ordinary") << QByteArray("relazione 12.pdf") << true;
    QTest::newRow("accents, as UTF-8") << QByteArray("citt\xc3\xa0.pdf") << true;
    QTest::newRow("Latin-1 bytes") << QByteArray("citt\xe0.pdf") << false;
    QTest::newRow("device") << QByteArray("CON") << false;
    QTest::newRow("device with extension") << QByteArray("con.pdf") << false;
    QTest::newRow("port") << QByteArray("COM1.txt") << false;
    QTest::newRow("colon") << QByteArray("a:b.pdf") << false;
    QTest::newRow("question mark") << QByteArray("b?.pdf") << false;
    QTest::newRow("backslash") << QByteArray("a\\b.pdf") << false;
    QTest::newRow("line break") << QByteArray("a\nb.pdf") << false;
    QTest::newRow("trailing dot") << QByteArray("nota.") << false;
    QTest::newRow("trailing space") << QByteArray("nota ") << false;
    QTest::newRow("console-like but longer") << QByteArray("CONSOLE.pdf") << true;
}

void TestPlatform::namesTheFileSystemHolds()
{
    QFETCH(QByteArray, name);
    QFETCH(bool, heldOnWindows);
    QCOMPARE(platform::holdsName(name), onWindows ? heldOnWindows : true);
}

QTEST_GUILESS_MAIN(TestPlatform)
#include "tst_platform.moc"
