// The list lines, the search rule, the order of the artwork lists, the in-list find and
// the four scans, without widgets.
#include "records/ArtworkArchive.h"
#include "records/ReportArchive.h"
#include "search/Criteria.h"
#include "search/ListFind.h"
#include "search/ListLines.h"
#include "search/ListOrder.h"
#include "search/Searches.h"
#include "storage/ProgramDir.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestLists : public QObject {
    Q_OBJECT
private slots:
    void column_data();
    void column();
    void artworkLine();
    void reportLine();
    void linesFromBytesEqualLinesFromRecords();
    void criteria_data();
    void criteria();
    void order_data();
    void order();
    void find_data();
    void find();
    void artworkSearchSortsAndKeepsPositions();
    void reportSearchKeepsArchiveOrder();
    void summaries();
    void missingArchiveIsCreatedEmpty();
};

namespace {
using F = TSchedaOpera;
using R = TSchedaIntervento;

TSchedaOpera work(const QString& title, const QString& artist, const QString& year, const QString& owner,
                  const QString& value = QStringLiteral("0,00"))
{
    TSchedaOpera w;
    w[F::Titolo] = title;
    w[F::Artista] = artist;
    w[F::Anno] = year;
    w[F::Proprietario] = owner;
    w[F::Valore] = value;
    return w;
}

TSchedaIntervento report(const QString& number, const QString& client, const QString& paid = {})
{
    TSchedaIntervento r;
    r[R::NumRelazione] = number;
    r[R::DataEmissione] = QStringLiteral("10/03/2024");
    r[R::TitoloOpera] = QStringLiteral("Madonna");
    r[R::Artista] = QStringLiteral("Ignoto");
    r[R::Committente] = client;
    r[R::Recapito] = QStringLiteral("0551234567");
    r[R::Totale] = QStringLiteral("1.200,00");
    r[R::Pagato] = paid;
    return r;
}
} // namespace

void TestLists::column_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("out");
    QTest::newRow("padded") << "abc" << 5 << "abc  ";
    QTest::newRow("cut") << "abcdefg" << 5 << "abcde";
    QTest::newRow("exact") << "abcde" << 5 << "abcde";
    QTest::newRow("trimmed first") << "  ab \t" << 4 << "ab  ";
    QTest::newRow("empty") << "" << 3 << "   ";
}

void TestLists::column()
{
    QFETCH(QString, text);
    QFETCH(int, width);
    QFETCH(QString, out);
    QCOMPARE(listlines::column(text, width), out);
}

void TestLists::artworkLine()
{
    const QString title40 = QStringLiteral("Natura morta con frutta, fiori e cacciag");
    QCOMPARE(title40.size(), 40);
    const QString line = listlines::artworkLine(work(title40, "Caravaggio", "1600", "Rossi Mario", "1.500,00"));
    QCOMPARE(line.left(34), title40.left(34));
    QCOMPARE(line.mid(34, 11), QString("  Artista: "));
    QCOMPARE(line.mid(45, 28), QString("Caravaggio").leftJustified(28));
    QCOMPARE(line.mid(73, 8), QString("  Anno: "));
    QCOMPARE(line.mid(81, 14), QString("1600").leftJustified(14));
    QCOMPARE(line.mid(95, 8), QString("  Prop. "));
    QCOMPARE(line.mid(103, 30), QString("Rossi Mario").leftJustified(30));
    QCOMPARE(line.mid(133, 12), QString::fromUtf8("  Valore: \u20AC "));
    QCOMPARE(line.at(143), QChar(0x20AC));
    QCOMPARE(line.mid(145), QString("1.500,00"));
    // A value is never cut, however long.
    const QString longValue = listlines::artworkLine(work("T", "A", "1", "P", "123456789012345678,00"));
    QCOMPARE(longValue.mid(145), QString("123456789012345678,00"));
}

