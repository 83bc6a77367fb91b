// The report engine and its three templates: objects where the printed layouts put them,
// PDF output read back with poppler, pictures checked on rendered pages, and the banded
// list printout split across pages.
#include "PdfText.h"

#include "printing/PhotoPages.h"
#include "printing/Renderer.h"
#include "printing/Templates.h"
#include "printing/TextFit.h"

#include <QFontInfo>
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
    void valuesThatFitPrintAsBefore();
    void longSingleLineValuePrintsSmaller();
    void longTextsContinueOnAddedPages();
    void continuedTextSplitsAcrossAddedPages();
    void sheetStaysOnePage();
    void pageRangeAndCopies_data();
    void pageRangeAndCopies();
    void textIsLiteral();
    void memoKeepsItsLineBreaks();
    void logoTopLeftPhotoCentred();
    void listSplitsAcrossPages_data();
    void listSplitsAcrossPages();
    void missingObjectIsAnError();
    void printFontsAreTheProgramsOwn_data();
    void printFontsAreTheProgramsOwn();
    void everySheetPageNumbered_data();
    void everySheetPageNumbered();
    void photosOfARowStartTogether_data();
    void photosOfARowStartTogether();

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
    QTest::newRow("front frame") << "report"
                                 << "Line6" << QRectF(189, 1, 0, 268);
    QTest::newRow("logo") << "report"
                          << "imgLogo" << QRectF(5, 4, 90, 42);
    QTest::newRow("title line 2") << "report"
                                  << "Memo60" << QRectF(102, 11, 87, 7);
    QTest::newRow("number bar") << "report"
                                << "Shape39" << QRectF(102, 22, 83, 4.8);
    QTest::newRow("number caption") << "report"
                                    << "Memo20" << QRectF(103, 22.4, 81, 4);
    QTest::newRow("number box") << "report"
                                << "Shape40" << QRectF(102, 27, 83, 6);
    QTest::newRow("number value") << "report"
                                  << "txtNumScheda" << QRectF(103, 28.4, 81, 4);
    QTest::newRow("heading box") << "report"
                                 << "Shape10" << QRectF(5, 61, 180, 13);
    QTest::newRow("heading") << "report"
                             << "txtAzienda" << QRectF(6.6, 62.8, 176.8, 9.8);
    QTest::newRow("artist value") << "report"
                                  << "txtChilometraggio" << QRectF(131, 99.4, 53, 4);
    QTest::newRow("photo 2") << "report"
                             << "picFotografia02" << QRectF(96, 192, 89, 59);
    QTest::newRow("state value") << "report"
                                 << "txtStato" << QRectF(6, 260.2, 178, 4);
    QTest::newRow("investigations") << "report"
                                    << "txtDanni" << QRectF(6.6, 12.8, 176.8, 33.6);
    QTest::newRow("materials box") << "report"
                                   << "Shape29" << QRectF(5, 72, 180, 61);
    QTest::newRow("total value") << "report"
                                 << "txtTotale" << QRectF(129, 201.4, 55, 4);
    QTest::newRow("declaration 2") << "report"
                                   << "Memo27" << QRectF(5, 230, 181, 5);
    QTest::newRow("client signature") << "report"
                                      << "Line13" << QRectF(104, 265, 81, 0);
    QTest::newRow("sheet title band") << "sheet"
                                      << "shpNumFatt" << QRectF(1, 1, 188, 10);
    QTest::newRow("sheet photo") << "sheet"
                                 << "imgLogo" << QRectF(1, 14, 188, 112);
    QTest::newRow("sheet euro") << "sheet"
                                << "imgEuro" << QRectF(91, 132.8, 5, 5);
    QTest::newRow("sheet year caption") << "sheet"
                                        << "Memo8" << QRectF(97, 145, 86, 4);
    QTest::newRow("sheet phone box") << "sheet"
                                     << "Shape12" << QRectF(97, 248, 92, 6);
    QTest::newRow("sheet owner value") << "sheet"
                                       << "txtCliente" << QRectF(2, 235, 185.6, 4);
    QTest::newRow("sheet footer") << "sheet"
                                  << "txtCalce" << QRectF(2, 271, 185.8, 4.2);
    const qreal u = report::kUnit;
    QTest::newRow("list title") << "list"
                                << "txtTitolo" << QRectF(7.55906 * u, 3.77953 * u, 1031.81169 * u, 18.89765 * u);
    QTest::newRow("list memo") << "list"
                               << "txtRiepilogo" << QRectF(11.33859 * u, 0, 1031.81169 * u, 102.04731 * u);
    QTest::newRow("list footer") << "list"
                                 << "txtPagina" << QRectF(11.33859 * u, 7.55906 * u, 1028.03216 * u, 18.89765 * u);
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
             qPrintable(QStringLiteral("%1 at %2,%3 %4x%5")
                            .arg(name)
                            .arg(got.x())
                            .arg(got.y())
                            .arg(got.width())
                            .arg(got.height())));
}

