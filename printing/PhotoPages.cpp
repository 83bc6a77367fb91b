#include "printing/PhotoPages.h"

#include "printing/TextFit.h"
#include "storage/PhotoFiles.h"

#include <QTransform>

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

void addCell(std::vector<report::Item>& out, const report::PhotoPage& style, const QRectF& cell, const Photo& photo,
             qreal captionHeight)
{
    const QString n = QString::number(photo.number);
    out.push_back(placed(style.cell, QStringLiteral("cella") + n, cell));
    const QRectF inner = cell.adjusted(kPad, kPad, -kPad, -kPad);
    // The caption at the size that fits its room, then only as high as its lines.
    report::Item caption =
        fittedCaption(style.caption, QStringLiteral("didascalia") + n,
                      QRectF(inner.left(), 0, inner.width(), captionHeight), inner.height() * 0.6, photo.caption);
    if (!photo.caption.isEmpty())
        caption.box.setHeight(std::min(
            caption.box.height(), report::fit::wrap(caption, photo.caption, caption.points, caption.box.width()).size()
                                          * report::fit::lineHeight(caption, caption.points)
                                      + 0.5));
    const qreal text = kHeadingLine + (photo.caption.isEmpty() ? 0 : caption.box.height());
    // The photo as large as the room above the texts allows, and photo and texts together
    // in the middle of the cell.
    const QSize stored = photo.path.isEmpty() ? QSize() : photofiles::uprightSize(photo.path);
    const QSize upright = photo.turns % 2 ? stored.transposed() : stored;
    const QSizeF room(inner.width(), inner.height() - text - 1);
    const QSizeF fitted = upright.isValid() ? QSizeF(upright).scaled(room, Qt::KeepAspectRatio) : room;
    const qreal top = inner.top() + (inner.height() - fitted.height() - 1 - text) / 2;
    const QRectF pictureBox(inner.left(), top, inner.width(), fitted.height());
    const QRectF headingBox(inner.left(), pictureBox.bottom() + 1, inner.width(), kHeadingLine);
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

    if (!upright.isValid()) {
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
    picture.sourceSize = upright;
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
        for (qsizetype k = first; k < photos.size() && k < first + perPage; ++k) {
            const int place = int(k - first);
            const QRectF cell(style.left + (place % grid.columns) * (cellWidth + kGap),
                              style.top + (place / grid.columns) * (cellHeight + kGap), cellWidth, cellHeight);
            addCell(page.items, style, cell, photos[k], grid.caption);
        }
        t.appendix.push_back(std::move(page));
    }
}

} // namespace photopages
