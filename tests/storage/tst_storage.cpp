#include "storage/Amount.h"
#include "storage/ArchiveFile.h"
#include "storage/Cp1252.h"
#include "storage/IniFile.h"
#include "storage/IoError.h"
#include "storage/ProgramDir.h"
#include "storage/Text.h"

#include <QFile>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

class TestStorage : public QObject {
    Q_OBJECT

private slots:
    void trim_data();
    void trim();
    void asciiCase();
    void cp1252RoundTrip();
    void cp1252Replaces();
    void programDirOverride();
    void iniMissingReadsDefault();
    void iniCaseInsensitiveAndPreserving();
    void iniWritesCrlfWindows1252();
    void iniUnreadableThrows();
    void amount_data();
    void amount();
    void archiveCountsWholeRecords();
    void archiveReadWriteSeek();
    void archivePartialLastRecordFailsOnRead();
    void archiveCreatesMissingFile();
    void archiveUnwritableDirectoryThrows();
    void archiveStreamsLargeFile();
    void concurrentAppendsLoseNothing();
};

void TestStorage::trim_data()
{
    QTest::addColumn<QString>("in");
    QTest::addColumn<QString>("out");
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("spaces") << "   "
                            << "";
    QTest::newRow("controls") << "\t\r\n abc \x01\x1f"
                              << "abc";
    QTest::newRow("inner kept") << "  a  b  "
                                << "a  b";
    QTest::newRow("nbsp kept") << QString::fromUtf8("\u00A0x\u00A0") << QString::fromUtf8("\u00A0x\u00A0");
}

void TestStorage::trim()
{
    QFETCH(QString, in);
    QFETCH(QString, out);
    QCOMPARE(text::trim(in), out);
}

void TestStorage::asciiCase()
{
    QCOMPARE(text::upperAscii(QString::fromUtf8("abcXYZ àèé 123")), QString::fromUtf8("ABCXYZ àèé 123"));
    QCOMPARE(text::lowerAscii(QString::fromUtf8("ABCxyz ÀÈÉ")), QString::fromUtf8("abcxyz ÀÈÉ"));
    QVERIFY(text::containsText(QStringLiteral("Natura Morta con Frutta"), QStringLiteral("morta con")));
    QVERIFY(!text::containsText(QStringLiteral("Natura Morta"), QStringLiteral("morta  con")));
    QVERIFY(!text::containsText(QString::fromUtf8("CITTÀ"), QString::fromUtf8("città")));
}

void TestStorage::cp1252RoundTrip()
{
    // Every byte decodes to one character and encodes back to itself.
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QString decoded = cp1252::decode(all);
    QCOMPARE(decoded.size(), 256);
    QCOMPARE(decoded.at(0x80), QChar(0x20AC));
    QCOMPARE(decoded.at(0x9F), QChar(0x0178));
    QCOMPARE(decoded.at(0xEC), QChar(0x00EC));
    QCOMPARE(cp1252::encode(decoded), all);
}

void TestStorage::cp1252Replaces()
{
    QCOMPARE(cp1252::encode(QString::fromUtf8("Sì € \u0141\u4E2D")), QByteArray("S\xEC \x80 ??"));
    QCOMPARE(cp1252::encode(QString::fromUtf8("a\xF0\x9F\x98\x80z")), QByteArray("a?z"));
}

void TestStorage::programDirOverride()
{
    QTemporaryDir dir;
    {
        programdir::Override o(dir.path());
        QCOMPARE(programdir::path(), dir.path() + "/");
        QCOMPARE(programdir::file("x.ini"), dir.path() + "/x.ini");
    }
    QCOMPARE(programdir::path(), QCoreApplication::applicationDirPath() + "/");
}

void TestStorage::iniMissingReadsDefault()
{
    QTemporaryDir dir;
    IniFile ini(dir.filePath("none.ini"));
    QCOMPARE(ini.read("A", "B", "def"), QString("def"));
    QFile f(dir.filePath("some.ini"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("[Other]\r\nKey=1\r\n");
    f.close();
    IniFile some(f.fileName());
    QCOMPARE(some.read("Accesso", "Valore"), QString());
    QCOMPARE(some.read("Other", "Missing", "x"), QString("x"));
}

void TestStorage::iniCaseInsensitiveAndPreserving()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("t.ini");
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("; kept comment\r\n[First]\r\nAlpha=1\r\nBeta = \"quoted\" \r\n[Accesso]\r\nValore=OLD\r\nAltro=2\r\n");
    f.close();

    IniFile ini(path);
    QCOMPARE(ini.read("first", "ALPHA"), QString("1"));
    QCOMPARE(ini.read("FIRST", "beta"), QString("quoted"));
    ini.write("ACCESSO", "valore", "NEW");
    QCOMPARE(ini.read("Accesso", "Valore"), QString("NEW"));
    QCOMPARE(ini.read("Accesso", "Altro"), QString("2"));
    QCOMPARE(ini.read("First", "Alpha"), QString("1"));
    ini.write("Nuova Sezione", "Chiave", "v");
    QCOMPARE(ini.read("nuova sezione", "chiave"), QString("v"));

    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    QVERIFY(bytes.contains("; kept comment"));
    QVERIFY(bytes.contains("[Accesso]\r\nValore=NEW\r\n"));
    QCOMPARE(bytes.count("Valore"), 1);
    QVERIFY(!bytes.contains("\r\n\r\n\r\n"));
    f.close();

    // Writing the same value again leaves the file as it was.
    ini.write("Accesso", "Valore", "NEW");
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), bytes);
}

