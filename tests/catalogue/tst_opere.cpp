#include "Cards.h"
#include "Fixture.h"
#include "TestPlatform.h"
#include "documentation/Import.h"
#include "records/ArtworkArchive.h"
#include "records/ArtworkPhoto.h"

#include "app/Avvio.h"
#include "app/Screens.h"
#include "catalogue/Opere.h"
#include "records/SchedaOpera.h"
#include "widgets/Buttons.h"
#include "widgets/Messages.h"
#include "widgets/PictureFrame.h"

#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>

namespace {
// Field offsets and widths of the artwork record, written here by hand.
struct Slot {
    int offset;
    int width;
};
constexpr Slot kSlots[] = {{0, 50},     {51, 120},   {172, 50},   {223, 50},  {274, 50},   {325, 50},
                           {376, 50},   {427, 250},  {678, 120},  {799, 250}, {1050, 50},  {1101, 16},
                           {1118, 30},  {1149, 250}, {1400, 15},  {1416, 2},  {1419, 250}, {1670, 250},
                           {1921, 250}, {2172, 250}, {2423, 250}, {2674, 250}};

QByteArray artwork(const QList<QByteArray>& values, char garbage = '\0')
{
    QByteArray r(2925, garbage);
    for (int i = 0; i < 22; ++i) {
        const QByteArray v = values.value(i);
        r[kSlots[i].offset] = char(v.size());
        for (int j = 0; j < v.size(); ++j)
            r[kSlots[i].offset + 1 + j] = v[j];
    }
    return r;
}

QByteArray titled(const QByteArray& title, const QByteArray& sold = "No")
{
    QList<QByteArray> v(22);
    v[0] = title;
    v[14] = "10,00";
    v[15] = sold;
    return artwork(v);
}

QColor sample(QWidget* w, QPoint at)
{
    return w->grab().toImage().pixelColor(at);
}

const char* const kEdits[] = {"txtCapo",    "txtDescrizione", "txtColore",   "txtTessuto",  "txtMisure",
                              "txtPeso",    "txtUsura",       "txtDifetti",  "txtServizio", "txtSpecifiche",
                              "txtCliente", "txtCodFisc",     "txtRecapito", "txtNote",     "txtPrezzo"};
constexpr int kMaxLengths[] = {50, 120, 50, 50, 50, 50, 50, 250, 120, 250, 50, 16, 30, 250, 15};
} // namespace

class TestOpere : public QObject {
    Q_OBJECT

private slots:
    void photoRewrittenOnlyWhenChanged();
    void largePhotoSurvivesSaving();
    void oddFilesInThePhotoFolder();
    void controlsAndLimits();
    void opensBlankAndClearsOnEveryShowing();
    void showsOddRecords();
    void photoLoadedOrBlank();
    void amountField_data();
    void amountField();
    void taxCodeFieldTypesCapitals();
    void enterChainAndTabOrder();
    void focusHighlightColours();
    void saveAppendsThenUpdates();
    void saveAppendsAfterExistingCards();
    void saveFormatsAmountBeingTyped();
    void newAndDuplicate();
    void loadDeleteAndSavePhoto();
    void photoSaveAsAndZoom();
    void leavingUnsavedDocumentationAsks();
    void fullDiskSaysSoAndChangesNothing();
};

namespace { } // namespace

void TestOpere::saveAppendsThenUpdates()
{
    Fixture f;
    frmOpere->show();
    const char* values[] = {"  Natura morta  ", "Frutta", "Caravaggio", "1599",  "Italia",           "Olio", "Barocco",
                            "46 x 64",          "Tela",   "Milano",     "Rossi", "RSSMRA80A01H501U", "333",  "nota €",
                            "1250,50"};
    for (int i = 0; i < 15; ++i)
        child<QLineEdit>(frmOpere, kEdits[i])->setText(QString::fromUtf8(values[i]));
    frmOpere->chkSegnala->setChecked(true);
    frmOpere->lblFile[1]->setText("certificato.pdf");
    frmOpere->lblDesc[1]->setText("Certificato");
    frmOpere->cmdSalvaClick();
    QCOMPARE(f.ui.takeMessages(), informed(messages::kInserted));
    QCOMPARE(frmOpere->lblPosizione->text(), QString("1"));

    QList<QByteArray> expected(22);
    for (int i = 0; i < 15; ++i)
        expected[i] = QString::fromUtf8(values[i]).trimmed().toLatin1();
    expected[13] = "nota \x80";
    expected[15] = "S\xEC";
    expected[17] = "certificato.pdf";
    expected[20] = "Certificato";
    QCOMPARE(readBytes(f.file("Inventario_Opere.pro")), artwork(expected));
    QImage stored(f.file("Inventario/Opera_1.jpg"), "JPEG");
    QCOMPARE(stored.size(), QSize(567, 378));

    frmOpere->txtCapo->setText("Canestra");
    frmOpere->chkSegnala->setChecked(false);
    frmOpere->cmdSalvaClick();
    QCOMPARE(f.ui.takeMessages(), informed(messages::kSavedChanges));
    QCOMPARE(frmOpere->lblPosizione->text(), QString("1"));
    expected[0] = "Canestra";
    expected[15] = "No";
    QCOMPARE(readBytes(f.file("Inventario_Opere.pro")), artwork(expected));
    VERIFY_UI_CLEAN(f.ui);
}

