// The print screens driven from the cards: the report printed and previewed, the artwork
// sheet and the list printout, each written to PDF through the scripted print dialog and
// read back with poppler.
#include "Fixture.h"
#include "PdfText.h"
#include "Pictures.h"
#include "TestPlatform.h"

#include "app/Screens.h"
#include "catalogue/Opere.h"

#include "printing/AnteprimaScheda.h"
#include "printing/StampaOpera.h"
#include "printing/StampaScheda.h"
#include "records/ReportArchive.h"
#include "reports/Interventi.h"
#include "reports/PhotoBox.h"
#include "search/DaSaldare.h"
#include "widgets/Buttons.h"
#include "widgets/PictureFrame.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>

class TestPrintScreens : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { f.reset(); }
    void reportPrintsTheCardAsShown();
    void cancelPrintsNothing();
    void printFailureSaysSo();
    void previewShowsTheDocument();
    void previewFailureSaysSo();
    void logoFromFileOrBuiltIn_data();
    void logoFromFileOrBuiltIn();
    void artworkSheet();
    void artworkSheetFailureKeepsTheScreenOpen();
    void listPrintout();
    void pagesChosenInTheDialog_data();
    void pagesChosenInTheDialog();
    void pagesTheDocumentHasNot_data();
    void pagesTheDocumentHasNot();
    void previewPrintsThroughTheDialog();
    void failedPdfKeepsTheEarlierFile();
    void longReportPrintsWhole();
    void photosPrintUpright();

private:
    std::unique_ptr<Fixture> f;
    // Answers the next print dialog by printing to a PDF file (or cancels).
    QString printToPdf(const QString& name, bool print = true);
};

namespace {
const QString kNotPrinted = QString::fromUtf8("Attenzione: la stampa non \u00E8 andata a buon fine.");

// Runs the card button's screen: shows it, sets its clock, presses its action button.
template <class Screen> void pressAction(TestUi& ui, int* result = nullptr)
{
    ui.onExec([result](QDialog* d) {
        auto* s = qobject_cast<Screen*>(d);
        if (!s)
            return -1;
        s->show();
        s->now = [] { return QDateTime(QDate(2024, 3, 5), QTime(17, 5, 9)); };
        QTest::mouseClick(s->btnStampa, Qt::LeftButton);
        if (result)
            *result = s->isVisible() ? -1 : s->result();
        return s->result();
    });
}

void fillReportCard()
{
    auto* c = frmInterventi;
    c->txtNumScheda->setText("  2024/17 ");
    c->txtData->setText("05/03/2024");
    c->txtAzienda->setText("Laboratorio Arte e Materia");
    c->txtCliente->setText("Rossi Mario");
    c->txtVeicolo->setText("Annunciazione [copia]");
    c->txtNote->setText("Da ritirare");
    c->txtInterventi->setPlainText("\n  Pulitura\nConsolidamento\n\n");
    c->txtTotale->setText("1.200,00");
}
} // namespace

namespace {
// Answers the next print dialog with a PDF file, the pages from..to and the copies.
void choosePages(TestUi& ui, const QString& path, int from, int to, int copies = 1, bool collate = true)
{
    ui.onPrint([=](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(from, to);
        printer.setCopyCount(copies);
        printer.setCollateCopies(collate);
        return true;
    });
}

void storeUnpaidReports(int count)
{
    for (int i = 1; i <= count; ++i) {
        TSchedaIntervento r;
        r[TSchedaIntervento::NumRelazione] = QString::number(i);
        r[TSchedaIntervento::Committente] = QStringLiteral("Committente%1").arg(i);
        r[TSchedaIntervento::Pagato] = QStringLiteral("No");
        ReportArchive().store(r, {});
    }
}
} // namespace

void TestPrintScreens::init()
{
    f = std::make_unique<Fixture>();
}

QString TestPrintScreens::printToPdf(const QString& name, bool print)
{
    const QString path = f->file(name);
    f->ui.onPrint([path, print](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        return print;
    });
    return path;
}

