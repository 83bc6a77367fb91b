#pragma once
#include "printing/Report.h"

class QWidget;
class Ui;

// Prints a template on paper (or to a PDF file, as the user chooses) after the print
// dialog: the default printer, one copy, all pages. False when the user cancelled; throws
// IoError when the document cannot be printed.
bool printWithDialog(Ui& ui, QWidget* parent, const report::Template& document);
