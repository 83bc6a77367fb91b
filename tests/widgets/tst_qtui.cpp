// The production Ui on real Qt message boxes, answered by a driver while they are shown.
#include "ModalDriver.h"

#include "storage/FileNames.h"
#include "storage/Platform.h"
#include "widgets/OpenDialog.h"
#include "widgets/QtUi.h"
#include "widgets/Style.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>

Q_DECLARE_METATYPE(Ui::Kind)
Q_DECLARE_METATYPE(Ui::Answer)
Q_DECLARE_METATYPE(OpenMode)

class TestQtUi : public QObject {
    Q_OBJECT
private slots:
    void messageBoxes_data();
    void messageBoxes();
    void question_data();
    void question();
    void enterAnswersTheDefault_data();
    void enterAnswersTheDefault();
    void detailsAreFoldedAway();
    void qtsOwnDialogsSpeakItalian();
    void everyFileFilterListsEveryFile_data();
    void everyFileFilterListsEveryFile();
    void namesWrittenByWindowsCanBeChosen_data();
    void namesWrittenByWindowsCanBeChosen();
    void noteFollowsAFolderTyped_data();
    void noteFollowsAFolderTyped();
};

namespace {
QStringList buttonTexts(QMessageBox* box)
{
    QStringList texts;
    for (QAbstractButton* b : box->buttons())
        texts << b->text().remove(u'&');
    texts.sort();
    return texts;
}

QAbstractButton* buttonNamed(QMessageBox* box, const QString& text)
{
    for (QAbstractButton* b : box->buttons())
        if (b->text().remove(u'&') == text)
            return b;
    return nullptr;
}
} // namespace

void TestQtUi::messageBoxes_data()
{
    QTest::addColumn<Ui::Kind>("kind");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("icon");
    QTest::addColumn<QStringList>("buttons");
    QTest::addColumn<QString>("press");
    QTest::addColumn<Ui::Answer>("answer");

    QTest::newRow("plain") << Ui::Kind::Plain << "Brevanto" << int(QMessageBox::NoIcon) << QStringList{"OK"} << "OK"
                           << Ui::Answer::Ok;
    QTest::newRow("warning, OK") << Ui::Kind::Warning << "Attenzione" << int(QMessageBox::Warning)
                                 << QStringList{"Annulla", "OK"} << "OK" << Ui::Answer::Ok;
    QTest::newRow("error, Annulla") << Ui::Kind::Error << "Errore" << int(QMessageBox::Critical)
                                    << QStringList{"Annulla", "OK"} << "Annulla" << Ui::Answer::Cancel;
    QTest::newRow("information") << Ui::Kind::Information << "Informazione" << int(QMessageBox::Information)
                                 << QStringList{"Annulla", "OK"} << "OK" << Ui::Answer::Ok;
}

void TestQtUi::messageBoxes()
{
    QFETCH(Ui::Kind, kind);
    QFETCH(QString, title);
    QFETCH(int, icon);
    QFETCH(QStringList, buttons);
    QFETCH(QString, press);
    QFETCH(Ui::Answer, answer);

    QWidget parent;
    parent.show();
    QtUi ui;
    QString seenTitle, seenText;
    int seenIcon = -1;
    QStringList seenButtons;
    {
        ModalDriver driver([&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            QVERIFY(box);
            seenTitle = box->windowTitle();
            seenText = box->text();
            seenIcon = int(box->icon());
            seenButtons = buttonTexts(box);
            QAbstractButton* b = buttonNamed(box, press);
            QVERIFY(b);
            b->click();
        });
        QCOMPARE(ui.message(&parent, kind, "Riga uno\nRiga due"), answer);
    }
    QCOMPARE(seenTitle, title);
    QCOMPARE(seenText, QString("Riga uno\nRiga due"));
    QCOMPARE(seenIcon, icon);
    QCOMPARE(seenButtons, buttons);
}

void TestQtUi::question_data()
{
    QTest::addColumn<QString>("press");
    QTest::addColumn<Ui::Answer>("answer");
    QTest::newRow("S\u00EC") << QString::fromUtf8("S\u00EC") << Ui::Answer::Yes;
    QTest::newRow("No") << "No" << Ui::Answer::No;
}

