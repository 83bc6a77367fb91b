#include "Fixture.h"

#include "app/Screens.h"
#include "reports/FrameSource.h"
#include "reports/Interventi.h"
#include "reports/Logo.h"
#include "reports/Numerazione.h"
#include "reports/PhotoBox.h"
#include "reports/WebCam.h"
#include "widgets/Buttons.h"
#include "widgets/Messages.h"
#include "widgets/PictureFrame.h"

#include <QDir>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QThread>

namespace {
// A system without a camera: switching on delivers nothing.
class NoCamera : public FrameSource {
public:
    void start() override { }
    void stop() override { }
};

// A camera whose frames come from a thread of its own, as a real one's do.
class ThreadCamera : public FrameSource {
public:
    explicit ThreadCamera(QColor colour) : colour_(colour) { }
    ~ThreadCamera() override { stop(); }
    void start() override
    {
        setRunning(true);
        thread_ = QThread::create([this] {
            QImage frame(64, 48, QImage::Format_RGB32);
            frame.fill(colour_);
            while (!QThread::currentThread()->isInterruptionRequested()) {
                deliver(frame);
                ++delivered;
                QThread::msleep(5);
            }
        });
        thread_->start();
    }
    void stop() override
    {
        setRunning(false);
        if (thread_) {
            thread_->requestInterruption();
            thread_->wait();
            delete thread_;
            thread_ = nullptr;
        }
    }
    std::atomic<int> delivered{0};

private:
    QColor colour_;
    QThread* thread_ = nullptr;
};

} // namespace

class TestReportDialogs : public QObject {
    Q_OBJECT

private slots:
    void numberingScreen();
    void numberingNormalises_data();
    void numberingNormalises();
    void logoScreen();
    void webcamCaptureAndImport();
    void webcamWithoutCamera();
    void buildWithoutCapture();
};

void TestReportDialogs::numberingScreen()
{
    Fixture f;
    writeBytes(f.file("Contratti.ini"), "[Altro]\r\nchiave=1\r\n[Numerazione Contratti]\r\nInizio=40\r\n");
    {
        TfrmNumerazione n(f.ui);
        n.lblMemory->setText("contratti");
        QCOMPARE(n.windowTitle(), QString(" Impostazione inizio numerazione"));
        // Typing keeps to five characters; a longer stored start is shown whole.
        n.txtInizio->clear();
        QTest::keyClicks(n.txtInizio, "1234567");
        QCOMPARE(n.txtInizio->text(), QString("12345"));
        n.txtInizio->setText("1234567");
        QCOMPARE(n.txtInizio->text(), QString("1234567"));
        activate(&n);
        QCOMPARE(n.txtInizio->text(), QString("40"));
        QCOMPARE(QApplication::focusWidget(), n.txtInizio);
        n.txtInizio->selectAll();
        QTest::keyClicks(n.txtInizio, "0a07");
        QCOMPARE(n.txtInizio->text(), QString("007"));
        QTest::keyClick(n.txtInizio, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), n.btnApplica);
        QCOMPARE(n.txtInizio->text(), QString("7"));
        // Annulla writes nothing.
        QTest::mouseClick(child<QPushButton>(&n, "btnAnnulla"), Qt::LeftButton);
    }
    QCOMPARE(readBytes(f.file("Contratti.ini")),
             QByteArray("[Altro]\r\nchiave=1\r\n[Numerazione Contratti]\r\nInizio=40\r\n"));
    {
        TfrmNumerazione n(f.ui);
        n.lblMemory->setText("contratti");
        n.show();
        n.txtInizio->setText("250");
        QTest::mouseClick(n.btnApplica, Qt::LeftButton);
        QVERIFY(!n.isVisible());
    }
    QCOMPARE(readBytes(f.file("Contratti.ini")),
             QByteArray("[Altro]\r\nchiave=1\r\n\r\n[Numerazione Contratti]\r\nInizio=250\r\n"));

    // Settings that cannot be written: said so, and the screen stays open.
    QVERIFY(QFile::remove(f.file("Contratti.ini")));
    QVERIFY(QDir(f.path()).mkdir("Contratti.ini"));
    {
        TfrmNumerazione n(f.ui);
        n.lblMemory->setText("contratti");
        n.show();
        n.txtInizio->setText("5");
        n.btnApplicaClick();
        QCOMPARE(f.ui.takeMessages(), QList<TestUi::Message>({{Ui::Kind::Error, messages::kArchiveAccess, {}}}));
        QVERIFY(n.isVisible());
    }
    VERIFY_UI_CLEAN(f.ui);
}

