#pragma once
#include <QMargins>
#include <QRect>
#include <QSize>
#include <QString>

class QWidget;

// A screen's size and place, kept in Brevanto.ini from one opening to the next (section
// given, keys Finestra = "x,y,width,height" and Ingrandita = 1 or 0).
namespace windowplace {

// The room a window's frame (its title bar and borders) takes around its inside, where the
// system has not said yet: the inside of a window is what Qt places.
inline constexpr QMargins kFrame{8, 32, 8, 8};

// wanted (a window's inside) made to fit area with its frame around it: no larger than
// area, at least minimum where area allows, moved inside area where it stands out of it.
QRect fitted(QRect wanted, QSize minimum, QRect area, QMargins frame = kFrame);

// Sizes and places w before it shows: as it was left the last time, else most of its
// screen, centred; never larger than the screen's available area. Maximised again when it
// was left maximised.
void restore(QWidget* w, const QString& section);
// Keeps w's size and place (its size before it was maximised, when it is).
void remember(const QWidget* w, const QString& section);

} // namespace windowplace