void TestOpere::saveAppendsAfterExistingCards()
{
    Fixture f;
    QByteArray seven;
    for (int i = 1; i <= 7; ++i)
        seven += titled("Card " + QByteArray::number(i));
    writeBytes(f.file("Inventario_Opere.pro"), seven);
    frmOpere->show();
    kindOf("opere").fillMandatory();
    frmOpere->cmdSalvaClick();
    QCOMPARE(f.ui.takeMessages(), informed(messages::kInserted));
    QCOMPARE(frmOpere->lblPosizione->text(), QString("8"));
    const QByteArray after = readBytes(f.file("Inventario_Opere.pro"));
    QCOMPARE(after.size(), 8 * 2925);
    QCOMPARE(after.left(7 * 2925), seven);
    QVERIFY(QFileInfo::exists(f.file("Inventario/Opera_8.jpg")));

    // Updating card 2 of 8 rewrites that record only.
    frmOpere->cmdPrimoClick();
    frmOpere->cmdAvantiClick();
    kindOf("opere").fillMandatory();
    frmOpere->txtCapo->setText("Seconda");
    frmOpere->cmdSalvaClick();
    QCOMPARE(f.ui.takeMessages(), informed(messages::kSavedChanges));
    const QByteArray updated = readBytes(f.file("Inventario_Opere.pro"));
    QCOMPARE(updated.size(), 8 * 2925);
    QCOMPARE(updated.left(2925), seven.left(2925));
    const TSchedaOpera second = TSchedaOpera::decode(updated.constData() + 2925);
    QCOMPARE(second[TSchedaOpera::Titolo], QString("Seconda"));
    QCOMPARE(second[TSchedaOpera::Artista], QString("Artista"));
    QCOMPARE(second[TSchedaOpera::Valore], QString("10,00")); // as card 2 had it
    QCOMPARE(updated.mid(2 * 2925), after.mid(2 * 2925));
    VERIFY_UI_CLEAN(f.ui);
}

void TestOpere::saveFormatsAmountBeingTyped()
{
    Fixture f;
    activate(frmOpere);
    kindOf("opere").fillMandatory();
    frmOpere->txtPrezzo->setFocus();
    frmOpere->txtPrezzo->clear();
    QTest::keyClicks(frmOpere->txtPrezzo, "12,5");
    QTest::mouseClick(frmOpere->cmdSalva, Qt::LeftButton);
    QCOMPARE(f.ui.takeMessages(), informed(messages::kInserted));
    QCOMPARE(frmOpere->txtPrezzo->text(), QString("12,50"));
    QCOMPARE(readBytes(f.file("Inventario_Opere.pro")).mid(1400, 6), QByteArray("\x05"
                                                                                "12,50"));
    VERIFY_UI_CLEAN(f.ui);
}