void TestTemplates::captionsPrintInsideTheirBoxes_data()
{
    QTest::addColumn<QString>("which");
    QTest::newRow("report document") << "report";
    QTest::newRow("artwork sheet") << "sheet";
}

void TestTemplates::captionsPrintInsideTheirBoxes()
{
    REQUIRE_POPPLER();
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
    REQUIRE_POPPLER();
    const PdfText text = pdf(templates::reportDocument(), "empty-report");
    QCOMPARE(text.pages, 2);
    QVERIFY(text.layout[0].contains("Pagina 1 di 2"));
    QVERIFY(text.layout[1].contains("Pagina 2 di 2"));
    QVERIFY(text.layout[0].contains("RELAZIONE TECNICA DI RESTAURO"));
    QVERIFY(text.layout[1].contains(QString::fromUtf8("i lavori eseguiti e l\u2019importo indicato.")));
    QCOMPARE(pdf(templates::artworkSheet(), "empty-sheet").pages, 1);
}

namespace {
// Words numbered so that each can be found once: "w0001 w0002 ...".
QString words(int count, const QString& stem = QStringLiteral("w"))
{
    QStringList w;
    for (int i = 1; i <= count; ++i)
        w << stem + QStringLiteral("%1").arg(i, 4, 10, QChar('0'));
    return w.join(u' ');
}

// The document's words in reading order, page by page.
QStringList allWords(const PdfText& text)
{
    QStringList out;
    for (const PdfWord& w : text.words)
        out << w.text;
    return out;
}
} // namespace

void TestTemplates::valuesThatFitPrintAsBefore()
{
    REQUIRE_POPPLER();
    // Every value at the longest that fits its box: the two pages, nothing smaller, nothing added.
    report::Template t = templates::reportDocument();
    t.setText("txtVeicolo", "Annunciazione con i santi Giovanni e Caterina");
    t.setText("txtNote", "Da ritirare entro la fine del mese");
    t.setText("txtDanni", words(40, "d"));
    const std::vector<report::LaidPage> pages = report::layout(t);
    QCOMPARE(pages.size(), size_t(2));
    for (const report::LaidPage& page : pages)
        for (const report::LaidItem& laid : page.items)
            if (laid.item->pageNumberFormat.isEmpty())
                QVERIFY2(!laid.owned, qPrintable(laid.item->name + " was changed"));
    const PdfText text = pdf(t, "fits");
    QCOMPARE(text.pages, 2);
    QVERIFY(text.layout[0].contains("Pagina 1 di 2"));
    QVERIFY(!text.layout[1].contains("segue"));
}

void TestTemplates::longSingleLineValuePrintsSmaller()
{
    REQUIRE_POPPLER();
    report::Template t = templates::reportDocument();
    // Too long for the title box at 10 pt, short enough at a smaller size.
    const QString title = words(14, "t");
    t.setText("txtVeicolo", title);
    t.setText("txtTarga", "1890");
    const PdfText text = pdf(t, "smaller");
    QCOMPARE(text.pages, 2);
    const report::Item& box = t.item("txtVeicolo");
    qreal height = 0;
    for (const QString& word : title.split(u' ')) {
        const QList<QRectF> found = text.find(0, word);
        QCOMPARE(found.size(), 1);
        QVERIFY2(QRectF(box.box).translated(10, 10).adjusted(-0.3, -0.6, 0.3, 0.6).contains(found[0]),
                 qPrintable(word));
        height = found[0].height();
    }
    const QList<QRectF> year = text.find(0, "1890"); // beside it, at 10 pt
    QCOMPARE(year.size(), 1);
    QVERIFY2(height < 0.9 * year[0].height(),
             qPrintable(QStringLiteral("%1 against %2").arg(height).arg(year[0].height())));
}

