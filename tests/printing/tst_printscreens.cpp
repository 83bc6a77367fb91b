// The print screens driven from the cards: the report printed and previewed, the artwork
// sheet and the list printout, each written to PDF through the scripted print dialog and
// read back with poppler.
#include "Fixture.h"
#include "PdfText.h"

#include "app/Screens.h"
#include "catalogue/Opere.h"
#include "common/Widgets.h"
#include "printing/ReportDocument.h"
#include "printing/StampaOpera.h"
#include "reports/Interventi.h"
#include "reports/PhotoBox.h"
#include "reports/ReportArchive.h"
#include "search/DaSaldare.h"

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

private:
    std::unique_ptr<Fixture> f;
    // Answers the next print dialog by printing to a PDF file (or cancels).
    QString printToPdf(const QString& name, bool print = true);
};

namespace {
const QString kPrintFailed = QString::fromUtf8("Attenzione: la stampa non \u00E8 andata a buon fine.");

// Runs the card button's screen: shows it, sets its clock, presses its action button.
template <class Screen>
void pressAction(TestUi& ui, int* result = nullptr)
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
    QCOMPARE(f->ui.takeMessages(), (QList<TestUi::Message>{{Ui::Kind::Warning, kPrintFailed, {}}}));
    QCOMPARE(result, int(QDialog::Accepted));
    f->ui.takeExecuted();
}

void TestPrintScreens::previewShowsTheDocument()
{
    frmInterventi->show();
    fillReportCard();
    const QString pdf = f->file("anteprima.pdf");
    f->ui.onPreview([pdf](const std::function<void(QPrinter&)>& paint) {
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
    f->ui.onPreview([](const std::function<void(QPrinter&)>& paint) {
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
    QVERIFY(!shown[0].text.isEmpty());
    QCOMPARE(result, -1); // still open on Stampa and Annulla
    f->ui.takeExecuted();
}

void TestPrintScreens::listPrintout()
{
    for (int i = 1; i <= 60; ++i) {
        TSchedaIntervento r;
        r[TSchedaIntervento::NumRelazione] = QString::number(i);
        r[TSchedaIntervento::Committente] = QStringLiteral("Committente%1").arg(i);
        r[TSchedaIntervento::Pagato] = QStringLiteral("No");
        ReportArchive().store(r, {});
    }
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

QTEST_MAIN(TestPrintScreens)
#include "tst_printscreens.moc"