void TestOpere::newAndDuplicate()
{
    Fixture f;
    QList<QByteArray> third(22);
    third[0] = "Terza";
    third[2] = "Artista";
    third[3] = "1700";
    third[10] = "Owner";
    third[14] = "99,00";
    third[15] = "S\xEC";
    third[16] = "allegato.pdf";
    third[19] = "Descrizione";
    writeBytes(f.file("Inventario_Opere.pro"), titled("Uno") + titled("Due") + artwork(third));
    frmOpere->show();

    frmOpere->cmdDuplicaClick(); // blank card
    QCOMPARE(f.ui.takeMessages(),
             QList<TestUi::Message>({{Ui::Kind::Warning,
                                      QString::fromUtf8("Attenzione: la duplicazione di una scheda può avvenire "
                                                        "soltanto dopo che questa è stata inserita in archivio."),
                                      {}}}));

    frmOpere->cmdUltimoClick();
    frmOpere->cmdDuplicaClick();
    QCOMPARE(f.ui.takeMessages(),
             QList<TestUi::Message>(
                 {{Ui::Kind::Information,
                   QStringLiteral("E' ora possibile apportare le proprie modifiche alla scheda corrente.\n\r\n\rAl "
                                  "termine premere Salva per inserire la scheda in archivio."),
                   {}}}));
    QCOMPARE(frmOpere->lblPosizione->text(), QString());
    QCOMPARE(frmOpere->txtColore->text(), QString("Artista"));
    QCOMPARE(frmOpere->txtPrezzo->text(), QString("99,00"));
    QVERIFY(frmOpere->chkSegnala->isChecked());
    QCOMPARE(frmOpere->lblFile[0]->text(), QString());
    QCOMPARE(frmOpere->lblDesc[0]->text(), QString());
    QCOMPARE(frmOpere->imgFoto->image(), frmOpere->blankPicture());
    frmOpere->txtCapo->setText("Copia");
    frmOpere->cmdSalvaClick();
    QCOMPARE(f.ui.takeMessages(), informed(messages::kInserted));
    QCOMPARE(frmOpere->lblPosizione->text(), QString("4"));
    const QByteArray all = readBytes(f.file("Inventario_Opere.pro"));
    QCOMPARE(all.mid(2 * 2925, 2925), artwork(third));
    QList<QByteArray> copy = third;
    copy[0] = "Copia";
    copy[16] = copy[19] = QByteArray();
    QCOMPARE(all.mid(3 * 2925), artwork(copy));

    frmOpere->txtCapo->setText("modifica persa");
    frmOpere->cmdNuovoClick();
    QCOMPARE(frmOpere->txtCapo->text(), QString());
    QCOMPARE(frmOpere->txtPrezzo->text(), QString("0,00"));
    QCOMPARE(frmOpere->lblPosizione->text(), QString());
    VERIFY_UI_CLEAN(f.ui);
}

void TestOpere::loadDeleteAndSavePhoto()
{
    Fixture f;
    frmOpere->show();
    QImage blue(64, 48, QImage::Format_RGB32);
    blue.fill(Qt::blue);
    QVERIFY(blue.save(f.file("ritratto.bmp"), "BMP"));

    f.ui.chooseFile(QString()); // cancelled: nothing changes
    frmOpere->btnCaricaFotoClick();
    QCOMPARE(frmOpere->imgFoto->image(), frmOpere->blankPicture());
    const QList<Ui::FileDialog> dialogs = f.ui.takeFileDialogs();
    QCOMPARE(dialogs.size(), 1);
    QCOMPARE(dialogs[0].title, QString("Selezionare un file di immagine in formato Jpeg o Bitmap."));
    QCOMPARE(dialogs[0].filters, QStringList({"Immagine JPEG (*.jpg; *.jpeg)", "Immagine Bitmap (*.bmp)"}));

    f.ui.chooseFile(f.file("ritratto.bmp"));
    frmOpere->btnCaricaFotoClick();
    f.ui.takeFileDialogs();
    QCOMPARE(frmOpere->imgFoto->image().size(), QSize(64, 48));
    kindOf("opere").fillMandatory();
    frmOpere->cmdSalvaClick();
    f.ui.takeMessages();
    QImageReader stored(f.file("Inventario/Opera_1.jpg"));
    QCOMPARE(stored.format(), QByteArray("jpeg"));
    QCOMPARE(stored.size(), QSize(64, 48));

    // Deleting without saving brings the old photo back when the card is shown again.
    frmOpere->btnCancFotoClick();
    QCOMPARE(frmOpere->imgFoto->image(), frmOpere->blankPicture());
    frmOpere->cmdPrimoClick();
    QCOMPARE(frmOpere->imgFoto->image().size(), QSize(64, 48));

    // An unreadable file gives the blank picture.
    writeBytes(f.file("rotto.jpg"), QByteArray(200, 'x'));
    f.ui.chooseFile(f.file("rotto.jpg"));
    frmOpere->btnCaricaFotoClick();
    f.ui.takeFileDialogs();
    QCOMPARE(frmOpere->imgFoto->image(), frmOpere->blankPicture());
    VERIFY_UI_CLEAN(f.ui);
}