void TestStorage::iniWritesCrlfWindows1252()
{
    QTemporaryDir dir;
    IniFile ini(dir.filePath("h.ini"));
    ini.write("Schede Interventi", "Intestazione Azienda", QString::fromUtf8("Laboratorio Città € \u4E2D"));
    QFile f(dir.filePath("h.ini"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("[Schede Interventi]\r\nIntestazione Azienda=Laboratorio Citt\xE0 \x80 ?\r\n"));
    QCOMPARE(ini.read("Schede Interventi", "Intestazione Azienda"), QString::fromUtf8("Laboratorio Città € ?"));
}

void TestStorage::iniUnreadableThrows()
{
    QTemporaryDir dir;
    // A folder in the store's place cannot be read as a file.
    QVERIFY(QDir(dir.path()).mkdir("store.ini"));
    IniFile ini(dir.filePath("store.ini"));
    QVERIFY_THROWS_EXCEPTION(IoError, ini.read("A", "B"));
    QVERIFY_THROWS_EXCEPTION(IoError, ini.write("A", "B", "c"));
}

void TestStorage::amount_data()
{
    QTest::addColumn<QString>("in");
    QTest::addColumn<QString>("out");
    QTest::newRow("empty") << ""
                           << "0,00";
    QTest::newRow("blank") << "   "
                           << "0,00";
    QTest::newRow("integer") << "1234"
                             << "1234,00";
    QTest::newRow("five") << "5"
                          << "5,00";
    QTest::newRow("one decimal") << "5,5"
                                 << "5,50";
    QTest::newRow("12,5") << "12,5"
                          << "12,50";
    QTest::newRow("round up") << "1250,456"
                              << "1250,46";
    QTest::newRow("12,3456") << "12,3456"
                             << "12,35";
    QTest::newRow("tiny") << "0,004"
                          << "0,00";
    QTest::newRow("binary below half 2,675") << "2,675"
                                             << "2,67";
    QTest::newRow("binary below half 1,005") << "1,005"
                                             << "1,00";
    QTest::newRow("exact half 0,125") << "0,125"
                                      << "0,13";
    QTest::newRow("two commas") << "1,2,3"
                                << "0,00";
    QTest::newRow("letters") << "abc"
                             << "0,00";
    QTest::newRow("point is not a separator") << "1.5"
                                              << "0,00";
    QTest::newRow("leading comma") << ",5"
                                   << "0,50";
    QTest::newRow("trailing comma") << "7,"
                                    << "7,00";
    QTest::newRow("lone comma") << ","
                                << "0,00";
    QTest::newRow("already formatted") << "1250,00"
                                       << "1250,00";
    QTest::newRow("spaces around") << " 42,1 "
                                   << "42,10";
    QTest::newRow("fifteen digits") << "999999999999999"
                                    << "999999999999999,00";
    QTest::newRow("leading zeros") << "007,1"
                                   << "7,10";
}

void TestStorage::amount()
{
    QFETCH(QString, in);
    QFETCH(QString, out);
    QCOMPARE(amount::format(in), out);
}

namespace {
QByteArray record(int size, char fill)
{
    return QByteArray(size, fill);
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}
} // namespace

void TestStorage::archiveCountsWholeRecords()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.pro");
    writeFile(path, record(10, 'a') + record(10, 'b') + record(7, 'c'));
    ArchiveFile f;
    f.open(path, 10);
    QCOMPARE(f.count(), 2);
    QCOMPARE(f.position(), 0);
    QVERIFY(!f.eof());
}

