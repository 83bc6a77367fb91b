#include "Fixture.h"

#include "app/Avvio.h"
#include "app/Guida.h"
#include "app/HelpTexts.h"
#include "app/Info.h"
#include "app/Screens.h"
#include "app/Splash.h"
#include "catalogue/Opere.h"
#include "reports/Interventi.h"
#include "widgets/Buttons.h"
#include "widgets/Messages.h"
#include "widgets/PictureFrame.h"

#include <QLabel>
#include <QPlainTextEdit>

namespace {
struct Seen {
    QString title;
    QString text;
    bool readOnly = false;
};

// Scripts the next modal screen: remembers what a help window showed and closes it.
void captureHelp(TestUi& ui, Seen& seen)
{
    ui.onExec([&seen](QDialog* d) {
        if (auto* help = qobject_cast<TfrmGuida*>(d)) {
            seen.title = help->lblTitolo->text();
            seen.text = help->txtGuida->toPlainText();
            seen.readOnly = help->txtGuida->isReadOnly();
        }
        return int(QDialog::Accepted);
    });
}
} // namespace

class TestHelp : public QObject {
    Q_OBJECT

private slots:
    void launcherHelp();
    void artworkHelpAfterLauncherHelp();
    void pdfLinkAndColours();
    void infoAndSplashLinks();
};

void TestHelp::launcherHelp()
{
    Fixture f;
    frmAvvio->show();
    Seen seen;
    captureHelp(f.ui, seen);
    QTest::mouseClick(child<QWidget>(frmAvvio, "imgGuida"), Qt::LeftButton);
    QCOMPARE(f.ui.takeExecuted(), QStringList{"frmGuida"});
    QCOMPARE(seen.title, QString("Uno sguardo a Brevanto"));
    QVERIFY(seen.readOnly);
    // The memo shows the paragraphs joined by CR LF CR LF, one empty line between them.
    const QString given = helptexts::text("avvio");
    const QStringList paragraphs = given.split("\r\n\r\n");
    QCOMPARE(paragraphs.size(), 34);
    QCOMPARE(seen.text, QString(given).replace("\r\n", "\n"));
    QVERIFY(seen.text.startsWith(QString::fromUtf8("Brevanto è il programma")));
    for (const QString& p : paragraphs) {
        QVERIFY(!p.isEmpty());
        QVERIFY2(!p.contains('\n') && !p.contains('\r'), qPrintable(p));
    }
    QVERIFY(paragraphs[31].contains("\"primaverilenza\""));
    VERIFY_UI_CLEAN(f.ui);
}

void TestHelp::artworkHelpAfterLauncherHelp()
{
    Fixture f;
    Seen first, second;
    captureHelp(f.ui, first);
    frmAvvio->show();
    QTest::mouseClick(child<QWidget>(frmAvvio, "imgGuida"), Qt::LeftButton);
    frmAvvio->openCatalogue();
    captureHelp(f.ui, second);
    QTest::mouseClick(frmOpere->cmdGuida, Qt::LeftButton);
    QCOMPARE(f.ui.takeExecuted(), QStringList({"frmGuida", "frmGuida"}));
    QCOMPARE(second.title, QString("App Archivio Opere"));
    QCOMPARE(helptexts::text("opere").split("\r\n\r\n").size(), 12);
    QCOMPARE(second.text, helptexts::text("opere").replace("\r\n", "\n"));
    QVERIFY(!second.text.contains(first.text.left(40)));

    Seen third;
    captureHelp(f.ui, third);
    frmInterventi->show();
    QTest::mouseClick(child<QWidget>(frmInterventi, "cmdGuida"), Qt::LeftButton);
    QCOMPARE(f.ui.takeExecuted(), QStringList({"frmGuida"}));
    QCOMPARE(third.title, QString("App Relazioni Tecniche"));
    QCOMPARE(helptexts::text("interventi").split("\r\n\r\n").size(), 15);
    QCOMPARE(third.text, helptexts::text("interventi").replace("\r\n", "\n"));
    VERIFY_UI_CLEAN(f.ui);
}

void TestHelp::pdfLinkAndColours()
{
    Fixture f;
    TfrmGuida help(f.ui);
    QCOMPARE(help.lblTitolo->text(), QString("Argomento della guida."));
    QCOMPARE(help.size(), QSize(670, 572));
    help.show();
    auto colour = [&] { return help.lnkWeb->palette().color(QPalette::WindowText); };
    QCOMPARE(colour(), QColor(0x00, 0x00, 0x8B));
    QTest::mousePress(help.lnkWeb, Qt::LeftButton);
    QVERIFY(help.lnkWeb->isPressedLook());
    QCOMPARE(colour(), QColor(0xFF, 0xA5, 0x00));
    QTest::mouseRelease(help.lnkWeb, Qt::LeftButton);
    QVERIFY(!help.lnkWeb->isPressedLook());
    QCOMPARE(colour(), QColor(0x00, 0x00, 0x8B));
    QCOMPARE(f.ui.takeOpened(), QStringList{"\"" + f.path() + "/Guida.pdf\""});
    // The icon opens the manual as well; the window stays open.
    QTest::mouseClick(child<QWidget>(&help, "imgPDF"), Qt::LeftButton);
    QCOMPARE(f.ui.takeOpened().size(), 1);
    QVERIFY(help.isVisible());
    VERIFY_UI_CLEAN(f.ui);
}

void TestHelp::infoAndSplashLinks()
{
    Fixture f;
    frmAvvio->show();
    QStringList titles;
    for (int i = 0; i < 2; ++i)
        f.ui.onExec([&](QDialog* d) {
            titles << d->windowTitle();
            QTest::mouseClick(child<QWidget>(d, "lnkWeb"), Qt::LeftButton);
            return int(QDialog::Accepted);
        });
    QTest::mouseClick(child<QWidget>(frmAvvio, "imgInfo"), Qt::LeftButton);
    QTest::mouseClick(child<QWidget>(frmAvvio, "imgCopyright"), Qt::LeftButton);
    QCOMPARE(f.ui.takeExecuted(), QStringList({"frmInfo", "frmSplash"}));
    QCOMPARE(titles.value(0), QString(" Informazioni su Brevanto"));
    QCOMPARE(f.ui.takeOpened(), QStringList({"\"mailto:" + maker::kMail + "\"", maker::kWeb}));
    VERIFY_UI_CLEAN(f.ui);
}

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
