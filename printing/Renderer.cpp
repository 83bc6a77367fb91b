#include "printing/Renderer.h"

#include "common/IoError.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextLayout>
#include <cmath>

namespace report {
namespace {
constexpr qreal kLineWidth = kUnit; // lines and outlines are one template unit wide

QFont fontOf(const Item& i)
{
    QFont f(i.family);
    f.setPointSizeF(i.points);
    f.setBold(i.bold);
    f.setItalic(i.italic);
    f.setKerning(false);
    return f;
}

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

void paintPicture(QPainter& p, const Item& item, const QRectF& box)
{
    if (item.picture.isNull() || box.isEmpty())
        return;
    const QSizeF fitted = QSizeF(item.picture.size()).scaled(box.size(), Qt::KeepAspectRatio);
    QRectF target(box.topLeft(), fitted);
    if (item.centred)
        target.moveCenter(box.center());
    // Never more picture than the page can show: large photos stay small in the output.
    QImage picture = item.picture;
    if (picture.width() > 2 * fitted.width() || picture.height() > 2 * fitted.height())
        picture = picture.scaled((fitted * 2).toSize(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
    p.drawImage(target, picture);
}

void paintItem(QPainter& p, const LaidItem& laid, qreal scale)
{
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
    case Item::Picture:
        paintPicture(p, item, box);
        break;
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
                out.back().items.push_back({&i, QPointF(page.margin, y), 0, -1, nullptr});
            y += band.height;
            continue;
        }
        // The list memo: as many lines on each page as fit, then the band's rest.
        const auto lines = std::make_shared<const QStringList>(memo->text.isEmpty() ? QStringList() : memoLines(*memo));
        const int total = int(lines->size());
        for (const Item& i : band.items)
            if (&i != memo)
                out.back().items.push_back({&i, QPointF(page.margin, y), 0, -1, nullptr});
        int done = 0;
        do {
            const qreal room = bottom - (y + memo->box.top());
            int fit = int(std::floor((room + 0.001) / memo->linePitch));
            if (fit <= 0 && done < total) {
                newPage();
                continue;
            }
            fit = std::min(fit, total - done);
            out.back().items.push_back({memo, QPointF(page.margin, y), done, fit, lines});
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

std::vector<LaidPage> layout(const Template& t)
{
    std::vector<LaidPage> pages;
    for (const Page& page : t.pages) {
        if (!page.bands.empty()) {
            layoutBands(page, pages);
            continue;
        }
        LaidPage laid{&page, {}};
        for (const Item& i : page.items)
            laid.items.push_back({&i, QPointF(page.margin, page.margin), 0, -1, nullptr});
        pages.push_back(std::move(laid));
    }
    return pages;
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

void render(const Template& t, QPagedPaintDevice& device)
{
    const std::vector<LaidPage> pages = layout(t);
    if (pages.empty())
        throw IoError(QStringLiteral("the template %1 has no page").arg(t.name));
    if (!device.setPageLayout(pageLayout(*pages.front().page)))
        throw IoError(QStringLiteral("the printer does not take an A4 page"));
    QPainter painter;
    if (!painter.begin(&device))
        throw IoError(QStringLiteral("the printer cannot be used"));
    const qreal dpi = device.logicalDpiX();
    for (size_t i = 0; i < pages.size(); ++i) {
        if (i > 0) {
            device.setPageLayout(pageLayout(*pages[i].page));
            if (!device.newPage()) {
                painter.end();
                throw IoError(QStringLiteral("the printer refused page %1").arg(i + 1));
            }
        }
        paintPage(painter, pages[i], dpi);
    }
    if (!painter.end())
        throw IoError(QStringLiteral("the document could not be finished"));
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