void TestLists::reportLine()
{
    TSchedaIntervento r = report("2024/000123-XYZ", QString(300, u'c'));
    const QString line = listlines::reportLine(r);
    QCOMPARE(line.left(3), QString("N. "));
    QCOMPARE(line.mid(3, 10), QString("2024/00012"));
    QCOMPARE(line.mid(13, 8), QString("  Data: "));
    QCOMPARE(line.mid(21, 10), QString("10/03/2024"));
    QCOMPARE(line.mid(31, 2), QString("  "));
    QCOMPARE(line.mid(33, 32), QString("Madonna").leftJustified(32));
    QCOMPARE(line.mid(65, 2), QString("  "));
    QCOMPARE(line.mid(67, 24), QString("Ignoto").leftJustified(24));
    QCOMPARE(line.mid(91, 5), QString("  -  "));
    QCOMPARE(line.mid(96, 24), QString(24, u'c'));
    QCOMPARE(line.mid(120, 7), QString("  Tel. "));
    QCOMPARE(line.mid(127, 14), QString("0551234567").leftJustified(14));
    QCOMPARE(line.mid(141, 4), QString::fromUtf8("  \u20AC "));
    QCOMPARE(line.mid(145), QString("1.200,00"));
}

void TestLists::linesFromBytesEqualLinesFromRecords()
{
    // Stored texts come back trimmed and cut to their widths, so compare with the decoded record.
    const TSchedaOpera w = work(QString::fromUtf8("  Citt\u00E0 ideale  "), QString(60, u'x'), "1480", "Comune");
    const QByteArray wb = w.encode();
    QCOMPARE(listlines::artworkLine(wb.constData()), listlines::artworkLine(TSchedaOpera::decode(wb.constData())));
    QVERIFY(listlines::artworkLine(wb.constData()).startsWith(QString::fromUtf8("Citt\u00E0 ideale ")));
    const TSchedaIntervento r = report(" 7 ", QString::fromUtf8("Societ\u00E0 \u20AC"));
    const QByteArray rb = r.encode();
    QCOMPARE(listlines::reportLine(rb.constData()), listlines::reportLine(TSchedaIntervento::decode(rb.constData())));
    QCOMPARE(listlines::reportLine(rb.constData()).mid(96, 24),
             QString::fromUtf8("Societ\u00E0 \u20AC").leftJustified(24));
}

void TestLists::criteria_data()
{
    QTest::addColumn<QString>("owner");
    QTest::addColumn<QString>("notes");
    QTest::addColumn<QString>("ownerCriterion");
    QTest::addColumn<QString>("notesCriterion");
    QTest::addColumn<bool>("listed");

    QTest::newRow("capitals find small letters") << "Rossi Mario"
                                                 << ""
                                                 << "ROSSI"
                                                 << "" << true;
    QTest::newRow("capitals find inside a word") << "Galleria Rossini"
                                                 << ""
                                                 << "ROSSI"
                                                 << "" << true;
    QTest::newRow("other owner") << "Bianchi"
                                 << ""
                                 << "ROSSI"
                                 << "" << false;
    QTest::newRow("small accented letter is not the capital")
        << QString::fromUtf8("\u00C8RA") << "" << QString::fromUtf8("\u00E8") << "" << false;
    QTest::newRow("accented letter as stored")
        << QString::fromUtf8("Citt\u00E0") << "" << QString::fromUtf8("citt\u00E0") << "" << true;
    QTest::newRow("leading space kept") << "anno 1900"
                                        << ""
                                        << " 1900"
                                        << "" << true;
    QTest::newRow("leading space not at the start") << "1900"
                                                    << ""
                                                    << " 1900"
                                                    << "" << false;
    QTest::newRow("two criteria, both hold") << "Rossi"
                                             << "Olio su tela"
                                             << "rossi"
                                             << "OLIO" << true;
    QTest::newRow("two criteria, one fails") << "Rossi"
                                             << "Tempera"
                                             << "rossi"
                                             << "olio" << false;
    QTest::newRow("no criteria lists everything") << "x"
                                                  << ""
                                                  << ""
                                                  << "" << true;
    // A criterion of spaces alone is absent: it cannot let a mismatch through.
    QTest::newRow("blank criterion is absent") << "Rossi"
                                               << "a  b"
                                               << "bianchi"
                                               << "  " << false;
    QTest::newRow("blank criterion alone lists everything") << "Rossi"
                                                            << ""
                                                            << "   "
                                                            << "" << true;
    QTest::newRow("a character no record can hold") << "Rossi ?"
                                                    << "" << QString::fromUtf8("\u0101") << "" << false;
    QTest::newRow("longer than the field") << "Ro"
                                           << ""
                                           << "Rossi"
                                           << "" << false;
}

