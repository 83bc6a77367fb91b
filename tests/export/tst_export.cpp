// The catalogue export: the file's bytes against a golden text, the grid and its editable
// columns, the two questions, and a failed export that leaves the earlier file whole.
#include "Fixture.h"

#include "app/Screens.h"
#include "catalogue/Opere.h"
#include "records/ArtworkArchive.h"

#include "export/ExpOpere.h"
#include "widgets/Buttons.h"
#include "widgets/PictureFrame.h"

#include <QBuffer>
#include <QLabel>
#include <QProcess>
#include <QStandardPaths>
#include <QTableView>

class TestExport : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { f.reset(); }
    void emptyArchiveWritesTheHeaderOnly();
    void cardsAreWrittenByteForByte();
    void editableColumnsReachTheFileNotTheArchive();
    void questions_data();
    void questions();
    void failedExportKeepsTheEarlierFile_data();
    void failedExportKeepsTheEarlierFile();
    void statusTextWhereTheLayoutPutsIt();
    void cellsThatNeedTheTextFormat_data();
    void cellsThatNeedTheTextFormat();
    void opensAsAWorksheet();

private:
    std::unique_ptr<Fixture> f;
    TfrmExpOpere* open();
};

namespace {
// The file as a spreadsheet program expects it, spelled out here piece by piece.
const QByteArray kHead =
    "<html xmlns:o=\"urn:schemas-microsoft-com:office:office\" xmlns:x=\"urn:schemas-microsoft-com:office:excel\" "
    "xmlns=\"http://www.w3.org/TR/REC-html40\"><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
    "charset=windows-1252\"><!--[if gte mso 9]><xml><x:ExcelWorkbook><x:ExcelWorksheets><x:ExcelWorksheet>"
    "<x:Name>Archivio Opere</x:Name><x:WorksheetOptions><x:Selected/><x:Panes><x:Pane><x:Number>1</x:Number>"
    "<x:ActiveRow>3</x:ActiveRow></x:Pane></x:Panes><x:ProtectContents>False</x:ProtectContents>"
    "<x:ProtectObjects>False</x:ProtectObjects><x:ProtectScenarios>False</x:ProtectScenarios>"
    "</x:WorksheetOptions></x:ExcelWorksheet></x:ExcelWorksheets></x:ExcelWorkbook></xml><![endif]--></head>"
    "<body><table x:str><tr>"
    "<td style=\"text-align: left; font-weight: bold;\" width=250>Titolo opera</td>"
    "<td style=\"text-align: left; font-weight: bold;\" width=300>Soggetto rappresentato</td>"
    "<td style=\"text-align: left; font-weight: bold;\" width=250>Artista</td>"
    "<td style=\"text-align: left; font-weight: bold;\" width=200>Anno realizzazione</td>"
    "<td style=\"text-align: left; font-weight: bold;\" width=250>Nazione</td>"
    "<td style=\"text-align: left; font-weight: bold;\" width=200>Tecnica utilizzata</td>"
    "<td style=\"text-align: left; font-weight: bold;\" width=250>Corrente artistica</td>"
    "<td style=\"text-align: left; font-weight: bold;\" width=250>Dimensioni</td>"
    "<td style=\"text-align: left; font-weight: bold;\" width=250>Supporto</td>"
    "<td style=\"text-align: left; font-weight: bold;\" width=250>Luogo conservazione</td>"
    "<td style=\"text-align: left; font-weight: bold;\" width=250>Proprietario attuale</td>"
    "<td style=\"text-align: left; font-weight: bold;\" width=250>Codice fiscale</td>"
    "<td style=\"text-align: left; font-weight: bold;\" width=250>Tel. preferenziale</td>"
    "<td style=\"text-align: left; font-weight: bold;\" width=400>Note</td>"
    "<td style=\"text-align: left; font-weight: bold;\" width=200>Valore</td>"
    "<td style=\"text-align: left; font-weight: bold;\" width=180>Venduta</td></tr>";
const QByteArray kTail = "</table></body></html>";

// A cell as the export writes it; a cell starting with "@" is marked as text (the mark
// itself is not written).
QByteArray row(const QList<QByteArray>& cells)
{
    QByteArray r = "<tr>";
    for (const QByteArray& c : cells) {
        if (c.startsWith('@'))
            r += "<td style=\"text-align: left; mso-number-format:'\\@';\" sdnum=\"1040;0;@\">" + c.mid(1) + "</td>";
        else
            r += "<td style=\"text-align: left;\">" + c + "</td>";
    }
    return r + "</tr>";
}

void store(const QStringList& fields)
{
    TSchedaOpera w;
    for (int i = 0; i < fields.size(); ++i)
        w.text[size_t(i)] = fields[i];
    ArtworkArchive().store(w, {});
}
} // namespace

