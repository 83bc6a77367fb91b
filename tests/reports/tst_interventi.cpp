#include "Cards.h"
#include "Fixture.h"

#include "app/Avvio.h"
#include "app/Screens.h"
#include "records/SchedaIntervento.h"
#include "widgets/Messages.h"

#include "records/ReportArchive.h"
#include "reports/Calendario.h"
#include "reports/Interventi.h"
#include "reports/PhotoBox.h"
#include "widgets/Buttons.h"
#include "widgets/PictureFrame.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>

namespace {
const QDate kToday(2024, 3, 5);

// Offsets of the report record, written here by hand.
enum Off {
    oNum = 0,
    oData = 51,
    oTeam = 62,
    oAzienda = 183,
    oPratica = 684,
    oCliente = 935,
    oRecapito = 1436,
    oTitolo = 1487,
    oAnno = 1538,
    oTecnica = 1569,
    oArtista = 1620,
    oIndagini = 1671,
    oInizio = 2672,
    oStato = 2683,
    oFine = 2734,
    oCause = 2745,
    oConclusioni = 3246,
    oMemo = 4247,
    oDimensioni = 9248,
    oNote = 9369,
    oTotale = 10370,
    oPagato = 10386,
    oFile01 = 10389,
    oDesc01 = 11142
};

QByteArray report(const QList<std::pair<int, QByteArray>>& fields)
{
    QByteArray r(11895, '\0');
    for (const auto& [offset, bytes] : fields)
        for (int i = 0; i < bytes.size(); ++i)
            r[offset + i] = bytes[i];
    return r;
}

QByteArray numbered(const QByteArray& number, const QByteArray& paid = "No")
{
    return report({{oNum, number}, {oAzienda, "Lab " + number}, {oTotale, "1,00"}, {oPagato, paid}});
}

QImage filled(QColor c, QSize size = {40, 30})
{
    QImage i(size, QImage::Format_RGB32);
    i.fill(c);
    return i;
}

bool near(QColor a, QColor b)
{
    return qAbs(a.red() - b.red()) < 12 && qAbs(a.green() - b.green()) < 12 && qAbs(a.blue() - b.blue()) < 12;
}

} // namespace

class TestInterventi : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup() { f.reset(); }
    void opensBlankWithRememberedHeading();
    void oddRecords();
    void dateFields();
    void totalAndDimensionFields();
    void saveAppendsThenUpdates();
    void newCardNumbering();
    void duplicate();
    void missingPhoto2KeepsPhoto1();
    void failedPhotoWriteKeepsFrames();
    void photoButtons();
    void enterChainTabOrderAndMemoLimit();

private:
    std::unique_ptr<Fixture> f;
};

void TestInterventi::init()
{
    f.reset(); // the screens of one test are gone before the next test builds its own
    f = std::make_unique<Fixture>();
    frmInterventi->today = [] { return kToday; };
}

void TestInterventi::opensBlankWithRememberedHeading()
{
    frmAvvio->show();
    QTest::mouseClick(child<QWidget>(frmAvvio, "btnApp02"), Qt::LeftButton);
    QVERIFY(frmInterventi->isVisible());
    QVERIFY(!frmAvvio->isVisible());
    QCOMPARE(frmInterventi->txtAzienda->text(), QString());
    QCOMPARE(frmInterventi->txtTotale->text(), QString("0,00"));
    QCOMPARE(frmInterventi->lblPosizione->text(), QString());

    frmInterventi->txtAzienda->setText("  Laboratorio Rossi  ");
    frmInterventi->close();
    QVERIFY(frmAvvio->isVisible());
    QCOMPARE(readBytes(f->file("Brevanto.ini")),
             QByteArray("[Schede Interventi]\r\nIntestazione Azienda=Laboratorio Rossi\r\n"));

    writeBytes(f->file("Relazioni_Tecniche_Restauro.pro"), numbered("1"));
    frmAvvio->openReports();
    QCOMPARE(frmInterventi->txtAzienda->text(), QString("Laboratorio Rossi"));
    frmInterventi->cmdPrimoClick();
    QCOMPARE(frmInterventi->txtAzienda->text(), QString("Lab 1"));
    frmInterventi->close();
    frmAvvio->openReports();
    QCOMPARE(frmInterventi->txtAzienda->text(), QString("Lab 1"));
    QCOMPARE(frmInterventi->txtNumScheda->text(), QString()); // always a new blank card
    VERIFY_UI_CLEAN(f->ui);
}

