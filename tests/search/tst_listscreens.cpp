// The four list screens driven through their real widgets: searches in both modes, the
// summaries, the in-list find and the double-click that leads back to exactly its record.
#include "Fixture.h"

#include "app/Screens.h"
#include "catalogue/Opere.h"
#include "records/ArtworkArchive.h"
#include "widgets/Messages.h"

#include "records/ReportArchive.h"
#include "reports/Interventi.h"
#include "reports/PhotoBox.h"
#include "search/DaSaldare.h"
#include "search/Opere_Disponibili.h"
#include "search/TrovaInterventi.h"
#include "search/TrovaOpere.h"
#include "widgets/Buttons.h"
#include "widgets/PictureFrame.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

class TestListScreens : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { f.reset(); }
    void artworkSearchShowsTheWorkOnTheCard();
    void eachCriterionSearchesItsField_data();
    void eachCriterionSearchesItsField();
    void equalLinesShowTheCardClicked();
    void countLabel_data();
    void countLabel();
    void unreadableArchiveKeepsTheCriteria();
    void vanishedRecordChangesNothing();
    void importIntoTheReportCard();
    void reportSearchShowsTheReport();
    void unsoldAndUnpaidLists();
    void findInTheList();
    void findOnAnEmptyList();
    void enterMovesAlongTheCriteria();
    void centredOnTheScreen_data();
    void centredOnTheScreen();

private:
    std::unique_ptr<Fixture> f;
};