void TestExport::init()
{
    f = std::make_unique<Fixture>();
}

TfrmExpOpere* TestExport::open()
{
    auto* s = new TfrmExpOpere(f->ui, frmOpere);
    s->show();
    return s;
}

void TestExport::emptyArchiveWritesTheHeaderOnly()
{
    TfrmExpOpere* s = open();
    QCOMPARE(s->model()->rowCount(), 0);
    f->ui.answerNext(Ui::Answer::Yes);
    f->ui.answerNext(Ui::Answer::No);
    s->cmdEsportaClick();
    f->ui.takeMessages();
    QCOMPARE(readBytes(f->file("Inventario_Opere.xls")), kHead + kTail);
    delete s;
}

void TestExport::cardsAreWrittenByteForByte()
{
    const QString longNote = QString(250, u'n');
    store({"Natura morta", "Frutta & fiori", "Anonimo", "1650", "Italia", "Olio <su> tela", "Barocco", "50 x 70",
           "Tela", "Firenze", "Rossi Mario", "RSSMRA85T10A562S", "055 123", longNote, "1.500,00",
           QString::fromUtf8("S\u00EC")});
    store({"  Secondo  ", "", "", "", "", "", "", "", "", "", "", "", "", "", "0,00", "No"});
    TfrmExpOpere* s = open();
    QCOMPARE(s->model()->rowCount(), 2);
    QCOMPARE(s->model()->index(1, 0).data().toString(), QString("2"));
    QCOMPARE(s->model()->index(0, 2).data().toString(), QString("Frutta & fiori"));
    f->ui.answerNext(Ui::Answer::Yes);
    f->ui.answerNext(Ui::Answer::No);
    s->cmdEsportaClick();
    f->ui.takeMessages();
    const QByteArray expected = kHead
                                + row({"Natura morta", "Frutta &amp; fiori", "Anonimo", "@1650", "Italia",
                                       "Olio &lt;su&gt; tela", "Barocco", "@50 x 70", "Tela", "Firenze", "Rossi Mario",
                                       "@RSSMRA85T10A562S", "@055 123", QByteArray(250, 'n'), "@1.500,00", "S\xEC"})
                                + row({"Secondo", "", "", "", "", "", "", "", "", "", "", "", "", "", "@0,00", "No"})
                                + kTail;
    const QByteArray written = readBytes(f->file("Inventario_Opere.xls"));
    QCOMPARE(written, expected);
    QVERIFY(!written.contains('\n') && !written.contains('\r'));
    delete s;
}

void TestExport::editableColumnsReachTheFileNotTheArchive()
{
    store({"Opera", "", "", "", "", "", "", "", "", "", "Bianchi", "", "", "nota vecchia", "0,00", "No"});
    const QByteArray archive = readBytes(ArtworkArchive().path());
    TfrmExpOpere* s = open();
    ExportModel* m = s->model();
    QVERIFY(!(m->flags(m->index(0, 1)) & Qt::ItemIsEditable)); // Titolo opera
    for (int c : {7, 11, 12, 13, 14})
        QVERIFY(m->flags(m->index(0, c)) & Qt::ItemIsEditable);
    QVERIFY(!m->setData(m->index(0, 1), "altro titolo", Qt::EditRole));
    QVERIFY(m->setData(m->index(0, 14), " nota <nuova> ", Qt::EditRole));
    QCOMPARE(m->index(0, 14).data().toString(), QString("nota <nuova>"));
    f->ui.answerNext(Ui::Answer::Yes);
    f->ui.answerNext(Ui::Answer::No);
    s->cmdEsportaClick();
    f->ui.takeMessages();
    QVERIFY(
        readBytes(f->file("Inventario_Opere.xls")).contains("<td style=\"text-align: left;\">nota &lt;nuova&gt;</td>"));
    QCOMPARE(readBytes(ArtworkArchive().path()), archive);
    delete s;
    TfrmExpOpere* again = open();
    QCOMPARE(again->model()->index(0, 14).data().toString(), QString("nota vecchia"));
    delete again;
}