void TestQtUi::question()
{
    QFETCH(QString, press);
    QFETCH(Ui::Answer, answer);
    QWidget parent;
    parent.show();
    QtUi ui;
    QStringList seenButtons;
    QString seenTitle;
    int seenIcon = -1;
    {
        ModalDriver driver([&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            QVERIFY(box);
            seenButtons = buttonTexts(box);
            seenTitle = box->windowTitle();
            seenIcon = int(box->icon());
            QAbstractButton* b = buttonNamed(box, press);
            QVERIFY(b);
            b->click();
        });
        QCOMPARE(ui.question(&parent, "Sovrascrivere?"), answer);
    }
    QCOMPARE(seenButtons, (QStringList{"No", QString::fromUtf8("S\u00EC")}));
    QCOMPARE(seenTitle, QString("Conferma"));
    QCOMPARE(seenIcon, int(QMessageBox::Question));
}

// A question says which answer Enter gives: No for one whose Yes deletes or replaces
// something, which is every question that does not say otherwise. Escape always answers No.
void TestQtUi::enterAnswersTheDefault_data()
{
    QTest::addColumn<bool>("saysYes"); // else the question leaves the default as it is
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("defaultButton");
    QTest::addColumn<Ui::Answer>("answer");
    QTest::newRow("destructive, Enter") << false << int(Qt::Key_Return) << "No" << Ui::Answer::No;
    QTest::newRow("destructive, Escape") << false << int(Qt::Key_Escape) << "No" << Ui::Answer::No;
    QTest::newRow("Yes by default, Enter")
        << true << int(Qt::Key_Return) << QString::fromUtf8("S\u00EC") << Ui::Answer::Yes;
    QTest::newRow("Yes by default, Escape")
        << true << int(Qt::Key_Escape) << QString::fromUtf8("S\u00EC") << Ui::Answer::No;
}

void TestQtUi::enterAnswersTheDefault()
{
    QFETCH(bool, saysYes);
    QFETCH(int, key);
    QFETCH(QString, defaultButton);
    QFETCH(Ui::Answer, answer);
    QWidget parent;
    parent.show();
    QtUi ui;
    QString seenDefault;
    Ui::Answer got;
    {
        ModalDriver driver([&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            QVERIFY(box);
            QVERIFY(box->defaultButton());
            seenDefault = box->defaultButton()->text().remove(u'&');
            QTest::keyClick(box, Qt::Key(key));
        });
        got = saysYes ? ui.question(&parent, "Aprire il file?", Ui::Answer::Yes)
                      : ui.question(&parent, "Rimuovere la foto?");
    }
    QCOMPARE(seenDefault, defaultButton);
    QCOMPARE(got, answer);
}

void TestQtUi::detailsAreFoldedAway()
{
    QWidget parent;
    parent.show();
    QtUi ui;
    QString text, details;
    {
        ModalDriver driver([&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            QVERIFY(box);
            text = box->text();
            details = box->detailedText();
            buttonNamed(box, "OK")->click();
        });
        ui.message(&parent, Ui::Kind::Error, "La stampa non \u00E8 riuscita.", "Causa tecnica: disk full");
    }
    QCOMPARE(text, QString::fromUtf8("La stampa non \u00E8 riuscita."));
    QCOMPARE(details, QString("Causa tecnica: disk full"));
}

// Qt's own dialogs speak Italian from the translation compiled into the program, also where
// the system has none installed (a portable folder, Windows).
void TestQtUi::qtsOwnDialogsSpeakItalian()
{
    QCOMPARE(QCoreApplication::translate("QFileDialog", "File &name:"), QString("File &name:"));
    style::speakItalian(*qApp);
    QCOMPARE(QCoreApplication::translate("QFileDialog", "File &name:"), QString("&Nome del file:"));
}

void TestQtUi::everyFileFilterListsEveryFile_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("listed");
    QTest::newRow("every file") << "Tutti i file (*.*)" << QStringList{"LEGGIMI", "foto.jpg", "nota.txt"};
    QTest::newRow("pictures") << "Immagine JPEG (*.jpg; *.jpeg)" << QStringList{"foto.jpg"};
}