namespace {
using W = TSchedaOpera;
using R = TSchedaIntervento;

void addWork(const QString& title, const QString& owner, const QString& sold = QStringLiteral("No"),
             const QString& subject = {})
{
    TSchedaOpera w;
    w[W::Titolo] = title;
    w[W::Soggetto] = subject;
    w[W::Artista] = QStringLiteral("Artista");
    w[W::Anno] = QStringLiteral("1900");
    w[W::Proprietario] = owner;
    w[W::Tecnica] = QStringLiteral("Olio su tela");
    w[W::Dimensioni] = QStringLiteral("50 x 70");
    w[W::Recapito] = QStringLiteral("055 123");
    w[W::Valore] = QStringLiteral("100,00");
    w[W::Venduta] = sold;
    ArtworkArchive().store(w, {});
}

void addReport(const QString& number, const QString& client, const QString& paid = QStringLiteral("No"),
               const QString& date = QStringLiteral("10/03/2024"))
{
    TSchedaIntervento r;
    r[R::NumRelazione] = number;
    r[R::DataEmissione] = date;
    r[R::Intestazione] = QStringLiteral("Laboratorio");
    r[R::TitoloOpera] = QStringLiteral("Madonna ") + number;
    r[R::Committente] = client;
    r[R::Recapito] = QStringLiteral("055");
    r[R::Totale] = QStringLiteral("10,00");
    r[R::Pagato] = paid;
    ReportArchive().store(r, {});
}

void doubleClick(ListScreen* s, int row)
{
    const QModelIndex index = s->lstRecords->model()->index(row, 0);
    const QPoint at = s->lstRecords->visualRect(index).center();
    QTest::mouseClick(s->lstRecords->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(s->lstRecords->viewport(), Qt::LeftButton, {}, at);
}

QStringList lineTexts(const ListScreen* s)
{
    QStringList out;
    for (const ListLine& l : s->lines())
        out << l.text;
    return out;
}

// Runs handler on the search screen opened by the card's button, shown for real.
template <class Screen> void onScreen(TestUi& ui, std::function<void(Screen*)> handler)
{
    ui.onExec([handler](QDialog* d) {
        auto* s = qobject_cast<Screen*>(d);
        if (!s)
            return -1;
        activate(s);
        handler(s);
        return s->result();
    });
}

QList<TestUi::Message> plain(const QString& text)
{
    return {{Ui::Kind::Plain, text, {}}};
}
} // namespace

void TestListScreens::init()
{
    f = std::make_unique<Fixture>();
}

void TestListScreens::artworkSearchShowsTheWorkOnTheCard()
{
    addWork("Zeta", "Rossi Mario");
    addWork("Alfa", "Bianchi");
    addWork("Beta", "Galleria Rossini");
    QDir(f->path()).mkpath("Inventario");
    QImage photo(30, 20, QImage::Format_RGB32);
    photo.fill(Qt::red);
    QVERIFY(photo.save(f->file("Inventario/Opera_1.jpg")));
    frmOpere->show();

    bool closed = false;
    onScreen<TfrmTrovaOpere>(f->ui, [&](TfrmTrovaOpere* s) {
        QCOMPARE(s->lblMemory->text(), QString("opere"));
        QVERIFY(s->panAvvio->isVisible());
        QVERIFY(!s->panContainer->isVisible());
        QCOMPARE(QApplication::focusWidget(), child<QLineEdit>(s, "txtCapo"));
        QTest::keyClicks(child<QLineEdit>(s, "txtCliente"), "ROSSI");
        QTest::mouseClick(s->btnCerca, Qt::LeftButton);
        QVERIFY(s->panContainer->isVisible());
        QVERIFY(!s->panAvvio->isVisible());
        QVERIFY(!s->lblAttendere->isVisible());
        QCOMPARE(s->lblTrovate->text(), QString("Il presente riepilogo contiene 2 schede."));
        QCOMPARE(QApplication::focusWidget(), s->txtTrova);
        QVERIFY(lineTexts(s)[0].startsWith("Beta"));
        QVERIFY(lineTexts(s)[1].startsWith("Zeta"));
        doubleClick(s, 1);
        closed = !s->isVisible();
        QVERIFY(s->lines().empty()); // the list is emptied on closing
    });
    QTest::mouseClick(frmOpere->cmdTrova, Qt::LeftButton);
    QCOMPARE(f->ui.takeExecuted(), QStringList{"frmTrovaOpere"});
    QVERIFY(closed);
    QCOMPARE(frmOpere->txtCapo->text(), QString("Zeta"));
    QCOMPARE(frmOpere->txtCliente->text(), QString("Rossi Mario"));
    QCOMPARE(frmOpere->lblPosizione->text(), QString("1"));
    QCOMPARE(frmOpere->imgFoto->image().pixelColor(15, 10).red() > 200, true);
}

void TestListScreens::eachCriterionSearchesItsField_data()
{
    QTest::addColumn<QString>("edit");
    QTest::addColumn<int>("field");
    const std::pair<const char*, W::Field> artwork[] = {
        {"txtCapo", W::Titolo},          {"txtDescrizione", W::Soggetto},
        {"txtColore", W::Artista},       {"txtTessuto", W::Anno},
        {"txtDifetti", W::Dimensioni},   {"txtServizio", W::Supporto},
        {"txtCliente", W::Proprietario}, {"txtCodFisc", W::CodFisc},
        {"txtSpecifiche", W::Luogo},     {"txtNote", W::Note},
    };
    for (const auto& [edit, field] : artwork)
        QTest::newRow(edit) << edit << int(field);
}

void TestListScreens::eachCriterionSearchesItsField()
{
    QFETCH(QString, edit);
    QFETCH(int, field);
    // Record 2 holds the word in the criterion's field; record 1 in every other field.
    TSchedaOpera decoy, target;
    for (int i = 0; i <= W::Valore; ++i)
        (i == field ? target : decoy).text[size_t(i)] = QStringLiteral("XQZ");
    decoy[W::Titolo] = "Esca " + decoy[W::Titolo];
    target[W::Titolo] = "Vera " + target[W::Titolo];
    ArtworkArchive().store(decoy, {});
    ArtworkArchive().store(target, {});
    auto* s = new TfrmTrovaOpere(f->ui, frmOpere);
    child<QLineEdit>(s, qPrintable(edit))->setText("xqz");
    s->btnCercaClick();
    QCOMPARE(s->lines().size(), size_t(1));
    QCOMPARE(s->lines()[0].position, 2);
    delete s;
}

void TestListScreens::equalLinesShowTheCardClicked()
{
    addWork("Gemelle", "Rossi", "No", "la prima");
    addWork("Gemelle", "Rossi", "No", "la seconda");
    frmOpere->show();
    onScreen<TfrmTrovaOpere>(f->ui, [](TfrmTrovaOpere* s) {
        QTest::mouseClick(s->btnCerca, Qt::LeftButton);
        QCOMPARE(lineTexts(s)[0], lineTexts(s)[1]);
        doubleClick(s, 0);
    });
    frmOpere->cmdTrovaClick();
    QCOMPARE(frmOpere->txtDescrizione->text(), QString("la prima"));
    QCOMPARE(frmOpere->lblPosizione->text(), QString("1"));
    QCOMPARE(f->ui.takeExecuted().size(), 1);
}

void TestListScreens::countLabel_data()
{
    QTest::addColumn<QString>("owner");
    QTest::addColumn<QString>("label");
    QTest::newRow("one") << "Bianchi"
                         << "Il presente riepilogo contiene 1 scheda.";
    QTest::newRow("none") << "Verdi"
                          << "Il presente riepilogo contiene 0 schede.";
    QTest::newRow("all") << ""
                         << "Il presente riepilogo contiene 3 schede.";
}

void TestListScreens::countLabel()
{
    QFETCH(QString, owner);
    QFETCH(QString, label);
    addWork("A", "Rossi");
    addWork("B", "Bianchi");
    addWork("C", "Neri");
    TfrmTrovaOpere s(f->ui, frmOpere);
    child<QLineEdit>(&s, "txtCliente")->setText(owner);
    s.btnCercaClick();
    QCOMPARE(s.lblTrovate->text(), label);
}

void TestListScreens::unreadableArchiveKeepsTheCriteria()
{
    QVERIFY(QDir(f->path()).mkdir("Relazioni_Tecniche_Restauro.pro")); // a folder where the archive should be
    TfrmTrovaInterventi s(f->ui, frmInterventi);
    activate(&s);
    child<QLineEdit>(&s, "txtCliente")->setText("rossi");
    QTest::mouseClick(s.btnCerca, Qt::LeftButton);
    QCOMPARE(f->ui.takeMessages(), plain(messages::kArchiveAccess));
    QVERIFY(s.panAvvio->isVisible());
    QVERIFY(!s.panContainer->isVisible());
    QVERIFY(!s.lblAttendere->isVisible());
    QCOMPARE(child<QLineEdit>(&s, "txtCliente")->text(), QString("rossi"));
}

void TestListScreens::vanishedRecordChangesNothing()
{
    addWork("Uno", "Rossi");
    addWork("Due", "Rossi");
    frmOpere->show();
    frmOpere->txtCapo->setText("in lavorazione");
    onScreen<TfrmTrovaOpere>(f->ui, [&](TfrmTrovaOpere* s) {
        QTest::mouseClick(s->btnCerca, Qt::LeftButton);
        QFile archive(f->file("Inventario_Opere.pro"));
        QVERIFY(archive.resize(TSchedaOpera::kSize)); // the archive shrank since the list was built
        doubleClick(s, 0); // "Due", record 2
        QVERIFY(!s->isVisible());
    });
    frmOpere->cmdTrovaClick();
    QCOMPARE(frmOpere->txtCapo->text(), QString("in lavorazione"));
    QCOMPARE(frmOpere->lblPosizione->text(), QString());
    f->ui.takeExecuted();
}

void TestListScreens::importIntoTheReportCard()
{
    addWork("Annunciazione", "Rossi Mario");
    addReport("77", "Vecchio committente", QString::fromUtf8("S\u00EC"));
    auto* c = frmInterventi;
    c->show();
    c->cmdPrimoClick();
    c->txtInterventi->setPlainText("lavori");
    QCOMPARE(c->lblPosizione->text(), QString("1"));
    onScreen<TfrmTrovaOpere>(f->ui, [](TfrmTrovaOpere* s) {
        QCOMPARE(s->lblMemory->text(), QString("interventi"));
        QTest::mouseClick(s->btnCerca, Qt::LeftButton);
        doubleClick(s, 0);
    });
    QTest::mouseClick(c->impCliente, Qt::LeftButton);
    QCOMPARE(f->ui.takeExecuted(), QStringList{"frmTrovaOpere"});
    QCOMPARE(c->txtCliente->text(), QString("Rossi Mario"));
    QCOMPARE(c->txtRecapito->text(), QString("055 123"));
    QCOMPARE(c->txtVeicolo->text(), QString("Annunciazione"));
    QCOMPARE(c->txtTarga->text(), QString("1900"));
    QCOMPARE(c->txtMarca->text(), QString("Olio su tela"));
    QCOMPARE(c->txtChilometraggio->text(), QString("Artista"));
    QCOMPARE(c->txtManodopera->text(), QString("50 x 70"));
    // Nothing else changes.
    QCOMPARE(c->lblPosizione->text(), QString("1"));
    QCOMPARE(c->txtNumScheda->text(), QString("77"));
    QCOMPARE(c->txtData->text(), QString("10/03/2024"));
    QCOMPARE(c->txtAzienda->text(), QString("Laboratorio"));
    QCOMPARE(c->txtInterventi->toPlainText(), QString("lavori"));
    QVERIFY(c->chkPagato->isChecked());
    QCOMPARE(ReportArchive().record(1)[R::Committente], QString("Vecchio committente"));
}

void TestListScreens::reportSearchShowsTheReport()
{
    addReport("30", "Rossi", "No", "01/02/2023");
    addReport("10", "Bianchi", "No", "10/03/2024");
    addReport("20", "Rossi", "No", "11/03/2024");
    QDir(f->path()).mkpath("Restauri");
    QImage photo(30, 20, QImage::Format_RGB32);
    photo.fill(Qt::blue);
    QVERIFY(photo.save(f->file("Restauri/Foto_A_3.jpg"))); // photo B missing
    auto* c = frmInterventi;
    c->show();
    onScreen<TfrmTrovaInterventi>(f->ui, [](TfrmTrovaInterventi* s) {
        QCOMPARE(QApplication::focusWidget(), child<QLineEdit>(s, "txtNumScheda"));
        child<QLineEdit>(s, "txtData")->setText("/03/");
        QTest::mouseClick(s->btnCerca, Qt::LeftButton);
        QCOMPARE(s->lines().size(), size_t(2));
        QVERIFY(lineTexts(s)[0].startsWith("N. 10"));
        QVERIFY(lineTexts(s)[1].startsWith("N. 20"));
        doubleClick(s, 1);
    });
    QTest::mouseClick(c->cmdTrova, Qt::LeftButton);
    QCOMPARE(f->ui.takeExecuted(), QStringList{"frmTrovaInterventi"});
    QCOMPARE(c->txtNumScheda->text(), QString("20"));
    QCOMPARE(c->lblPosizione->text(), QString("3"));
    // Each photo on its own: the missing photo B does not blank photo A.
    QVERIFY(c->foto1->image().pixelColor(15, 10).blue() > 200);
    QCOMPARE(c->foto2->image(), c->foto2->placeholder());
}

void TestListScreens::unsoldAndUnpaidLists()
{
    addWork("Zeta", "a", "No");
    addWork("Alfa", "b", QString::fromUtf8("S\u00EC"));
    addWork("Beta", "c", "No");
    addWork("Gamma", "d", "");
    frmOpere->show();
    onScreen<TfrmOpere_Disponibili>(f->ui, [](TfrmOpere_Disponibili* s) {
        QCOMPARE(s->lines().size(), size_t(2));
        QVERIFY(lineTexts(s)[0].startsWith("Beta"));
        QCOMPARE(QApplication::focusWidget(), s->txtTrova);
        doubleClick(s, 1);
    });
    QTest::mouseClick(frmOpere->cmdSegnalati, Qt::LeftButton);
    QCOMPARE(frmOpere->txtCapo->text(), QString("Zeta"));
    QCOMPARE(frmOpere->lblPosizione->text(), QString("1"));

    addReport("9", "x", "No");
    addReport("1", "y", "");
    addReport("5", "z", "No");
    frmInterventi->show();
    onScreen<TfrmDaSaldare>(f->ui, [](TfrmDaSaldare* s) {
        QCOMPARE(s->lines().size(), size_t(2));
        QVERIFY(lineTexts(s)[0].startsWith("N. 9"));
        QVERIFY(lineTexts(s)[1].startsWith("N. 5"));
        doubleClick(s, 1);
    });
    QTest::mouseClick(frmInterventi->cmdNonPagati, Qt::LeftButton);
    QCOMPARE(frmInterventi->lblPosizione->text(), QString("3"));
    QCOMPARE(f->ui.takeExecuted(), (QStringList{"frmOpere_Disponibili", "frmDaSaldare"}));
}

void TestListScreens::findInTheList()
{
    for (const char* owner : {"bianchi", "verdi", "Rossi", "neri", "gialli", "ROSSINI", "viola"})
        addReport(QString::fromLatin1(owner).left(3), QString::fromLatin1(owner));
    TfrmDaSaldare s(f->ui, frmInterventi);
    activate(&s);
    QCOMPARE(s.selectedLine(), -1);
    QTest::keyClicks(s.txtTrova, "rossi");
    QTest::keyClick(s.txtTrova, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), s.btnTrova);
    QTest::keyClick(s.btnTrova, Qt::Key_Return); // a focused button is pressed by Enter
    QCOMPARE(s.selectedLine(), 2);
    QTest::keyClick(s.btnTrova, Qt::Key_Space);
    QCOMPARE(s.selectedLine(), 5);
    QTest::mouseClick(s.btnTrova, Qt::LeftButton);
    QCOMPARE(s.selectedLine(), 2);
    // A line chosen by hand is the new starting point.
    s.selectLine(3);
    s.btnTrovaClick();
    QCOMPARE(s.selectedLine(), 5);
    // A new text starts from the top.
    s.txtTrova->setText("BIANCHI");
    s.btnTrovaClick();
    QCOMPARE(s.selectedLine(), 0);
    // An empty text selects nothing new and says nothing.
    s.txtTrova->clear();
    s.selectLine(4);
    s.btnTrovaClick();
    QCOMPARE(s.selectedLine(), 4);
}

