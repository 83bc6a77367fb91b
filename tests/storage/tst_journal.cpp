// The history journal beside an archive: its bytes at their offsets, cards read back through
// the index or without it, torn and damaged entries, a journal that cannot be written, saves
// killed half way, two workstations on one card, and the recovery of lost archive writes.
#include "TestPlatform.h"

#include "records/ArtworkArchive.h"
#include "storage/ArchiveFile.h"
#include "storage/CardFiles.h"
#include "storage/Crc32.h"
#include "storage/IoError.h"
#include "storage/Journal.h"
#include "storage/ProgramDir.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <zlib.h>

namespace {
using journal::What;

QByteArray card(const QString& title, const QString& note = {})
{
    TSchedaOpera r;
    r[TSchedaOpera::Titolo] = title;
    r[TSchedaOpera::Note] = note;
    r[TSchedaOpera::Venduta] = QStringLiteral("No");
    return r.encode();
}

QString titleOf(const QByteArray& record)
{
    return TSchedaOpera::fieldText(record.constData(), TSchedaOpera::Titolo);
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

QStringList titles(const std::vector<journal::Entry>& entries)
{
    QStringList out;
    for (const journal::Entry& e : entries)
        out << titleOf(e.record);
    return out;
}

// A little-endian number of the journal's bytes; 0, and the test failed, past their end.
template <class T> T at(const QByteArray& bytes, qsizetype offset)
{
    if (offset < 0 || offset + qsizetype(sizeof(T)) > bytes.size()) {
        QTest::qFail("a number read past the journal's end", __FILE__, __LINE__);
        return 0;
    }
    T value = 0;
    for (size_t i = 0; i < sizeof(T); ++i)
        value = T(value | T(quint8(bytes.at(offset + qsizetype(i)))) << (8 * i));
    return value;
}

template <class T> void put(QByteArray& out, T value)
{
    char bytes[sizeof(T)];
    qToLittleEndian(value, bytes);
    out.append(bytes, sizeof(T));
}

// An entry laid out by hand as the README gives it, with a good CRC: what a forged or
// damaged journal may hold and the program never writes.
QByteArray forgedEntry(qint64 position, qint64 previous, const QByteArray& packed)
{
    QByteArray body;
    put<quint8>(body, 1);
    put<quint8>(body, quint8(What::Modificata));
    put<qint64>(body, position);
    put<qint64>(body, previous);
    put<qint64>(body, QDateTime::currentMSecsSinceEpoch());
    put<quint16>(body, 0); // workstation
    put<quint16>(body, 0); // user
    put<quint8>(body, 0); // kept photos
    put<quint32>(body, TSchedaOpera::kSize);
    put<quint32>(body, quint32(packed.size()));
    body += packed;
    put<quint32>(body, crc32(body));
    QByteArray out("BRVV");
    put<quint32>(out, quint32(body.size()));
    return out + body;
}

// What a card stores beside its record, as the history sees it: its piece before and after.
class StubPart : public SidePart {
public:
    QByteArray before, after;
    int committedSaves = 0;
    QByteArray tag() const override { return "PROV"; }
    bool edited() const override { return true; }
    QString conflict(qint64) const override { return {}; }
    QByteArray stored(qint64) override { return before; }
    QByteArray prepare(qint64, cardfiles::Transaction&) override { return after; }
    void committed(qint64) override { ++committedSaves; }
    void discarded() override { }
};

// A save that keeps a photo of the card's frames, as the card's photos do.
class KeepsPhoto : public SidePart {
public:
    explicit KeepsPhoto(journal::KeptPhoto kept) : kept_(std::move(kept)) { }
    QByteArray tag() const override { return {}; }
    bool edited() const override { return true; }
    QString conflict(qint64) const override { return {}; }
    QByteArray stored(qint64) override { return {}; }
    QByteArray prepare(qint64, cardfiles::Transaction& tx) override
    {
        tx.keptPhotos << kept_;
        return {};
    }
    void committed(qint64) override { }
    void discarded() override { }

private:
    journal::KeptPhoto kept_;
};

// The extra of a version that carries the stub's piece alone.
QByteArray withPiece(const QByteArray& piece)
{
    cardfiles::Block block;
    block.pieces.insert("PROV", piece);
    return cardfiles::encode(block);
}

// A record's stream that inflates to megabytes of zeros (one compressed megabyte repeated),
// claiming the size of a record.
QByteArray zeroBomb(int megabytes)
{
    z_stream s{};
    deflateInit(&s, Z_BEST_COMPRESSION);
    QByteArray zeros(1 << 20, '\0');
    const auto next = [&] {
        QByteArray out(64 * 1024, Qt::Uninitialized);
        s.next_in = reinterpret_cast<Bytef*>(zeros.data());
        s.avail_in = uInt(zeros.size());
        s.next_out = reinterpret_cast<Bytef*>(out.data());
        s.avail_out = uInt(out.size());
        deflate(&s, Z_SYNC_FLUSH);
        out.truncate(out.size() - qsizetype(s.avail_out));
        return out;
    };
    QByteArray stream(4, '\0');
    qToBigEndian(quint32(TSchedaOpera::kSize), stream.data());
    stream += next();
    const QByteArray more = next();
    for (int i = 1; i < megabytes; ++i)
        stream += more;
    deflateEnd(&s);
    return stream;
}

long peakKb()
{
    return long(testplatform::peakMemoryKb());
}
} // namespace

class TestJournal : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void bytesAtTheirOffsets();
    void cardsReadBackNewestFirst();
    void indexRebuiltWhenMissingOrForeign();
    void firstSaveKeepsWhatWasThere();
    void tornLastEntry();
    void damagedEntryInTheMiddle_data();
    void damagedEntryInTheMiddle();
    void entryOfAnotherRecordSize();
    void journalThatCannotBeWritten_data();
    void journalThatCannotBeWritten();
    void killedWhileSaving();
    void twoWorkstationsSaveTheSameCard();
    void recoveryPutsBackWhatThePowerFailureTook();
    void indexOfTheJournalBeforeARestoreWasUndone();
    void handMadeIndex_data();
    void handMadeIndex();
    void saveWithoutAnIndex();
    void recordThatInflatesTooFar();
    void cardNoArchiveCanHave();
    void damagedHeaderMendedOnce();
    void whatLiesPastTheEndStaysPast();
    void entriesWithAnExtra();

private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<programdir::Override> here_;
    QString archive() const { return dir_->filePath("Inventario_Opere.pro"); }
    QString journalFile() const { return dir_->filePath("Inventario_Opere.cronologia"); }
    QString indexFile() const { return journalFile() + ".indice"; }
    // Writes entry where the journal's entries end, as a forged or damaged journal has it.
    void appendRaw(const QByteArray& entry)
    {
        const qint64 end = ArtworkArchive().journal().end();
        writeAll(journalFile(), readAll(journalFile()).left(end) + entry);
    }
};