void TestOpere::photoSaveAsAndZoom()
{
    Fixture f;
    frmOpere->show();
    QImage green(80, 60, QImage::Format_RGB32);
    green.fill(Qt::green);
    frmOpere->imgFoto->setImage(green);

    f.ui.chooseFile(f.file("Ritratto"));
    frmOpere->btnSalvaFotoClick();
    const QList<Ui::FileDialog> d = f.ui.takeFileDialogs();
    QCOMPARE(d.value(0).title, QString("Selezionare la cartella in cui si desidera salvare il file Jpeg."));
    QCOMPARE(d.value(0).filters, QStringList({"File Jpeg (*.jpg)"}));
    QCOMPARE(d.value(0).initialName, QString("Foto.jpg"));
    QCOMPARE(d.value(0).defaultSuffix, QString("jpg"));
    QCOMPARE(QImageReader(f.file("Ritratto.jpg")).format(), QByteArray("jpeg"));

    // A failed save-as keeps the frame's picture.
    f.ui.chooseFile(f.file("missing/folder/x.jpg"));
    frmOpere->btnSalvaFotoClick();
    f.ui.takeFileDialogs();
    QCOMPARE(frmOpere->imgFoto->image(), green);
    QVERIFY(!QFileInfo::exists(f.file("Inventario/Opera_1.jpg")));

    f.ui.onExec([&](QDialog* zoom) {
        [&] {
            QCOMPARE(zoom->objectName(), QString("frmZoom"));
            QCOMPARE(zoom->windowTitle(), QString(" Fai clic sulla foto per chiudere questa finestra"));
            QCOMPARE(child<PictureFrame>(zoom, "imgFoto")->image(), green);
        }();
        zoom->show();
        QTest::mouseClick(child<QWidget>(zoom, "imgFoto"), Qt::LeftButton);
        const int closed = zoom->result();
        [&] { QCOMPARE(closed, int(QDialog::Accepted)); }();
        return closed;
    });
    frmOpere->btnZoomFotoClick();
    QCOMPARE(f.ui.takeExecuted(), QStringList({"frmZoom"}));
    QCOMPARE(frmOpere->imgFoto->image(), green);
    VERIFY_UI_CLEAN(f.ui);
}

// Leaving a card whose documentation holds photos just added asks first, as closing it does,
// whichever way the card is left; No keeps the card and its photos.
void TestOpere::leavingUnsavedDocumentationAsks()
{
    Fixture f;
    writeBytes(f.file("Inventario_Opere.pro"), titled("Prima") + titled("Seconda"));
    frmOpere->show();
    frmOpere->cmdPrimoClick();
    QCOMPARE(frmOpere->lblPosizione->text(), QString("1"));
    documentation::WorkingSet& set = frmOpere->documentation();
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    QVERIFY(picture.save(f.file("nuova.jpg"), "JPEG"));
    const documentation::Imported added = documentation::importFile(set.target(), f.file("nuova.jpg"), {});
    QCOMPARE(added.outcome, documentation::Imported::Outcome::Added);
    set.add(added.photo);
    const QString staged = set.pathOf(set.items()[0]);
    for (const auto& leave : std::initializer_list<std::function<void()>>{
             [] { frmOpere->cmdAvantiClick(); }, [] { frmOpere->cmdUltimoClick(); }, [] { frmOpere->cmdNuovoClick(); },
             [] { frmOpere->cmdDuplicaClick(); }}) {
        f.ui.answerNext(Ui::Answer::No);
        leave();
        const QList<TestUi::Message> asked = f.ui.takeMessages();
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked[0].text, messages::kUnsavedDocumentation);
        QCOMPARE(frmOpere->lblPosizione->text(), QString("1"));
        QCOMPARE(frmOpere->txtCapo->text(), QString("Prima"));
        QCOMPARE(set.items().size(), 1);
        QVERIFY(QFileInfo::exists(staged));
    }
    f.ui.answerNext(Ui::Answer::Yes);
    frmOpere->cmdAvantiClick();
    QCOMPARE(f.ui.takeMessages().size(), 1);
    QCOMPARE(frmOpere->lblPosizione->text(), QString("2"));
    QVERIFY(!QFileInfo::exists(staged));
    frmOpere->cmdIndietroClick(); // nothing unsaved now: no question
    QCOMPARE(frmOpere->lblPosizione->text(), QString("1"));
    VERIFY_UI_CLEAN(f.ui);
}

