#include "printing/PhotoPages.h"

#include "printing/TextFit.h"
#include "storage/PhotoFiles.h"

#include <QTransform>

#include <limits>

namespace photopages {
namespace {
struct Grid {
    int columns, rows;
    qreal caption; // millimetres of the caption's box at first
};

Grid gridFor(int perPage)
{
    switch (perPage) {
    case 1: return {1, 1, 16};
    case 2: return {1, 2, 14};
    case 4: return {2, 2, 14};
    default: return {2, 3, 12};
    }
}

constexpr qreal kGap = 4; // between cells
constexpr qreal kPad = 2; // inside a cell
constexpr qreal kHeadingLine = 5;

report::Item placed(const report::Item& prototype, const QString& name, const QRectF& box, const QString& text = {})
{
    report::Item i = prototype;
    i.name = name;
    i.box = box;
    i.text = text;
    return i;
}

// The largest size, in half points from the prototype's own down to kSmallestCaption, at which
// the caption fits its box; the box grows (taking room from the photo) when none does.
report::Item fittedCaption(const report::Item& prototype, const QString& name, QRectF box, qreal room,
                           const QString& text)
{
    report::Item caption = placed(prototype, name, box, text);
    if (text.isEmpty())
        return caption;
    for (qreal points = prototype.points; points >= kSmallestCaption; points -= 0.5)
        if (report::fit::fits(caption, text, points)) {
            caption.points = points;
            return caption;
        }
    caption.points = kSmallestCaption;
    const qreal needed = report::fit::wrap(caption, text, kSmallestCaption, box.width()).size()
                         * report::fit::lineHeight(caption, kSmallestCaption);
    caption.box.setHeight(std::min(room, needed + 0.5));
    return caption;
}

// A cell measured before it is placed: its caption at the size that fits, and the photo as
// large as the room above the texts allows.
struct Measured {
    QRectF inner;
    report::Item caption;
    qreal text = 0; // the heading line and the caption below the photo
    QSize upright; // invalid: the photo's file is missing
    qreal pictureHeight = 0;
    qreal block() const { return pictureHeight + 1 + text; }
    // Where photo and texts stand in the middle of the cell.
    qreal centredTop() const { return inner.top() + (inner.height() - block()) / 2; }
};

Measured measure(const report::PhotoPage& style, const QRectF& cell, const Photo& photo, qreal captionHeight)
{
    Measured m;
    m.inner = cell.adjusted(kPad, kPad, -kPad, -kPad);
    // The caption at the size that fits its room, then only as high as its lines.
    m.caption =
        fittedCaption(style.caption, QStringLiteral("didascalia") + QString::number(photo.number),
                      QRectF(m.inner.left(), 0, m.inner.width(), captionHeight), m.inner.height() * 0.6, photo.caption);
    if (!photo.caption.isEmpty())
        m.caption.box.setHeight(
            std::min(m.caption.box.height(),
                     report::fit::wrap(m.caption, photo.caption, m.caption.points, m.caption.box.width()).size()
                             * report::fit::lineHeight(m.caption, m.caption.points)
                         + 0.5));
    m.text = kHeadingLine + (photo.caption.isEmpty() ? 0 : m.caption.box.height());
    const QSize stored = photo.path.isEmpty() ? QSize() : photofiles::uprightSize(photo.path);
    m.upright = photo.turns % 2 ? stored.transposed() : stored;
    const QSizeF room(m.inner.width(), m.inner.height() - m.text - 1);
    m.pictureHeight =
        m.upright.isValid() ? QSizeF(m.upright).scaled(room, Qt::KeepAspectRatio).height() : room.height();
    return m;
}

// The cell's outline, its photo from top down, and under it the heading and the caption.
void addCell(std::vector<report::Item>& out, const report::PhotoPage& style, const QRectF& cell, const Photo& photo,
             const Measured& m, qreal top)
{
    const QString n = QString::number(photo.number);
    out.push_back(placed(style.cell, QStringLiteral("cella") + n, cell));
    const QRectF pictureBox(m.inner.left(), top, m.inner.width(), m.pictureHeight);
    const QRectF headingBox(m.inner.left(), pictureBox.bottom() + 1, m.inner.width(), kHeadingLine);
    report::Item caption = m.caption;
    caption.box.moveTop(headingBox.bottom());

    QStringList heading{QStringLiteral("Foto n. %1").arg(photo.number)};
    for (const QString& part : {photo.phase, photo.date})
        if (!part.isEmpty())
            heading << part;
    report::Item line =
        placed(style.heading, QStringLiteral("titoloFoto") + n, headingBox, heading.join(QStringLiteral(" \u2013 ")));
    // A long phase name is printed smaller, never wrapped into the caption.
    line.minPoints = 5;
    if (const qreal size = report::fit::fittingSize(line); size > 0)
        line.points = size;
    out.push_back(line);
    if (!photo.caption.isEmpty())
        out.push_back(caption);

    if (!m.upright.isValid()) {
        report::Item missing =
            placed(style.caption, QStringLiteral("mancante") + n, pictureBox, QStringLiteral("Foto non disponibile"));
        missing.align = Qt::AlignCenter;
        missing.italic = true;
        missing.wrap = false;
        out.push_back(missing);
        return;
    }
    report::Item picture;
    picture.kind = report::Item::Picture;
    picture.name = QStringLiteral("foto") + n;
    picture.box = pictureBox;
    picture.centred = true;
    picture.sourceSize = m.upright;
    // Decoded when painted, at the pixels it is painted with.
    picture.source = [path = photo.path, turns = photo.turns](QSize pixels) {
        const QSize box = turns % 2 ? pixels.transposed() : pixels;
        const std::optional<QImage> image = photofiles::decodeFitting(path, box);
        if (!image)
            return QImage();
        return turns ? image->transformed(QTransform().rotate(90 * turns)) : *image;
    };
    out.push_back(picture);
}
} // namespace

void add(report::Template& t, const QList<Photo>& photos, int perPage)
{
    if (!t.photoPage || photos.isEmpty())
        return;
    if (!kPerPage.contains(perPage))
        perPage = 4;
    const report::PhotoPage& style = *t.photoPage;
    const Grid grid = gridFor(perPage);
    const qreal cellWidth = (style.width - kGap * (grid.columns - 1)) / grid.columns;
    const qreal cellHeight = (style.bottom - style.top - kGap * (grid.rows - 1)) / grid.rows;
    for (qsizetype first = 0; first < photos.size(); first += perPage) {
        report::Page page = style.page;
        page.name = QStringLiteral("PaginaFoto%1").arg(first / perPage + 1);
        const qsizetype last = std::min(photos.size(), first + perPage);
        for (qsizetype rowStart = first; rowStart < last; rowStart += grid.columns) {
            // The photos of a row start at one height, whatever their captions: where the
            // tallest of them, with its texts, stands in the middle of its cell.
            const int row = int(rowStart - first) / grid.columns;
            std::vector<std::pair<QRectF, Measured>> cells;
            qreal top = std::numeric_limits<qreal>::max();
            for (qsizetype k = rowStart; k < last && k < rowStart + grid.columns; ++k) {
                const int column = int(k - rowStart);
                const QRectF cell(style.left + column * (cellWidth + kGap), style.top + row * (cellHeight + kGap),
                                  cellWidth, cellHeight);
                cells.emplace_back(cell, measure(style, cell, photos[k], grid.caption));
                top = std::min(top, cells.back().second.centredTop());
            }
            for (size_t c = 0; c < cells.size(); ++c)
                addCell(page.items, style, cells[c].first, photos[rowStart + qsizetype(c)], cells[c].second, top);
        }
        t.appendix.push_back(std::move(page));
    }
}

} // namespace photopages
