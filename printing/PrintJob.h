#pragma once
#include "printing/Report.h"

#include <QString>

class IoError;
class QPrinter;
class QWidget;
class Ui;

enum class Printed { Yes, Cancelled, NoPages };

inline const QString kPrintFailed = QStringLiteral("Attenzione: la stampa non \u00E8 andata a buon fine.");

// Prints a template on paper (or to a PDF file, as the user chooses) after the print
// dialog: the default printer, one copy, all pages, then as the user set them. Cancelled
// when the user cancelled; NoPages when the chosen pages are none of the document's, after
// a warning that says so; throws IoError, with a text for the user, when the document
// cannot be printed.
Printed printWithDialog(Ui& ui, QWidget* parent, const report::Template& document);

// Prints on a printer the print dialog set up: only the pages chosen, numbered as in the
// whole document, the copies collated or not. A PDF file is written beside its name and
// put in place only when complete, so a failed print leaves the earlier file (or none).
Printed printOn(QPrinter& printer, const report::Template& document);

// What a screen says when printing fails: headline (empty: the engine's own text) with the
// engine's text and the technical cause in the box's details.
void showPrintFailure(Ui& ui, QWidget* parent, const IoError& error, const QString& headline = {});