void TestInterventi::oddRecords()
{
    const QByteArray full = report({{oNum, QByteArray(51, '9')},
                                    {oCliente, "\x80uro \x93q\x94"},
                                    {oMemo, "\r\nuno\r\n\r\ndue\r\n"},
                                    {oDimensioni, QByteArray(120, 'd')},
                                    {oPagato, "S\xEC"},
                                    {oFile01, "a.pdf"},
                                    {oDesc01, "Allegato"}});
    writeBytes(f->file("Relazioni_Tecniche_Restauro.pro"), full + numbered("2", "??"));
    frmInterventi->show();
    frmInterventi->cmdPrimoClick();
    QCOMPARE(frmInterventi->txtNumScheda->text(), QString(51, '9'));
    QCOMPARE(frmInterventi->txtCliente->text(), QString::fromUtf8("€uro “q”"));
    QCOMPARE(frmInterventi->txtInterventi->toPlainText(), QString("uno\n\ndue"));
    QCOMPARE(frmInterventi->memoText(), QString("uno\r\n\r\ndue"));
    QCOMPARE(frmInterventi->txtManodopera->text(), QString(120, 'd'));
    QVERIFY(frmInterventi->chkPagato->isChecked());
    QCOMPARE(frmInterventi->lblFile[0]->text(), QString("a.pdf"));
    QCOMPARE(frmInterventi->lblDesc[0]->text(), QString("Allegato"));
    frmInterventi->cmdAvantiClick();
    QVERIFY(frmInterventi->chkPagato->isChecked()); // neither value: kept
    QCOMPARE(frmInterventi->lblFile[0]->text(), QString());
    VERIFY_UI_CLEAN(f->ui);
}

void TestInterventi::dateFields()
{
    activate(frmInterventi);
    QLineEdit* fine = frmInterventi->txtDataFine;
    fine->setText("01/01/2020");
    fine->setFocus();
    QTest::keyClick(fine, Qt::Key_Delete);
    QCOMPARE(fine->text(), QString());

    QString mode;
    QDate shown;
    f->ui.onExec([&](QDialog* d) {
        mode = child<QLabel>(d, "lblMemory")->text();
        shown = child<QCalendarWidget>(d, "calAppuntamenti")->selectedDate();
        static_cast<TfrmCalendario*>(d)->btnImportaDataClick();
        return d->result();
    });
    QTest::keyClick(fine, Qt::Key_A);
    QCOMPARE(f->ui.takeExecuted(), QStringList{"frmCalendario"});
    QCOMPARE(mode, QString("interventi_datafine"));
    QCOMPARE(shown, kToday);
    QCOMPARE(fine->text(), QString("05/03/2024"));

    // Annulla leaves the field alone; the typed key never reaches it.
    f->ui.onExec([](QDialog* d) {
        QTest::mouseClick(child<QWidget>(d, "btnAnnulla"), Qt::LeftButton);
        return d->result();
    });
    QTest::keyClick(frmInterventi->txtData, Qt::Key_5);
    QCOMPARE(f->ui.takeExecuted(), QStringList{"frmCalendario"});
    QCOMPARE(frmInterventi->txtData->text(), QString());

    frmInterventi->txtDataInizio->setFocus();
    QTest::keyClick(frmInterventi->txtDataInizio, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), frmInterventi->txtStato);
    QTest::keyClick(frmInterventi->txtStato, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), frmInterventi->txtDataFine);
    QTest::keyClick(frmInterventi->txtDataFine, Qt::Key_Shift);
    QVERIFY(f->ui.takeExecuted().isEmpty());
    VERIFY_UI_CLEAN(f->ui);
}