void TestJournal::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    here_ = std::make_unique<programdir::Override>(dir_->path());
}

void TestJournal::cleanup()
{
    here_.reset();
    dir_.reset();
}

void TestJournal::bytesAtTheirOffsets()
{
    ArtworkArchive store;
    const QDateTime before = QDateTime::currentDateTimeUtc();
    KeepsPhoto photo({0, "Inventario/Cronologia/Opera_1_x.jpg"});
    QCOMPARE(store.save(card("Natura morta"), {}, What::Inserita, {&photo}), 1);
    const QByteArray j = readAll(journalFile());
    // The header: magic, format, record size, end and synced (both brought up to date at
    // checkpoints), identity, CRC of those.
    QCOMPARE(j.left(8), QByteArray("BRVNCRON"));
    QCOMPARE(at<quint32>(j, 8), 1u);
    QCOMPARE(at<quint32>(j, 12), 2925u);
    QCOMPARE(at<qint64>(j, 16), 64);
    QCOMPARE(at<qint64>(j, 24), 64);
    const qint64 end = store.journal().end();
    QCOMPARE(at<quint32>(j, 40), crc32(j.left(40)));
    // The entry after the 64-byte header: magic, length, then the checked body.
    QCOMPARE(j.mid(64, 4), QByteArray("BRVV"));
    const quint32 length = at<quint32>(j, 68);
    QCOMPARE(end, 64 + 8 + qint64(length));
    QCOMPARE(quint8(j[72]), quint8(1)); // entry version
    QCOMPARE(quint8(j[73]), quint8(What::Inserita));
    QCOMPARE(at<qint64>(j, 74), 1); // position
    QCOMPARE(at<qint64>(j, 82), 0); // no earlier entry of the card
    const qint64 millis = at<qint64>(j, 90);
    QVERIFY(millis >= before.toMSecsSinceEpoch() && millis <= QDateTime::currentMSecsSinceEpoch());
    QCOMPARE(at<quint32>(j, 64 + 8 + length - 4), crc32(j.mid(72, length - 4)));
    // The CRC-32 of zip and zlib (its check value), also when computed in parts.
    QCOMPARE(crc32("123456789"), 0xCBF43926u);
    QCOMPARE(crc32("56789", crc32("1234")), 0xCBF43926u);
    // Zeros follow the entry, written ahead so that the next saves change no file size.
    QVERIFY(j.size() >= 1024 * 1024);
    QCOMPARE(j.mid(end).count('\0'), j.size() - end);
    const std::vector<journal::Entry> v = store.history(1);
    QCOMPARE(v.size(), size_t(1));
    QCOMPARE(v[0].record, card("Natura morta"));
    QCOMPARE(v[0].kept, (QList<journal::KeptPhoto>{{0, "Inventario/Cronologia/Opera_1_x.jpg"}}));
    QVERIFY(!v[0].workstation.isEmpty() && !v[0].user.isEmpty());
    // The archive has the record as before: the journal changes none of its bytes.
    QCOMPARE(readAll(archive()), card("Natura morta"));
}