void TestStorage::archiveReadWriteSeek()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.pro");
    ArchiveFile f;
    f.open(path, 4);
    QCOMPARE(f.count(), 0);
    QVERIFY(f.eof());
    f.write("AAAA");
    f.write("BBBB");
    f.write("CCCC");
    QCOMPARE(f.position(), 3);
    QCOMPARE(f.count(), 3);

    char buf[4];
    f.seek(1);
    f.read(buf);
    QCOMPARE(QByteArray(buf, 4), QByteArray("BBBB"));
    QCOMPARE(f.position(), 2);
    // Update in place: only that record changes, the length stays.
    f.seek(1);
    f.write("XXXX");
    QCOMPARE(f.count(), 3);
    f.seek(0);
    QStringList seen;
    while (!f.eof()) {
        f.read(buf);
        seen << QString::fromLatin1(buf, 4);
    }
    QCOMPARE(seen, QStringList({"AAAA", "XXXX", "CCCC"}));
    QVERIFY_THROWS_EXCEPTION(IoError, f.read(buf));
    QVERIFY_THROWS_EXCEPTION(IoError, f.seek(4));
    QCOMPARE(f.append("DDDD"), 4);
    f.close();

    QFile raw(path);
    QVERIFY(raw.open(QIODevice::ReadOnly));
    QCOMPARE(raw.readAll(), QByteArray("AAAAXXXXCCCCDDDD"));
}

void TestStorage::archivePartialLastRecordFailsOnRead()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.pro");
    writeFile(path, record(10, 'a') + record(3, 'z'));
    ArchiveFile f;
    f.open(path, 10);
    QCOMPARE(f.count(), 1);
    char buf[10];
    f.read(buf);
    QVERIFY(f.eof());
    f.seek(1);
    QVERIFY_THROWS_EXCEPTION(IoError, f.read(buf));
    // A new record overwrites the partial one instead of landing after it.
    QCOMPARE(f.append(record(10, 'n').constData()), 2);
    QCOMPARE(QFileInfo(path).size(), 20);
}

void TestStorage::archiveCreatesMissingFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("new.pro");
    ArchiveFile f;
    f.open(path, 2925);
    QCOMPARE(f.count(), 0);
    f.close();
    QVERIFY(QFileInfo::exists(path));
    QCOMPARE(QFileInfo(path).size(), 0);
}

void TestStorage::archiveUnwritableDirectoryThrows()
{
    QTemporaryDir dir;
    ArchiveFile f;
    QVERIFY_THROWS_EXCEPTION(IoError, f.open(dir.filePath("missing/folder/a.pro"), 10));
    QVERIFY(!f.isOpen());
    QVERIFY_THROWS_EXCEPTION(IoError, f.count());
}

void TestStorage::archiveStreamsLargeFile()
{
    // Many more records than the read-ahead window holds: every one comes back in order.
    QTemporaryDir dir;
    const QString path = dir.filePath("big.pro");
    const int n = 500;
    const int size = 2925;
    {
        ArchiveFile f;
        f.open(path, size);
        QByteArray r(size, '\0');
        for (int i = 0; i < n; ++i) {
            r.fill(char('A' + i % 26));
            std::memcpy(r.data(), &i, sizeof i);
            f.write(r.constData());
        }
    }
    ArchiveFile f;
    f.open(path, size);
    QCOMPARE(f.count(), n);
    QByteArray r(size, '\0');
    for (int i = 0; i < n; ++i) {
        f.read(r.data());
        int got;
        std::memcpy(&got, r.constData(), sizeof got);
        QCOMPARE(got, i);
        QCOMPARE(r.at(size - 1), char('A' + i % 26));
    }
    QVERIFY(f.eof());
}

void TestStorage::concurrentAppendsLoseNothing()
{
    // Two workstations saving new cards into one shared archive at the same time.
    QTemporaryDir dir;
    const QString path = dir.filePath("shared.pro");
    const int each = 3000;
    QProcess a, b;
    a.start(QStringLiteral(APPENDER), {path, "A", QString::number(each)});
    b.start(QStringLiteral(APPENDER), {path, "B", QString::number(each)});
    QVERIFY(a.waitForFinished(60000));
    QVERIFY(b.waitForFinished(60000));
    QCOMPARE(a.exitCode(), 0);
    QCOMPARE(b.exitCode(), 0);

    ArchiveFile f;
    f.open(path, 2925);
    QCOMPARE(f.count(), 2 * each);
    QByteArray r(2925, '\0');
    QSet<QByteArray> seen;
    int nextA = 0, nextB = 0;
    while (!f.eof()) {
        f.read(r.data());
        const QByteArray tag(r.constData());
        seen.insert(tag);
        // Each writer's cards keep their own order.
        if (tag.startsWith("A:"))
            QCOMPARE(tag, "A:" + QByteArray::number(nextA++));
        else
            QCOMPARE(tag, "B:" + QByteArray::number(nextB++));
    }
    QCOMPARE(seen.size(), 2 * each);
}

QTEST_GUILESS_MAIN(TestStorage)
#include "tst_storage.moc"