// A save that finds the disk full says so (not that the folder cannot be written) and stores
// nothing: neither the record, nor its photo, nor a version in the history.
void TestOpere::fullDiskSaysSoAndChangesNothing()
{
    Fixture f;
    writeBytes(f.file("Inventario_Opere.pro"), titled("Prima"));
    frmOpere->show();
    frmOpere->cmdPrimoClick();
    QImage noisy(700, 700, QImage::Format_RGB32);
    for (int y = 0; y < noisy.height(); ++y)
        for (int x = 0; x < noisy.width(); ++x)
            noisy.setPixel(x, y, qRgb((x * 13) % 256, (y * 7) % 256, (x * y) % 256));
    frmOpere->imgFoto->setImage(noisy);
    frmOpere->txtCapo->setText("Seconda");
    frmOpere->txtColore->setText("Artista");
    frmOpere->txtTessuto->setText("1900");
    frmOpere->txtCliente->setText("Proprietario");
    const QByteArray archive = readBytes(f.file("Inventario_Opere.pro"));
    {
        const auto full = testplatform::limitFileSize(30000);
        if (!full)
            QSKIP("This system cannot make a disk full on request.");
        frmOpere->cmdSalvaClick();
    }
    const QList<TestUi::Message> said = f.ui.takeMessages();
    QCOMPARE(said.size(), 1);
    QCOMPARE(said[0].text, messages::kDiskFull);
    QCOMPARE(readBytes(f.file("Inventario_Opere.pro")), archive);
    QVERIFY(!QFileInfo::exists(f.file("Inventario/Opera_1.jpg")));
    QVERIFY(ArtworkArchive().history(1).empty());
    const QStringList left = QDir(f.file("Inventario/.brevanto-salvataggi")).entryList(QDir::Files | QDir::Hidden);
    QVERIFY2(left.isEmpty(), qPrintable(left.join(u',')));
    // Room again: the same save goes through.
    frmOpere->cmdSalvaClick();
    QCOMPARE(f.ui.takeMessages(), informed(messages::kSavedChanges));
    QVERIFY(QFileInfo::exists(f.file("Inventario/Opera_1.jpg")));
    VERIFY_UI_CLEAN(f.ui);
}

void TestOpere::controlsAndLimits()
{
    Fixture f;
    // Typing stops at each field's limit.
    for (int i = 0; i < 15; ++i) {
        auto* e = child<QLineEdit>(frmOpere, kEdits[i]);
        e->clear();
        QTest::keyClicks(e, QString(kMaxLengths[i] + 5, u'7'));
        QCOMPARE(e->text().size(), kMaxLengths[i]);
    }
    // A formatted amount is shown whole, with its comma and two decimals.
    frmOpere->txtPrezzo->setText("1234567890123,00");
    QCOMPARE(frmOpere->txtPrezzo->text(), QString("1234567890123,00"));
    for (const char* name :
         {"chkSegnala",  "lblPosizione", "panInfo",      "btnFocus",  "imgFoto",   "imgBianco",     "lblFile01",
          "lblFile02",   "lblFile03",    "lblDesc01",    "lblDesc02", "lblDesc03", "cmdNuovo",      "cmdDuplica",
          "cmdSalva",    "cmdTrova",     "cmdFile",      "cmdStampa", "cmdPrimo",  "cmdIndietro",   "cmdAvanti",
          "cmdUltimo",   "cmdEsporta",   "cmdSegnalati", "cmdGuida",  "cmdEsci",   "btnCaricaFoto", "btnSalvaFoto",
          "btnCancFoto", "btnZoomFoto",  "btnCodFisc",   "icoSegnala"})
        QVERIFY2(frmOpere->findChild<QWidget*>(name), name);
    QCOMPARE(frmOpere->imgFoto->size(), QSize(567, 378));
    QCOMPARE(frmOpere->blankPicture().size(), QSize(567, 378));
    QCOMPARE(frmOpere->panInfo->text(), messages::kReady);
    QCOMPARE(frmOpere->chkSegnala->text(), QString("Venduta"));
}

void TestOpere::opensBlankAndClearsOnEveryShowing()
{
    Fixture f;
    frmAvvio->openCatalogue();
    QVERIFY(frmOpere->isVisible());
    QVERIFY(!QFileInfo::exists(f.file("Inventario_Opere.pro"))); // showing the card touches no archive
    frmOpere->close();
    writeBytes(f.file("Inventario_Opere.pro"), titled("Uno", "S\xEC") + titled("Due"));
    frmAvvio->openCatalogue();
    frmOpere->cmdPrimoClick();
    QCOMPARE(frmOpere->txtCapo->text(), QString("Uno"));
    QVERIFY(frmOpere->chkSegnala->isChecked());
    frmOpere->lblFile[0]->setText("x.pdf");
    frmOpere->close();
    frmAvvio->openCatalogue();
    QCOMPARE(frmOpere->txtCapo->text(), QString());
    QCOMPARE(frmOpere->txtPrezzo->text(), QString("0,00"));
    QVERIFY(!frmOpere->chkSegnala->isChecked());
    QCOMPARE(frmOpere->lblFile[0]->text(), QString());
    QCOMPARE(frmOpere->lblPosizione->text(), QString());
    QCOMPARE(frmOpere->imgFoto->image(), frmOpere->blankPicture());
    VERIFY_UI_CLEAN(f.ui);
}

