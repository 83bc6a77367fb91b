#include "printing/Renderer.h"

#include "printing/TextFit.h"
#include "storage/IoError.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <tuple>

namespace report {
namespace {
constexpr qreal kLineWidth = kUnit; // lines and outlines are one template unit wide

using fit::fontOf;

QStringList memoLines(const Item& i)
{
    return i.text.split(u'\n');
}

// Lays text out in a box width wide (device pixels): wrapped at words and at line breaks,
// or as one line cut where the box ends.
void layoutText(QTextLayout& layout, const Item& item, qreal width)
{
    QTextOption option(item.align & Qt::AlignHorizontal_Mask);
    option.setWrapMode(item.wrap ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    qreal y = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, y));
        y += line.height();
    }
    layout.endLayout();
}

void paintText(QPainter& p, const Item& item, const QRectF& box, qreal scale, const LaidItem& laid)
{
    const QFont font = fontOf(item);
    p.setFont(font);
    p.setPen(item.color);
    if (item.linePitch > 0) {
        // A list memo: one line per text line at a fixed pitch, never wrapped.
        if (!laid.lines)
            return;
        const QStringList& lines = *laid.lines;
        const int count = laid.lineCount < 0 ? int(lines.size()) - laid.firstLine : laid.lineCount;
        const QFontMetricsF fm(font, p.device());
        const qreal pitch = item.linePitch * scale;
        p.save();
        p.setClipRect(QRectF(box.left(), box.top(), box.width(), count * pitch));
        for (int k = 0; k < count; ++k)
            p.drawText(QPointF(box.left(), box.top() + k * pitch + fm.ascent()), lines[laid.firstLine + k]);
        p.restore();
        return;
    }
    QString text = item.text;
    if (item.wrap)
        text.replace(u'\n', QChar::LineSeparator);
    else
        text.replace(u'\n', u' ');
    QTextLayout layout(text, font, p.device());
    layoutText(layout, item, box.width());
    if (!item.wrap && layout.lineCount() == 1 && layout.lineAt(0).naturalTextWidth() > box.width()) {
        // Too long for its box: printed from its start, cut at the right edge.
        const int keep = layout.lineAt(0).xToCursor(box.width(), QTextLine::CursorOnCharacter) + 1;
        Item cut = item;
        cut.align = (item.align & Qt::AlignVertical_Mask) | Qt::AlignLeft;
        layout.clearLayout();
        layout.setText(text.left(keep));
        layoutText(layout, cut, box.width());
    }
    qreal height = 0;
    int shown = 0;
    for (int k = 0; k < layout.lineCount(); ++k) {
        // Lines that start below the box are left out; the last one shown is cut at its bottom.
        if (layout.lineAt(k).y() >= box.height() - 0.5)
            break;
        height = layout.lineAt(k).y() + layout.lineAt(k).height();
        ++shown;
    }
    qreal top = box.top();
    if (item.align & Qt::AlignVCenter)
        top += (box.height() - height) / 2;
    else if (item.align & Qt::AlignBottom)
        top += box.height() - height;
    p.save();
    p.setClipRect(box);
    for (int k = 0; k < shown; ++k)
        layout.lineAt(k).draw(&p, QPointF(box.left(), top));
    p.restore();
}

// The densest a picture is printed: more only makes a PDF larger.
constexpr qreal kPictureDpi = 300;

