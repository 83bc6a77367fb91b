#include "records/SchedaOpera.h"

#include <QSet>
#include <QtTest>

namespace {
// Writes a length-prefixed field straight into a byte image, independently of the encoder.
void put(QByteArray& r, int offset, const QByteArray& chars)
{
    r[offset] = char(chars.size());
    for (int i = 0; i < chars.size(); ++i)
        r[offset + 1 + i] = chars[i];
}
} // namespace

class TestRecord : public QObject {
    Q_OBJECT

private slots:
    void layoutIsPacked();
    void captionsAndTypingLimits();
    void encodeGoldenBytes();
    void decodeIgnoresBytesAfterLength();
    void cutsAndTrims();
    void soldFlag();
};

void TestRecord::layoutIsPacked()
{
    int next = 0;
    for (const auto& f : TSchedaOpera::layout) {
        QCOMPARE(f.offset, next);
        next = f.offset + f.width + 1;
    }
    QCOMPARE(next, TSchedaOpera::kSize);
}

void TestRecord::captionsAndTypingLimits()
{
    QSet<QString> captions;
    for (int i = 0; i < TSchedaOpera::kFields; ++i) {
        const auto f = TSchedaOpera::Field(i);
        // What the card lets the user type is always stored whole.
        QVERIFY2(TSchedaOpera::typed(f) <= TSchedaOpera::characters(f), TSchedaOpera::layout[size_t(i)].name);
        QVERIFY(!TSchedaOpera::caption(f).isEmpty() && !TSchedaOpera::caption(f).endsWith(u':'));
        captions.insert(TSchedaOpera::caption(f));
    }
    QCOMPARE(captions.size(), TSchedaOpera::kFields); // each field named once
}

void TestRecord::encodeGoldenBytes()
{
    TSchedaOpera s;
    s[TSchedaOpera::Titolo] = "  Natura morta  ";
    s[TSchedaOpera::Artista] = QString::fromUtf8("Niccolò");
    s[TSchedaOpera::CodFisc] = "RSSMRA80A01H501U";
    s[TSchedaOpera::Valore] = "1250,00";
    s[TSchedaOpera::Desc03] = "ultimo";
    s.setSold(true);
    const QByteArray r = s.encode();
    QCOMPARE(r.size(), 2925);

    QByteArray expected(2925, '\0');
    put(expected, 0, "Natura morta");
    put(expected, 172, "Niccol\xF2");
    put(expected, 1101, "RSSMRA80A01H501U");
    put(expected, 1400, "1250,00");
    put(expected, 1416, "S\xEC");
    put(expected, 2674, "ultimo");
    QCOMPARE(r, expected);
    QCOMPARE(r.mid(1416, 3), QByteArray("\x02\x53\xEC"));
    s.setSold(false);
    QCOMPARE(s.encode().mid(1416, 3), QByteArray("\x02\x4E\x6F"));
}

void TestRecord::decodeIgnoresBytesAfterLength()
{
    QByteArray r(2925, '\xAA'); // garbage everywhere
    const int offsets[] = {0,    51,   172,  223,  274,  325,  376,  427,  678,  799,  1050,
                           1101, 1118, 1149, 1400, 1416, 1419, 1670, 1921, 2172, 2423, 2674};
    for (int o : offsets)
        r[o] = 0;
    put(r, 0, "Titolo");
    put(r, 51, "\x80 euro \x9F");
    put(r, 1050, "  Proprietario\t");
    put(r, 1416, "Xy");
    put(r, 2674, "Desc");
    const TSchedaOpera s = TSchedaOpera::decode(r.constData());
    QCOMPARE(s[TSchedaOpera::Titolo], QString("Titolo"));
    QCOMPARE(s[TSchedaOpera::Soggetto], QString::fromUtf8("€ euro Ÿ"));
    QCOMPARE(s[TSchedaOpera::Proprietario], QString("Proprietario"));
    QCOMPARE(s[TSchedaOpera::Artista], QString());
    QCOMPARE(s[TSchedaOpera::Desc03], QString("Desc"));
    QCOMPARE(s.sold(), std::nullopt);

    // A length byte larger than the field is read as the whole field, never beyond it.
    r[1101] = char(200);
    QCOMPARE(TSchedaOpera::decode(r.constData())[TSchedaOpera::CodFisc].size(), 16);
}

void TestRecord::cutsAndTrims()
{
    TSchedaOpera s;
    s[TSchedaOpera::Titolo] = QString(60, QChar('t'));
    s[TSchedaOpera::Anno] = QString(50, QChar('a'));
    s[TSchedaOpera::Note] = QString::fromUtf8("prezzo in \u4E2D");
    const TSchedaOpera back = TSchedaOpera::decode(s.encode().constData());
    QCOMPARE(back[TSchedaOpera::Titolo], QString(50, QChar('t')));
    QCOMPARE(back[TSchedaOpera::Anno], QString(50, QChar('a')));
    QCOMPARE(back[TSchedaOpera::Note], QString("prezzo in ?"));
}

void TestRecord::soldFlag()
{
    TSchedaOpera s;
    s[TSchedaOpera::Venduta] = QString::fromUtf8("Sì");
    QCOMPARE(s.sold(), std::optional<bool>(true));
    s[TSchedaOpera::Venduta] = "No";
    QCOMPARE(s.sold(), std::optional<bool>(false));
    s[TSchedaOpera::Venduta] = "no";
    QCOMPARE(s.sold(), std::nullopt);
}

QTEST_GUILESS_MAIN(TestRecord)
#include "tst_record.moc"
