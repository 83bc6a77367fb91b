#pragma once
#include <QColor>
#include <QImage>
#include <QPageLayout>
#include <QRectF>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

// The report engine's model: a template is pages of named objects placed in millimetres
// from the top-left corner of the printable area (of a band, on a banded page). Texts are
// printed literally: nothing in them is ever evaluated.
namespace report {

// The template unit of 1/96 inch, in millimetres.
constexpr qreal kUnit = 25.4 / 96.0;
inline constexpr qreal units(qreal u)
{
    return u * kUnit;
}

struct Item {
    enum Kind { Rect, Line, Text, Picture };
    Kind kind = Text;
    QString name;
    QRectF box; // millimetres; a line has a zero width or height
    QColor fill; // invalid: no fill (rectangles and text boxes)
    QColor outline; // rectangles; invalid: no outline
    // Text boxes.
    QString text;
    QString family = QStringLiteral("Arial");
    qreal points = 10;
    bool bold = false;
    bool italic = false;
    Qt::Alignment align = Qt::AlignLeft | Qt::AlignTop;
    bool wrap = false; // false: one line, cut at the right edge
    qreal linePitch = 0; // millimetres from line to line when set (list memo; may split across pages)
    QColor color = Qt::black;
    // A single-line text that does not fit its box is printed smaller, in half-point steps
    // down to this size (0: never smaller).
    qreal minPoints = 0;
    // Not empty: a text that still does not fit prints what fits, ending with "… (segue a
    // pag. N)", and is printed whole under this caption on the pages added at the end.
    QString continuedCaption;
    // Not empty: the text is the page's number and the document's page count, "%1" and "%2".
    QString pageNumberFormat;
    // Pictures.
    QImage picture;
    bool centred = true; // false: at the top-left corner of the box
    // A picture read only when it is painted, at the pixels it is painted with (a photo of the
    // documentation): used when picture is null; sourceSize gives its proportions.
    std::function<QImage(QSize pixels)> source;
    QSize sourceSize;
};

struct Band {
    enum Kind { Title, Data, Footer };
    Kind kind = Data;
    QString name;
    qreal height = 0; // millimetres
    std::vector<Item> items;
};

struct Page {
    QString name;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    qreal margin = 10; // millimetres on every side; the paper is A4
    std::vector<Item> items; // fixed objects, printed once
    std::vector<Band> bands; // banded page: title once, data once (may split), footer after it

    QSizeF paper() const; // millimetres
    QSizeF printable() const; // millimetres
};

// The pages added after a template's own for the texts that do not fit their boxes: each
// repeats page's objects (frame, heading, page number) and holds, between top and bottom,
// each such text's caption bar and its whole text in a value box, split across pages
// between two lines where needed.
struct Continuation {
    Page page;
    qreal left = 0, width = 0; // millimetres of the printable area
    qreal top = 0, bottom = 0;
    Item captionBar; // rectangle: fill and outline of the caption bar
    Item caption; // text: font of the caption
    Item valueBox; // rectangle: fill and outline of the box under it
    Item value; // text: font of the whole text
};

// The pages of a card's photographic documentation: each repeats page's objects (frame,
// heading, page number) and holds its photos between top and bottom.
struct PhotoPage {
    Page page;
    qreal left = 0, width = 0; // millimetres of the printable area
    qreal top = 0, bottom = 0;
    Item heading; // text: the font of the line with a photo's number, phase and date
    Item caption; // text: the font of a photo's caption
    Item cell; // rectangle: the outline around each photo
};

class Template {
public:
    QString name;
    std::vector<Page> pages;
    std::optional<Continuation> continuation;
    std::optional<PhotoPage> photoPage;
    // Fixed pages printed after the template's own and after the continuation pages.
    std::vector<Page> appendix;

    // The named object or band; throws IoError when the template has none of that name.
    Item& item(const QString& name);
    const Item& item(const QString& name) const;
    Band& band(const QString& name);
    void setText(const QString& name, const QString& text);
    void setPicture(const QString& name, const QImage& picture);

    // Every object with its page (and band, or nullptr) in template order.
    struct Found {
        const Page* page;
        const Band* band;
        const Item* item;
    };
    std::vector<Found> all() const;
};

} // namespace report
