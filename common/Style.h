#pragma once
#include <QString>

class QApplication;
class QImage;

namespace style {

// The program-wide short date format.
inline const QString kShortDate = QStringLiteral("dd/MM/yyyy");

// Registers the pictures and the style sheet compiled into the program.
void initResources();

// Fonts, widget style, the one style sheet of the program and the Italian number and date
// conventions (comma as decimal separator), set once at start-up.
void installAppearance(QApplication& app);

// Qt's own dialogs (file, print, preview, message box buttons) in Italian, from the
// translation compiled into the program.
void speakItalian(QApplication& app);

} // namespace style

// The picture stored in the resources under that name (":/pictures/<name>.png").
QImage picture(const QString& name);
