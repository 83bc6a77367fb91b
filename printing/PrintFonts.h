#pragma once
#include <QString>

// The fonts every printout is set in. The templates and the style name the classic Windows
// faces (Arial, Verdana, Courier New); those differ between systems, and so would the words
// at which a report's lines break. Printing therefore always uses font files compiled into the
// program, the same on Linux and Windows: Liberation Sans for Arial (the same widths),
// Liberation Mono for Courier New (the same widths) and DejaVu Sans for Verdana and Tahoma.
namespace printfonts {

// The family a printout uses for a family the templates name. Registers the program's fonts
// with the font database the first time (a QGuiApplication must exist).
QString family(const QString& named);

} // namespace printfonts
