#include "widgets/QtUi.h"

#include "widgets/OpenDialog.h"

#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
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

Ui::Answer QtUi::question(QWidget* parent, const QString& text, Answer byDefault)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Conferma"), text, QMessageBox::NoButton, parent);
    QPushButton* yes = box.addButton(QStringLiteral("S\u00EC"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("No"), QMessageBox::NoRole);
    box.setDefaultButton(byDefault == Answer::Yes ? yes : no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == static_cast<QAbstractButton*>(yes) ? Answer::Yes : Answer::No;
}

QString QtUi::openFile(QWidget* parent, const FileDialog& d)
{
    return openDialog(parent, d, OpenMode::One).value(0);
}

QStringList QtUi::openFiles(QWidget* parent, const FileDialog& d)
{
    return openDialog(parent, d, OpenMode::Many);
}

QString QtUi::saveFile(QWidget* parent, const FileDialog& d)
{
    QFileDialog dlg(parent, d.title, QDir::homePath(), fileFilters(d.filters));
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
