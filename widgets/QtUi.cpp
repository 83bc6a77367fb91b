#include "widgets/QtUi.h"

#include "storage/FileNames.h"

#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

namespace {
QString titleFor(Ui::Kind kind)
{
    switch (kind) {
    case Ui::Kind::Warning: return QStringLiteral("Attenzione");
    case Ui::Kind::Error: return QStringLiteral("Errore");
    case Ui::Kind::Information: return QStringLiteral("Informazione");
    case Ui::Kind::Plain: break;
    }
    return QStringLiteral("Brevanto");
}

QMessageBox::Icon iconFor(Ui::Kind kind)
{
    switch (kind) {
    case Ui::Kind::Warning: return QMessageBox::Warning;
    case Ui::Kind::Error: return QMessageBox::Critical;
    case Ui::Kind::Information: return QMessageBox::Information;
    case Ui::Kind::Plain: break;
    }
    return QMessageBox::NoIcon;
}

// Each filter shows its caption exactly as the screen gives it, and hands Qt's dialog its
// patterns (separated by spaces, not "; ") in a second pair of brackets that the dialog
// reads but does not show. "*.*" means every file to the user, but only names with a dot
// to Qt: it becomes "*".
QString filterString(const QStringList& filters)
{
    QStringList out;
    for (const QString& caption : filters) {
        const qsizetype open = caption.lastIndexOf(u'(');
        if (open < 0 || !caption.endsWith(u')')) {
            out << caption;
            continue;
        }
        QString patterns =
            caption.mid(open + 1, caption.size() - open - 2).replace(QStringLiteral("; "), QStringLiteral(" "));
        if (patterns == QStringLiteral("*.*"))
            patterns = QStringLiteral("*");
        out << caption + QStringLiteral(" (") + patterns + u')';
    }
    return out.join(QStringLiteral(";;"));
}
} // namespace

Ui::Answer QtUi::message(QWidget* parent, Kind kind, const QString& text, const QString& details)
{
    QMessageBox box(iconFor(kind), titleFor(kind), text, QMessageBox::NoButton, parent);
    if (!details.isEmpty())
        box.setDetailedText(details);
    box.addButton(QMessageBox::Ok);
    if (kind != Kind::Plain)
        box.addButton(QStringLiteral("Annulla"), QMessageBox::RejectRole);
    box.setDefaultButton(QMessageBox::Ok);
    box.exec();
    return box.clickedButton() == box.button(QMessageBox::Ok) ? Answer::Ok : Answer::Cancel;
}

Ui::Answer QtUi::question(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Conferma"), text, QMessageBox::NoButton, parent);
    QPushButton* yes = box.addButton(QStringLiteral("S\u00EC"), QMessageBox::YesRole);
    box.addButton(QStringLiteral("No"), QMessageBox::NoRole);
    box.exec();
    return box.clickedButton() == static_cast<QAbstractButton*>(yes) ? Answer::Yes : Answer::No;
}

namespace {
QString quotedList(const QStringList& names)
{
    QStringList quoted;
    for (const QString& n : names)
        quoted.append(QStringLiteral("\u00AB") + n + QStringLiteral("\u00BB"));
    return quoted.join(QStringLiteral(", "));
}

// Below the file list: the files of the folder shown whose names Linux programs cannot show
// (Windows-1252 bytes, from a folder copied from Windows), and a button that gives them
// their names in UTF-8, after which they are listed and can be chosen.
void addForeignNamesNote(QFileDialog& dialog)
{
    auto* grid = qobject_cast<QGridLayout*>(dialog.layout());
    if (!grid)
        return;
    auto* note = new QLabel(&dialog);
    note->setObjectName(QStringLiteral("lblNomiWindows"));
    note->setWordWrap(true);
    auto* fix = new QPushButton(QStringLiteral("Correggi i nomi"), &dialog);
    fix->setObjectName(QStringLiteral("btnCorreggiNomi"));
    const int row = grid->rowCount();
    grid->addWidget(note, row, 0, 1, grid->columnCount() - 1);
    grid->addWidget(fix, row, grid->columnCount() - 1, Qt::AlignTop);
    auto show = [note, fix](const QString& folder, const QStringList& notFixed = {}) {
        QStringList names;
        for (const filenames::ForeignName& f : filenames::foreignNames(folder))
            names.append(f.name);
        QString text;
        if (!names.isEmpty())
            text = QStringLiteral("In questa cartella ci sono file con nomi scritti da Windows che non si possono "
                                  "mostrare: %1. Premere \u00ABCorreggi i nomi\u00BB per poterli scegliere.")
                       .arg(quotedList(names));
        if (!notFixed.isEmpty())
            text = QStringLiteral("Non \u00E8 stato possibile correggere %1: un file con lo stesso nome esiste "
                                  "gi\u00E0, oppure la cartella non si pu\u00F2 modificare.")
                       .arg(quotedList(notFixed));
        note->setText(text);
        note->setVisible(!text.isEmpty());
        fix->setVisible(!names.isEmpty() && notFixed.isEmpty());
    };
    QObject::connect(&dialog, &QFileDialog::directoryEntered, note, [show](const QString& folder) { show(folder); });
    QObject::connect(fix, &QPushButton::clicked, note, [&dialog, show] {
        const QString folder = dialog.directory().absolutePath();
        QStringList notFixed;
        QString last;
        for (const filenames::ForeignName& f : filenames::foreignNames(folder)) {
            const QString fixed = filenames::adoptForeignName(folder, f);
            if (fixed.isEmpty())
                notFixed.append(f.name);
            else
                last = fixed;
        }
        show(folder, notFixed);
        if (!last.isEmpty())
            dialog.selectFile(last);
    });
    show(dialog.directory().absolutePath());
}
} // namespace