void TestOpere::showsOddRecords()
{
    Fixture f;
    QList<QByteArray> full(22);
    for (int i = 0; i < 22; ++i)
        full[i] = QByteArray("v") + QByteArray::number(i);
    full[0] = "  Caff\xE8 \x80 \x93virgolette\x94\t";
    full[14] = "1250"; // stored unformatted: shown as stored
    full[15] = "S\xEC";
    QByteArray odd = titled("Strana", "Xx");
    // A partial last record is not a card.
    writeBytes(f.file("Inventario_Opere.pro"), artwork(full, '\xCC') + odd + QByteArray(100, 'p'));
    frmOpere->show();
    frmOpere->cmdPrimoClick();
    QCOMPARE(frmOpere->txtCapo->text(), QString::fromUtf8("Caffè € “virgolette”"));
    for (int i = 1; i < 14; ++i)
        QCOMPARE(child<QLineEdit>(frmOpere, kEdits[i])->text(), QString("v%1").arg(i));
    QCOMPARE(frmOpere->txtPrezzo->text(), QString("1250"));
    QVERIFY(frmOpere->chkSegnala->isChecked());
    QCOMPARE(frmOpere->lblFile[2]->text(), QString("v18"));
    QCOMPARE(frmOpere->lblDesc[0]->text(), QString("v19"));
    QCOMPARE(frmOpere->lblDesc[2]->text(), QString("v21"));

    frmOpere->cmdUltimoClick();
    QCOMPARE(frmOpere->lblPosizione->text(), QString("2"));
    QCOMPARE(frmOpere->txtCapo->text(), QString("Strana"));
    QVERIFY(frmOpere->chkSegnala->isChecked()); // neither value: the box keeps its state
    QCOMPARE(frmOpere->lblDesc[0]->text(), QString());
    VERIFY_UI_CLEAN(f.ui);
}

void TestOpere::photoLoadedOrBlank()
{
    Fixture f;
    writeBytes(f.file("Inventario_Opere.pro"), titled("Uno") + titled("Due") + titled("Tre"));
    QVERIFY(QDir(f.path()).mkdir("Inventario"));
    QImage red(40, 30, QImage::Format_RGB32);
    red.fill(Qt::red);
    QVERIFY(red.save(f.file("Inventario/Opera_2.jpg"), "JPEG"));
    writeBytes(f.file("Inventario/Opera_3.jpg"), "not a picture");
    frmOpere->show();
    frmOpere->cmdPrimoClick();
    QCOMPARE(frmOpere->imgFoto->image(), frmOpere->blankPicture());
    frmOpere->cmdAvantiClick();
    QCOMPARE(frmOpere->imgFoto->image().size(), QSize(40, 30));
    QVERIFY(qAbs(frmOpere->imgFoto->image().pixelColor(20, 15).red() - 255) < 8);
    frmOpere->cmdAvantiClick();
    QCOMPARE(frmOpere->imgFoto->image(), frmOpere->blankPicture());

    // A missing photo folder is created when a card is shown.
    QVERIFY(QDir(f.file("Inventario")).removeRecursively());
    frmOpere->cmdPrimoClick();
    QVERIFY(QFileInfo(f.file("Inventario")).isDir());

    // A folder that cannot be created: the blank picture; a save cannot store the photo, so it
    // stores nothing and says so, and the card keeps what it holds.
    QVERIFY(QDir(f.file("Inventario")).removeRecursively());
    writeBytes(f.file("Inventario"), "a file where the photo folder should be");
    frmOpere->cmdAvantiClick();
    QCOMPARE(frmOpere->imgFoto->image(), frmOpere->blankPicture());
    QImage green(20, 20, QImage::Format_RGB32);
    green.fill(Qt::green);
    frmOpere->imgFoto->setImage(green);
    frmOpere->txtColore->setText("A");
    frmOpere->txtTessuto->setText("1900");
    frmOpere->txtCliente->setText("P");
    const QByteArray archive = readBytes(f.file("Inventario_Opere.pro"));
    frmOpere->cmdSalvaClick();
    QCOMPARE(f.ui.takeMessages().value(0).text, messages::kArchiveAccess);
    QCOMPARE(readBytes(f.file("Inventario_Opere.pro")), archive);
    QCOMPARE(frmOpere->imgFoto->image(), green); // the frame keeps its picture
    QCOMPARE(frmOpere->txtColore->text(), QString("A"));
    VERIFY_UI_CLEAN(f.ui);
}