void TestJournal::cardsReadBackNewestFirst()
{
    ArtworkArchive store;
    store.save(card("a1"), {}, What::Inserita);
    store.save(card("b1"), {}, What::Inserita);
    store.save(card("a2"), "1", What::Modificata);
    store.save(card("b2"), "2", What::Modificata);
    store.save(card("a3"), "1", What::Ripristinata);
    const std::vector<journal::Entry> a = store.history(1);
    QCOMPARE(titles(a), (QStringList{"a3", "a2", "a1"}));
    QCOMPARE(a[0].what, What::Ripristinata);
    QCOMPARE(a[0].previous, a[1].offset);
    QCOMPARE(a[2].previous, 0);
    QCOMPARE(titles(store.history(2)), (QStringList{"b2", "b1"}));
    QVERIFY(store.history(3).empty());
    QCOMPARE(titleOf(store.read(1)), QString("a3"));
}

void TestJournal::indexRebuiltWhenMissingOrForeign()
{
    ArtworkArchive store;
    for (int i = 0; i < 6; ++i)
        store.save(card(QStringLiteral("v%1").arg(i)), i == 0 ? QString() : QStringLiteral("1"), What::Modificata);
    const QStringList expected{"v5", "v4", "v3", "v2", "v1", "v0"};
    const QString index = journalFile() + ".indice";
    QVERIFY(QFile::exists(index));
    QVERIFY(QFile::remove(index));
    QCOMPARE(titles(store.history(1)), expected);
    // An index of another journal (a restored folder, a copied file) is not trusted.
    QTemporaryDir other;
    {
        programdir::Override there(other.path());
        ArtworkArchive elsewhere;
        elsewhere.save(card("altro"), {}, What::Inserita);
        elsewhere.save(card("altro2"), {}, What::Inserita);
    }
    QVERIFY(QFile::remove(index));
    QVERIFY(QFile::copy(other.filePath("Inventario_Opere.cronologia.indice"), index));
    QCOMPARE(titles(store.history(1)), expected);
    // An index left behind by entries written later is brought up to date.
    const QByteArray stale = readAll(index);
    store.save(card("v6"), "1", What::Modificata);
    writeAll(index, stale);
    QCOMPARE(titles(store.history(1)).first(), QString("v6"));
    // An index ahead of its journal (an older copy of the journal put back, as a restore
    // does) is not trusted: the next save follows the older copy's last entry, with no gap
    // that a later reader would take for the journal's end.
    const QByteArray older = readAll(journalFile());
    const qint64 olderEnd = store.journal().end();
    store.save(card("v7"), "1", What::Modificata);
    store.save(card("v8"), "1", What::Modificata);
    writeAll(journalFile(), older);
    store.save(card("v9"), "1", What::Modificata);
    const std::vector<journal::Entry> v = store.history(1);
    QCOMPARE(titles(v), (QStringList{"v9", "v6", "v5", "v4", "v3", "v2", "v1", "v0"}));
    QCOMPARE(v[0].offset, olderEnd);
    QVERIFY(QFile::remove(index));
    store.save(card("v10"), "1", What::Modificata);
    QCOMPARE(titles(store.history(1)).mid(0, 3), (QStringList{"v10", "v9", "v6"}));
}

void TestJournal::firstSaveKeepsWhatWasThere()
{
    // An archive an older installation wrote, without a journal.
    writeAll(archive(), card("uno") + card("due"));
    ArtworkArchive store;
    store.save(card("due bis"), "2", What::Modificata);
    const std::vector<journal::Entry> v = store.history(2);
    QCOMPARE(titles(v), (QStringList{"due bis", "due"}));
    QCOMPARE(v[1].what, What::Precedente);
    QCOMPARE(journal::label(v[1].what), QString::fromUtf8("gi\u00E0 in archivio"));
    // Only the first save keeps it.
    store.save(card("due ter"), "2", What::Modificata);
    QCOMPARE(titles(store.history(2)), (QStringList{"due ter", "due bis", "due"}));
    QVERIFY(store.history(1).empty());
}