void TestPrintScreens::reportPrintsTheCardAsShown()
{
    REQUIRE_POPPLER();
    frmInterventi->show();
    fillReportCard();
    const QString pdf = printToPdf("relazione.pdf");
    int result = 0;
    pressAction<TfrmStampaScheda>(f->ui, &result);
    QTest::mouseClick(frmInterventi->cmdStampa, Qt::LeftButton);
    QCOMPARE(f->ui.takeExecuted(), (QStringList{"frmStampaScheda", "QPrintDialog"}));
    QCOMPARE(result, int(QDialog::Accepted));
    const PdfText text = PdfText::read(pdf);
    QCOMPARE(text.pages, 2);
    QVERIFY(text.layout[0].contains("2024/17"));
    QVERIFY(text.layout[0].contains("Laboratorio Arte e Materia"));
    QVERIFY(text.layout[0].contains("Annunciazione [copia]"));
    QVERIFY(text.layout[0].contains("Pagina 1 di 2"));
    QVERIFY(text.layout[1].contains("Pagina 2 di 2"));
    QVERIFY(text.layout[1].contains(QString::fromUtf8("TOTALE: \u20AC")));
    QVERIFY(text.layout[1].contains("1.200,00"));
    const QStringList back = text.layout[1].split(u'\n');
    qsizetype pulitura = -1;
    for (qsizetype i = 0; i < back.size(); ++i)
        if (back[i].contains("Pulitura"))
            pulitura = i;
    QVERIFY(pulitura >= 0);
    QVERIFY(back[pulitura + 1].contains("Consolidamento"));
    // The card is as it was, and the archive untouched.
    QCOMPARE(frmInterventi->txtNumScheda->text(), QString("  2024/17 "));
    QCOMPARE(ReportArchive().count(), 0);
}

void TestPrintScreens::cancelPrintsNothing()
{
    frmInterventi->show();
    const QString pdf = printToPdf("annullata.pdf", false);
    int result = 0;
    pressAction<TfrmStampaScheda>(f->ui, &result);
    frmInterventi->cmdStampaClick();
    QCOMPARE(result, int(QDialog::Accepted)); // the screen closes
    QVERIFY(!QFile::exists(pdf));
    f->ui.takeExecuted();
}

void TestPrintScreens::printFailureSaysSo()
{
    frmInterventi->show();
    f->ui.onPrint([](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName("/nonexistent-folder/relazione.pdf");
        return true;
    });
    int result = 0;
    pressAction<TfrmStampaScheda>(f->ui, &result);
    frmInterventi->cmdStampaClick();
    const QList<TestUi::Message> shown = f->ui.takeMessages();
    QCOMPARE(shown, (QList<TestUi::Message>{{Ui::Kind::Warning, kNotPrinted, {}}}));
    // What to check, in Italian, and the technical cause folded away in the details.
    QVERIFY2(
        shown[0].details.contains(QString::fromUtf8("Il file PDF \u00ABrelazione.pdf\u00BB non \u00E8 stato scritto")),
        qPrintable(shown[0].details));
    QVERIFY(shown[0].details.contains("Causa tecnica: "));
    QCOMPARE(result, int(QDialog::Accepted));
    f->ui.takeExecuted();
}

void TestPrintScreens::previewShowsTheDocument()
{
    REQUIRE_POPPLER();
    frmInterventi->show();
    fillReportCard();
    const QString pdf = f->file("anteprima.pdf");
    f->ui.onPreview([pdf](const Ui::Paint& paint, const Ui::Print&) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setFullPage(true);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        paint(printer);
    });
    pressAction<TfrmAnteprimaScheda>(f->ui);
    QTest::mouseClick(frmInterventi->cmdAnteprima, Qt::LeftButton);
    QCOMPARE(f->ui.takeExecuted(), (QStringList{"frmAnteprimaScheda", "QPrintPreview"}));
    const PdfText text = PdfText::read(pdf);
    QCOMPARE(text.pages, 2);
    QVERIFY(text.layout[0].contains("Rossi Mario"));
}

void TestPrintScreens::previewFailureSaysSo()
{
    frmInterventi->show();
    f->ui.onPreview([](const Ui::Paint& paint, const Ui::Print&) {
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName("/nonexistent-folder/anteprima.pdf");
        paint(printer);
    });
    pressAction<TfrmAnteprimaScheda>(f->ui);
    frmInterventi->cmdAnteprimaClick();
    QCOMPARE(f->ui.takeMessages(),
             (QList<TestUi::Message>{{Ui::Kind::Warning,
                                      QString::fromUtf8("Attenzione: la visualizzazione dell'anteprima di stampa non "
                                                        "\u00E8 andata a buon fine."),
                                      {}}}));
    f->ui.takeExecuted();
}

