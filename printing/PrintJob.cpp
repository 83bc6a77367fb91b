#include "printing/PrintJob.h"

#include "printing/Renderer.h"
#include "storage/IoError.h"
#include "storage/SafeFile.h"
#include "widgets/Ui.h"

#include <QCursor>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPdfWriter>
#include <QPrinter>

namespace {
report::PrintOptions optionsOf(const QPrinter& printer, bool copiesByProgram)
{
    report::PrintOptions o;
    if (printer.printRange() == QPrinter::PageRange) {
        o.pages = printer.pageRanges();
        if (o.pages.isEmpty() && printer.fromPage() > 0)
            o.pages.addRange(printer.fromPage(), std::max(printer.fromPage(), printer.toPage()));
    }
    // A printer that makes its copies itself is sent the document once.
    o.copies = copiesByProgram ? std::max(1, printer.copyCount()) : 1;
    o.collate = printer.collateCopies();
    return o;
}

Printed printPdf(const QString& path, const QPrinter& printer, const report::Template& document)
{
    const QString notWritten =
        QStringLiteral(
            "Il file PDF \u00AB%1\u00BB non \u00E8 stato scritto. Controllare che la cartella scelta esista e "
            "si possa scrivere e che il disco abbia spazio libero.")
            .arg(QFileInfo(path).fileName());
    try {
        SafeFile file(path);
        int printed = 0;
        {
            QPdfWriter writer(&file.device());
            writer.setResolution(printer.resolution());
            writer.setTitle(printer.docName());
            writer.setCreator(QStringLiteral("Brevanto"));
            printed = report::render(document, writer, optionsOf(printer, true));
        }
        if (printed == 0)
            return Printed::NoPages; // the temporary file goes, an earlier PDF stays
        file.commit();
    } catch (const IoError& e) {
        throw IoError(e.cause(), notWritten);
    }
    return Printed::Yes;
}

void showNoPages(Ui& ui, QWidget* parent, int pages)
{
    const QString has = pages == 1 ? QStringLiteral("ha una sola pagina") : QStringLiteral("ha %1 pagine").arg(pages);
    ui.message(parent, Ui::Kind::Warning,
               QStringLiteral("Attenzione: il documento %1 e le pagine scelte non ne fanno parte.\r\n\r\n"
                              "Non \u00E8 stato stampato nulla.")
                   .arg(has));
}
} // namespace

Printed printOn(QPrinter& printer, const report::Template& document)
{
    // A long list takes a while to lay out: the pointer says so.
    struct Busy {
        Busy() { QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
        ~Busy() { QGuiApplication::restoreOverrideCursor(); }
    } busy;
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty())
        return printPdf(printer.outputFileName(), printer, document);
    const int printed = report::render(document, printer, optionsOf(printer, !printer.supportsMultipleCopies()));
    return printed == 0 ? Printed::NoPages : Printed::Yes;
}

Printed printWithDialog(Ui& ui, QWidget* parent, const report::Template& document)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setFullPage(true);
    printer.setCopyCount(1);
    printer.setCollateCopies(true);
    // The dialog offers the document's pages, and prints them all unless told otherwise.
    const int pages = report::pageCount(document);
    printer.setFromTo(1, pages);
    printer.setPrintRange(QPrinter::AllPages);
    printer.setDocName(document.name);
    if (!ui.printDialog(parent, printer))
        return Printed::Cancelled;
    const Printed printed = printOn(printer, document);
    if (printed == Printed::NoPages)
        showNoPages(ui, parent, pages);
    return printed;
}

void showPrintFailure(Ui& ui, QWidget* parent, const IoError& error, const QString& headline)
{
    const QString technical = QStringLiteral("Causa tecnica: ") + error.cause();
    if (headline.isEmpty() && !error.userText().isEmpty()) {
        ui.message(parent, Ui::Kind::Error, error.userText(), technical);
        return;
    }
    const QString text = headline.isEmpty() ? kPrintFailed : headline;
    const QString details =
        error.userText().isEmpty() ? technical : error.userText() + QStringLiteral("\n\n") + technical;
    ui.message(parent, headline.isEmpty() ? Ui::Kind::Error : Ui::Kind::Warning, text, details);
}
