// The record stores: count, read, update, locked append, store by card position, the
// streaming scan and what the browse buttons find.
#include "records/ArtworkArchive.h"
#include "records/ReportArchive.h"
#include "storage/IoError.h"
#include "storage/ProgramDir.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(Browse)

class TestStores : public QObject {
    Q_OBJECT
private slots:
    void missingArchiveIsCreatedEmpty();
    void appendUpdateRead();
    void storeByCardPosition();
    void wrongPositionsThrow();
    void scanVisitsInOrderAndStops();
    void scanIgnoresPartialLastRecord();
    void typedStoresDecode();
    void browse_data();
    void browse();
};

namespace {
constexpr int kSize = 7;
QByteArray rec(char c)
{
    return QByteArray(kSize, c);
}
} // namespace

void TestStores::missingArchiveIsCreatedEmpty()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.pro");
    RecordStore s(path, kSize);
    QCOMPARE(s.count(), 0);
    QVERIFY(QFile::exists(path));
    QCOMPARE(QFileInfo(path).size(), 0);
}

void TestStores::appendUpdateRead()
{
    QTemporaryDir dir;
    RecordStore s(dir.filePath("a.pro"), kSize);
    QCOMPARE(s.append(rec('a')), 1);
    QCOMPARE(s.append(rec('b')), 2);
    QCOMPARE(s.append(rec('c')), 3);
    s.update(2, rec('B'));
    QCOMPARE(s.count(), 3);
    QCOMPARE(s.read(1), rec('a'));
    QCOMPARE(s.read(2), rec('B'));
    QCOMPARE(s.read(3), rec('c'));
    // Update one past the end appends, as a card stored at that position would.
    s.update(4, rec('d'));
    QCOMPARE(s.count(), 4);
}

void TestStores::storeByCardPosition()
{
    QTemporaryDir dir;
    RecordStore s(dir.filePath("a.pro"), kSize);
    QCOMPARE(s.store(rec('a'), QString()), 1);
    QCOMPARE(s.store(rec('b'), QStringLiteral("  ")), 2);
    QCOMPARE(s.store(rec('A'), QStringLiteral(" 1 ")), 1);
    QCOMPARE(s.count(), 2);
    QCOMPARE(s.read(1), rec('A'));
    QVERIFY_THROWS_EXCEPTION(IoError, s.store(rec('x'), QStringLiteral("uno")));
    QCOMPARE(s.count(), 2);
}

void TestStores::wrongPositionsThrow()
{
    QTemporaryDir dir;
    RecordStore s(dir.filePath("a.pro"), kSize);
    s.append(rec('a'));
    QVERIFY_THROWS_EXCEPTION(IoError, s.read(0));
    QVERIFY_THROWS_EXCEPTION(IoError, s.read(2));
    QVERIFY_THROWS_EXCEPTION(IoError, s.update(0, rec('x')));
    QVERIFY_THROWS_EXCEPTION(IoError, s.update(3, rec('x')));
    QVERIFY_THROWS_EXCEPTION(IoError, s.append(QByteArray(kSize + 1, 'x')));
    QCOMPARE(s.count(), 1);
    QCOMPARE(s.read(1), rec('a'));

    RecordStore folder(dir.path(), kSize); // a folder is no archive
    QVERIFY_THROWS_EXCEPTION(IoError, folder.count());
}

void TestStores::scanVisitsInOrderAndStops()
{
    QTemporaryDir dir;
    RecordStore s(dir.filePath("a.pro"), kSize);
    // Enough records to cross the read-ahead window several times.
    const int n = 100000;
    {
        QFile f(s.path());
        QVERIFY(f.open(QIODevice::WriteOnly));
        for (int i = 0; i < n; ++i)
            f.write(rec(char('0' + i % 10)));
    }
    qint64 seen = 0;
    bool inOrder = true;
    s.scan([&](qint64 k, const char* bytes) {
        inOrder = inOrder && k == seen + 1 && bytes[0] == char('0' + (k - 1) % 10) && bytes[kSize - 1] == bytes[0];
        ++seen;
        return true;
    });
    QCOMPARE(seen, n);
    QVERIFY(inOrder);

    qint64 last = 0;
    s.scan([&](qint64 k, const char*) {
        last = k;
        return k < 5;
    });
    QCOMPARE(last, 5);
}