void TestTemplates::longTextsContinueOnAddedPages()
{
    REQUIRE_POPPLER();
    report::Template t = templates::reportDocument();
    templates::setReportReference(t, "2024/17", "05/03/2024");
    const QString memo = words(833, "m"); // about 5,000 characters
    const QString notes = words(166, "n"); // about 1,000 characters on one line
    t.setText("txtInterventi", memo);
    t.setText("txtNote", notes);
    t.setText("txtVeicolo", "Annunciazione");
    const PdfText text = pdf(t, "continued");
    QVERIFY2(text.pages >= 3, qPrintable(QString::number(text.pages)));
    const QString total = QString::number(text.pages);
    for (int p = 0; p < text.pages; ++p)
        QVERIFY2(text.layout[p].contains(QStringLiteral("Pagina %1 di %2").arg(p + 1).arg(total)),
                 qPrintable(text.layout[p]));
    // The back page shows what fits of each, marked as continuing where its whole text begins.
    QVERIFY(text.layout[1].contains(QString::fromUtf8("\u2026 (segue a pag. 3)")));
    QCOMPARE(text.layout[1].count("(segue a pag. "), 2);
    QVERIFY(!text.find(1, "m0001").isEmpty());
    QVERIFY(text.find(1, "m0833").isEmpty());
    // The added pages: heading, the report named, each text whole and in order under its caption.
    QVERIFY(text.layout[2].contains("TESTI COMPLETI"));
    QVERIFY(text.layout[2].contains("Relazione tecnica di restauro n. 2024/17 del 05/03/2024"));
    QVERIFY(text.layout[2].contains("MATERIALI UTILIZZATI E INTERVENTI ESEGUITI"));
    // Each text's words on the added pages, in order, and under its own caption.
    auto printedAfterPage2 = [&](const QString& stem) {
        QStringList found;
        qreal top = 0;
        for (const PdfWord& w : text.words)
            if (w.page >= 2 && w.text.startsWith(stem) && w.text.size() == 5) {
                found << w.text;
                if (found.size() == 1)
                    top = w.page * 1000 + w.box.top();
            }
        return std::pair{found.join(u' '), top};
    };
    const auto [memoPrinted, memoTop] = printedAfterPage2("m");
    const auto [notesPrinted, notesTop] = printedAfterPage2("n");
    QCOMPARE(memoPrinted, memo);
    QCOMPARE(notesPrinted, notes);
    QVERIFY(memoTop < notesTop);
    auto captionTop = [&](const QString& word) {
        for (const PdfWord& w : text.words)
            if (w.page >= 2 && w.text == word)
                return w.page * 1000 + w.box.top();
        return -1.0;
    };
    QVERIFY(captionTop("MATERIALI") >= 0 && captionTop("MATERIALI") < memoTop);
    QVERIFY(captionTop("NOTE") > memoTop && captionTop("NOTE") < notesTop);
    // Every word of the added pages stands inside the frame (the page number below it).
    for (const PdfWord& w : text.words)
        if (w.page >= 2 && w.box.top() < 279.5)
            QVERIFY2(w.box.left() > 11 && w.box.right() < 199 && w.box.top() > 11 && w.box.bottom() < 279,
                     qPrintable(w.text));
    // A short value left alone.
    QCOMPARE(text.find(0, "Annunciazione").size(), 1);
}

void TestTemplates::continuedTextSplitsAcrossAddedPages()
{
    REQUIRE_POPPLER();
    report::Template t = templates::reportDocument();
    // Four long values: more than one added page.
    t.setText("txtInterventi", words(833, "m"));
    t.setText("txtDanni", words(166, "d"));
    t.setText("txtRicambi", words(166, "r"));
    t.setText("txtVernice", words(83, "v"));
    const PdfText text = pdf(t, "split");
    QVERIFY2(text.pages >= 4, qPrintable(QString::number(text.pages)));
    const QStringList all = allWords(text);
    for (const QString stem : {"m", "d", "r", "v"}) {
        const int count = stem == QStringLiteral("m") ? 833 : stem == QStringLiteral("v") ? 83 : 166;
        const QString last = QStringLiteral("%1%2").arg(stem).arg(count, 4, 10, QChar('0'));
        QVERIFY2(all.contains(last), qPrintable(last));
    }
    // Each added page is numbered, framed and headed.
    for (int p = 2; p < text.pages; ++p) {
        QVERIFY(text.layout[p].contains("TESTI COMPLETI"));
        QVERIFY(text.layout[p].contains(QStringLiteral("Pagina %1 di %2").arg(p + 1).arg(text.pages)));
    }
    // The back page names the page where each text begins, in reading order.
    QVERIFY(text.layout[1].contains("(segue a pag. 3)"));
}