void paintPicture(QPainter& p, const Item& item, const QRectF& box, qreal dpi)
{
    const QSizeF natural = item.picture.isNull() ? QSizeF(item.sourceSize) : QSizeF(item.picture.size());
    if (natural.isEmpty() || box.isEmpty() || (item.picture.isNull() && !item.source))
        return;
    const QSizeF fitted = natural.scaled(box.size(), Qt::KeepAspectRatio);
    QRectF target(box.topLeft(), fitted);
    if (item.centred)
        target.moveCenter(box.center());
    // Never more picture than the page can show, and at most 300 dots per inch at the size it
    // is printed: large photos stay small in the output. A photo read for printing is decoded
    // at that size.
    const qreal factor = std::min<qreal>(2, kPictureDpi / dpi);
    const QSize pixels = (fitted * factor).toSize().expandedTo(QSize(1, 1));
    QImage picture = item.picture.isNull() ? item.source(pixels) : item.picture;
    if (picture.isNull())
        return;
    if (picture.width() > pixels.width() || picture.height() > pixels.height())
        picture = picture.scaled(pixels, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    p.drawImage(target, picture);
}

void paintItem(QPainter& p, const LaidItem& laid, qreal scale)
{
    const qreal dpi = scale * 25.4;
    const Item& item = *laid.item;
    QRectF box((laid.origin.x() + item.box.x()) * scale, (laid.origin.y() + item.box.y()) * scale,
               item.box.width() * scale, item.box.height() * scale);
    if (item.linePitch > 0 && laid.lineCount >= 0)
        box.setHeight(laid.lineCount * item.linePitch * scale);
    switch (item.kind) {
    case Item::Rect:
        p.setPen(item.outline.isValid() ? QPen(item.outline, kLineWidth * scale) : QPen(Qt::NoPen));
        p.setBrush(item.fill.isValid() ? QBrush(item.fill) : QBrush(Qt::NoBrush));
        p.drawRect(box);
        break;
    case Item::Line:
        p.setPen(QPen(item.outline.isValid() ? item.outline : QColor(Qt::black), kLineWidth * scale));
        p.drawLine(box.topLeft(), box.bottomRight());
        break;
    case Item::Text:
        if (item.fill.isValid())
            p.fillRect(box, item.fill);
        paintText(p, item, box, scale, laid);
        break;
    case Item::Picture: paintPicture(p, item, box, dpi); break;
    }
}

// Places the bands of a banded page; the data band's list memo continues on new pages.
void layoutBands(const Page& page, std::vector<LaidPage>& out)
{
    const qreal top = page.margin;
    const qreal bottom = page.margin + page.printable().height();
    out.push_back({&page, {}});
    qreal y = top;
    auto newPage = [&] {
        out.push_back({&page, {}});
        y = top;
    };
    for (const Band& band : page.bands) {
        const Item* memo = nullptr;
        for (const Item& i : band.items)
            if (i.linePitch > 0)
                memo = &i;
        if (!memo || band.kind != Band::Data) {
            if (y + band.height > bottom + 0.01 && y > top)
                newPage();
            for (const Item& i : band.items)
                out.back().items.push_back({&i, QPointF(page.margin, y), 0, -1, nullptr, nullptr});
            y += band.height;
            continue;
        }
        // The list memo: as many lines on each page as fit, then the band's rest.
        const auto lines = std::make_shared<const QStringList>(memo->text.isEmpty() ? QStringList() : memoLines(*memo));
        const int total = int(lines->size());
        for (const Item& i : band.items)
            if (&i != memo)
                out.back().items.push_back({&i, QPointF(page.margin, y), 0, -1, nullptr, nullptr});
        int done = 0;
        do {
            const qreal room = bottom - (y + memo->box.top());
            int fit = int(std::floor((room + 0.001) / memo->linePitch));
            if (fit <= 0 && done < total) {
                newPage();
                continue;
            }
            fit = std::min(fit, total - done);
            out.back().items.push_back({memo, QPointF(page.margin, y), done, fit, lines, nullptr});
            done += fit;
            if (done < total)
                newPage();
            else
                y += memo->box.top() + fit * memo->linePitch;
        } while (done < total);
        // What the band holds below its memo (the band is the memo's height plus that).
        y += std::max<qreal>(0, band.height - (memo->box.top() + total * memo->linePitch));
    }
}
} // namespace

