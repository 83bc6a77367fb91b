// The report engine and its three templates: objects where the printed layouts put them,
// PDF output read back with poppler, pictures checked on rendered pages, and the banded
// list printout split across pages.
#include "PdfText.h"

#include "printing/Renderer.h"
#include "printing/Templates.h"

#include <QGuiApplication>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QtTest>

class TestTemplates : public QObject {
    Q_OBJECT
private slots:
    void objectsOfTheLayouts_data();
    void objectsOfTheLayouts();
    void captionsPrintInsideTheirBoxes_data();
    void captionsPrintInsideTheirBoxes();
    void reportHasTwoNumberedPages();
    void valuesAreCutNotWrapped();
    void textIsLiteral();
    void memoKeepsItsLineBreaks();
    void logoTopLeftPhotoCentred();
    void listSplitsAcrossPages_data();
    void listSplitsAcrossPages();
    void missingObjectIsAnError();

private:
    QTemporaryDir dir_;
    PdfText pdf(const report::Template& t, const QString& name);
};

namespace {
QColor at(const QImage& img, qreal xMm, qreal yMm, int dpi)
{
    return img.pixelColor(qRound(xMm / 25.4 * dpi), qRound(yMm / 25.4 * dpi));
}

bool white(QColor c)
{
    return c.red() > 240 && c.green() > 240 && c.blue() > 240;
}

QImage filled(QSize size, QColor c)
{
    QImage i(size, QImage::Format_RGB32);
    i.fill(c);
    return i;
}

report::Template byName(const QString& which)
{
    if (which == "report")
        return templates::reportDocument();
    if (which == "sheet")
        return templates::artworkSheet();
    return templates::summaryList("Riepilogo dati");
}
} // namespace

PdfText TestTemplates::pdf(const report::Template& t, const QString& name)
{
    const QString path = dir_.filePath(name + ".pdf");
    {
        QPdfWriter writer(path);
        report::render(t, writer);
    }
    return PdfText::read(path);
}

void TestTemplates::objectsOfTheLayouts_data()
{
    QTest::addColumn<QString>("which");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRectF>("box"); // millimetres (units converted for the list template)
    // A selection across every kind of object and every rule that places one.
    QTest::newRow("front frame") << "report" << "Line6" << QRectF(189, 1, 0, 268);
    QTest::newRow("logo") << "report" << "imgLogo" << QRectF(5, 4, 90, 42);
    QTest::newRow("title line 2") << "report" << "Memo60" << QRectF(102, 11, 87, 7);
    QTest::newRow("number bar") << "report" << "Shape39" << QRectF(102, 22, 83, 4.8);
    QTest::newRow("number caption") << "report" << "Memo20" << QRectF(103, 22.4, 81, 4);
    QTest::newRow("number box") << "report" << "Shape40" << QRectF(102, 27, 83, 6);
    QTest::newRow("number value") << "report" << "txtNumScheda" << QRectF(103, 28.4, 81, 4);
    QTest::newRow("heading box") << "report" << "Shape10" << QRectF(5, 61, 180, 13);
    QTest::newRow("heading") << "report" << "txtAzienda" << QRectF(6.6, 62.8, 176.8, 9.8);
    QTest::newRow("artist value") << "report" << "txtChilometraggio" << QRectF(131, 99.4, 53, 4);
    QTest::newRow("photo 2") << "report" << "picFotografia02" << QRectF(96, 192, 89, 59);
    QTest::newRow("state value") << "report" << "txtStato" << QRectF(6, 260.2, 178, 4);
    QTest::newRow("investigations") << "report" << "txtDanni" << QRectF(6.6, 12.8, 176.8, 33.6);
    QTest::newRow("materials box") << "report" << "Shape29" << QRectF(5, 72, 180, 61);
    QTest::newRow("total value") << "report" << "txtTotale" << QRectF(129, 201.4, 55, 4);
    QTest::newRow("declaration 2") << "report" << "Memo27" << QRectF(5, 230, 181, 5);
    QTest::newRow("client signature") << "report" << "Line13" << QRectF(104, 265, 81, 0);
    QTest::newRow("sheet title band") << "sheet" << "shpNumFatt" << QRectF(1, 1, 188, 10);
    QTest::newRow("sheet photo") << "sheet" << "imgLogo" << QRectF(1, 14, 188, 112);
    QTest::newRow("sheet euro") << "sheet" << "imgEuro" << QRectF(91, 132.8, 5, 5);
    QTest::newRow("sheet year caption") << "sheet" << "Memo8" << QRectF(97, 145, 86, 4);
    QTest::newRow("sheet phone box") << "sheet" << "Shape12" << QRectF(97, 248, 92, 6);
    QTest::newRow("sheet owner value") << "sheet" << "txtCliente" << QRectF(2, 235, 185.6, 4);
    QTest::newRow("sheet footer") << "sheet" << "txtCalce" << QRectF(2, 271, 185.8, 4.2);
    const qreal u = report::kUnit;
    QTest::newRow("list title") << "list" << "txtTitolo" << QRectF(7.55906 * u, 3.77953 * u, 1031.81169 * u, 18.89765 * u);
    QTest::newRow("list memo") << "list" << "txtRiepilogo" << QRectF(11.33859 * u, 0, 1031.81169 * u, 102.04731 * u);
    QTest::newRow("list footer") << "list" << "txtPagina" << QRectF(11.33859 * u, 7.55906 * u, 1028.03216 * u, 18.89765 * u);
}