void TestJournal::tornLastEntry()
{
    ArtworkArchive store;
    store.save(card("uno"), {}, What::Inserita);
    store.save(card("due"), {}, What::Inserita);
    const qint64 endOfTwo = journal::Journal(archive(), TSchedaOpera::kSize).end();
    store.save(card("tre"), {}, What::Inserita);
    const QByteArray whole = readAll(journalFile());
    const qint64 endOfThree = store.journal().end();
    // Cut at every length of the last entry: the two before it stay, the torn one is not
    // read, and the next save goes on after the good ones.
    for (qint64 cut = endOfTwo; cut < endOfThree; ++cut) {
        writeAll(journalFile(), whole.left(cut));
        QFile::remove(journalFile() + ".indice");
        ArtworkArchive again;
        QCOMPARE(titles(again.history(1)), QStringList{"uno"});
        QCOMPARE(titles(again.history(2)), QStringList{"due"});
        QVERIFY2(again.history(3).empty(), qPrintable(QString::number(cut)));
    }
    writeAll(journalFile(), whole.left(endOfThree - 5));
    // The archive had card 3: the history starts from it.
    store.save(card("tre bis"), "3", What::Modificata);
    QCOMPARE(titles(store.history(3)), (QStringList{"tre bis", "tre"}));
    QCOMPARE(titles(store.history(2)), QStringList{"due"});
}

void TestJournal::damagedEntryInTheMiddle_data()
{
    QTest::addColumn<int>("where"); // byte of the second entry that is flipped
    QTest::newRow("magic") << 1;
    QTest::newRow("length") << 5;
    QTest::newRow("position") << 11;
    QTest::newRow("record") << -10;
    QTest::newRow("CRC") << -2; // from the entry's end
}

void TestJournal::damagedEntryInTheMiddle()
{
    QFETCH(int, where);
    ArtworkArchive store;
    std::vector<qint64> starts;
    for (int i = 0; i < 5; ++i) {
        starts.push_back(journal::Journal(archive(), TSchedaOpera::kSize).end());
        store.save(card(QStringLiteral("v%1").arg(i)), i == 0 ? QString() : QStringLiteral("1"), What::Modificata);
        store.save(card(QStringLiteral("other%1").arg(i)), i == 0 ? QString() : QStringLiteral("2"), What::Modificata);
    }
    const qint64 end = journal::Journal(archive(), TSchedaOpera::kSize).end();
    QByteArray j = readAll(journalFile());
    const qint64 second = starts[1];
    const qint64 length = 8 + at<quint32>(j, second + 4);
    const qint64 flip = where >= 0 ? second + where : second + length + where;
    j[flip] = char(j[flip] ^ 0x5A);
    writeAll(journalFile(), j);
    // Through the index (the link to the damaged entry breaks) and without it.
    for (int pass = 0; pass < 2; ++pass) {
        QCOMPARE(titles(store.history(1)), (QStringList{"v4", "v3", "v2", "v0"}));
        QCOMPARE(titles(store.history(2)), (QStringList{"other4", "other3", "other2", "other1", "other0"}));
        QFile::remove(journalFile() + ".indice");
    }
    QCOMPARE(journal::Journal(archive(), TSchedaOpera::kSize).end(), end);
}

void TestJournal::entryOfAnotherRecordSize()
{
    ArtworkArchive store;
    store.save(card("uno"), {}, What::Inserita);
    QVERIFY_THROWS_EXCEPTION(IoError, store.save(QByteArray(100, 'x'), "1", What::Modificata));
    const QByteArray j = readAll(journalFile());
    const QByteArray entry = j.mid(64, 8 + at<quint32>(j, 68));
    QVERIFY(journal::Journal::parse(entry, 64, TSchedaOpera::kSize).has_value());
    // The same entry read as one of the report archive's: refused, not misread.
    QVERIFY(!journal::Journal::parse(entry, 64, 11895).has_value());
    // A journal read for records of another size yields nothing, and neither it nor its
    // index is touched.
    const QByteArray journalBefore = readAll(journalFile());
    const QByteArray indexBefore = readAll(indexFile());
    journal::Journal other(archive(), 11895);
    QVERIFY(other.versions(1).empty());
    QVERIFY_THROWS_EXCEPTION(
        IoError, other.append({{1, What::Modificata, QByteArray(11895, ' '), {}}}, QDateTime::currentDateTimeUtc()));
    QCOMPARE(readAll(journalFile()), journalBefore);
    QCOMPARE(readAll(indexFile()), indexBefore);
    QCOMPARE(titles(store.history(1)), QStringList{"uno"});
}