void TestLists::criteria()
{
    QFETCH(QString, owner);
    QFETCH(QString, notes);
    QFETCH(QString, ownerCriterion);
    QFETCH(QString, notesCriterion);
    QFETCH(bool, listed);
    TSchedaOpera w = work("T", "A", "1", owner);
    w[F::Note] = notes;
    const QByteArray bytes = w.encode();
    Criteria c;
    c.add(F::Proprietario, ownerCriterion);
    c.add(F::Note, notesCriterion);
    QCOMPARE(c.matches<TSchedaOpera>(bytes.constData()), listed);
}

void TestLists::order_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<bool>("aFirst");
    QTest::newRow("a-z taken as A-Z") << "abc"
                                      << "ABD" << true;
    QTest::newRow("small before capital of a later letter") << "b"
                                                            << "C" << true;
    QTest::newRow("capital after small of an earlier letter") << "B"
                                                              << "a" << false;
    QTest::newRow("letters before [ once taken as capitals") << "z"
                                                             << "[" << true;
    QTest::newRow("UTF-16 code for the rest") << "Z" << QString::fromUtf8("\u00C9") << true;
    QTest::newRow("space before letters") << "a b"
                                          << "ab" << true;
    QTest::newRow("prefix first") << "Ab"
                                  << "abc" << true;
    QTest::newRow("equal is not less") << "abc"
                                       << "ABC" << false;
}

void TestLists::order()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(bool, aFirst);
    QCOMPARE(listorder::artworkLess(a, b), aFirst);
}

void TestLists::find_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("typed"); // one Trova each
    QTest::addColumn<QList<int>>("selected"); // the selection after each

    const QStringList names{"bianchi", "verdi", "Rossi Mario", "neri", "gialli", "Galleria ROSSINI", "blu"};
    QTest::newRow("rossi three times") << names << QStringList{"rossi", "rossi", "rossi"} << QList<int>{2, 5, 2};
    QTest::newRow("a new text starts from the top")
        << names << QStringList{"rossi", "rossi", "bianchi"} << QList<int>{2, 5, 0};
    QTest::newRow("the only match stays") << names << QStringList{"verdi", "verdi"} << QList<int>{1, 1};
    QTest::newRow("empty key selects nothing new") << names << QStringList{""} << QList<int>{0};
    QTest::newRow("no match keeps the selection") << names << QStringList{"rossi", "viola"} << QList<int>{2, 2};
    QTest::newRow("trailing space") << QStringList{"rossini", "rossi mario"} << QStringList{"rossi "} << QList<int>{1};
    QTest::newRow("TEL. on report lines")
        << QStringList{"N. 1  Tel. 055", "N. 2  Tel. 066"} << QStringList{"TEL."} << QList<int>{0};
}

void TestLists::find()
{
    QFETCH(QStringList, lines);
    QFETCH(QStringList, typed);
    QFETCH(QList<int>, selected);
    int selection = -1;
    QString lastKey;
    for (qsizetype press = 0; press < typed.size(); ++press) {
        if (selection < 0)
            selection = 0; // no line selected: the first line is selected
        const QString key = listfind::key(typed[press]);
        const int found = listfind::next([&](int i) { return lines[i]; }, int(lines.size()), selection, key, lastKey);
        if (found >= 0)
            selection = found;
        lastKey = key;
        QCOMPARE(selection, selected[press]);
    }
}