void TestReportDialogs::numberingNormalises_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("empty") << ""
                           << "1";
    QTest::newRow("blank") << "  "
                           << "1";
    QTest::newRow("leading zeros") << "007"
                                   << "7";
    QTest::newRow("decimal rounds") << "12,5"
                                    << "13";
    QTest::newRow("not a number") << "1,2,3"
                                  << "1";
    QTest::newRow("plain") << "99999"
                           << "99999";
    QTest::newRow("largest start") << "999999999"
                                   << "999999999";
    QTest::newRow("beyond any sane start") << "9223372036854775807"
                                           << "1";
}

void TestReportDialogs::numberingNormalises()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QCOMPARE(TfrmNumerazione::normalise(typed), shown);
}

void TestReportDialogs::logoScreen()
{
    Fixture f;
    const QString logo = f.file("Logo.bmp");
    {
        TfrmLogo l(f.ui);
        QCOMPARE(l.size(), QSize(362, 368));
        l.show();
        QCOMPARE(l.imgLogo->image().size(), QSize(534, 550)); // no Logo.bmp: the default logo
        QTest::mouseClick(child<QPushButton>(&l, "btnApplica"), Qt::LeftButton);
    }
    {
        // Closed before the next save: Windows replaces no file another holds open.
        QImageReader written(logo);
        QCOMPARE(written.format(), QByteArray("bmp"));
        QCOMPARE(written.size(), QSize(534, 550));
    }

    QImage mine(297, 184, QImage::Format_RGB32);
    mine.fill(Qt::darkGreen);
    QVERIFY(mine.save(f.file("mio.jpg"), "JPEG"));
    writeBytes(f.file("rotto.bmp"), "BM broken");
    {
        TfrmLogo l(f.ui);
        l.show();
        f.ui.chooseFile(f.file("rotto.bmp"));
        l.btnSfogliaClick();
        QCOMPARE(f.ui.takeFileDialogs().value(0).title,
                 QString("Selezionare il logo della Ditta in formato Jpeg o Bitmap."));
        QCOMPARE(l.imgLogo->image().size(), QSize(534, 550));
        f.ui.chooseFile(f.file("mio.jpg"));
        l.btnSfogliaClick();
        f.ui.takeFileDialogs();
        QCOMPARE(l.imgLogo->image().size(), QSize(297, 184));
        QTest::mouseClick(child<QPushButton>(&l, "btnAnnulla"), Qt::LeftButton);
    }
    QCOMPARE(QImageReader(logo).size(), QSize(534, 550)); // Annulla: unchanged
    {
        TfrmLogo l(f.ui);
        l.show();
        f.ui.chooseFile(f.file("mio.jpg"));
        l.btnSfogliaClick();
        f.ui.takeFileDialogs();
        l.btnApplicaClick();
    }
    QCOMPARE(QImageReader(logo).size(), QSize(297, 184));
    {
        TfrmLogo l(f.ui);
        l.show();
        QCOMPARE(l.imgLogo->image().size(), QSize(297, 184));
        QTest::mouseClick(child<QWidget>(&l, "btnCancLogo"), Qt::LeftButton);
        QCOMPARE(l.imgLogo->image(), l.defaultLogo());
    }
    VERIFY_UI_CLEAN(f.ui);
}