void TestJournal::journalThatCannotBeWritten_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("a folder in its place") << "folder";
    QTest::newRow("read-only") << "read-only";
    QTest::newRow("full disk") << "full";
}

void TestJournal::journalThatCannotBeWritten()
{
    QFETCH(QString, how);
    writeAll(archive(), card("uno"));
    if (how == "folder")
        QVERIFY(QDir(dir_->path()).mkdir("Inventario_Opere.cronologia"));
    if (how == "read-only") {
        ArtworkArchive().save(card("uno bis"), "1", What::Modificata);
        QVERIFY(QFile::setPermissions(journalFile(), QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    }
    const QByteArray before = readAll(archive());
    const QByteArray journalBefore = how == "folder" ? QByteArray() : readAll(journalFile());
    {
        std::unique_ptr<testplatform::FileSizeLimit> full;
        if (how == "full") {
            full = testplatform::limitFileSize(64); // the header fits, an entry does not
            if (!full)
                QSKIP("This system cannot make a disk full on request.");
        }
        // The history never silently stops: no journal, no save.
        QVERIFY_THROWS_EXCEPTION(IoError, ArtworkArchive().save(card("modificata"), "1", What::Modificata));
        QVERIFY_THROWS_EXCEPTION(IoError, ArtworkArchive().save(card("nuova"), {}, What::Inserita));
    }
    QCOMPARE(readAll(archive()), before);
    if (how == "read-only") {
        QCOMPARE(readAll(journalFile()), journalBefore);
        QCOMPARE(titles(ArtworkArchive().history(1)), (QStringList{"uno bis", "uno"}));
    }
    if (how == "full")
        QVERIFY(ArtworkArchive().history(1).empty());
}

void TestJournal::killedWhileSaving()
{
    // Saves killed at unforeseen moments: every save the program reported done is in the
    // history, the archive holds whole records, and the next saves go on.
    QSet<QString> reported;
    int total = 0;
    for (int round = 0; round < 6; ++round) {
        QProcess saver;
        saver.start(QStringLiteral(SAVER), {dir_->path(), QStringLiteral("r%1").arg(round), "100000",
                                            round % 2 ? QStringLiteral("1") : QString()});
        QVERIFY(saver.waitForStarted());
        const int wanted = 5 + QRandomGenerator::global()->bounded(40);
        QByteArray out;
        while (out.count('\n') < wanted && saver.state() == QProcess::Running) {
            saver.waitForReadyRead(10000);
            out += saver.readAllStandardOutput();
        }
        saver.kill(); // at once, as kill -9
        saver.waitForFinished(10000);
        out += saver.readAllStandardOutput();
        for (const QByteArray& line : out.split('\n'))
            if (line.startsWith("saved "))
                reported.insert(QStringLiteral("r%1:%2").arg(round).arg(QString::fromLatin1(line.mid(6).trimmed())));
        total += int(out.count('\n'));
    }
    QVERIFY(total > 30);
    const qint64 size = QFileInfo(archive()).size();
    QCOMPARE(size % TSchedaOpera::kSize, 0);
    // What the history screen lists of each card: every reported save is there, and the
    // record the archive holds for the card is one of its versions.
    ArtworkArchive store;
    QSet<QString> listed;
    QStringList strays;
    store.scan([&](qint64 k, const char* bytes) {
        const QStringList versions = titles(store.history(k));
        listed.unite(QSet<QString>(versions.begin(), versions.end()));
        const QString t = TSchedaOpera::fieldText(bytes, TSchedaOpera::Titolo);
        if (!t.startsWith(u'r') || !versions.contains(t))
            strays << QStringLiteral("%1: %2").arg(k).arg(t);
        return true;
    });
    QVERIFY2(strays.isEmpty(), qPrintable(strays.join(u'\n')));
    for (const QString& t : std::as_const(reported))
        QVERIFY2(listed.contains(t), qPrintable(t));
    QCOMPARE(store.save(card("dopo"), {}, What::Inserita), size / TSchedaOpera::kSize + 1);
}

void TestJournal::twoWorkstationsSaveTheSameCard()
{
    writeAll(archive(), card("prima"));
    const int each = 40;
    QProcess a, b;
    a.start(QStringLiteral(SAVER), {dir_->path(), "A", QString::number(each), "1"});
    b.start(QStringLiteral(SAVER), {dir_->path(), "B", QString::number(each), "1"});
    QVERIFY(a.waitForFinished(120000) && b.waitForFinished(120000));
    QCOMPARE(a.exitCode(), 0);
    QCOMPARE(b.exitCode(), 0);
    const std::vector<journal::Entry> v = ArtworkArchive().history(1);
    // Both workstations' saves, each in its own order, and what was there first, once.
    QCOMPARE(int(v.size()), 2 * each + 1);
    QCOMPARE(titleOf(v.back().record), QString("prima"));
    int nextA = each - 1, nextB = each - 1;
    for (size_t i = 0; i + 1 < v.size(); ++i) {
        const QString t = titleOf(v[i].record);
        if (t.startsWith("A:"))
            QCOMPARE(t, QStringLiteral("A:%1").arg(nextA--));
        else
            QCOMPARE(t, QStringLiteral("B:%1").arg(nextB--));
    }
    // The archive holds the last version the history has.
    QCOMPARE(ArtworkArchive().read(1), v.front().record);
}

void TestJournal::recoveryPutsBackWhatThePowerFailureTook()
{
    ArtworkArchive store;
    store.save(card("uno", "nota"), {}, What::Inserita);
    store.save(card("due"), {}, What::Inserita);
    store.checkpoint();
    QCOMPARE(store.journal().synced(), store.journal().end());
    QCOMPARE(at<qint64>(readAll(journalFile()), 16), store.journal().end()); // the header's end too
    store.save(card("uno bis", "nota cambiata"), "1", What::Modificata);
    store.save(card("tre"), {}, What::Inserita);
    store.save(card("due bis"), "2", What::Modificata);
    // What a power failure may leave: record 1 as it was, record 2 half written, record 3
    // never appended.
    QByteArray lost = card("uno", "nota");
    QByteArray torn = card("due bis");
    torn.replace(0, 1024, card("due").left(1024));
    writeAll(archive(), lost + torn);
    store.recover();
    QCOMPARE(readAll(archive()), card("uno bis", "nota cambiata") + card("due bis") + card("tre"));
    QCOMPARE(store.journal().synced(), store.journal().end());
    // A record another program wrote since the last save is left as it is.
    store.save(card("uno ter"), "1", What::Modificata);
    QByteArray other = readAll(archive());
    other.replace(0, TSchedaOpera::kSize, card("scritta da un'altra installazione"));
    writeAll(archive(), other);
    store.recover();
    QCOMPARE(readAll(archive()), other);
}

void TestJournal::indexOfTheJournalBeforeARestoreWasUndone()
{
    ArtworkArchive store;
    store.save(card("uno"), {}, What::Inserita);
    store.save(card("due"), {}, What::Inserita);
    const QByteArray backup = readAll(journalFile());
    store.save(card("stessa"), "1", What::Modificata);
    const QByteArray safety = readAll(journalFile()); // what a restore keeps before it
    const qint64 end = store.journal().end();
    // A restore puts the backup's journal back; card 2 is saved with the same bytes, so that
    // an entry of the same length lands where card 1's last one stood.
    writeAll(journalFile(), backup);
    store.save(card("stessa"), "2", What::Modificata);
    QCOMPARE(store.journal().end(), end);
    // The restore undone: the index seen since is not this journal's, whatever sits there.
    writeAll(journalFile(), safety);
    QCOMPARE(titles(store.history(1)), (QStringList{"stessa", "uno"}));
    QCOMPARE(titles(store.history(2)), QStringList{"due"});
    // The next save chains to the version the journal holds.
    store.save(card("dopo"), "1", What::Modificata);
    const std::vector<journal::Entry> v = store.history(1);
    QCOMPARE(titles(v), (QStringList{"dopo", "stessa", "uno"}));
    QCOMPARE(v[0].previous, v[1].offset);
}

void TestJournal::handMadeIndex_data()
{
    QTest::addColumn<QString>("note"); // what card 1's note in the index is made to say
    QTest::newRow("an older entry of the card") << "older";
    QTest::newRow("another card's entry") << "other";
    QTest::newRow("no entry") << "none";
}

void TestJournal::handMadeIndex()
{
    QFETCH(QString, note);
    ArtworkArchive store;
    store.save(card("v1"), {}, What::Inserita);
    store.save(card("altra"), {}, What::Inserita);
    store.save(card("v2"), "1", What::Modificata);
    store.save(card("v3"), "1", What::Modificata);
    const std::vector<journal::Entry> before = store.history(1);
    const qint64 named = note == "older" ? before.back().offset : note == "other" ? store.history(2)[0].offset : 0;
    // Card 1's note is the first after the 64-byte header: its offset, then its check.
    QByteArray index = readAll(indexFile());
    QCOMPARE(at<qint64>(index, 64), before.front().offset);
    QByteArray forged;
    put<qint64>(forged, named);
    index.replace(64, 8, forged);
    if (note == "none")
        index.replace(72, 8, QByteArray(8, '\0'));
    writeAll(indexFile(), index);
    QCOMPARE(titles(store.history(1)), (QStringList{"v3", "v2", "v1"}));
    writeAll(indexFile(), index);
    // A save over the forged index chains to the card's newest version.
    store.save(card("v4"), "1", What::Modificata);
    const std::vector<journal::Entry> v = store.history(1);
    QCOMPARE(titles(v), (QStringList{"v4", "v3", "v2", "v1"}));
    QCOMPARE(v[0].previous, v[1].offset);
    QCOMPARE(titles(store.history(2)), QStringList{"altra"});
}

void TestJournal::saveWithoutAnIndex()
{
    ArtworkArchive store;
    store.save(card("v1"), {}, What::Inserita);
    store.save(card("altra"), {}, What::Inserita);
    store.save(card("v2"), "1", What::Modificata);
    // An index that cannot be opened: the saves go on and chain as they would through one.
    QVERIFY(QFile::remove(indexFile()));
    QVERIFY(QDir(dir_->path()).mkdir("Inventario_Opere.cronologia.indice"));
    store.save(card("v3"), "1", What::Modificata);
    store.save(card("nuova"), {}, What::Inserita);
    const std::vector<journal::Entry> v = store.history(1);
    QCOMPARE(titles(v), (QStringList{"v3", "v2", "v1"}));
    QCOMPARE(v[0].previous, v[1].offset);
    QCOMPARE(titles(store.history(3)), QStringList{"nuova"});
}

void TestJournal::recordThatInflatesTooFar()
{
    ArtworkArchive store;
    store.save(card("uno"), {}, What::Inserita);
    // An entry whose record, CRC and all, inflates to 256 MB: read as damaged, at the cost of
    // a record, never of what it claims.
    const QByteArray bomb = forgedEntry(1, 64, zeroBomb(256));
    const long before = peakKb();
    QVERIFY(!journal::Journal::parse(bomb, store.journal().end(), TSchedaOpera::kSize));
    appendRaw(bomb);
    store.save(card("dopo"), "1", What::Modificata);
    QCOMPARE(titles(store.history(1)), (QStringList{"dopo", "uno"}));
    int read = 0;
    store.journal().scan([&](const journal::Entry&) { return ++read; });
    QCOMPARE(read, 2);
    QVERIFY2(peakKb() - before < 64 * 1024, qPrintable(QString::number(peakKb() - before)));
}

void TestJournal::cardNoArchiveCanHave()
{
    ArtworkArchive store;
    store.save(card("uno"), {}, What::Inserita);
    // A whole entry for card 2^40, which no archive can hold: a damaged entry, never noted
    // in the index (8 bytes a card would make it a file of terabytes).
    appendRaw(forgedEntry(qint64(1) << 40, 0, qCompress(card("lontana"))));
    store.save(card("due"), {}, What::Inserita);
    QCOMPARE(titles(store.history(1)), QStringList{"uno"});
    QCOMPARE(titles(store.history(2)), QStringList{"due"});
    QVERIFY(store.history(qint64(1) << 40).empty());
    QStringList all;
    store.journal().scan([&](const journal::Entry& e) {
        all << titleOf(e.record);
        return true;
    });
    QCOMPARE(all, (QStringList{"uno", "due"}));
    QVERIFY(QFileInfo(indexFile()).size() < 4096);
    // And none is written.
    QVERIFY_THROWS_EXCEPTION(IoError, store.journal().append({{qint64(1) << 40, What::Inserita, card("x"), {}}},
                                                             QDateTime::currentDateTimeUtc()));
}

void TestJournal::damagedHeaderMendedOnce()
{
    ArtworkArchive store;
    store.save(card("uno"), {}, What::Inserita);
    store.save(card("due"), {}, What::Inserita);
    store.checkpoint();
    store.save(card("uno bis"), "1", What::Modificata);
    const qint64 end = store.journal().end();
    QByteArray j = readAll(journalFile());
    j[20] = char(j[20] ^ 0x40); // the end the header notes, so that its CRC fails
    writeAll(journalFile(), j);
    // Read without the archive's lock, the entries tell where they end.
    QCOMPARE(store.journal().end(), end);
    QCOMPARE(readAll(journalFile()), j);
    // The first operation under the lock writes the header anew: the journal's end, and
    // the archive to be checked whole against it at the next recovery.
    QCOMPARE(titles(store.history(1)), (QStringList{"uno bis", "uno"}));
    const QByteArray mended = readAll(journalFile());
    QCOMPARE(at<quint32>(mended, 40), crc32(mended.left(40)));
    QCOMPARE(at<qint64>(mended, 16), end);
    QCOMPARE(at<qint64>(mended, 24), 64);
    QCOMPARE(mended.mid(64), j.mid(64));
    // Once: later operations find it whole, and the index built then stays as it is.
    const QByteArray index = readAll(indexFile());
    QCOMPARE(titles(store.history(2)), QStringList{"due"});
    QCOMPARE(readAll(journalFile()), mended);
    QCOMPARE(readAll(indexFile()), index);
    store.recover();
    QCOMPARE(store.journal().synced(), end);
}

void TestJournal::whatLiesPastTheEndStaysPast()
{
    ArtworkArchive store;
    store.save(card("uno"), {}, What::Inserita);
    const qint64 second = store.journal().end();
    store.save(card("due"), {}, What::Inserita);
    const qint64 third = store.journal().end();
    store.save(card("due bis"), "2", What::Modificata);
    // Zeros where card 2's first entry was: the journal ends there, and its last entry lies
    // past the end (as a write that a power failure left half done may leave it).
    QByteArray j = readAll(journalFile());
    j.replace(second, third - second, QByteArray(third - second, '\0'));
    writeAll(journalFile(), j);
    QCOMPARE(store.journal().end(), second);
    // An entry of just that length written at the end never joins what lay past it.
    const QByteArray again = card("due");
    store.journal().append({{2, What::Inserita, again, {}}}, QDateTime::currentDateTimeUtc());
    QCOMPARE(store.journal().end(), third);
    const std::vector<journal::Entry> v = store.history(2);
    QCOMPARE(titles(v), QStringList{"due"});
    QCOMPARE(v[0].offset, second);
}

QTEST_GUILESS_MAIN(TestJournal)
#include "tst_journal.moc"

// A version carries what the card stores beside its record in an entry of version 2, after
// the record; entries without one keep version 1, and both are read.
void TestJournal::entriesWithAnExtra()
{
    ArtworkArchive store;
    store.save(card("senza"), {}, What::Inserita);
    const qint64 second = store.journal().end();
    StubPart companion;
    companion.before = "come era";
    companion.after = QByteArray(5000, 'x') + "documentazione";
    store.save(card("con"), "1", What::Modificata, {&companion});
    QCOMPARE(companion.committedSaves, 1);
    const QByteArray j = readAll(journalFile());
    QCOMPARE(quint8(j[72]), quint8(1));
    QCOMPARE(quint8(j[second + 8]), quint8(2));
    // After the record's size, its packed length and bytes: the extra's size, packed length, bytes.
    const quint32 length = at<quint32>(j, second + 4);
    qint64 at_ = second + 8 + 1 + 1 + 8 + 8 + 8;
    at_ += 2 + at<quint16>(j, at_);
    at_ += 2 + at<quint16>(j, at_);
    QCOMPARE(quint8(j[at_]), quint8(0)); // no kept photo
    at_ += 1;
    QCOMPARE(at<quint32>(j, at_), quint32(TSchedaOpera::kSize));
    at_ += 4 + 4 + at<quint32>(j, at_ + 4);
    QCOMPARE(at<quint32>(j, at_), quint32(withPiece(companion.after).size()));
    const quint32 packed = at<quint32>(j, at_ + 4);
    QVERIFY(packed < 200); // compressed as the record is
    QCOMPARE(qUncompress(j.mid(at_ + 8, packed)), withPiece(companion.after));
    QCOMPARE(at_ + 8 + packed + 4, second + 8 + length);
    const std::vector<journal::Entry> v = store.history(1);
    QCOMPARE(titles(v), (QStringList{"con", "senza"}));
    QCOMPARE(v[0].extra, withPiece(companion.after));
    QVERIFY(v[1].extra.isEmpty());
    // A card the history has none of yet: the version before carries what was stored then.
    QCOMPARE(store.count(), 1);
    RecordStore other(dir_->filePath("Altro.pro"), TSchedaOpera::kSize);
    other.update(1, card("vecchia"));
    other.save(card("nuova"), "1", What::Modificata, {&companion});
    const std::vector<journal::Entry> w = other.history(1);
    QCOMPARE(w.size(), size_t(2));
    QCOMPARE(w[1].what, What::Precedente);
    QCOMPARE(w[1].extra, withPiece(companion.before));
    QCOMPARE(w[0].extra, withPiece(companion.after));
    // An extra past the largest an entry carries is refused, and nothing is written.
    companion.after = QByteArray(journal::kLargestExtra + 1, 'y');
    const qint64 end = store.journal().end();
    QVERIFY_THROWS_EXCEPTION(IoError, store.save(card("troppo"), "1", What::Modificata, {&companion}));
    QCOMPARE(store.journal().end(), end);
    QCOMPARE(titles(store.history(1)), (QStringList{"con", "senza"}));
}