void TestLists::artworkSearchSortsAndKeepsPositions()
{
    QTemporaryDir dir;
    programdir::Override here(dir.path());
    ArtworkArchive archive;
    archive.store(work("zeta", "A", "1900", "Rossi Mario"), {});
    archive.store(work("Alfa", "B", "1901", "Bianchi"), {});
    archive.store(work("beta", "C", "1900", "Galleria Rossini"), {});
    archive.store(work("Alfa", "B", "1901", "Bianchi"), {}); // the same line again

    Criteria none;
    ListLines all;
    searches::findArtworks(archive, none, all);
    QCOMPARE(all.size(), size_t(4));
    QCOMPARE(all[0].position, 2);
    QCOMPARE(all[1].position, 4); // equal lines: archive order, each with its own record
    QCOMPARE(all[0].text, all[1].text);
    QCOMPARE(all[2].position, 3);
    QCOMPARE(all[3].position, 1);

    Criteria rossi;
    rossi.add(F::Proprietario, "ROSSI");
    rossi.add(F::Anno, "1900");
    ListLines found;
    searches::findArtworks(archive, rossi, found);
    QCOMPARE(found.size(), size_t(2));
    QVERIFY(found[0].text.startsWith("beta"));
    QCOMPARE(found[1].position, 1);
}

void TestLists::reportSearchKeepsArchiveOrder()
{
    QTemporaryDir dir;
    programdir::Override here(dir.path());
    ReportArchive archive;
    archive.store(report("30", "Rossi"), {});
    archive.store(report("10", "Bianchi"), {});
    archive.store(report("20", "Rossi"), {});
    Criteria c;
    c.add(R::Committente, "rossi");
    ListLines found;
    searches::findReports(archive, c, found);
    QCOMPARE(found.size(), size_t(2));
    QCOMPARE(found[0].position, 1);
    QCOMPARE(found[1].position, 3);
    QVERIFY(found[1].text.startsWith("N. 20"));

    Criteria month;
    month.add(R::DataEmissione, "/03/");
    ListLines march;
    searches::findReports(archive, month, march);
    QCOMPARE(march.size(), size_t(3));
}

void TestLists::summaries()
{
    QTemporaryDir dir;
    programdir::Override here(dir.path());
    ArtworkArchive works;
    for (const char* sold : {"No", "S\u00EC", "", "no", "No"}) {
        TSchedaOpera w = work(QString::fromUtf8(sold).isEmpty() ? "vuoto" : QString::fromUtf8(sold), "A", "1", "P");
        w[F::Venduta] = QString::fromUtf8(sold);
        works.store(w, {});
    }
    ListLines unsold;
    searches::unsoldArtworks(works, unsold);
    QCOMPARE(unsold.size(), size_t(2));
    QCOMPARE(unsold[0].position, 1);
    QCOMPARE(unsold[1].position, 5);

    ReportArchive reports;
    reports.store(report("3", "a", "No"), {});
    reports.store(report("1", "b", QString::fromUtf8("S\u00EC")), {});
    reports.store(report("2", "c", ""), {});
    reports.store(report("0", "d", "No"), {});
    ListLines unpaid;
    searches::unpaidReports(reports, unpaid);
    QCOMPARE(unpaid.size(), size_t(2));
    QCOMPARE(unpaid[0].position, 1); // archive order, whatever the numbers
    QCOMPARE(unpaid[1].position, 4);
}

void TestLists::missingArchiveIsCreatedEmpty()
{
    QTemporaryDir dir;
    programdir::Override here(dir.path());
    ListLines lines;
    searches::findReports(ReportArchive(), Criteria(), lines);
    QVERIFY(lines.empty());
    QVERIFY(QFile::exists(dir.filePath("Relazioni_Tecniche_Restauro.pro")));
}

QTEST_GUILESS_MAIN(TestLists)
#include "tst_lists.moc"
