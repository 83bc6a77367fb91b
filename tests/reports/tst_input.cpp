// What the keyboard and the mouse can put into the cards' fields: typed, pasted by
// shortcut or by the context menu, or dropped, always within the field's limit; the memo
// refusing what does not fit; Enter on focused dialog buttons; Tab never lost; hints.
#include "Fixture.h"

#include "app/CambiaPassword.h"
#include "app/Password.h"
#include "app/Screens.h"
#include "catalogue/Opere.h"

#include "reports/Calendario.h"
#include "reports/Interventi.h"
#include "reports/Numerazione.h"
#include "taxcodes/CodFisc.h"
#include "widgets/Buttons.h"
#include "widgets/PictureFrame.h"

#include <QAction>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>

class TestInput : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { f.reset(); }
    void inputPaths_data();
    void inputPaths();
    void shortcutsWorkInAFullField();
    void memoRefusesWhatDoesNotFit();
    void enterPressesFocusedButtons_data();
    void enterPressesFocusedButtons();
    void tabNeverLandsOnTheHiddenButton_data();
    void tabNeverLandsOnTheHiddenButton();
    void hintsEmptyOverCaptionsAndIcons();

private:
    std::unique_ptr<Fixture> f;
};

namespace {
enum class Path { Typed, PasteShortcut, PasteShiftInsert, PasteMenu, Dropped };

void put(QLineEdit* e, Path path, const QString& text)
{
    switch (path) {
    case Path::Typed: QTest::keyClicks(e, text); break;
    case Path::PasteShortcut:
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(e, Qt::Key_V, Qt::ControlModifier);
        break;
    case Path::PasteShiftInsert:
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(e, Qt::Key_Insert, Qt::ShiftModifier);
        break;
    case Path::PasteMenu: {
        QGuiApplication::clipboard()->setText(text);
        QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(5, 5), e->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(e, &menuEvent);
        QMenu* menu = nullptr;
        QTRY_VERIFY((menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) != nullptr);
        // The menu's paste entry, whatever the language: the one shown with the paste shortcut.
        QAction* paste = nullptr;
        const QString shortcut = QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText);
        for (QAction* a : menu->actions())
            if (a->text().endsWith(u'\t' + shortcut))
                paste = a;
        QVERIFY(paste);
        paste->trigger();
        menu->close();
        break;
    }
    case Path::Dropped: {
        QMimeData data;
        data.setText(text);
        const QPoint at(e->width() - 2, e->height() / 2);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(e, &enter);
        QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(e, &drop);
        break;
    }
    }
}
} // namespace

void TestInput::init()
{
    f = std::make_unique<Fixture>();
}

void TestInput::inputPaths_data()
{
    QTest::addColumn<int>("path");
    QTest::addColumn<int>("already"); // characters in the field before
    QTest::addColumn<int>("added");
    QTest::addColumn<int>("expected");
    const std::pair<const char*, Path> paths[] = {{"typed", Path::Typed},
                                                  {"Ctrl+V", Path::PasteShortcut},
                                                  {"Shift+Insert", Path::PasteShiftInsert},
                                                  {"context menu", Path::PasteMenu},
                                                  {"dropped", Path::Dropped}};
    for (const auto& [name, path] : paths) {
        QTest::addRow("%s below the limit", name) << int(path) << 10 << 20 << 30;
        QTest::addRow("%s up to the limit", name) << int(path) << 30 << 20 << 50;
        QTest::addRow("%s past the limit", name) << int(path) << 10 << 80 << 50;
        QTest::addRow("%s into a full field", name) << int(path) << 50 << 5 << 50;
    }
}

void TestInput::inputPaths()
{
    QFETCH(int, path);
    QFETCH(int, already);
    QFETCH(int, added);
    QFETCH(int, expected);
    auto* c = frmInterventi;
    activate(c);
    QLineEdit* e = c->txtNumScheda; // limit 50
    e->setText(QString(already, u'a'));
    e->setFocus();
    e->setCursorPosition(already);
    put(e, Path(path), QString(added, u'b'));
    QCOMPARE(e->text().size(), expected);
    QCOMPARE(e->text().count(u'a'), already); // nothing that was there is lost
    // A longer text that the program puts there is shown whole.
    e->setText(QString(120, u'x'));
    QCOMPARE(e->text().size(), 120);
}