void TestPrintScreens::logoFromFileOrBuiltIn_data()
{
    QTest::addColumn<QString>("file"); // what Logo.bmp holds
    QTest::newRow("missing") << "";
    QTest::newRow("broken") << "not a picture";
    QTest::newRow("a logo") << "logo";
}

void TestPrintScreens::logoFromFileOrBuiltIn()
{
    QFETCH(QString, file);
    QImage logo(60, 30, QImage::Format_RGB32);
    logo.fill(Qt::green);
    if (file == "logo")
        QVERIFY(logo.save(f->file("Logo.bmp"), "BMP"));
    else if (!file.isEmpty())
        writeBytes(f->file("Logo.bmp"), file.toUtf8());
    TfrmStampaScheda s(f->ui, frmInterventi);
    s.show();
    if (file == "logo")
        QCOMPARE(s.imgLogo->image().convertToFormat(QImage::Format_RGB32), logo);
    else
        QCOMPARE(s.imgLogo->image(), s.imgTemp->image());
    QVERIFY(!s.imgTemp->image().isNull());
}

void TestPrintScreens::artworkSheet()
{
    REQUIRE_POPPLER();
    frmOpere->show();
    frmOpere->txtCapo->setText("  Natura morta [bozza] ");
    frmOpere->txtColore->setText("Caravaggio");
    frmOpere->txtPrezzo->setText("1.500,00");
    frmOpere->txtNote->setText("Cornice coeva");
    const QString pdf = printToPdf("scheda.pdf");
    int result = 0;
    pressAction<TfrmStampaOpera>(f->ui, &result);
    QTest::mouseClick(frmOpere->cmdStampa, Qt::LeftButton);
    QCOMPARE(f->ui.takeExecuted(), (QStringList{"frmStampaOpera", "QPrintDialog"}));
    QCOMPARE(result, int(QDialog::Accepted));
    const PdfText text = PdfText::read(pdf);
    QCOMPARE(text.pages, 1);
    QVERIFY(text.layout[0].contains("Natura morta [bozza]"));
    QVERIFY(text.layout[0].contains("ARTISTA:"));
    QVERIFY(text.layout[0].contains("Caravaggio"));
    QVERIFY(text.layout[0].contains("1.500,00"));
    QVERIFY(text.layout[0].contains("Stampa eseguita in data 05/03/2024 alle ore 17:05:09"));
    QVERIFY(!text.layout[0].contains("Titolo opera d'arte"));
}

void TestPrintScreens::artworkSheetFailureKeepsTheScreenOpen()
{
    frmOpere->show();
    f->ui.onPrint([](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName("/nonexistent-folder/scheda.pdf");
        return true;
    });
    int result = 0;
    pressAction<TfrmStampaOpera>(f->ui, &result);
    frmOpere->cmdStampaClick();
    const QList<TestUi::Message> shown = f->ui.takeMessages();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].kind, Ui::Kind::Error);
    // The engine's own text, in Italian; its technical cause only in the details.
    QCOMPARE(shown[0].text,
             QString::fromUtf8("Il file PDF \u00ABscheda.pdf\u00BB non \u00E8 stato scritto. Controllare che "
                               "la cartella scelta esista e si possa scrivere e che il disco abbia spazio "
                               "libero."));
    QVERIFY(shown[0].details.startsWith("Causa tecnica: "));
    QCOMPARE(result, -1); // still open on Stampa and Annulla
    f->ui.takeExecuted();
}

void TestPrintScreens::listPrintout()
{
    REQUIRE_POPPLER();
    storeUnpaidReports(60);
    TfrmDaSaldare s(f->ui, frmInterventi);
    s.show();
    s.now = [] { return QDateTime(QDate(2024, 3, 5), QTime(9, 1, 2)); };
    const QString pdf = printToPdf("elenco.pdf");
    QTest::mouseClick(s.btnStampa, Qt::LeftButton);
    QCOMPARE(f->ui.takeExecuted(), QStringList{"QPrintDialog"});
    const PdfText text = PdfText::read(pdf);
    QCOMPARE(text.pages, 2);
    QVERIFY(text.layout[0].contains("Riepilogo conti non saldati"));
    QVERIFY(text.layout[0].contains("Committente1 "));
    QVERIFY(text.layout[1].contains("Committente60"));
    QVERIFY(text.layout[1].contains("Stampa eseguita in data 05/03/2024 alle ore 09:01:02"));
    QVERIFY(!text.layout[0].contains("Stampa eseguita"));
}