void TestOpere::amountField_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("left");
    QTest::newRow("integer") << "1234"
                             << "1234"
                             << "1234,00";
    QTest::newRow("rounded") << "12,3456"
                             << "12,3456"
                             << "12,35";
    QTest::newRow("two commas") << "1,2,3"
                                << "1,2,3"
                                << "0,00";
    QTest::newRow("letters, spaces, points, minus dropped") << "1a 2.-5"
                                                            << "125"
                                                            << "125,00";
    QTest::newRow("empty") << ""
                           << ""
                           << "0,00";
}

void TestOpere::amountField()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(QString, left);
    Fixture f;
    activate(frmOpere);
    QLineEdit* e = frmOpere->txtPrezzo;
    e->setFocus();
    e->clear();
    QTest::keyClicks(e, typed);
    QCOMPARE(e->text(), shown);
    frmOpere->txtCapo->setFocus();
    QCOMPARE(e->text(), left);
}

void TestOpere::taxCodeFieldTypesCapitals()
{
    Fixture f;
    activate(frmOpere);
    QLineEdit* e = frmOpere->txtCodFisc;
    e->setFocus();
    QTest::keyClicks(e, "rss-mra 80a01");
    QCOMPARE(e->text(), QString("RSSMRA80A01"));
    QTest::keyClick(e, Qt::Key_Left);
    QTest::keyClick(e, Qt::Key_Backspace);
    QCOMPARE(e->text(), QString("RSSMRA80A1"));
}

void TestOpere::enterChainAndTabOrder()
{
    Fixture f;
    activate(frmOpere);
    QList<QLineEdit*> chain;
    for (const char* name : kEdits)
        chain << child<QLineEdit>(frmOpere, name);
    chain.first()->setFocus();
    for (int i = 0; i < chain.size(); ++i) {
        QCOMPARE(QApplication::focusWidget(), chain[i]);
        QTest::keyClick(chain[i], Qt::Key_Return);
    }
    QCOMPARE(QApplication::focusWidget(), chain.first());

    frmOpere->txtNote->setFocus();
    QTest::keyClick(frmOpere->txtNote, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), frmOpere->chkSegnala);
    QTest::keyClick(frmOpere->chkSegnala, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), frmOpere->txtPrezzo);
    frmOpere->txtColore->setFocus();
    QTest::keyClick(frmOpere->txtColore, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), frmOpere->txtTessuto);
    VERIFY_UI_CLEAN(f.ui); // Enter never saves
}

void TestOpere::focusHighlightColours()
{
    Fixture f;
    activate(frmOpere);
    auto fill = [](QLineEdit* e) { return sample(e, QPoint(e->width() - 4, e->height() / 2)); };
    auto outline = [](QLineEdit* e) { return sample(e, QPoint(e->width() / 2, 0)); };
    frmOpere->txtCapo->setFocus();
    QCOMPARE(fill(frmOpere->txtCapo), QColor(0xFF, 0xFF, 0x00));
    QCOMPARE(fill(frmOpere->txtColore), QColor(0xF0, 0xF8, 0xFF));
    QCOMPARE(fill(frmOpere->txtPrezzo), QColor(0xFF, 0xFF, 0xFF));
    QCOMPARE(outline(frmOpere->txtColore), QColor(0x87, 0xCE, 0xEB));
    QCOMPARE(outline(frmOpere->txtCapo), QColor(0x87, 0xCE, 0xEB));
    frmOpere->txtPrezzo->setFocus();
    QCOMPARE(fill(frmOpere->txtPrezzo), QColor(0xFF, 0xFF, 0x00));
    QCOMPARE(fill(frmOpere->txtCapo), QColor(0xF0, 0xF8, 0xFF));
}