void TestInput::shortcutsWorkInAFullField()
{
    auto* c = frmInterventi;
    activate(c);
    QLineEdit* e = c->txtVeicolo;
    e->setText(QString(50, u'z'));
    e->setFocus();
    QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(e->selectedText().size(), 50);
    QTest::keyClick(e, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QString(50, u'z'));
    QTest::keyClick(e, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(e->text(), QString());
    QTest::keyClick(e, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(e->text(), QString(50, u'z'));
    // The amount field takes only digits and the comma from a paste.
    c->txtTotale->clear();
    c->txtTotale->setFocus();
    put(c->txtTotale, Path::PasteMenu, "12a,5");
    QCOMPARE(c->txtTotale->text(), QString("12,5"));
}

void TestInput::memoRefusesWhatDoesNotFit()
{
    auto* c = frmInterventi;
    activate(c);
    auto* memo = c->txtInterventi;
    memo->setFocus();
    // Full: 4995 letters and two line breaks (each counting two) make 4999... plus one.
    const QString full = QString(2000, u'a') + "\n" + QString(1000, u'b') + "\n" + QString(1996, u'c');
    memo->setPlainText(full);
    QCOMPARE(c->memoText().size(), 5000);
    QTextCursor middle = memo->textCursor();
    middle.setPosition(1500);
    memo->setTextCursor(middle);
    QTest::keyClicks(memo, "xyz");
    QTest::keyClick(memo, Qt::Key_Return);
    QGuiApplication::clipboard()->setText("pasted");
    QTest::keyClick(memo, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(memo->toPlainText(), full); // the tail is all there
    QCOMPARE(memo->textCursor().position(), 1500);
    // Room made by deleting is used, and the undo history still works.
    QTest::keyClick(memo, Qt::Key_Backspace);
    QTest::keyClick(memo, Qt::Key_Backspace);
    QTest::keyClicks(memo, "xyz");
    QCOMPARE(c->memoText().size(), 5000);
    QVERIFY(memo->toPlainText().contains("axy" + QString(500, u'a')));
    QVERIFY(memo->toPlainText().endsWith(QString(1996, u'c')));
    memo->undo();
    QVERIFY(!memo->toPlainText().contains("axy"));
}

void TestInput::enterPressesFocusedButtons_data()
{
    QTest::addColumn<QString>("screen");
    QTest::newRow("codice fiscale: Controlla") << "codfisc";
    QTest::newRow("numbering: Applica") << "numerazione";
    QTest::newRow("date picker: Importa") << "calendario";
    QTest::newRow("login: OK") << "password";
    QTest::newRow("password change: OK") << "cambiapassword";
}

void TestInput::enterPressesFocusedButtons()
{
    QFETCH(QString, screen);
    int pressed = 0;
    QWidget* window = nullptr;
    QAbstractButton* button = nullptr;
    std::unique_ptr<QWidget> owned;
    if (screen == "codfisc") {
        auto* s = new TfrmCodFisc(f->ui);
        owned.reset(s);
        button = s->btnControlla;
        window = s;
    } else if (screen == "numerazione") {
        auto* s = new TfrmNumerazione(f->ui);
        owned.reset(s);
        button = s->btnApplica;
        window = s;
    } else if (screen == "calendario") {
        auto* s = new TfrmCalendario(f->ui);
        owned.reset(s);
        button = child<QPushButton>(s, "btnImportaData");
        window = s;
    } else if (screen == "password") {
        window = frmPassword;
        button = child<QPushButton>(frmPassword, "cmdOK");
    } else {
        window = frmCambiaPassword;
        button = child<QPushButton>(frmCambiaPassword, "cmdOK");
    }
    button->setEnabled(true);
    QObject::disconnect(button, &QAbstractButton::clicked, nullptr, nullptr);
    connect(button, &QAbstractButton::clicked, this, [&pressed] { ++pressed; });
    activate(window);
    button->setFocus();
    QTest::keyClick(button, Qt::Key_Return);
    QTest::keyClick(button, Qt::Key_Enter, Qt::KeypadModifier);
    QTest::keyClick(button, Qt::Key_Space);
    QCOMPARE(pressed, 3);
    window->hide();
}

void TestInput::tabNeverLandsOnTheHiddenButton_data()
{
    QTest::addColumn<QString>("card");
    QTest::newRow("artwork card") << "opere";
    QTest::newRow("report card") << "interventi";
}

void TestInput::tabNeverLandsOnTheHiddenButton()
{
    QFETCH(QString, card);
    QWidget* c = card == "opere" ? static_cast<QWidget*>(frmOpere) : frmInterventi;
    activate(c);
    QWidget* btnFocus = child<QWidget>(c, "btnFocus");
    QWidget* first = card == "opere" ? static_cast<QWidget*>(frmOpere->txtCapo) : frmInterventi->txtNumScheda;
    first->setFocus();
    for (int i = 0; i < 60; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY(QApplication::focusWidget() != btnFocus);
        QVERIFY(QApplication::focusWidget() != nullptr);
    }
    for (int i = 0; i < 60; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QVERIFY(QApplication::focusWidget() != btnFocus);
    }
    // The save still gives it the focus, so that the field being edited is finished.
    frmOpere->cmdSalvaClick();
    f->ui.takeMessages();
}

void TestInput::hintsEmptyOverCaptionsAndIcons()
{
    auto* c = frmInterventi;
    activate(c);
    QWidget* icons[] = {child<QWidget>(c, "icoA"), child<QWidget>(c, "icoB"), child<QWidget>(c, "icoPagato")};
    for (QWidget* icon : icons) {
        QTest::mouseMove(c->cmdSalva);
        QTRY_VERIFY(!c->panInfo->text().isEmpty());
        QTest::mouseMove(icon);
        QTRY_COMPARE(c->panInfo->text(), QString());
    }
    QLabel* caption = nullptr;
    for (QLabel* l : c->findChildren<QLabel*>())
        if (l->text() == "Committente:")
            caption = l;
    QVERIFY(caption);
    QTest::mouseMove(c->cmdSalva);
    QTRY_VERIFY(!c->panInfo->text().isEmpty());
    QTest::mouseMove(caption);
    QTRY_COMPARE(c->panInfo->text(), QString());
}

QTEST_MAIN(TestInput)
#include "tst_input.moc"