void TestPrintScreens::pagesChosenInTheDialog_data()
{
    QTest::addColumn<QString>("printout");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<int>("copies");
    QTest::addColumn<QStringList>("expected"); // a text that only each printed page holds
    QTest::newRow("report, page 2") << "report" << 2 << 2 << 1 << QStringList{"Pagina 2 di 2"};
    QTest::newRow("report, page 1, two copies")
        << "report" << 1 << 1 << 2 << QStringList{"Pagina 1 di 2", "Pagina 1 di 2"};
    QTest::newRow("report, 1 to 2") << "report" << 1 << 2 << 1 << QStringList{"Pagina 1 di 2", "Pagina 2 di 2"};
    QTest::newRow("list, page 2") << "list" << 2 << 2 << 1 << QStringList{"Committente60"};
    QTest::newRow("sheet, page 1") << "sheet" << 1 << 1 << 1 << QStringList{"ARTISTA:"};
}

void TestPrintScreens::pagesChosenInTheDialog()
{
    REQUIRE_POPPLER();
    QFETCH(QString, printout);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(int, copies);
    QFETCH(QStringList, expected);
    const QString pdf = f->file("pagine.pdf");
    choosePages(f->ui, pdf, from, to, copies);
    if (printout == "report") {
        frmInterventi->show();
        pressAction<TfrmStampaScheda>(f->ui);
        frmInterventi->cmdStampaClick();
    } else if (printout == "sheet") {
        frmOpere->show();
        pressAction<TfrmStampaOpera>(f->ui);
        frmOpere->cmdStampaClick();
    } else {
        storeUnpaidReports(60);
        TfrmDaSaldare s(f->ui, frmInterventi);
        s.show();
        QTest::mouseClick(s.btnStampa, Qt::LeftButton);
    }
    f->ui.takeExecuted();
    const PdfText text = PdfText::read(pdf);
    QCOMPARE(text.pages, int(expected.size()));
    for (int p = 0; p < text.pages; ++p)
        QVERIFY2(text.layout[p].contains(expected[p]), qPrintable(text.layout[p]));
    if (printout == "list")
        QVERIFY(!text.layout[0].contains("Committente1 "));
}

void TestPrintScreens::pagesTheDocumentHasNot_data()
{
    QTest::addColumn<QString>("printout");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("result"); // of the print screen; -1: still open
    const QString nothing = QString::fromUtf8("\r\n\r\nNon \u00E8 stato stampato nulla.");
    QTest::newRow("report") << "report"
                            << "Attenzione: il documento ha 2 pagine e le pagine scelte non ne fanno parte." + nothing
                            << int(QDialog::Accepted);
    QTest::newRow("sheet") << "sheet"
                           << "Attenzione: il documento ha una sola pagina e le pagine scelte non ne fanno parte."
                                  + nothing
                           << -1;
}

void TestPrintScreens::pagesTheDocumentHasNot()
{
    QFETCH(QString, printout);
    QFETCH(QString, message);
    QFETCH(int, result);
    const QString pdf = f->file("nulla.pdf");
    choosePages(f->ui, pdf, 3, 4);
    int closed = 0;
    if (printout == "report") {
        frmInterventi->show();
        pressAction<TfrmStampaScheda>(f->ui, &closed);
        frmInterventi->cmdStampaClick();
    } else {
        frmOpere->show();
        pressAction<TfrmStampaOpera>(f->ui, &closed);
        frmOpere->cmdStampaClick();
    }
    f->ui.takeExecuted();
    QCOMPARE(f->ui.takeMessages(), (QList<TestUi::Message>{{Ui::Kind::Warning, message, {}}}));
    QCOMPARE(closed, result);
    QVERIFY(!QFile::exists(pdf));
    QCOMPARE(QDir(f->path()).entryList(QDir::Files | QDir::Hidden), QStringList{});
}