void TestTemplates::sheetStaysOnePage()
{
    REQUIRE_POPPLER();
    report::Template t = templates::artworkSheet();
    const QString shorter = words(22, "a"); // too long at 8 pt, fits smaller
    const QString longer = words(60, "b"); // too long even at 6 pt
    t.setText("txtCliente", shorter);
    t.setText("txtNote", longer);
    const PdfText text = pdf(t, "sheet-long");
    QCOMPARE(text.pages, 1);
    for (const QString& w : shorter.split(u' '))
        QCOMPARE(text.find(0, w).size(), 1);
    QVERIFY(!text.find(0, "b0001").isEmpty());
    QVERIFY(text.find(0, "b0060").isEmpty()); // cut at the box's edge
    QVERIFY(!text.layout[0].contains("segue"));
}

void TestTemplates::textIsLiteral()
{
    REQUIRE_POPPLER();
    report::Template t = templates::artworkSheet();
    t.setText("txtNote", "[nota] [DATE] <b>&amp;");
    const PdfText text = pdf(t, "literal");
    QVERIFY(text.layout[0].contains("[nota] [DATE] <b>&amp;"));
}

void TestTemplates::memoKeepsItsLineBreaks()
{
    REQUIRE_POPPLER();
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
    t.setPicture("imgLogo", filled({400, 100}, Qt::red)); // wide: fills the width, sits at the top
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
    REQUIRE_POPPLER();
    QFETCH(int, lines);
    QFETCH(int, pages);
    report::Template t = templates::summaryList("Riepilogo dati");
    QStringList list;
    for (int i = 1; i <= lines; ++i)
        list << QStringLiteral("Voce%1 [x]").arg(i, 4, 10, QChar('0')).leftJustified(160, u'.');
    templates::fillSummary(t, "Riepilogo opere d'arte in archivio",
                           "Stampa eseguita in data 05/03/2024 alle ore 17:05:09", list);
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

void TestTemplates::pageRangeAndCopies_data()
{
    QTest::addColumn<QString>("ranges"); // as the print dialog's field takes them
    QTest::addColumn<int>("copies");
    QTest::addColumn<bool>("collate");
    QTest::addColumn<QStringList>("printed"); // page numbers, in print order
    QTest::newRow("all") << "" << 1 << true << QStringList{"1", "2"};
    QTest::newRow("page 2") << "2" << 1 << true << QStringList{"2"};
    QTest::newRow("page 1 twice") << "1" << 2 << true << QStringList{"1", "1"};
    QTest::newRow("collated") << "" << 2 << true << QStringList{"1", "2", "1", "2"};
    QTest::newRow("not collated") << "" << 2 << false << QStringList{"1", "1", "2", "2"};
    QTest::newRow("2 to 5") << "2-5" << 1 << true << QStringList{"2"};
    QTest::newRow("past the end") << "3-4" << 1 << true << QStringList{};
}

void TestTemplates::pageRangeAndCopies()
{
    REQUIRE_POPPLER();
    QFETCH(QString, ranges);
    QFETCH(int, copies);
    QFETCH(bool, collate);
    QFETCH(QStringList, printed);
    const QString path = dir_.filePath("range.pdf");
    QFile::remove(path);
    report::PrintOptions options;
    options.pages = QPageRanges::fromString(ranges);
    options.copies = copies;
    options.collate = collate;
    int count = -1;
    {
        QPdfWriter writer(path);
        count = report::render(templates::reportDocument(), writer, options);
    }
    QCOMPARE(count, int(printed.size()));
    if (printed.isEmpty()) {
        QVERIFY(!QFile::exists(path)); // nothing begun, nothing written
        return;
    }
    const PdfText got = PdfText::read(path);
    QCOMPARE(got.pages, int(printed.size()));
    for (int p = 0; p < got.pages; ++p)
        QVERIFY2(got.layout[p].contains(QStringLiteral("Pagina %1 di 2").arg(printed[p])), qPrintable(got.layout[p]));
}

void TestTemplates::missingObjectIsAnError()
{
    report::Template t = templates::reportDocument();
    QVERIFY_THROWS_EXCEPTION(std::exception, t.setText("txtNonEsiste", "x"));
}

void TestTemplates::printFontsAreTheProgramsOwn_data()
{
    QTest::addColumn<QString>("named");
    QTest::addColumn<QString>("printed");
    QTest::addColumn<QStringList>("lines");
    // The words at which a 60 mm box breaks this text at 10 points, as the advance widths in
    // the font files give them: the same on every system, because the files are the program's.
    QTest::newRow("Arial") << "Arial"
                           << "Liberation Sans"
                           << QStringList{"Pulitura della superficie pittorica con", "solventi a bassa polarit\u00E0,",
                                          "consolidamento della pellicola e", "stuccatura delle lacune."};
    QTest::newRow("Verdana") << "Verdana"
                             << "DejaVu Sans"
                             << QStringList{"Pulitura della superficie pittorica",
                                            "con solventi a bassa polarit\u00E0,", "consolidamento della pellicola e",
                                            "stuccatura delle lacune."};
    QTest::newRow("Courier New") << "Courier New"
                                 << "Liberation Mono"
                                 << QStringList{"Pulitura della superficie",    "pittorica con solventi a",
                                                "bassa polarit\u00E0,",         "consolidamento della",
                                                "pellicola e stuccatura delle", "lacune."};
}

// A printout is set in the fonts compiled into the program, whatever faces the system has
// under the names the templates use: a report breaks its lines at the same words on Linux and
// on Windows.
void TestTemplates::printFontsAreTheProgramsOwn()
{
    QFETCH(QString, named);
    QFETCH(QString, printed);
    QFETCH(QStringList, lines);
    report::Item item;
    item.family = named;
    item.points = 10;
    // A system whose face of that name is another font altogether.
    QFont::insertSubstitution(named, QStringLiteral("Liberation Serif"));
    QCOMPARE(QFontInfo(report::fit::fontOf(item)).family(), printed);
    const QString text = QString::fromUtf8("Pulitura della superficie pittorica con solventi a bassa polarit\u00E0, "
                                           "consolidamento della pellicola e stuccatura delle lacune.");
    QCOMPARE(report::fit::wrap(item, text, 10, 60), lines);
    QFont::removeSubstitutions(named);
}

namespace {
// Photos of one colour, written as JPEG files in folder: one photo a colour, numbered from 1.
QList<photopages::Photo> photosIn(const QString& folder, const QList<QSize>& sizes, const QStringList& captions)
{
    QList<photopages::Photo> photos;
    for (qsizetype i = 0; i < sizes.size(); ++i) {
        photopages::Photo p;
        p.path = folder + QStringLiteral("/foto%1.jpg").arg(i + 1);
        filled(sizes[i], Qt::red).save(p.path, "JPEG", 95);
        p.number = int(i) + 1;
        p.phase = QStringLiteral("Fronte");
        p.caption = captions.value(i);
        photos << p;
    }
    return photos;
}
} // namespace

void TestTemplates::everySheetPageNumbered_data()
{
    QTest::addColumn<int>("photos");
    QTest::addColumn<int>("pages");
    QTest::newRow("the sheet alone") << 0 << 1;
    QTest::newRow("with a page of photos") << 1 << 2;
    QTest::newRow("with two pages of photos") << 5 << 3;
}

// The artwork sheet numbers every page as the report does, its own first page too; the pages
// of photos after it carry the sheet's foot, with the print stamp.
void TestTemplates::everySheetPageNumbered()
{
    REQUIRE_POPPLER();
    QFETCH(int, photos);
    QFETCH(int, pages);
    report::Template t = templates::artworkSheet();
    t.setText("txtCalce", "Stampa eseguita in data 05/03/2024 alle ore 10:20:30");
    t.setText("txtCalceFoto", "Stampa eseguita in data 05/03/2024 alle ore 10:20:30");
    photopages::add(t, photosIn(dir_.path(), QList<QSize>(photos, QSize(60, 40)), {}), 4);
    const PdfText text = pdf(t, QStringLiteral("sheet-%1").arg(photos));
    QCOMPARE(text.pages, pages);
    for (int p = 0; p < pages; ++p) {
        QVERIFY2(text.layout[p].contains(QStringLiteral("Pagina %1 di %2").arg(p + 1).arg(pages)),
                 qPrintable(text.layout[p]));
        QVERIFY2(text.layout[p].contains("alle ore 10:20:30"), qPrintable(text.layout[p]));
        // On the sheet's foot, in the band's right end: never over the stamp.
        const QList<QRectF> number = text.find(p, "Pagina");
        const QList<QRectF> stamp = text.find(p, "10:20:30");
        QCOMPARE(number.size(), 1);
        QCOMPARE(stamp.size(), 1);
        QVERIFY(number[0].top() > 280 && number[0].bottom() < 287);
        QVERIFY(number[0].left() > stamp[0].right());
    }
}

void TestTemplates::photosOfARowStartTogether_data()
{
    QTest::addColumn<int>("perPage");
    QTest::addColumn<QStringList>("captions");
    const QString longCaption = QStringLiteral("Saggio di pulitura sulla vernice ossidata ").repeated(5).trimmed();
    QTest::newRow("4 a page, one caption long") << 4 << QStringList{longCaption, "", "Retro", longCaption};
    QTest::newRow("6 a page, captions of every length")
        << 6 << QStringList{"", longCaption, longCaption.left(60), "Fronte", longCaption, ""};
}

// Photos of one printed row start at the same height whatever their captions (and their
// proportions): on the page as rendered, each photo's top edge.
void TestTemplates::photosOfARowStartTogether()
{
    QFETCH(int, perPage);
    QFETCH(QStringList, captions);
    QList<QSize> sizes;
    for (int i = 0; i < perPage; ++i)
        sizes << (i == 1 ? QSize(40, 60) : QSize(60, 40)); // one stands upright
    report::Template t = templates::reportDocument();
    photopages::add(t, photosIn(dir_.path(), sizes, captions), perPage);
    const int page = report::pageCount(t) - 1;
    const std::vector<report::LaidPage> laid = report::layout(t);
    QMap<qreal, QList<qreal>> topsByRow; // laid out, by the top of each cell
    QMap<qreal, QList<qreal>> paintedByRow; // as rendered
    const int dpi = 150;
    const QImage rendered = report::renderPage(t, page, dpi);
    QHash<int, QRectF> cells;
    for (const report::LaidItem& i : laid[size_t(page)].items)
        if (i.item->name.startsWith("cella"))
            cells.insert(i.item->name.mid(5).toInt(), i.item->box.translated(i.origin));
    QCOMPARE(cells.size(), perPage);
    for (const report::LaidItem& i : laid[size_t(page)].items) {
        if (i.item->kind != report::Item::Picture || !i.item->name.startsWith("foto"))
            continue;
        const QRectF cell = cells.value(i.item->name.mid(4).toInt());
        topsByRow[cell.top()] << i.item->box.translated(i.origin).top();
        // The first line of the cell, from the top, where the photo's red shows.
        const qreal px = dpi / 25.4;
        int y = qRound((cell.top() + 1) * px);
        const int x = qRound(cell.center().x() * px);
        const auto red = [&](int at) {
            const QColor c = rendered.pixelColor(x, at);
            return c.red() > 200 && c.green() < 100 && c.blue() < 100;
        };
        while (y < qRound(cell.bottom() * px) && !red(y))
            ++y;
        paintedByRow[cell.top()] << y;
    }
    QCOMPARE(topsByRow.size(), perPage / 2);
    for (auto row = topsByRow.cbegin(); row != topsByRow.cend(); ++row) {
        QCOMPARE(row.value().size(), 2);
        QVERIFY2(qAbs(row.value()[0] - row.value()[1]) < 0.01,
                 qPrintable(QStringLiteral("%1 and %2 mm").arg(row.value()[0]).arg(row.value()[1])));
        const QList<qreal> painted = paintedByRow.value(row.key());
        QVERIFY2(qAbs(painted[0] - painted[1]) <= 1,
                 qPrintable(QStringLiteral("%1 and %2").arg(painted[0]).arg(painted[1])));
    }
}

QTEST_MAIN(TestTemplates)
#include "tst_templates.moc"
