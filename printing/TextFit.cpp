#include "printing/TextFit.h"

#include "printing/PrintFonts.h"

#include <QFontMetricsF>
#include <QImage>
#include <QTextLayout>

namespace report::fit {
namespace {
constexpr int kDpi = 1200;
constexpr qreal kPixelsPerMm = kDpi / 25.4;
// A text shortened to fit is measured this much narrower than its box.
constexpr qreal kShortenedWidth = 0.97;

QPaintDevice* device()
{
    static QImage reference = [] {
        QImage img(8, 8, QImage::Format_RGB32);
        img.setDotsPerMeterX(qRound(kDpi / 0.0254));
        img.setDotsPerMeterY(qRound(kDpi / 0.0254));
        return img;
    }();
    return &reference;
}

QString forLayout(QString text, bool wrap)
{
    return text.replace(u'\n', wrap ? QChar(QChar::LineSeparator) : QChar(u' '));
}

bool fitsWithin(const Item& item, const QString& text, qreal points, qreal boxWidth)
{
    if (!item.wrap)
        return width(item, text, points) <= boxWidth + 0.01;
    return wrap(item, text, points, boxWidth).size() * lineHeight(item, points) <= item.box.height() + 0.05;
}
} // namespace

QFont fontOf(const Item& item, qreal points)
{
    QFont f(printfonts::family(item.family));
    f.setPointSizeF(points);
    f.setBold(item.bold);
    f.setItalic(item.italic);
    f.setKerning(false);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

qreal lineHeight(const Item& item, qreal points)
{
    return QFontMetricsF(fontOf(item, points), device()).height() / kPixelsPerMm;
}

qreal width(const Item& item, const QString& text, qreal points)
{
    QTextLayout layout(forLayout(text, false), fontOf(item, points), device());
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    qreal w = 0;
    if (line.isValid()) {
        line.setLineWidth(1e7);
        w = line.naturalTextWidth();
    }
    layout.endLayout();
    return w / kPixelsPerMm;
}

QStringList wrap(const Item& item, const QString& text, qreal points, qreal boxWidth)
{
    const QString laid = forLayout(text, true);
    QTextLayout layout(laid, fontOf(item, points), device());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    QStringList lines;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(boxWidth * kPixelsPerMm);
        QString part = laid.mid(line.textStart(), line.textLength());
        while (!part.isEmpty() && (part.back() == QChar::LineSeparator || part.back().isSpace()))
            part.chop(1);
        lines << part;
    }
    layout.endLayout();
    return lines;
}

bool fits(const Item& item, const QString& text, qreal points)
{
    return fitsWithin(item, text, points, item.box.width());
}

qreal fittingSize(const Item& item)
{
    const qreal smallest = item.minPoints > 0 ? std::min(item.minPoints, item.points) : item.points;
    for (qreal p = item.points; p >= smallest - 1e-9; p -= 0.5)
        if (fits(item, item.text, p))
            return p;
    return 0;
}

QString shortened(const Item& item, const QString& text, const QString& suffix, qreal points)
{
    const qreal narrower = item.box.width() * kShortenedWidth;
    auto fitsWith = [&](qsizetype n) { return fitsWithin(item, text.left(n) + suffix, points, narrower); };
    qsizetype low = 0, high = text.size();
    while (low < high) {
        const qsizetype mid = (low + high + 1) / 2;
        if (fitsWith(mid))
            low = mid;
        else
            high = mid - 1;
    }
    QString start = text.left(low);
    // Cut after a whole word when one ends close before the cut.
    if (low < text.size() && !text.at(low).isSpace()) {
        for (qsizetype i = start.size() - 1; i > 0 && i >= start.size() - 25; --i) {
            if (start.at(i).isSpace()) {
                start.truncate(i);
                break;
            }
        }
    }
    while (!start.isEmpty() && start.back().isSpace())
        start.chop(1);
    return start + suffix;
}

} // namespace report::fit