namespace {
const QString kContinued = QStringLiteral("\u2026 (segue a pag. %1)");

// A text of a fixed page that does not fit its box and continues on the added pages.
struct Overflow {
    size_t page; // its own page and its place there (pages grow while texts are added)
    size_t index;
    qreal points; // the size it is printed at on its own page
    QPointF at; // where it stands, for the reading order
    int firstPage = 0; // 1-based page where its whole text begins
};

// The laid item's own copy of its object, made on the first change.
Item& ownItem(LaidItem& laid)
{
    if (!laid.owned) {
        laid.owned = std::make_shared<Item>(*laid.item);
        laid.item = laid.owned.get();
    }
    return *laid.owned;
}

// Shrinks the single-line texts that do not fit down to their smallest size; what still
// does not fit is listed when it may continue on an added page.
void fitTexts(LaidPage& page, size_t pageIndex, std::vector<Overflow>& overflows)
{
    for (size_t k = 0; k < page.items.size(); ++k) {
        LaidItem& laid = page.items[k];
        const Item& item = *laid.item;
        if (item.kind != Item::Text || item.text.isEmpty() || (item.minPoints <= 0 && item.continuedCaption.isEmpty()))
            continue;
        if (fit::fits(item, item.text, item.points))
            continue;
        qreal points = item.points;
        if (!item.wrap && item.minPoints > 0) {
            if (const qreal size = fit::fittingSize(item); size > 0) {
                ownItem(laid).points = size;
                continue;
            }
            points = std::min(item.minPoints, item.points);
        }
        if (item.continuedCaption.isEmpty())
            ownItem(laid).points = points; // as small as it may be, cut at the box's edge
        else
            overflows.push_back({pageIndex, k, points, item.box.topLeft()});
    }
}

LaidItem made(const Item& item, QPointF origin)
{
    auto owned = std::make_shared<Item>(item);
    return {owned.get(), origin, 0, -1, nullptr, owned};
}

Item placed(const Item& prototype, const QString& name, QRectF box, const QString& text = {})
{
    Item i = prototype;
    i.name = name;
    i.box = box;
    i.text = text;
    return i;
}

// The added pages: each overflowing text's caption bar and its whole text, split between
// two lines where a page ends. Records where each text begins.
void addContinuationPages(const Continuation& c, std::vector<Overflow>& overflows, std::vector<LaidPage>& pages)
{
    const QPointF origin(c.page.margin, c.page.margin);
    auto newPage = [&] {
        LaidPage page{&c.page, {}};
        for (const Item& i : c.page.items)
            page.items.push_back({&i, origin, 0, -1, nullptr, nullptr});
        pages.push_back(std::move(page));
    };
    newPage();
    qreal y = c.top;
    const qreal pitch = fit::lineHeight(c.value, c.value.points);
    constexpr qreal kBar = 4.8, kPadTop = 1.4, kPadBottom = 1.2, kGap = 4;
    const qreal textLeft = c.left + 1.6, textWidth = c.width - 3.2;
    for (Overflow& o : overflows) {
        const Item item = *pages[o.page].items[o.index].item;
        const QStringList lines = fit::wrap(c.value, item.text, c.value.points, textWidth);
        // A caption never stands at the foot of a page without a line of its text.
        if (y + kBar + 0.2 + kPadTop + pitch + kPadBottom > c.bottom) {
            newPage();
            y = c.top;
        }
        o.firstPage = int(pages.size());
        auto shared = std::make_shared<const QStringList>(lines);
        int done = 0;
        while (done < int(lines.size())) {
            // Each part under its caption bar; a part on a new page says it continues.
            const QString caption =
                done == 0 ? item.continuedCaption : item.continuedCaption + QStringLiteral(" (continua)");
            auto& out = pages.back().items;
            out.push_back(made(
                placed(c.captionBar, item.name + QStringLiteral("_barra"), QRectF(c.left, y, c.width, kBar)), origin));
            out.push_back(made(placed(c.caption, item.name + QStringLiteral("_titolo"),
                                      QRectF(c.left + 1, y + 0.4, c.width - 2, 4), caption),
                               origin));
            y += kBar + 0.2;
            const int room = std::max(1, int(std::floor((c.bottom - y - kPadTop - kPadBottom + 0.001) / pitch)));
            const int count = std::min(room, int(lines.size()) - done);
            const qreal height = kPadTop + count * pitch + kPadBottom;
            out.push_back(
                made(placed(c.valueBox, item.name + QStringLiteral("_riquadro"), QRectF(c.left, y, c.width, height)),
                     origin));
            Item part = placed(c.value, item.name + QStringLiteral("_intero"),
                               QRectF(textLeft, y + kPadTop, textWidth, count * pitch));
            part.linePitch = pitch;
            LaidItem laid = made(part, origin);
            laid.lines = shared;
            laid.firstLine = done;
            laid.lineCount = count;
            out.push_back(std::move(laid));
            done += count;
            y += height;
            if (done < int(lines.size())) {
                newPage();
                y = c.top;
            }
        }
        y += kGap;
    }
}

void numberPages(std::vector<LaidPage>& pages)
{
    const int total = int(pages.size());
    for (int k = 0; k < total; ++k)
        for (LaidItem& laid : pages[size_t(k)].items)
            if (!laid.item->pageNumberFormat.isEmpty())
                ownItem(laid).text = laid.item->pageNumberFormat.arg(k + 1).arg(total);
}
} // namespace

std::vector<LaidPage> layout(const Template& t)
{
    std::vector<LaidPage> pages;
    std::vector<Overflow> overflows;
    for (const Page& page : t.pages) {
        if (!page.bands.empty()) {
            layoutBands(page, pages);
            continue;
        }
        LaidPage laid{&page, {}};
        for (const Item& i : page.items)
            laid.items.push_back({&i, QPointF(page.margin, page.margin), 0, -1, nullptr, nullptr});
        pages.push_back(std::move(laid));
    }
    // Fitted once every page stands, so that the overflow list can point into them.
    for (size_t k = 0; k < pages.size(); ++k)
        if (pages[k].page->bands.empty())
            fitTexts(pages[k], k, overflows);
    if (!overflows.empty() && t.continuation) {
        // In reading order: page by page, top to bottom, left to right.
        std::stable_sort(overflows.begin(), overflows.end(), [](const Overflow& a, const Overflow& b) {
            return std::tuple(a.page, a.at.y(), a.at.x()) < std::tuple(b.page, b.at.y(), b.at.x());
        });
        addContinuationPages(*t.continuation, overflows, pages);
        for (const Overflow& o : overflows) {
            Item& item = ownItem(pages[o.page].items[o.index]);
            item.text = fit::shortened(item, item.text, kContinued.arg(o.firstPage), o.points);
            item.points = o.points;
        }
    } else {
        // Nowhere to continue: printed from its start, cut at its box.
        for (const Overflow& o : overflows)
            ownItem(pages[o.page].items[o.index]).points = o.points;
    }
    // Then the pages added at the end (the photographic documentation), counted with the rest.
    for (const Page& page : t.appendix) {
        LaidPage laid{&page, {}};
        for (const Item& i : page.items)
            laid.items.push_back({&i, QPointF(page.margin, page.margin), 0, -1, nullptr, nullptr});
        std::vector<Overflow> none; // their texts shrink to fit; none continues elsewhere
        fitTexts(laid, pages.size(), none);
        pages.push_back(std::move(laid));
    }
    numberPages(pages);
    return pages;
}

