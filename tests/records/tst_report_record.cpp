#include "records/ReportPhotos.h"
#include "records/SchedaIntervento.h"
#include "storage/ProgramDir.h"

#include <QDir>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

namespace {
// Writes raw bytes at an offset, independently of the encoder.
void put(QByteArray& r, int offset, const QByteArray& bytes)
{
    for (int i = 0; i < bytes.size(); ++i)
        r[offset + i] = bytes[i];
}
} // namespace

class TestReportRecord : public QObject {
    Q_OBJECT

private slots:
    void layoutIsPacked();
    void captionsAndTypingLimits();
    void encodeGoldenBytes();
    void decodeStopsAtNulAndTrims();
    void cutToWidthMinusOne();
    void photosLoadedEachOnItsOwn();
};

void TestReportRecord::layoutIsPacked()
{
    int next = 0;
    for (const auto& f : TSchedaIntervento::layout) {
        QCOMPARE(f.offset, next);
        next += f.width;
    }
    QCOMPARE(next, 11895);
}

void TestReportRecord::captionsAndTypingLimits()
{
    QSet<QString> captions;
    for (int i = 0; i < TSchedaIntervento::kFields; ++i) {
        const auto f = TSchedaIntervento::Field(i);
        // What the card lets the user type is always stored whole.
        QVERIFY2(TSchedaIntervento::typed(f) <= TSchedaIntervento::characters(f),
                 TSchedaIntervento::layout[size_t(i)].name);
        QVERIFY(!TSchedaIntervento::caption(f).isEmpty() && !TSchedaIntervento::caption(f).endsWith(u':'));
        captions.insert(TSchedaIntervento::caption(f));
    }
    QCOMPARE(captions.size(), TSchedaIntervento::kFields); // each field named once
}

void TestReportRecord::encodeGoldenBytes()
{
    TSchedaIntervento r;
    r[TSchedaIntervento::NumRelazione] = "17";
    r[TSchedaIntervento::DataEmissione] = "05/03/2024";
    r[TSchedaIntervento::Intestazione] = "  Laboratorio  ";
    r[TSchedaIntervento::MaterialiInterventi] = "riga 1\r\nriga 2";
    r[TSchedaIntervento::Totale] = "1250,00";
    r[TSchedaIntervento::Committente] = QString::fromUtf8("Città €");
    r[TSchedaIntervento::Desc03] = "fine";
    r.setPaid(true);
    QByteArray expected(11895, '\0');
    put(expected, 0, "17");
    put(expected, 51, "05/03/2024");
    put(expected, 183, "  Laboratorio  ");
    put(expected, 935, "Citt\xE0 \x80");
    put(expected, 4247, "riga 1\r\nriga 2");
    put(expected, 10370, "1250,00");
    put(expected, 10386, "S\xEC");
    put(expected, 11644, "fine");
    QCOMPARE(r.encode(), expected);
    QCOMPARE(r.encode().mid(10386, 3), QByteArray("\x53\xEC\x00", 3));
    r.setPaid(false);
    QCOMPARE(r.encode().mid(10386, 3), QByteArray("\x4E\x6F\x00", 3));
}

void TestReportRecord::decodeStopsAtNulAndTrims()
{
    QByteArray bytes(11895, '\0');
    put(bytes, 0, QByteArray("  42  \0garbage", 14));
    put(bytes, 51, "05/03/2024"); // fills its whole width: no NUL
    put(bytes, 62, "\x80\x9F team");
    put(bytes, 4247, "\r\nprima\r\n\r\nseconda\r\n");
    put(bytes, 10386, "Xx");
    const TSchedaIntervento r = TSchedaIntervento::decode(bytes.constData());
    QCOMPARE(r[TSchedaIntervento::NumRelazione], QString("42"));
    QCOMPARE(r[TSchedaIntervento::DataEmissione], QString("05/03/2024"));
    QCOMPARE(r[TSchedaIntervento::Team], QString::fromUtf8("€Ÿ team"));
    QCOMPARE(r[TSchedaIntervento::MaterialiInterventi], QString("prima\r\n\r\nseconda"));
    QCOMPARE(r.paid(), std::nullopt);

    // A field that fills its whole width with no NUL is read as w characters.
    QByteArray full(11895, '\0');
    put(full, 0, QByteArray(51, 'n'));
    QCOMPARE(TSchedaIntervento::decode(full.constData())[TSchedaIntervento::NumRelazione].size(), 51);
    QCOMPARE(TSchedaIntervento::decode(full.constData())[TSchedaIntervento::DataEmissione], QString());
}

void TestReportRecord::cutToWidthMinusOne()
{
    TSchedaIntervento r;
    r[TSchedaIntervento::NumRelazione] = QString(50, 'a');
    r[TSchedaIntervento::Anno] = QString(31, 'b');
    r[TSchedaIntervento::MaterialiInterventi] = "uno\r\ndue\r\n";
    r[TSchedaIntervento::Note] = QString::fromUtf8("nota \u4E2D");
    const QByteArray bytes = r.encode();
    QCOMPARE(bytes.at(1538 + 30), '\0');
    const TSchedaIntervento back = TSchedaIntervento::decode(bytes.constData());
    QCOMPARE(back[TSchedaIntervento::NumRelazione], QString(50, 'a'));
    QCOMPARE(back[TSchedaIntervento::Anno], QString(30, 'b'));
    QCOMPARE(back[TSchedaIntervento::MaterialiInterventi], QString("uno\r\ndue"));
    QCOMPARE(back[TSchedaIntervento::Note], QString("nota ?"));
}

void TestReportRecord::photosLoadedEachOnItsOwn()
{
    QTemporaryDir dir;
    programdir::Override here(dir.path());
    QImage red(30, 20, QImage::Format_RGB32);
    red.fill(Qt::red);
    QVERIFY(reportphotos::save(red, {}, reportphotos::Frame::A, "12"));
    QVERIFY(QFileInfo::exists(dir.filePath("Restauri/Foto_A_12.jpg")));
    QCOMPARE(reportphotos::load(reportphotos::Frame::A, "12")->size(), QSize(30, 20));
    QVERIFY(!reportphotos::load(reportphotos::Frame::B, "12"));
    QVERIFY(QDir(dir.filePath("Restauri")).removeRecursively());
    QVERIFY(!reportphotos::load(reportphotos::Frame::A, "12"));
    QVERIFY(QFileInfo(dir.filePath("Restauri")).isDir());
}

QTEST_GUILESS_MAIN(TestReportRecord)
#include "tst_report_record.moc"