void TestStores::scanIgnoresPartialLastRecord()
{
    QTemporaryDir dir;
    RecordStore s(dir.filePath("a.pro"), kSize);
    s.append(rec('a'));
    {
        QFile f(s.path());
        QVERIFY(f.open(QIODevice::Append));
        f.write("xyz");
    }
    int seen = 0;
    s.scan([&](qint64, const char*) { return ++seen, true; });
    QCOMPARE(seen, 1);
}

void TestStores::typedStoresDecode()
{
    QTemporaryDir dir;
    programdir::Override here(dir.path());
    ArtworkArchive artworks;
    QCOMPARE(artworks.path(), dir.filePath("Inventario_Opere.pro"));
    TSchedaOpera o;
    o[TSchedaOpera::Titolo] = QStringLiteral("Natura morta");
    o[TSchedaOpera::Artista] = QString::fromUtf8("Niccol\u00F2");
    QCOMPARE(artworks.store(o, QString()), 1);
    QCOMPARE(artworks.record(1)[TSchedaOpera::Artista], QString::fromUtf8("Niccol\u00F2"));
    QCOMPARE(QFileInfo(artworks.path()).size(), TSchedaOpera::kSize);

    ReportArchive reports;
    QCOMPARE(reports.path(), dir.filePath("Relazioni_Tecniche_Restauro.pro"));
    TSchedaIntervento r;
    r[TSchedaIntervento::NumRelazione] = QStringLiteral("12");
    reports.store(r, QString());
    r[TSchedaIntervento::NumRelazione] = QStringLiteral("13");
    reports.store(r, QString());
    QStringList numbers;
    reports.scanRecords([&](qint64, const TSchedaIntervento& x) {
        numbers << x[TSchedaIntervento::NumRelazione];
        return true;
    });
    QCOMPARE(numbers, (QStringList{"12", "13"}));
}

void TestStores::browse_data()
{
    QTest::addColumn<Browse>("where");
    QTest::addColumn<qint64>("current");
    QTest::addColumn<int>("records");
    QTest::addColumn<qint64>("target");

    QTest::newRow("first") << Browse::First << qint64(3) << 5 << qint64(1);
    QTest::newRow("last") << Browse::Last << qint64(0) << 5 << qint64(5);
    QTest::newRow("next") << Browse::Next << qint64(2) << 5 << qint64(3);
    QTest::newRow("next from an unsaved card") << Browse::Next << qint64(0) << 5 << qint64(1);
    QTest::newRow("next on the last") << Browse::Next << qint64(5) << 5 << qint64(0);
    QTest::newRow("previous") << Browse::Previous << qint64(4) << 5 << qint64(3);
    QTest::newRow("previous from an unsaved card") << Browse::Previous << qint64(0) << 5 << qint64(1);
    QTest::newRow("empty archive") << Browse::First << qint64(0) << 0 << qint64(0);
}

void TestStores::browse()
{
    QFETCH(Browse, where);
    QFETCH(qint64, current);
    QFETCH(int, records);
    QFETCH(qint64, target);
    QTemporaryDir dir;
    RecordStore s(dir.filePath("a.pro"), kSize);
    for (int i = 0; i < records; ++i)
        s.append(rec(char('a' + i)));
    const RecordStore::Found found = s.browse(where, current);
    QCOMPARE(found.count, qint64(records));
    QCOMPARE(found.target, target);
    QCOMPARE(found.record, target ? rec(char('a' + target - 1)) : QByteArray());
}

QTEST_GUILESS_MAIN(TestStores)
#include "tst_stores.moc"