void TestInterventi::totalAndDimensionFields()
{
    activate(frmInterventi);
    QLineEdit* total = frmInterventi->txtTotale;
    total->setFocus();
    total->clear();
    QTest::keyClicks(total, "1a2,5");
    QCOMPARE(total->text(), QString("12,5"));
    QTest::keyClick(total, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), frmInterventi->txtNumScheda);
    QCOMPARE(total->text(), QString("12,50"));

    QLineEdit* dim = frmInterventi->txtManodopera;
    dim->setFocus();
    QTest::keyClicks(dim, QString(60, 'x'));
    QCOMPARE(dim->text(), QString(50, 'x'));
    // A longer text put there (a stored or imported dimension) is shown whole, saved up to 120.
    kindOf("interventi").fillMandatory();
    dim->setText(QString(130, 'y'));
    QCOMPARE(dim->text().size(), 130);
    frmInterventi->cmdSalvaClick();
    QCOMPARE(f->ui.takeMessages(), informed(messages::kInserted));
    const QByteArray stored = readBytes(f->file("Relazioni_Tecniche_Restauro.pro"));
    QCOMPARE(stored.mid(oDimensioni, 121), QByteArray(120, 'y') + QByteArray(1, '\0'));
    VERIFY_UI_CLEAN(f->ui);
}

void TestInterventi::saveAppendsThenUpdates()
{
    QByteArray seven;
    for (int i = 1; i <= 7; ++i)
        seven += numbered(QByteArray::number(i));
    writeBytes(f->file("Relazioni_Tecniche_Restauro.pro"), seven);
    frmInterventi->show();
    kindOf("interventi").fillMandatory();
    frmInterventi->txtNumScheda->setText("  8  ");
    frmInterventi->txtInterventi->setPlainText("uno\ndue\n");
    frmInterventi->txtTotale->setText("99,90");
    frmInterventi->chkPagato->setChecked(true);
    frmInterventi->lblDesc[0]->setText("Scheda tecnica");
    frmInterventi->foto1->setImage(filled(Qt::red));
    frmInterventi->cmdSalvaClick();
    QCOMPARE(f->ui.takeMessages(), informed(messages::kInserted));
    QCOMPARE(frmInterventi->lblPosizione->text(), QString("8"));
    const QByteArray expected = report({{oNum, "  8  "},
                                        {oData, "01/02/2024"},
                                        {oAzienda, "Laboratorio"},
                                        {oCliente, "Committente"},
                                        {oRecapito, "055"},
                                        {oTitolo, "Titolo"},
                                        {oAnno, "1900"},
                                        {oArtista, "Artista"},
                                        {oMemo, "uno\r\ndue\r\n"},
                                        {oTotale, "99,90"},
                                        {oPagato, "S\xEC"},
                                        {oDesc01, "Scheda tecnica"}});
    QByteArray all = readBytes(f->file("Relazioni_Tecniche_Restauro.pro"));
    QCOMPARE(all.size(), 8 * 11895);
    QCOMPARE(all.left(7 * 11895), seven);
    QCOMPARE(all.mid(7 * 11895), expected);
    QVERIFY(near(QImage(f->file("Restauri/Foto_A_8.jpg")).pixelColor(5, 5), Qt::red));
    QCOMPARE(QImage(f->file("Restauri/Foto_B_8.jpg")).size(), QSize(370, 260)); // the placeholder

    // Update report 3 in place.
    frmInterventi->cmdPrimoClick();
    frmInterventi->cmdAvantiClick();
    frmInterventi->cmdAvantiClick();
    kindOf("interventi").fillMandatory();
    frmInterventi->chkPagato->setChecked(false);
    frmInterventi->cmdSalvaClick();
    QCOMPARE(f->ui.takeMessages(), informed(messages::kSavedChanges));
    QCOMPARE(frmInterventi->lblPosizione->text(), QString("3"));
    all = readBytes(f->file("Relazioni_Tecniche_Restauro.pro"));
    QCOMPARE(all.size(), 8 * 11895);
    QCOMPARE(all.left(2 * 11895), seven.left(2 * 11895));
    QCOMPARE(all.mid(2 * 11895, 11895).mid(oPagato, 3), QByteArray("No\0", 3));
    QCOMPARE(all.mid(3 * 11895, 4 * 11895), seven.mid(3 * 11895));
    VERIFY_UI_CLEAN(f->ui);
}