void TestExport::questions_data()
{
    QTest::addColumn<bool>("exportNow");
    QTest::addColumn<int>("openIt"); // -1: not asked
    QTest::newRow("No to exporting") << false << -1;
    QTest::newRow("exported, not opened") << true << 0;
    QTest::newRow("exported and opened") << true << 1;
}

void TestExport::questions()
{
    QFETCH(bool, exportNow);
    QFETCH(int, openIt);
    TfrmExpOpere* s = open();
    f->ui.answerNext(exportNow ? Ui::Answer::Yes : Ui::Answer::No);
    if (openIt >= 0)
        f->ui.answerNext(openIt ? Ui::Answer::Yes : Ui::Answer::No);
    QTest::mouseClick(s->cmdEsporta, Qt::LeftButton);
    QList<TestUi::Message> asked{
        {Ui::Kind::Plain,
         QString::fromUtf8("L'esportazione dei dati in Excel pu\u00F2 richiedere diversi minuti a "
                           "seconda del numero di schede presenti in archivio.\r\n\r\nSi vuole "
                           "esportare i dati adesso?"),
         {}}};
    if (openIt >= 0)
        asked.append(
            {Ui::Kind::Plain,
             "Le schede in archivio sono state esportate con successo.\r\n\r\nSi vuole aprire il file di Excel?",
             {}});
    QCOMPARE(f->ui.takeMessages(), asked);
    QCOMPARE(QFile::exists(f->file("Inventario_Opere.xls")), exportNow);
    QCOMPARE(f->ui.takeOpened(),
             openIt == 1 ? QStringList{"\"" + f->file("Inventario_Opere.xls") + "\""} : QStringList{});
    QVERIFY(s->isVisible()); // the screen stays open
    delete s;
}

void TestExport::failedExportKeepsTheEarlierFile_data()
{
    QTest::addColumn<QString>("obstacle");
    QTest::newRow("read-only earlier export") << "read-only";
    QTest::newRow("a folder in its place") << "folder";
}

void TestExport::failedExportKeepsTheEarlierFile()
{
    QFETCH(QString, obstacle);
    store({"Opera"});
    const QString path = f->file("Inventario_Opere.xls");
    if (obstacle == "folder") {
        QVERIFY(QDir(f->path()).mkdir("Inventario_Opere.xls"));
    } else {
        writeBytes(path, "the last good export");
        QFile(path).setPermissions(QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    }
    TfrmExpOpere* s = open();
    f->ui.answerNext(Ui::Answer::Yes);
    s->cmdEsportaClick();
    const QList<TestUi::Message> shown = f->ui.takeMessages();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown[1],
             (TestUi::Message{Ui::Kind::Plain,
                              QString::fromUtf8("Attenzione: il sistema non permette di esportare i dati.\n\r\n\r"
                                                "Accertarsi che il file di Excel non sia gi\u00E0 aperto."),
                              {}}));
    if (obstacle == "folder")
        QVERIFY(QFileInfo(path).isDir());
    else
        QCOMPARE(readBytes(path), QByteArray("the last good export"));
    QCOMPARE(QDir(f->path()).entryList(QStringList{".Inventario*"}, QDir::Files | QDir::Hidden), QStringList{});
    QVERIFY(s->isVisible());
    delete s;
}

void TestExport::statusTextWhereTheLayoutPutsIt()
{
    TfrmExpOpere* s = open();
    QCOMPARE(s->panInfo->parentWidget()->objectName(), QString("panContainer"));
    QCOMPARE(s->panInfo->pos(), QPoint(14, 499));
    delete s;
}

void TestExport::cellsThatNeedTheTextFormat_data()
{
    QTest::addColumn<QString>("title"); // the title of the one card
    QTest::addColumn<QByteArray>("cell");
    QTest::newRow("words only: as always") << "Natura morta" << QByteArray("Natura morta");
    QTest::newRow("formula") << "=1+1" << QByteArray("@=1+1");
    QTest::newRow("link formula") << "=HYPERLINK(\"http://x\";\"clic\")"
                                  << QByteArray("@=HYPERLINK(\"http://x\";\"clic\")");
    QTest::newRow("plus, minus, at") << "+39 06" << QByteArray("@+39 06");
    QTest::newRow("leading zeros") << "0123" << QByteArray("@0123");
    QTest::newRow("truth value") << "Vero" << QByteArray("@Vero");
    QTest::newRow("apostrophe") << "'ciao" << QByteArray("@'ciao");
    QTest::newRow("run of spaces") << "a   b" << QByteArray("@a &#32;&#32;b");
    QTest::newRow("line breaks") << "riga1\r\nriga2\nriga3" << QByteArray("@riga1&#10;riga2&#10;riga3");
    QTest::newRow("tab") << "a\tb" << QByteArray("@a&#9;b");
    QTest::newRow("markup in text") << "a <b> & c" << QByteArray("a &lt;b&gt; &amp; c");
}