void TestReportDialogs::webcamCaptureAndImport()
{
    Fixture f;
    frmInterventi->show();
    auto* camera = new ThreadCamera(Qt::magenta);
    f.ui.onExec([&](QDialog* d) {
        auto* w = static_cast<TfrmWebCam*>(d);
        [&] {
            QCOMPARE(w->lblMemory->text(), QString("foto02"));
            w->setSource(std::unique_ptr<FrameSource>(camera));
            QTest::mouseClick(child<QPushButton>(w, "btnAccendi"), Qt::LeftButton);
            QTRY_VERIFY(camera->delivered > 3);
            QTRY_COMPARE(w->imgCamera->image().size(), QSize(64, 48));
            QTest::mouseClick(child<QPushButton>(w, "btnCattura"), Qt::LeftButton);
            QCOMPARE(w->imgTarget->image().pixelColor(3, 3), QColor(Qt::magenta));
            f.ui.chooseFile(f.file("fotogramma"));
            QTest::mouseClick(child<QPushButton>(w, "btnSalvaFotogramma"), Qt::LeftButton);
            QCOMPARE(QImageReader(f.file("fotogramma.jpg")).size(), QSize(64, 48));
            QTest::mouseClick(child<QPushButton>(w, "btnImportaFoto"), Qt::LeftButton);
        }();
        return w->result();
    });
    QTest::mouseClick(child<QWidget>(frmInterventi, "btnAcquisisciFoto02"), Qt::LeftButton);
    QCOMPARE(f.ui.takeExecuted(), QStringList{"frmWebCam"});
    QCOMPARE(f.ui.takeFileDialogs().size(), 1);
    QCOMPARE(frmInterventi->foto2->image().size(), QSize(64, 48));
    QCOMPARE(frmInterventi->foto1->image(), frmInterventi->foto1->placeholder());
    VERIFY_UI_CLEAN(f.ui);
}

// A build without the camera library says so when the camera is switched on, and the
// screen stays usable.
void TestReportDialogs::buildWithoutCapture()
{
    if (makeSystemCamera())
        QSKIP("this build captures from the camera");
    Fixture f;
    frmInterventi->show();
    f.ui.onExec([&](QDialog* d) {
        QTest::mouseClick(child<QPushButton>(d, "btnAccendi"), Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>(d, "btnClose"), Qt::LeftButton);
        return d->result();
    });
    QTest::mouseClick(child<QWidget>(frmInterventi, "btnAcquisisciFoto"), Qt::LeftButton);
    QCOMPARE(f.ui.takeExecuted(), QStringList{"frmWebCam"});
    const QList<TestUi::Message> said = f.ui.takeMessages();
    QCOMPARE(said.size(), 1);
    QCOMPARE(said.first().text, messages::kNoCapture);
    QCOMPARE(said.first().parent, QString("frmWebCam"));
    VERIFY_UI_CLEAN(f.ui);
}

void TestReportDialogs::webcamWithoutCamera()
{
    Fixture f;
    frmInterventi->show();
    QImage drawing;
    f.ui.onExec([&](QDialog* d) {
        auto* w = static_cast<TfrmWebCam*>(d);
        w->setSource(std::make_unique<NoCamera>());
        const QImage before = w->imgCamera->image();
        QTest::mouseClick(child<QPushButton>(w, "btnAccendi"), Qt::LeftButton);
        [&] { QCOMPARE(w->imgCamera->image(), before); }();
        drawing = w->imgTarget->image();
        QTest::mouseClick(child<QPushButton>(w, "btnImportaFoto"), Qt::LeftButton); // nothing captured
        return w->result();
    });
    QTest::mouseClick(child<QWidget>(frmInterventi, "btnAcquisisciFoto"), Qt::LeftButton);
    QCOMPARE(f.ui.takeExecuted(), QStringList{"frmWebCam"});
    QCOMPARE(frmInterventi->foto1->image(), drawing); // the photo-camera drawing
    QCOMPARE(drawing.size(), QSize(366, 274));

    // Annulla leaves the card unchanged.
    f.ui.onExec([](QDialog* d) {
        QTest::mouseClick(child<QPushButton>(d, "btnClose"), Qt::LeftButton);
        return d->result();
    });
    QTest::mouseClick(child<QWidget>(frmInterventi, "btnAcquisisciFoto02"), Qt::LeftButton);
    f.ui.takeExecuted();
    QCOMPARE(frmInterventi->foto2->image(), frmInterventi->foto2->placeholder());
    VERIFY_UI_CLEAN(f.ui);
}

QTEST_MAIN(TestReportDialogs)
#include "tst_report_dialogs.moc"
