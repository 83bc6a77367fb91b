#pragma once
#include "printing/Report.h"

#include <QImage>
#include <QStringList>

#include <memory>

class QPagedPaintDevice;
class QPainter;

// Lays a template out on A4 pages and paints it with QPainter, the same way on paper, in
// a PDF, in the preview and on a picture. A banded page prints its title band once at the
// top of the first page, its data band once (a list memo splits across pages between two
// lines) and its footer band right after it.
namespace report {

// One printed page: the template page it comes from and what stands on it.
struct LaidItem {
    const Item* item;
    QPointF origin;      // millimetres from the paper's top-left corner to the item's box origin
    int firstLine = 0;   // list memo: the lines printed here
    int lineCount = -1;  // -1: the whole item
    std::shared_ptr<const QStringList> lines; // list memo: its lines, split once
};
struct LaidPage {
    const Page* page;
    std::vector<LaidItem> items;
};

std::vector<LaidPage> layout(const Template& t);

// Paints one laid page; the painter's unit is one device pixel, dpi pixels per inch, and
// (0, 0) is the paper's top-left corner.
void paintPage(QPainter& painter, const LaidPage& page, qreal dpi);

// Prints every page on the device (a QPrinter set to full page, a QPdfWriter). Throws
// IoError when the device cannot be painted on.
void render(const Template& t, QPagedPaintDevice& device);

// One page as a white picture at dpi pixels per inch, for looking at and for tests.
QImage renderPage(const Template& t, int page, int dpi);

} // namespace report