void TestPrintScreens::previewPrintsThroughTheDialog()
{
    REQUIRE_POPPLER();
    frmInterventi->show();
    fillReportCard();
    const QString pdf = f->file("dall-anteprima.pdf");
    f->ui.onPreview([](const Ui::Paint&, const Ui::Print& print) { print(nullptr); });
    choosePages(f->ui, pdf, 2, 2);
    pressAction<TfrmAnteprimaScheda>(f->ui);
    frmInterventi->cmdAnteprimaClick();
    QCOMPARE(f->ui.takeExecuted(), (QStringList{"frmAnteprimaScheda", "QPrintPreview", "QPrintDialog"}));
    const PdfText text = PdfText::read(pdf);
    QCOMPARE(text.pages, 1);
    QVERIFY(text.layout[0].contains("Pagina 2 di 2"));
    QVERIFY(text.layout[0].contains("1.200,00"));
}

void TestPrintScreens::failedPdfKeepsTheEarlierFile()
{
    frmInterventi->show();
    fillReportCard();
    const QString pdf = printToPdf("relazione.pdf");
    writeBytes(pdf, "the earlier report");
    pressAction<TfrmStampaScheda>(f->ui);
    {
        // The disk fills up while the PDF is written.
        const auto full = testplatform::limitFileSize(4 * 1024);
        if (!full)
            QSKIP("This system cannot make a disk full on request.");
        frmInterventi->cmdStampaClick();
    }
    f->ui.takeExecuted();
    const QList<TestUi::Message> shown = f->ui.takeMessages();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].text, kNotPrinted);
    QCOMPARE(readBytes(pdf), QByteArray("the earlier report"));
    QCOMPARE(QDir(f->path()).entryList(QStringList{".relazione*"}, QDir::Files | QDir::Hidden), QStringList{});
}

void TestPrintScreens::longReportPrintsWhole()
{
    REQUIRE_POPPLER();
    frmInterventi->show();
    fillReportCard();
    QStringList memo;
    for (int i = 1; i <= 500; ++i)
        memo << QStringLiteral("parola%1").arg(i);
    frmInterventi->txtInterventi->setPlainText(memo.join(u' '));
    const QString pdf = printToPdf("lunga.pdf");
    pressAction<TfrmStampaScheda>(f->ui);
    frmInterventi->cmdStampaClick();
    f->ui.takeExecuted();
    const PdfText text = PdfText::read(pdf);
    QCOMPARE(text.pages, 3);
    QVERIFY(text.layout[1].contains("(segue a pag. 3)"));
    QVERIFY(text.layout[2].contains("TESTI COMPLETI"));
    QVERIFY(text.layout[2].contains("Relazione tecnica di restauro n. 2024/17 del 05/03/2024"));
    QVERIFY(text.layout[2].contains("parola500"));
    QVERIFY(text.layout[2].contains("Pagina 3 di 3"));
}

// Photos taken with the camera held upright print upright, on the report and on the artwork
// sheet: the pictures in the PDF are portraits with their quarters in place.
void TestPrintScreens::photosPrintUpright()
{
    REQUIRE_POPPLER();
    writeBytes(f->file("ritratto.jpg"), orientedJpeg(quarteredPicture({90, 150}), 6));
    auto uprightPortraits = [](const QString& pdf) {
        int found = 0;
        for (const QImage& image : PdfText::images(pdf))
            if (image.height() > image.width() && quartersOf(image) == "red green blue white")
                ++found;
        return found;
    };
    frmInterventi->show();
    fillReportCard();
    for (const char* button : {"btnCaricaFoto", "btnCaricaFoto02"}) {
        f->ui.chooseFile(f->file("ritratto.jpg"));
        QTest::mouseClick(child<QAbstractButton>(frmInterventi, button), Qt::LeftButton);
        f->ui.takeFileDialogs();
    }
    const QString report = printToPdf("relazione.pdf");
    pressAction<TfrmStampaScheda>(f->ui);
    QTest::mouseClick(frmInterventi->cmdStampa, Qt::LeftButton);
    f->ui.takeExecuted();
    QCOMPARE(uprightPortraits(report), 2);

    frmOpere->show();
    f->ui.chooseFile(f->file("ritratto.jpg"));
    QTest::mouseClick(child<QAbstractButton>(frmOpere, "btnCaricaFoto"), Qt::LeftButton);
    f->ui.takeFileDialogs();
    const QString sheet = printToPdf("scheda.pdf");
    pressAction<TfrmStampaOpera>(f->ui);
    QTest::mouseClick(frmOpere->cmdStampa, Qt::LeftButton);
    f->ui.takeExecuted();
    QCOMPARE(uprightPortraits(sheet), 1);
}

QTEST_MAIN(TestPrintScreens)
#include "tst_printscreens.moc"
