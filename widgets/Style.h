#pragma once
#include <QString>

#include <QSize>

class QApplication;
class QIcon;
class QImage;
class QPixmap;

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

namespace style {
// The picture for a screen, sharp at any display scaling: drawn from the twice-as-large
// version ("<name>@2x.png") on a scaled screen, at the picture's own size or the logical size
// given (kept in proportion).
QPixmap pixmap(const QString& name, QSize logical = {});
// The same as an icon, with both sizes.
QIcon icon(const QString& name);
} // namespace style