void TestListScreens::findOnAnEmptyList()
{
    TfrmOpere_Disponibili s(f->ui, frmOpere);
    activate(&s);
    QVERIFY(s.lines().empty());
    s.txtTrova->setText("x");
    QTest::mouseClick(s.btnTrova, Qt::LeftButton);
    QCOMPARE(f->ui.takeMessages(), plain("Ricerca non applicabile: la lista non contiene nessuna voce."));
}

void TestListScreens::enterMovesAlongTheCriteria()
{
    TfrmTrovaInterventi s(f->ui, frmInterventi);
    activate(&s);
    const std::vector<QLineEdit*>& edits = s.criteria();
    QCOMPARE(edits.size(), size_t(10));
    QCOMPARE(edits.back()->objectName(), QString("txtNote"));
    for (size_t i = 0; i < edits.size(); ++i) {
        QCOMPARE(QApplication::focusWidget(), edits[i]);
        QVERIFY(child<QWidget>(&s, i == 0 ? "effNumScheda" : "effNote")->isVisible() == (i == 0 || i == 9));
        QTest::keyClick(edits[i], Qt::Key_Return);
    }
    QCOMPARE(QApplication::focusWidget(), edits.front()); // from txtNote back to the first
    QVERIFY(s.panAvvio->isVisible()); // Enter never starts the search
}