void TestInterventi::newCardNumbering()
{
    frmInterventi->show();
    frmInterventi->txtAzienda->setText("Laboratorio");
    frmInterventi->cmdNuovoClick();
    QCOMPARE(frmInterventi->txtNumScheda->text(), QString("1"));
    QCOMPARE(frmInterventi->txtData->text(), QString("05/03/2024"));
    QCOMPARE(frmInterventi->txtAzienda->text(), QString("Laboratorio"));
    QCOMPARE(frmInterventi->focusWidget(), frmInterventi->txtTecnico);

    writeBytes(f->file("Contratti.ini"), "[Altro]\r\nx=1\r\n[Numerazione Contratti]\r\nInizio=100\r\n");
    writeBytes(f->file("Relazioni_Tecniche_Restauro.pro"),
               numbered("a") + numbered("b") + numbered("c") + numbered("d"));
    frmInterventi->cmdNuovoClick();
    QCOMPARE(frmInterventi->txtNumScheda->text(), QString("104"));
    QCOMPARE(frmInterventi->lblInizio->text(), QString("100"));
    kindOf("interventi").fillMandatory();
    frmInterventi->txtNumScheda->setText("104");
    frmInterventi->cmdSalvaClick();
    QCOMPARE(f->ui.takeMessages(), informed(messages::kInserted));
    frmInterventi->cmdNuovoClick();
    QCOMPARE(frmInterventi->txtNumScheda->text(), QString("105"));

    writeBytes(f->file("Contratti.ini"), "[Numerazione Contratti]\r\nInizio=abc\r\n");
    frmInterventi->cmdNuovoClick();
    QCOMPARE(f->ui.takeMessages(), QList<TestUi::Message>({{Ui::Kind::Error, messages::kArchiveAccess, {}}}));
    // A hand-edited start that would overflow is no number either.
    writeBytes(f->file("Contratti.ini"), "[Numerazione Contratti]\r\nInizio=9223372036854775807\r\n");
    frmInterventi->cmdNuovoClick();
    QCOMPARE(f->ui.takeMessages(), QList<TestUi::Message>({{Ui::Kind::Error, messages::kArchiveAccess, {}}}));
    writeBytes(f->file("Contratti.ini"), "[Numerazione Contratti]\r\nInizio=999999999\r\n");
    frmInterventi->cmdNuovoClick();
    QCOMPARE(frmInterventi->txtNumScheda->text(), QString("1000000004"));
    VERIFY_UI_CLEAN(f->ui);
}

