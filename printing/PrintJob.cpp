#include "printing/PrintJob.h"

#include "common/Ui.h"
#include "printing/Renderer.h"

#include <QCursor>
#include <QGuiApplication>
#include <QPrinter>

bool printWithDialog(Ui& ui, QWidget* parent, const report::Template& document)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setFullPage(true);
    printer.setCopyCount(1);
    printer.setCollateCopies(true);
    printer.setPrintRange(QPrinter::AllPages);
    printer.setDocName(document.name);
    if (!ui.printDialog(parent, printer))
        return false;
    // A long list takes a while to lay out: the pointer says so.
    struct Busy {
        Busy() { QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
        ~Busy() { QGuiApplication::restoreOverrideCursor(); }
    } busy;
    report::render(document, printer);
    return true;
}