void TestExport::cellsThatNeedTheTextFormat()
{
    QFETCH(QString, title);
    QFETCH(QByteArray, cell);
    store({title, "", "", "", "", "", "", "", "", "", "Bianchi", "", "", "", "", "No"});
    TfrmExpOpere* s = open();
    f->ui.answerNext(Ui::Answer::Yes);
    f->ui.answerNext(Ui::Answer::No);
    s->cmdEsportaClick();
    f->ui.takeMessages();
    QCOMPARE(readBytes(f->file("Inventario_Opere.xls")),
             kHead + row({cell, "", "", "", "", "", "", "", "", "", "Bianchi", "", "", "", "", "No"}) + kTail);
    delete s;
}

namespace {
// The rows of a CSV text: fields separated by commas, quoted where they hold a comma, a
// quote or a line break.
QList<QStringList> parseCsv(const QString& csv)
{
    QList<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < csv.size(); ++i) {
        const QChar c = csv[i];
        if (quoted) {
            if (c == u'"' && i + 1 < csv.size() && csv[i + 1] == u'"') {
                field += u'"';
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == u'"') {
            quoted = true;
        } else if (c == u',') {
            row << field;
            field.clear();
        } else if (c == u'\n' || c == u'\r') {
            if (c == u'\r' && i + 1 < csv.size() && csv[i + 1] == u'\n')
                ++i;
            row << field;
            field.clear();
            rows << row;
            row.clear();
        } else {
            field += c;
        }
    }
    if (!field.isEmpty() || !row.isEmpty())
        rows << (row << field);
    return rows;
}
} // namespace

void TestExport::opensAsAWorksheet()
{
    const QString soffice = QStandardPaths::findExecutable("soffice");
    if (soffice.isEmpty())
        QSKIP("LibreOffice (soffice) is not installed: the export was not opened as a worksheet");
    store({"Natura morta", "Frutta & fiori", "Anonimo", "1650", "", "Olio <su> tela > carta", "", "", "", "",
           QString::fromUtf8("Citt\u00E0 di Perugia"), "", "", "", "1.500,00", QString::fromUtf8("S\u00EC")});
    // What a user may type, or paste from a client's e-mail: each must arrive as typed.
    store({"=1+1", "=HYPERLINK(\"http://esempio.it\";\"clic\")", "007", "0123", "+39 06 1234", "-5", "@somma", "Vero",
           "'apostrofo", "a   tre  spazi", "riga1\r\nriga2", "05/03/2024", "1,5e3", "50%", "0,00", "No"});
    TfrmExpOpere* s = open();
    f->ui.answerNext(Ui::Answer::Yes);
    f->ui.answerNext(Ui::Answer::No);
    s->cmdEsportaClick();
    f->ui.takeMessages();
    QList<QStringList> grid;
    for (int r = 0; r < s->model()->rowCount(); ++r) {
        QStringList cells;
        for (int c = 1; c < s->model()->columnCount(); ++c)
            cells << s->model()->index(r, c).data().toString().replace("\r\n", "\n");
        grid << cells;
    }
    delete s;
    QProcess p;
    p.setWorkingDirectory(f->path());
    p.start(soffice,
            {"--headless", "-env:UserInstallation=file://" + f->path() + "/lo-profile", "--convert-to",
             "csv:Text - txt - csv (StarCalc):44,34,76", "--outdir", f->path(), f->file("Inventario_Opere.xls")});
    QVERIFY(p.waitForFinished(180000));
    const QList<QStringList> rows = parseCsv(QString::fromUtf8(readBytes(f->file("Inventario_Opere.csv"))));
    QCOMPARE(rows.size(), 3);
    QVERIFY2(rows[0].join(u',').startsWith("Titolo opera,Soggetto rappresentato,Artista"),
             qPrintable(rows[0].join(u',')));
    // Every cell arrives exactly as the grid shows it: no formula run, no number read.
    QCOMPARE(rows[1], grid[0]);
    QCOMPARE(rows[2], grid[1]);
}

QTEST_MAIN(TestExport)
#include "tst_export.moc"