void TestInterventi::duplicate()
{
    QByteArray five;
    for (int i = 1; i <= 5; ++i)
        five += report({{oNum, QByteArray::number(i)}, {oCliente, "Cliente"}, {oPagato, "S\xEC"}, {oFile01, "f.pdf"}});
    writeBytes(f->file("Relazioni_Tecniche_Restauro.pro"), five);
    frmInterventi->show();
    frmInterventi->cmdDuplicaClick();
    QCOMPARE(f->ui.takeMessages(), QList<TestUi::Message>({{Ui::Kind::Warning, messages::kDuplicateUnsaved, {}}}));

    frmInterventi->cmdUltimoClick();
    frmInterventi->foto1->setImage(filled(Qt::blue));
    frmInterventi->txtCliente->setText("Cliente modificato");
    frmInterventi->cmdDuplicaClick();
    QCOMPARE(f->ui.takeMessages(), QList<TestUi::Message>({{Ui::Kind::Information, messages::kDuplicated, {}}}));
    QCOMPARE(frmInterventi->txtNumScheda->text(), QString());
    QCOMPARE(frmInterventi->txtData->text(), QString("05/03/2024"));
    QCOMPARE(frmInterventi->lblPosizione->text(), QString());
    QCOMPARE(frmInterventi->lblFile[0]->text(), QString());
    QCOMPARE(frmInterventi->txtCliente->text(), QString("Cliente modificato"));
    QVERIFY(frmInterventi->chkPagato->isChecked());
    QCOMPARE(frmInterventi->foto1->image(), frmInterventi->foto1->placeholder());
    QCOMPARE(frmInterventi->focusWidget(), frmInterventi->txtNumScheda);

    kindOf("interventi").fillMandatory();
    frmInterventi->txtNumScheda->setText("6");
    frmInterventi->cmdSalvaClick();
    QCOMPARE(f->ui.takeMessages(), informed(messages::kInserted));
    QCOMPARE(frmInterventi->lblPosizione->text(), QString("6"));
    QCOMPARE(readBytes(f->file("Relazioni_Tecniche_Restauro.pro")).left(5 * 11895), five);
    VERIFY_UI_CLEAN(f->ui);
}

void TestInterventi::missingPhoto2KeepsPhoto1()
{
    writeBytes(f->file("Relazioni_Tecniche_Restauro.pro"), numbered("1"));
    QVERIFY(QDir(f->path()).mkdir("Restauri"));
    QVERIFY(filled(Qt::green, {64, 48}).save(f->file("Restauri/Foto_A_1.jpg"), "JPEG"));
    frmInterventi->show();
    frmInterventi->cmdPrimoClick();
    QCOMPARE(frmInterventi->foto1->image().size(), QSize(64, 48));
    QCOMPARE(frmInterventi->foto2->image(), frmInterventi->foto2->placeholder());
    const QByteArray photo1Bytes = readBytes(f->file("Restauri/Foto_A_1.jpg"));
    kindOf("interventi").fillMandatory();
    frmInterventi->cmdSalvaClick();
    QCOMPARE(f->ui.takeMessages(), informed(messages::kSavedChanges));
    // Neither photo changed: photo 1 keeps its very bytes and no placeholder is written as photo 2.
    QCOMPARE(readBytes(f->file("Restauri/Foto_A_1.jpg")), photo1Bytes);
    QVERIFY(!QFileInfo::exists(f->file("Restauri/Foto_B_1.jpg")));
    VERIFY_UI_CLEAN(f->ui);
}

void TestInterventi::failedPhotoWriteKeepsFrames()
{
    writeBytes(f->file("Restauri"), "a file where the photo folder should be");
    frmInterventi->show();
    kindOf("interventi").fillMandatory();
    frmInterventi->foto1->setImage(filled(Qt::red));
    frmInterventi->foto2->setImage(filled(Qt::blue));
    frmInterventi->cmdSalvaClick();
    // The photos cannot be stored: neither is the card, and the user is told.
    QCOMPARE(f->ui.takeMessages().value(0).text, messages::kArchiveAccess);
    QVERIFY(frmInterventi->lblPosizione->text().isEmpty());
    QCOMPARE(ReportArchive().count(), 0);
    QCOMPARE(frmInterventi->foto1->image(), filled(Qt::red));
    QCOMPARE(frmInterventi->foto2->image(), filled(Qt::blue));
    VERIFY_UI_CLEAN(f->ui);
}