int pageCount(const Template& t)
{
    return int(layout(t).size());
}

void paintPage(QPainter& p, const LaidPage& page, qreal dpi)
{
    const qreal scale = dpi / 25.4;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.setRenderHint(QPainter::TextAntialiasing);
    for (const LaidItem& laid : page.items)
        paintItem(p, laid, scale);
    p.restore();
}

namespace {
QPageLayout pageLayout(const Page& page)
{
    return QPageLayout(QPageSize(QPageSize::A4), page.orientation, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}
} // namespace

int render(const Template& t, QPagedPaintDevice& device, const PrintOptions& options)
{
    const std::vector<LaidPage> pages = layout(t);
    if (pages.empty())
        throw IoError(QStringLiteral("the template %1 has no page").arg(t.name));
    std::vector<size_t> chosen;
    for (size_t i = 0; i < pages.size(); ++i)
        if (options.pages.isEmpty() || options.pages.contains(int(i) + 1))
            chosen.push_back(i);
    if (chosen.empty())
        return 0;
    const int copies = std::max(1, options.copies);
    std::vector<size_t> sequence;
    for (int c = 0; c < (options.collate ? copies : 1); ++c)
        for (size_t i : chosen)
            for (int k = 0; k < (options.collate ? 1 : copies); ++k)
                sequence.push_back(i);

    const QString checkPrinter =
        QStringLiteral("Controllare che la stampante sia accesa, collegata e pronta; per un file PDF, che la cartella "
                       "scelta esista, che si possa scrivere e che il disco abbia spazio libero.");
    if (!device.setPageLayout(pageLayout(*pages[sequence.front()].page)))
        throw IoError(QStringLiteral("the printer does not take an A4 page"),
                      QStringLiteral("La stampante scelta non accetta fogli A4: sceglierne un'altra o controllarne le "
                                     "impostazioni."));
    QPainter painter;
    if (!painter.begin(&device))
        throw IoError(QStringLiteral("the printer cannot be used"),
                      QStringLiteral("Non \u00E8 stato possibile usare la stampante scelta. ") + checkPrinter);
    const qreal dpi = device.logicalDpiX();
    for (size_t k = 0; k < sequence.size(); ++k) {
        const LaidPage& page = pages[sequence[k]];
        if (k > 0) {
            // A page of another orientation turns the paper; the same keeps the layout.
            if (page.page->orientation != pages[sequence[k - 1]].page->orientation)
                device.setPageLayout(pageLayout(*page.page));
            if (!device.newPage()) {
                painter.end();
                throw IoError(QStringLiteral("the printer refused page %1").arg(sequence[k] + 1),
                              QStringLiteral("La stampa si \u00E8 interrotta alla pagina %1. ").arg(sequence[k] + 1)
                                  + checkPrinter);
            }
        }
        paintPage(painter, page, dpi);
    }
    if (!painter.end())
        throw IoError(QStringLiteral("the document could not be finished"),
                      QStringLiteral("Il documento non \u00E8 stato completato. ") + checkPrinter);
    return int(sequence.size());
}

QImage renderPage(const Template& t, int page, int dpi)
{
    const std::vector<LaidPage> pages = layout(t);
    if (page < 0 || page >= int(pages.size()))
        throw IoError(QStringLiteral("no page %1 in %2").arg(page + 1).arg(t.name));
    const QSizeF paper = pages[size_t(page)].page->paper();
    QImage img(qRound(paper.width() / 25.4 * dpi), qRound(paper.height() / 25.4 * dpi), QImage::Format_RGB32);
    img.setDotsPerMeterX(qRound(dpi / 0.0254));
    img.setDotsPerMeterY(qRound(dpi / 0.0254));
    img.fill(Qt::white);
    QPainter p(&img);
    paintPage(p, pages[size_t(page)], dpi);
    return img;
}

} // namespace report