void TestTemplates::objectsOfTheLayouts()
{
    QFETCH(QString, which);
    QFETCH(QString, name);
    QFETCH(QRectF, box);
    const report::Template t = byName(which);
    const QRectF got = t.item(name).box;
    QVERIFY2(qAbs(got.x() - box.x()) < 0.01 && qAbs(got.y() - box.y()) < 0.01 && qAbs(got.width() - box.width()) < 0.01
                 && qAbs(got.height() - box.height()) < 0.01,
             qPrintable(QStringLiteral("%1 at %2,%3 %4x%5").arg(name).arg(got.x()).arg(got.y()).arg(got.width()).arg(got.height())));
}

void TestTemplates::captionsPrintInsideTheirBoxes_data()
{
    QTest::addColumn<QString>("which");
    QTest::newRow("report document") << "report";
    QTest::newRow("artwork sheet") << "sheet";
}

void TestTemplates::captionsPrintInsideTheirBoxes()
{
    QFETCH(QString, which);
    const report::Template t = byName(which);
    const PdfText text = pdf(t, which);
    QVERIFY(text.pages > 0);
    int checked = 0;
    for (size_t pageIndex = 0; pageIndex < t.pages.size(); ++pageIndex) {
        const report::Page& page = t.pages[pageIndex];
        for (const report::Item& item : page.items) {
            if (item.kind != report::Item::Text || item.text.isEmpty())
                continue;
            const QRectF box = item.box.translated(page.margin, page.margin).adjusted(-0.5, -0.8, 0.5, 0.8);
            for (const QString& word : item.text.split(u' ', Qt::SkipEmptyParts)) {
                bool inside = false;
                for (const QRectF& w : text.find(int(pageIndex), word))
                    inside = inside || box.contains(w);
                QVERIFY2(inside, qPrintable(QStringLiteral("'%1' of %2 not inside its box").arg(word, item.name)));
                ++checked;
            }
            if ((item.align & Qt::AlignLeft) && !item.text.startsWith(u' ')) {
                const QString first = item.text.section(u' ', 0, 0);
                qreal left = 1e9;
                for (const QRectF& w : text.find(int(pageIndex), first))
                    if (box.contains(w))
                        left = std::min(left, w.left());
                QVERIFY2(qAbs(left - (item.box.left() + page.margin)) < 0.5,
                         qPrintable(QStringLiteral("%1 starts at %2 mm").arg(item.name).arg(left)));
            }
        }
    }
    QVERIFY2(checked > 20, qPrintable(QString::number(checked)));
}

void TestTemplates::reportHasTwoNumberedPages()
{
    const PdfText text = pdf(templates::reportDocument(), "empty-report");
    QCOMPARE(text.pages, 2);
    QVERIFY(text.layout[0].contains("Pagina 1 di 2"));
    QVERIFY(text.layout[1].contains("Pagina 2 di 2"));
    QVERIFY(text.layout[0].contains("RELAZIONE TECNICA DI RESTAURO"));
    QVERIFY(text.layout[1].contains(QString::fromUtf8("i lavori eseguiti e l\u2019importo indicato.")));
    QCOMPARE(pdf(templates::artworkSheet(), "empty-sheet").pages, 1);
}

void TestTemplates::valuesAreCutNotWrapped()
{
    report::Template t = templates::reportDocument();
    const QString longTitle = QStringLiteral("Inizio") + QString(300, u'W') + QStringLiteral(" Fine");
    t.setText("txtVeicolo", longTitle);
    QStringList many;
    for (int i = 1; i <= 60; ++i)
        many << QStringLiteral("riga%1").arg(i);
    t.setText("txtDanni", many.join(u'\n'));
    const PdfText text = pdf(t, "cut");
    QCOMPARE(text.pages, 2);
    // The single-line value keeps to one line and to its box: its end is not printed.
    const report::Item& title = t.item("txtVeicolo");
    QVERIFY(text.find(0, "Fine").isEmpty());
    QList<QRectF> shown;
    for (const PdfWord& w : text.words)
        if (w.page == 0 && w.text.startsWith("InizioWWW"))
            shown << w.box;
    QCOMPARE(shown.size(), 1);
    QVERIFY(shown[0].right() < 10 + title.box.right() + 3);
    QVERIFY(shown[0].top() > 10 + title.box.top() - 1 && shown[0].bottom() < 10 + title.box.bottom() + 1);
    // The multi-line value stops at its box's bottom.
    QVERIFY(!text.find(1, "riga1").isEmpty());
    QVERIFY(text.find(1, "riga60").isEmpty());
    for (const PdfWord& w : text.words)
        if (w.page == 1 && w.text.startsWith("riga"))
            QVERIFY2(w.box.top() < 10 + 12.8 + 33.6, qPrintable(w.text));
}