void TestQtUi::everyFileFilterListsEveryFile()
{
    QFETCH(QString, filter);
    QFETCH(QStringList, listed);
    QTemporaryDir dir;
    for (const char* name : {"LEGGIMI", "foto.jpg", "nota.txt"}) {
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QWidget parent;
    parent.show();
    QtUi ui;
    QStringList shownFilters, seen;
    {
        ModalDriver driver([&](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            QVERIFY(dialog);
            auto* combo = dialog->findChild<QComboBox*>("fileTypeCombo");
            QVERIFY(combo);
            for (int i = 0; i < combo->count(); ++i)
                shownFilters << combo->itemText(i);
            auto* model = dialog->findChild<QFileSystemModel*>();
            QVERIFY(model);
            const QModelIndex folder = model->index(dir.path());
            QTRY_VERIFY(model->rowCount(folder) > 0);
            QTest::qWait(100); // the folder is read in the background
            auto* proxyView = dialog->findChild<QListView*>("listView");
            QVERIFY(proxyView);
            for (int r = 0; r < model->rowCount(folder); ++r) {
                const QModelIndex i = model->index(r, 0, folder);
                if (!proxyView->isRowHidden(r) && (model->flags(i) & Qt::ItemIsEnabled))
                    seen << model->fileName(i);
            }
            dialog->reject();
        });
        Ui::FileDialog d;
        d.title = "Selezionare il file da allegare:";
        d.filters = {filter};
        d.initialName = dir.path();
        QCOMPARE(ui.openFile(&parent, d), QString());
    }
    seen.sort();
    QCOMPARE(shownFilters, QStringList{filter}); // the caption exactly as the screen gives it
    QCOMPARE(seen, listed);
}

namespace {
// Files whose names are Windows-1252 bytes, as a folder copied from Windows holds them.
bool writeForeignNames(const QString& folder, const QList<QByteArray>& names)
{
    for (const QByteArray& name : names) {
        const int fd = platform::createFile(platform::encodeName(folder) + '/' + name);
        if (fd < 0)
            return false;
        const bool written = platform::writeAt(fd, 0, "jpeg", 4);
        platform::closeFile(fd);
        if (!written)
            return false;
    }
    return true;
}

QStringList chooseWith(QtUi& ui, QWidget* parent, OpenMode mode, const Ui::FileDialog& d)
{
    if (mode == OpenMode::One) {
        const QString one = ui.openFile(parent, d);
        return one.isEmpty() ? QStringList() : QStringList{one};
    }
    return ui.openFiles(parent, d);
}
} // namespace

void TestQtUi::namesWrittenByWindowsCanBeChosen_data()
{
    QTest::addColumn<OpenMode>("mode");
    QTest::newRow("one file") << OpenMode::One;
    QTest::newRow("several files") << OpenMode::Many;
}

// A folder copied from Windows may hold names in Windows-1252 bytes, which the file dialog
// cannot list: every dialog that opens files names them, and its button renames them so that
// they can be chosen.
void TestQtUi::namesWrittenByWindowsCanBeChosen()
{
    QFETCH(OpenMode, mode);
    QTemporaryDir dir;
    if (!platform::holdsName("citt\xe0.jpg"))
        QSKIP("this system's names are always Unicode");
    // Two names in Windows-1252 bytes; the second one's UTF-8 name is taken already.
    QVERIFY(writeForeignNames(dir.path(), {QByteArray("citt\xe0.jpg"), QByteArray("nota\xe8.jpg")}));
    QFile taken(dir.filePath(QStringLiteral("nota\u00E8.jpg")));
    QVERIFY(taken.open(QIODevice::WriteOnly));
    taken.close();
    QWidget parent;
    parent.show();
    QtUi ui;
    QString noteBefore, noteAfter;
    bool buttonBefore = false, buttonAfter = true;
    {
        ModalDriver driver([&](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            QVERIFY(dialog);
            const auto closed = qScopeGuard([dialog] {
                if (dialog->isVisible())
                    dialog->reject(); // also when a check failed: the test goes on
            });
            auto* note = dialog->findChild<QLabel*>("lblNomiWindows");
            auto* fix = dialog->findChild<QPushButton*>("btnCorreggiNomi");
            QVERIFY(note && fix);
            noteBefore = note->isVisible() ? note->text() : QString();
            buttonBefore = fix->isVisible();
            QTest::mouseClick(fix, Qt::LeftButton);
            noteAfter = note->isVisible() ? note->text() : QString();
            buttonAfter = fix->isVisible();
            QTRY_COMPARE(dialog->selectedFiles().value(0), dir.filePath(QStringLiteral("citt\u00E0.jpg")));
            static_cast<QDialog*>(dialog)->accept();
        });
        Ui::FileDialog d;
        d.title = "Selezionare la foto:";
        d.filters = {"Immagine JPEG (*.jpg; *.jpeg)"};
        d.initialName = dir.path();
        QCOMPARE(chooseWith(ui, &parent, mode, d), QStringList{dir.filePath(QStringLiteral("citt\u00E0.jpg"))});
    }
    QVERIFY2(noteBefore.startsWith(QStringLiteral("In questa cartella ci sono file con nomi")), qPrintable(noteBefore));
    QVERIFY2(noteBefore.contains(QStringLiteral("\u00ABcitt\u00E0.jpg\u00BB")), qPrintable(noteBefore));
    QVERIFY2(noteBefore.contains(QStringLiteral("\u00ABnota\u00E8.jpg\u00BB")), qPrintable(noteBefore));
    QVERIFY(buttonBefore);
    // The name already taken is left as it was, and said.
    QVERIFY2(noteAfter.startsWith(QStringLiteral("Non \u00E8 stato possibile correggere \u00ABnota\u00E8.jpg\u00BB")),
             qPrintable(noteAfter));
    QVERIFY(!noteAfter.contains(QStringLiteral("citt")));
    QVERIFY(!buttonAfter);
    QCOMPARE(filenames::foreignNames(dir.path()).size(), 1);
    QFile chosen(dir.filePath(QStringLiteral("citt\u00E0.jpg")));
    QVERIFY(chosen.open(QIODevice::ReadOnly));
    QCOMPARE(chosen.readAll(), QByteArray("jpeg"));
    platform::removeAll(platform::encodeName(dir.path())); // Qt cannot remove the name left foreign
}

void TestQtUi::noteFollowsAFolderTyped_data()
{
    namesWrittenByWindowsCanBeChosen_data();
}

// The note follows the folder shown also when its path is typed in the name box, not only when
// it is entered with a double click.
void TestQtUi::noteFollowsAFolderTyped()
{
    QFETCH(OpenMode, mode);
    QTemporaryDir start, copied;
    if (!platform::holdsName("citt\xe0.jpg"))
        QSKIP("this system's names are always Unicode");
    QVERIFY(writeForeignNames(copied.path(), {QByteArray("citt\xe0.jpg")}));
    QWidget parent;
    parent.show();
    QtUi ui;
    bool shownAtFirst = true, buttonAtFirst = true, buttonThen = false;
    QString noteThen;
    {
        ModalDriver driver([&](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            QVERIFY(dialog);
            const auto closed = qScopeGuard([dialog] {
                if (dialog->isVisible())
                    dialog->reject(); // also when a check failed: the test goes on
            });
            auto* note = dialog->findChild<QLabel*>("lblNomiWindows");
            auto* fix = dialog->findChild<QPushButton*>("btnCorreggiNomi");
            auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
            QVERIFY(note && fix && name);
            shownAtFirst = note->isVisible();
            buttonAtFirst = fix->isVisible();
            name->setText(copied.path());
            QTest::keyClick(name, Qt::Key_Return);
            QTRY_COMPARE(dialog->directory().absolutePath(), QDir(copied.path()).absolutePath());
            QTRY_VERIFY(note->isVisible());
            noteThen = note->text();
            buttonThen = fix->isVisible();
            dialog->reject();
        });
        Ui::FileDialog d;
        d.title = "Scegliere le foto da aggiungere alla documentazione.";
        d.filters = {"Immagini (*.jpg; *.jpeg)"};
        d.initialName = start.path();
        QCOMPARE(chooseWith(ui, &parent, mode, d), QStringList());
    }
    QVERIFY(!shownAtFirst && !buttonAtFirst);
    QCOMPARE(noteThen, QStringLiteral("In questa cartella c'\u00E8 un file con un nome scritto da Windows che non si "
                                      "pu\u00F2 mostrare: \u00ABcitt\u00E0.jpg\u00BB. Premere \u00ABCorreggi i "
                                      "nomi\u00BB per poterlo scegliere."));
    QVERIFY(buttonThen);
    platform::removeAll(platform::encodeName(copied.path()));
}

QTEST_MAIN(TestQtUi)
#include "tst_qtui.moc"
