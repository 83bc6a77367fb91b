#pragma once
#include "printing/Report.h"

#include <QFont>
#include <QStringList>

// How texts fit their boxes. Texts are measured once, at a fixed high resolution and
// without hinting, so that paper, PDF, preview and pictures print the same lines.
namespace report::fit {

QFont fontOf(const Item& item, qreal points);
inline QFont fontOf(const Item& item)
{
    return fontOf(item, item.points);
}

// Millimetres from one line of the item's font to the next.
qreal lineHeight(const Item& item, qreal points);
// The width of text on one line, in millimetres.
qreal width(const Item& item, const QString& text, qreal points);
// The lines text wraps to in a box width millimetres wide (line breaks kept).
QStringList wrap(const Item& item, const QString& text, qreal points, qreal width);

// Whether the item's own text fits its box at that size: on one line within its width, or
// wrapped within its width and height.
bool fits(const Item& item, const QString& text, qreal points);

// The largest size, in half-point steps from the item's own down to its minPoints, at which
// its single-line text fits; 0 when none does.
qreal fittingSize(const Item& item);

// The longest start of text which, followed by suffix, fits the item's box at that size
// (a little narrower, so that no device's rounding can push a word out), cut after a
// whole word where one ends near the cut.
QString shortened(const Item& item, const QString& text, const QString& suffix, qreal points);

} // namespace report::fit