void TestInterventi::photoButtons()
{
    frmInterventi->show();
    PhotoBox* two = frmInterventi->foto2;
    QVERIFY(filled(Qt::yellow).save(f->file("pic.bmp"), "BMP"));
    f->ui.chooseFile(f->file("pic.bmp"));
    QTest::mouseClick(child<QWidget>(frmInterventi, "btnCaricaFoto02"), Qt::LeftButton);
    QCOMPARE(f->ui.takeFileDialogs().value(0).filters,
             QStringList({"Immagine JPEG (*.jpg; *.jpeg)", "Immagine Bitmap (*.bmp)"}));
    QCOMPARE(two->image().size(), QSize(40, 30));
    QCOMPARE(frmInterventi->foto1->image(), frmInterventi->foto1->placeholder());

    f->ui.chooseFile(f->file("copia"));
    QTest::mouseClick(child<QWidget>(frmInterventi, "btnSalvaFoto02"), Qt::LeftButton);
    QCOMPARE(f->ui.takeFileDialogs().value(0).initialName, QString("Foto.jpg"));
    QCOMPARE(QImageReader(f->file("copia.jpg")).format(), QByteArray("jpeg"));

    f->ui.chooseFile(QString());
    QTest::mouseClick(child<QWidget>(frmInterventi, "btnCaricaFoto02"), Qt::LeftButton);
    f->ui.takeFileDialogs();
    QCOMPARE(two->image().size(), QSize(40, 30)); // cancelled: unchanged

    QTest::mouseClick(child<QWidget>(frmInterventi, "btnCancFoto02"), Qt::LeftButton);
    QCOMPARE(two->image(), two->placeholder());
    VERIFY_UI_CLEAN(f->ui);
}

void TestInterventi::enterChainTabOrderAndMemoLimit()
{
    activate(frmInterventi);
    auto* c = frmInterventi;
    const QList<QWidget*> chain{c->txtNumScheda,      c->txtData,     c->txtTecnico,    c->txtAzienda, c->txtPratica,
                                c->txtCliente,        c->txtRecapito, c->txtVeicolo,    c->txtTarga,   c->txtMarca,
                                c->txtChilometraggio, c->txtDanni,    c->txtDataInizio, c->txtStato,   c->txtDataFine,
                                c->txtVernice,        c->txtRicambi,  c->txtInterventi};
    c->txtNumScheda->setFocus();
    for (int i = 0; i + 1 < chain.size(); ++i) {
        QCOMPARE(QApplication::focusWidget(), chain[i]);
        QTest::keyClick(chain[i], Qt::Key_Return);
    }
    QCOMPARE(QApplication::focusWidget(), c->txtInterventi);
    QTest::keyClick(c->txtInterventi, Qt::Key_Return); // a new line in the memo
    QCOMPARE(QApplication::focusWidget(), c->txtInterventi);
    QCOMPARE(c->txtInterventi->toPlainText(), QString("\n"));
    QVERIFY(child<QWidget>(c, "effInterventi")->isVisible());
    c->txtManodopera->setFocus();
    QVERIFY(!child<QWidget>(c, "effInterventi")->isVisible());
    for (QWidget* next : {static_cast<QWidget*>(c->chkPagato), static_cast<QWidget*>(c->txtNote),
                          static_cast<QWidget*>(c->txtTotale)}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), next);
    }
    QTest::keyClick(c->txtTotale, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), c->txtNumScheda);

    // 5000 characters at most, each line break counting two: a paste is cut to what fits.
    c->txtInterventi->clear();
    c->txtInterventi->setFocus();
    QGuiApplication::clipboard()->setText(QString(5001, 'm'));
    QTest::keyClick(c->txtInterventi, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(c->txtInterventi->toPlainText().size(), 5000);
    c->txtInterventi->setPlainText(QString(2000, 'a') + "\n" + QString(2997, 'b'));
    c->txtInterventi->moveCursor(QTextCursor::End);
    QTest::keyClicks(c->txtInterventi, "bb");
    QCOMPARE(c->memoText().size(), 5000);
    QVERIFY(c->memoText().endsWith(QString(2998, 'b')));
    VERIFY_UI_CLEAN(f->ui);
}

QTEST_MAIN(TestInterventi)
#include "tst_interventi.moc"