void TestOpere::photoRewrittenOnlyWhenChanged()
{
    Fixture f;
    writeBytes(f.file("Inventario_Opere.pro"), titled("Uno"));
    QVERIFY(QDir(f.path()).mkdir("Inventario"));
    QImage red(120, 80, QImage::Format_RGB32);
    red.fill(Qt::red);
    QVERIFY(red.save(f.file("Inventario/Opera_1.jpg"), "JPEG", 50));
    const QByteArray stored = readBytes(f.file("Inventario/Opera_1.jpg"));
    frmOpere->show();
    frmOpere->cmdPrimoClick();
    kindOf("opere").fillMandatory();
    for (int save = 0; save < 2; ++save) {
        frmOpere->chkSegnala->setChecked(save == 0);
        frmOpere->cmdSalvaClick();
        QCOMPARE(f.ui.takeMessages(), informed(messages::kSavedChanges));
        QCOMPARE(readBytes(f.file("Inventario/Opera_1.jpg")), stored); // not re-encoded
    }
    // A new photo chosen by the user is stored as its own file's bytes.
    QImage green(90, 60, QImage::Format_RGB32);
    green.fill(Qt::green);
    QVERIFY(green.save(f.file("nuova.jpg"), "JPEG", 75));
    f.ui.chooseFile(f.file("nuova.jpg"));
    frmOpere->btnCaricaFotoClick();
    f.ui.takeFileDialogs();
    frmOpere->cmdSalvaClick();
    f.ui.takeMessages();
    QCOMPARE(readBytes(f.file("Inventario/Opera_1.jpg")), readBytes(f.file("nuova.jpg")));
    // A chosen file that cannot be decoded never replaces the stored photo.
    writeBytes(f.file("rotta.jpg"), "\xFF\xD8\xFF not really a picture");
    f.ui.chooseFile(f.file("rotta.jpg"));
    frmOpere->btnCaricaFotoClick();
    f.ui.takeFileDialogs();
    QCOMPARE(frmOpere->imgFoto->image(), frmOpere->blankPicture());
    frmOpere->cmdSalvaClick();
    f.ui.takeMessages();
    QCOMPARE(readBytes(f.file("Inventario/Opera_1.jpg")), readBytes(f.file("nuova.jpg")));
}

void TestOpere::largePhotoSurvivesSaving()
{
    Fixture f;
    writeBytes(f.file("Inventario_Opere.pro"), titled("Grande"));
    QVERIFY(QDir(f.path()).mkdir("Inventario"));
    {
        // About 60 megapixels, beyond what Qt decodes by default.
        QImage big(9500, 6400, QImage::Format_Grayscale8);
        big.fill(90);
        QVERIFY(big.save(f.file("Inventario/Opera_1.jpg"), "JPEG", 30));
    }
    const QByteArray stored = readBytes(f.file("Inventario/Opera_1.jpg"));
    frmOpere->show();
    frmOpere->cmdPrimoClick();
    const QImage shown = frmOpere->imgFoto->image();
    QVERIFY(shown != frmOpere->blankPicture());
    QVERIFY(shown.width() <= 4000 && shown.height() <= 4000);
    QCOMPARE(shown.width() * 64 / shown.height(), 9500 * 64 / 6400);
    kindOf("opere").fillMandatory();
    frmOpere->chkSegnala->setChecked(true);
    frmOpere->cmdSalvaClick();
    QCOMPARE(f.ui.takeMessages(), informed(messages::kSavedChanges));
    QCOMPARE(readBytes(f.file("Inventario/Opera_1.jpg")), stored);
}

void TestOpere::oddFilesInThePhotoFolder()
{
    Fixture f;
    QTemporaryDir outside;
    writeBytes(f.file("Inventario_Opere.pro"), titled("Uno") + titled("Due"));
    QVERIFY(QDir(f.path()).mkdir("Inventario"));
    // A FIFO in a photo's place: the card shows the blank picture instead of waiting for ever.
    if (!testplatform::makeFifo(f.file("Inventario/Opera_1.jpg")))
        QSKIP("This system has no named pipes in its folders.");
    frmOpere->show();
    frmOpere->cmdPrimoClick();
    QCOMPARE(frmOpere->imgFoto->image(), frmOpere->blankPicture());
    // A link to a file outside the program folder: saving a new photo replaces the link,
    // never the file it points at.
    writeBytes(outside.filePath("altrui.jpg"), "someone else's file");
    if (!testplatform::makeSymlink(outside.filePath("altrui.jpg"), f.file("Inventario/Opera_2.jpg")))
        QSKIP("Links need rights this system does not give an ordinary user.");
    frmOpere->cmdUltimoClick();
    QImage blue(40, 30, QImage::Format_RGB32);
    blue.fill(Qt::blue);
    QVERIFY(blue.save(f.file("nuova.jpg"), "JPEG"));
    f.ui.chooseFile(f.file("nuova.jpg"));
    frmOpere->btnCaricaFotoClick();
    f.ui.takeFileDialogs();
    kindOf("opere").fillMandatory();
    frmOpere->cmdSalvaClick();
    f.ui.takeMessages();
    QCOMPARE(readBytes(outside.filePath("altrui.jpg")), QByteArray("someone else's file"));
    QVERIFY(!QFileInfo(f.file("Inventario/Opera_2.jpg")).isSymLink());
    QCOMPARE(readBytes(f.file("Inventario/Opera_2.jpg")), readBytes(f.file("nuova.jpg")));
}

QTEST_MAIN(TestOpere)
#include "tst_opere.moc"
