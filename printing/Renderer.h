#pragma once
#include "printing/Report.h"

#include <QImage>
#include <QPageRanges>
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
    QPointF origin; // millimetres from the paper's top-left corner to the item's box origin
    int firstLine = 0; // lines printed one by one: the first printed here
    int lineCount = -1; // -1: the whole item
    // Lines printed one by one at the item's line pitch (a list memo, a part of a whole
    // text on an added page), split once.
    std::shared_ptr<const QStringList> lines;
    // A text the layout changed (a smaller size, a shortened text, a page number) or an
    // object it made: item points here.
    std::shared_ptr<Item> owned;
};
struct LaidPage {
    const Page* page;
    std::vector<LaidItem> items;
};

// Lays the template out: a banded page's bands across as many pages as they need; a fixed
// page's texts fitted to their boxes, with the pages for the whole texts that do not fit
// added at the end and every page number counting them.
std::vector<LaidPage> layout(const Template& t);

// Which pages to print (1-based, as numbered in the whole document; empty: all) and how
// many copies, collated (1 2 1 2) or not (1 1 2 2).
struct PrintOptions {
    QPageRanges pages;
    int copies = 1;
    bool collate = true;
};

// Paints one laid page; the painter's unit is one device pixel, dpi pixels per inch, and
// (0, 0) is the paper's top-left corner.
void paintPage(QPainter& painter, const LaidPage& page, qreal dpi);

// Prints the chosen pages on the device (a QPrinter set to full page, a QPdfWriter) and
// returns how many were printed; none chosen that the document has: 0, and the device is
// left untouched. Throws IoError when the device cannot be painted on.
int render(const Template& t, QPagedPaintDevice& device, const PrintOptions& options = {});
// The number of pages the template lays out to.
int pageCount(const Template& t);

// One page as a white picture at dpi pixels per inch, for looking at and for tests.
QImage renderPage(const Template& t, int page, int dpi);

} // namespace report