void TestTemplates::textIsLiteral()
{
    report::Template t = templates::artworkSheet();
    t.setText("txtNote", "[nota] [DATE] <b>&amp;");
    const PdfText text = pdf(t, "literal");
    QVERIFY(text.layout[0].contains("[nota] [DATE] <b>&amp;"));
}

void TestTemplates::memoKeepsItsLineBreaks()
{
    report::Template t = templates::reportDocument();
    t.setText("txtInterventi", "Pulitura superficiale\nConsolidamento del colore\n\nVerniciatura finale");
    const PdfText text = pdf(t, "memo");
    const QStringList lines = text.layout[1].split(u'\n');
    auto row = [&](const QString& s) {
        for (qsizetype i = 0; i < lines.size(); ++i)
            if (lines[i].contains(s))
                return int(i);
        return -1;
    };
    QVERIFY(row("Pulitura superficiale") >= 0);
    QCOMPARE(row("Consolidamento del colore"), row("Pulitura superficiale") + 1);
    QVERIFY(row("Verniciatura finale") > row("Consolidamento del colore") + 1);
}

void TestTemplates::logoTopLeftPhotoCentred()
{
    const int dpi = 100;
    report::Template t = templates::reportDocument();
    t.setPicture("imgLogo", filled({400, 100}, Qt::red));      // wide: fills the width, sits at the top
    t.setPicture("picFotografia01", filled({50, 500}, Qt::blue)); // tall: centred across the width
    const QImage page = report::renderPage(t, 0, dpi);
    // Logo box 15..105 x 14..56 mm on paper; 4:1 fills 90 x 22.5 mm from the top-left.
    QVERIFY(at(page, 16, 15, dpi).red() > 200 && at(page, 16, 15, dpi).green() < 60);
    QVERIFY(at(page, 104, 35, dpi).red() > 200);
    QVERIFY(white(at(page, 60, 40, dpi)));
    // Photo box 15..104 x 202..261 mm; 1:10 is 5.9 mm wide, centred at 59.5 mm.
    QVERIFY(at(page, 59.5, 231, dpi).blue() > 200 && at(page, 59.5, 231, dpi).red() < 60);
    QVERIFY(white(at(page, 20, 231, dpi)));
    QVERIFY(white(at(page, 100, 231, dpi)));
}

void TestTemplates::listSplitsAcrossPages_data()
{
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("pages");
    QTest::newRow("empty list") << 0 << 1;
    QTest::newRow("one line") << 1 << 1;
    QTest::newRow("60 lines") << 60 << 2;
    QTest::newRow("200 lines") << 200 << 4;
}

void TestTemplates::listSplitsAcrossPages()
{
    QFETCH(int, lines);
    QFETCH(int, pages);
    report::Template t = templates::summaryList("Riepilogo dati");
    QStringList list;
    for (int i = 1; i <= lines; ++i)
        list << QStringLiteral("Voce%1 [x]").arg(i, 4, 10, QChar('0')).leftJustified(160, u'.');
    templates::fillSummary(t, "Riepilogo opere d'arte in archivio", "Stampa eseguita in data 05/03/2024 alle ore 17:05:09",
                           list);
    if (lines == 60) {
        QVERIFY(qAbs(t.item("txtRiepilogo").box.height() - report::units(769.32)) < 0.001);
        QVERIFY(qAbs(t.band("MasterData").height - report::units(779.32)) < 0.001);
    }
    const PdfText text = pdf(t, QStringLiteral("list%1").arg(lines));
    QCOMPARE(text.pages, pages);
    QVERIFY(text.layout.first().contains("Riepilogo opere d'arte in archivio"));
    for (int p = 1; p < pages; ++p)
        QVERIFY(!text.layout[p].contains("Riepilogo opere"));
    int footers = 0;
    for (const QString& page : text.layout)
        footers += int(page.count("Stampa eseguita in data 05/03/2024 alle ore 17:05:09"));
    QCOMPARE(footers, 1);
    QVERIFY(text.layout.last().contains("Stampa eseguita"));
    // Every line printed once, in order, and the footer after the last one.
    qreal lastBottom = 0;
    int lastPage = 0;
    for (int i = 1; i <= lines; ++i) {
        const QString word = QStringLiteral("Voce%1").arg(i, 4, 10, QChar('0'));
        int found = 0;
        for (const PdfWord& w : text.words)
            if (w.text == word) {
                ++found;
                lastPage = w.page;
                lastBottom = w.box.bottom();
            }
        QCOMPARE(found, 1);
    }
    QVERIFY(text.layout.last().contains("[x]") || lines == 0);
    for (const PdfWord& w : text.words)
        if (w.text == "Stampa") {
            QCOMPARE(w.page, lines ? lastPage : 0);
            QVERIFY(w.box.top() > lastBottom);
        }
}

void TestTemplates::missingObjectIsAnError()
{
    report::Template t = templates::reportDocument();
    QVERIFY_THROWS_EXCEPTION(std::exception, t.setText("txtNonEsiste", "x"));
}

QTEST_MAIN(TestTemplates)
#include "tst_templates.moc"