QString QtUi::openFile(QWidget* parent, const FileDialog& d)
{
    QFileDialog dialog(parent, d.title, d.initialName, filterString(d.filters));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setFileMode(QFileDialog::ExistingFile);
    addForeignNamesNote(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QStringList QtUi::openFiles(QWidget* parent, const FileDialog& d)
{
    return QFileDialog::getOpenFileNames(parent, d.title, d.initialName, filterString(d.filters), nullptr,
                                         QFileDialog::DontUseNativeDialog | QFileDialog::HideNameFilterDetails);
}

QString QtUi::saveFile(QWidget* parent, const FileDialog& d)
{
    QFileDialog dlg(parent, d.title, QDir::homePath(), filterString(d.filters));
    dlg.setOption(QFileDialog::DontUseNativeDialog);
    dlg.setOption(QFileDialog::HideNameFilterDetails);
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setDefaultSuffix(d.defaultSuffix);
    dlg.selectFile(d.initialName);
    if (!d.confirmOverwrite)
        dlg.setOption(QFileDialog::DontConfirmOverwrite);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return {};
    return dlg.selectedFiles().constFirst();
}

int QtUi::exec(QDialog* dialog)
{
    return dialog->exec();
}

void QtUi::openUrl(const QString& command)
{
    QString target = command;
    if (target.size() >= 2 && target.startsWith(u'"') && target.endsWith(u'"'))
        target = target.mid(1, target.size() - 2);
    const QUrl url = QFileInfo(target).isAbsolute() ? QUrl::fromLocalFile(target) : QUrl(target);
    QDesktopServices::openUrl(url); // the result is not checked, as on every caller
}

bool QtUi::printDialog(QWidget* parent, QPrinter& printer)
{
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("Stampa"));
    return dialog.exec() == QDialog::Accepted;
}

void QtUi::preview(QWidget* parent, const Paint& paint, const Print& print)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setFullPage(true);
    QDialog window(parent, Qt::Window);
    window.setObjectName(QStringLiteral("frmAnteprima"));
    window.setWindowTitle(QStringLiteral(" Anteprima di stampa"));
    auto* view = new QPrintPreviewWidget(&printer, &window);
    view->setObjectName(QStringLiteral("prvDocumento"));
    QObject::connect(view, &QPrintPreviewWidget::paintRequested, &window, [&paint](QPrinter* p) { paint(*p); });
    auto* bar = new QToolBar(&window);
    bar->setObjectName(QStringLiteral("tbAnteprima"));
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    bar->addAction(QStringLiteral("Stampa"), &window, [&] { print(&window); });
    bar->addSeparator();
    bar->addAction(QStringLiteral("Zoom +"), view, [view] { view->zoomIn(); });
    bar->addAction(QStringLiteral("Zoom \u2212"), view, [view] { view->zoomOut(); });
    bar->addAction(QStringLiteral("100 %"), view, [view] { view->setZoomFactor(1.0); });
    bar->addAction(QStringLiteral("Pagina intera"), view, [view] { view->fitInView(); });
    bar->addSeparator();
    bar->addAction(QStringLiteral("Schermo intero"), &window,
                   [&window] { window.setWindowState(window.windowState() ^ Qt::WindowFullScreen); });
    bar->addAction(QStringLiteral("Chiudi"), &window, &QDialog::accept);
    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(view, 1);
    view->setZoomMode(QPrintPreviewWidget::CustomZoom);
    view->setZoomFactor(1.0);
    // The whole screen, also where no window manager maximises it.
    if (const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
        window.setGeometry(screen->availableGeometry());
    window.setWindowState(Qt::WindowMaximized);
    window.exec();
}