void TestListScreens::centredOnTheScreen_data()
{
    QTest::addColumn<QString>("button"); // on the card
    QTest::newRow("artwork search") << "cmdTrova";
    QTest::newRow("unsold works") << "cmdSegnalati";
    QTest::newRow("report search") << "r:cmdTrova";
    QTest::newRow("import") << "r:impCliente";
    QTest::newRow("unpaid reports") << "r:cmdNonPagati";
}

void TestListScreens::centredOnTheScreen()
{
    QFETCH(QString, button);
    QWidget* card = button.startsWith("r:") ? static_cast<QWidget*>(frmInterventi) : frmOpere;
    card->show();
    card->setGeometry(20, 20, 500, 400); // well away from the screen's centre
    QPoint centre, screenCentre;
    f->ui.onExec([&](QDialog* d) {
        d->show();
        centre = d->frameGeometry().center();
        screenCentre = d->screen()->availableGeometry().center();
        d->reject();
        return int(QDialog::Rejected);
    });
    QTest::mouseClick(child<QAbstractButton>(card, qPrintable(button.mid(button.startsWith("r:") ? 2 : 0))),
                      Qt::LeftButton);
    f->ui.takeExecuted();
    QVERIFY2((centre - screenCentre).manhattanLength() <= 2, qPrintable(QStringLiteral("%1,%2 against %3,%4")
                                                                            .arg(centre.x())
                                                                            .arg(centre.y())
                                                                            .arg(screenCentre.x())
                                                                            .arg(screenCentre.y())));
}

QTEST_MAIN(TestListScreens)
#include "tst_listscreens.moc"
