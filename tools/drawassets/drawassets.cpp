// Draws the program's pictures into resources/pictures. Toolbar icons come from the Tango
// icon set (public domain, Debian package tango-icon-theme); everything else is drawn here.
// Run: cmake --build build --target drawassets && build/tools/drawassets/drawassets resources/pictures
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QSvgRenderer>
#include <cmath>
#include <cstdio>

namespace {
QString out;
const QString tango = QStringLiteral("/usr/share/icons/Tango/scalable/");
const QColor kInk(0x1F, 0x3B, 0x5C); // deep blue of the product
const QColor kGold(0xC8, 0x9B, 0x3C); // gilded frame
const QColor kTerra(0xB5, 0x5A, 0x30); // terracotta accent

// Every picture is drawn twice: at its size and at twice its size ("name@2x.png"), for
// screens scaled to 125% and more. Drawing happens in the picture's own units either way.
int scale = 1;

void save(const QImage& img, const char* name)
{
    const QString path = out + QLatin1Char('/') + QLatin1String(name) + (scale == 1 ? QString() : QStringLiteral("@2x"))
                         + QStringLiteral(".png");
    QImage stored = img;
    stored.setDevicePixelRatio(1); // the file records pixels only
    if (!stored.save(path))
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

QImage sized(int w, int h, QImage::Format format)
{
    QImage img(w * scale, h * scale, format);
    img.setDevicePixelRatio(scale);
    return img;
}

QImage canvas(int w, int h)
{
    QImage img = sized(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

QImage opaque(int w, int h)
{
    return sized(w, h, QImage::Format_RGB32);
}

void svgIcon(const char* file, const char* name, int size)
{
    QSvgRenderer r(tango + QLatin1String(file));
    QImage img = canvas(size, size);
    QPainter p(&img);
    r.render(&p, QRectF(0, 0, size, size));
    p.end();
    save(img, name);
}

void check(const char* name, int size)
{
    QImage img = canvas(size, size);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient g(size * 0.35, size * 0.3, size * 0.7);
    g.setColorAt(0, QColor(0x8A, 0xE2, 0x34));
    g.setColorAt(1, QColor(0x4E, 0x9A, 0x06));
    p.setBrush(g);
    p.setPen(QPen(QColor(0x2E, 0x60, 0x04), size / 24.0));
    p.drawEllipse(QRectF(1.5, 1.5, size - 3, size - 3));
    QPainterPath tick;
    tick.moveTo(size * 0.27, size * 0.52);
    tick.lineTo(size * 0.44, size * 0.70);
    tick.lineTo(size * 0.75, size * 0.32);
    p.setPen(QPen(Qt::white, size / 8.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(tick);
    p.end();
    save(img, name);
}

// An open hand holding up a gold coin.
void coinHand(const char* name, int size)
{
    QImage img = canvas(size, size);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 48.0, size / 48.0);
    QPainterPath hand;
    hand.moveTo(4, 40);
    hand.cubicTo(10, 32, 16, 30, 24, 31);
    hand.lineTo(34, 31);
    hand.cubicTo(37, 31, 37, 35, 34, 35);
    hand.lineTo(26, 35);
    hand.lineTo(36, 35);
    hand.cubicTo(40, 33, 43, 30, 45, 31);
    hand.cubicTo(47, 32, 46, 35, 44, 36);
    hand.cubicTo(38, 41, 32, 45, 22, 45);
    hand.lineTo(4, 45);
    hand.closeSubpath();
    p.setPen(QPen(QColor(0x8F, 0x59, 0x02), 1.2));
    p.setBrush(QColor(0xF5, 0xD0, 0xA9));
    p.drawPath(hand);
    QRadialGradient g(20, 10, 16);
    g.setColorAt(0, QColor(0xFF, 0xF1, 0x9A));
    g.setColorAt(1, QColor(0xD4, 0x9A, 0x0C));
    p.setBrush(g);
    p.setPen(QPen(QColor(0x8F, 0x59, 0x02), 1.4));
    p.drawEllipse(QRectF(14, 3, 22, 22));
    p.setPen(QPen(QColor(0x8F, 0x59, 0x02), 1));
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(15);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRectF(14, 3, 22, 22), Qt::AlignCenter, QString(QChar(0x20AC)));
    p.end();
    save(img, name);
}

void copyrightIcon(const char* name, int size)
{
    QImage img = canvas(size, size);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient g(size * 0.35, size * 0.3, size * 0.75);
    g.setColorAt(0, QColor(0x72, 0x9F, 0xCF));
    g.setColorAt(1, QColor(0x20, 0x4A, 0x87));
    p.setBrush(g);
    p.setPen(QPen(QColor(0x1A, 0x35, 0x60), 2));
    p.drawEllipse(QRectF(2, 2, size - 4, size - 4));
    QFont f(QStringLiteral("DejaVu Serif"));
    f.setPixelSize(size * 5 / 8);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 0, size, size), Qt::AlignCenter, QStringLiteral("C"));
    p.end();
    save(img, name);
}

// The product's word mark: a gilded frame motif and the name.
void wordmark(const char* name, int w, int h, bool withTagline)
{
    QImage img = canvas(w, h);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal m = h * 0.1;
    const QRectF frame(m, m, h - 2 * m, h - 2 * m);
    p.setPen(QPen(kGold, h * 0.06));
    p.setBrush(QColor(0xFA, 0xF3, 0xE3));
    p.drawRect(frame);
    // A tiny landscape inside the frame.
    const QRectF in = frame.adjusted(h * 0.09, h * 0.09, -h * 0.09, -h * 0.09);
    QLinearGradient sky(in.topLeft(), in.bottomLeft());
    sky.setColorAt(0, QColor(0x9E, 0xC9, 0xE8));
    sky.setColorAt(1, QColor(0xF6, 0xE7, 0xC1));
    p.setPen(Qt::NoPen);
    p.setBrush(sky);
    p.drawRect(in);
    QPainterPath hill;
    hill.moveTo(in.left(), in.bottom());
    hill.cubicTo(in.left() + in.width() * 0.3, in.top() + in.height() * 0.45, in.left() + in.width() * 0.6,
                 in.top() + in.height() * 0.85, in.right(), in.top() + in.height() * 0.55);
    hill.lineTo(in.bottomRight());
    hill.closeSubpath();
    p.setBrush(QColor(0x6B, 0x8E, 0x3A));
    p.drawPath(hill);
    p.setBrush(kTerra);
    p.drawEllipse(QPointF(in.left() + in.width() * 0.72, in.top() + in.height() * 0.3), in.width() * 0.11,
                  in.width() * 0.11);

    QFont f(QStringLiteral("DejaVu Serif"));
    f.setPixelSize(int(h * (withTagline ? 0.5 : 0.58)));
    f.setBold(true);
    f.setLetterSpacing(QFont::PercentageSpacing, 104);
    p.setFont(f);
    p.setPen(kInk);
    const QRectF text(h + m, 0, w - h - 2 * m, withTagline ? h * 0.66 : h);
    p.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Brevanto"));
    if (withTagline) {
        QFont t(QStringLiteral("DejaVu Sans"));
        t.setPixelSize(int(h * 0.16));
        t.setLetterSpacing(QFont::PercentageSpacing, 112);
        p.setFont(t);
        p.setPen(kTerra);
        p.drawText(QRectF(h + m + 2, h * 0.62, w - h, h * 0.3), Qt::AlignLeft | Qt::AlignTop,
                   QStringLiteral("RESTAURO  \u00B7  CATALOGO  \u00B7  RELAZIONI"));
    }
    p.end();
    save(img, name);
}

void titleBanner(const char* name, const QString& text, int w, int h)
{
    QImage img = canvas(w, h);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(kGold);
    p.drawRect(QRectF(0, h * 0.15, 6, h * 0.7));
    QFont f(QStringLiteral("DejaVu Serif"));
    f.setPixelSize(int(h * 0.62));
    f.setBold(true);
    f.setLetterSpacing(QFont::PercentageSpacing, 108);
    p.setFont(f);
    p.setPen(kInk);
    p.drawText(QRectF(16, 0, w - 16, h), Qt::AlignLeft | Qt::AlignVCenter, text);
    p.end();
    save(img, name);
}

// A landscape painting in a gilded frame: the sample of the empty photo frame.
void paintLandscape(QPainter& p, const QRectF& r)
{
    QLinearGradient sky(r.topLeft(), r.bottomLeft());
    sky.setColorAt(0, QColor(0x7F, 0xA7, 0xCF));
    sky.setColorAt(0.55, QColor(0xF2, 0xD9, 0xA6));
    sky.setColorAt(1, QColor(0xE9, 0xB8, 0x7C));
    p.setPen(Qt::NoPen);
    p.setBrush(sky);
    p.drawRect(r);
    QRadialGradient sun(r.left() + r.width() * 0.7, r.top() + r.height() * 0.42, r.height() * 0.16);
    sun.setColorAt(0, QColor(0xFF, 0xF4, 0xD0));
    sun.setColorAt(1, QColor(0xFF, 0xF4, 0xD0, 0));
    p.setBrush(sun);
    p.drawEllipse(QPointF(r.left() + r.width() * 0.7, r.top() + r.height() * 0.42), r.height() * 0.16,
                  r.height() * 0.16);
    auto hills = [&](qreal base, qreal amp, QColor c, qreal phase) {
        QPainterPath path;
        path.moveTo(r.left(), r.bottom());
        path.lineTo(r.left(), r.top() + r.height() * base);
        const int steps = 8;
        for (int i = 1; i <= steps; ++i) {
            const qreal x0 = r.left() + r.width() * (i - 1) / steps;
            const qreal x1 = r.left() + r.width() * i / steps;
            const qreal y = r.top() + r.height() * (base + amp * ((i * 37 + int(phase * 10)) % 7 - 3) / 6.0);
            path.quadTo((x0 + x1) / 2, y - r.height() * amp, x1, y);
        }
        path.lineTo(r.bottomRight());
        path.closeSubpath();
        p.setBrush(c);
        p.drawPath(path);
    };
    hills(0.58, 0.05, QColor(0x9C, 0x9F, 0xB8), 0.2);
    hills(0.66, 0.06, QColor(0x7C, 0x8F, 0x5A), 0.5);
    hills(0.78, 0.05, QColor(0x5B, 0x73, 0x36), 0.9);
    // Cypresses.
    for (int i = 0; i < 5; ++i) {
        const qreal x = r.left() + r.width() * (0.12 + 0.05 * i + (i > 2 ? 0.45 : 0));
        const qreal base = r.top() + r.height() * (0.80 + 0.01 * (i % 2));
        const qreal hgt = r.height() * (0.22 + 0.03 * (i % 3));
        QPainterPath c;
        c.moveTo(x, base - hgt);
        c.cubicTo(x + hgt * 0.14, base - hgt * 0.6, x + hgt * 0.1, base, x, base);
        c.cubicTo(x - hgt * 0.1, base, x - hgt * 0.14, base - hgt * 0.6, x, base - hgt);
        p.setBrush(QColor(0x2F, 0x45, 0x20));
        p.drawPath(c);
    }
    QLinearGradient field(r.left(), r.top() + r.height() * 0.85, r.left(), r.bottom());
    field.setColorAt(0, QColor(0xA8, 0x8B, 0x3E));
    field.setColorAt(1, QColor(0x7A, 0x5C, 0x22));
    p.setBrush(field);
    p.drawRect(QRectF(r.left(), r.top() + r.height() * 0.86, r.width(), r.height() * 0.14));
}

void framedPainting(QPainter& p, const QRectF& outer, qreal border)
{
    QLinearGradient gilt(outer.topLeft(), outer.bottomRight());
    gilt.setColorAt(0, QColor(0xE8, 0xC7, 0x6A));
    gilt.setColorAt(0.5, QColor(0xA8, 0x7A, 0x22));
    gilt.setColorAt(1, QColor(0xE0, 0xB8, 0x55));
    p.setPen(QPen(QColor(0x6E, 0x4B, 0x12), 1.5));
    p.setBrush(gilt);
    p.drawRect(outer);
    p.setPen(QPen(QColor(0x6E, 0x4B, 0x12), 1));
    p.setBrush(QColor(0xF4, 0xEC, 0xD8));
    const QRectF mat = outer.adjusted(border, border, -border, -border);
    p.drawRect(mat);
    paintLandscape(p, mat.adjusted(border * 0.35, border * 0.35, -border * 0.35, -border * 0.35));
}

void blankPainting(const char* name)
{
    QImage img = opaque(567, 378);
    img.fill(QColor(0xE6, 0xEA, 0xEE));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    framedPainting(p, QRectF(88, 34, 391, 280), 22);
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(17);
    p.setFont(f);
    p.setPen(QColor(0x5A, 0x68, 0x78));
    p.drawText(QRectF(0, 322, 567, 40), Qt::AlignCenter, QStringLiteral("Nessuna foto: usa \u00ABCarica foto\u00BB"));
    p.end();
    save(img, name);
}

void launcherCatalogue(const char* name)
{
    QImage img = canvas(360, 250);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    // Easel legs.
    p.setPen(QPen(QColor(0x7A, 0x4E, 0x22), 9, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(130, 235), QPointF(165, 20));
    p.drawLine(QPointF(230, 235), QPointF(195, 20));
    p.drawLine(QPointF(180, 240), QPointF(180, 30));
    p.drawLine(QPointF(110, 190), QPointF(250, 190));
    framedPainting(p, QRectF(70, 36, 220, 150), 14);
    // Small framed works on the wall behind.
    p.setOpacity(0.85);
    p.setPen(QPen(QColor(0x6E, 0x4B, 0x12), 1));
    p.setBrush(QColor(0xC8, 0x9B, 0x3C));
    p.drawRect(QRectF(8, 60, 52, 68));
    p.drawRect(QRectF(300, 50, 52, 40));
    p.setBrush(QColor(0x8E, 0x3B, 0x2A));
    p.drawRect(QRectF(14, 66, 40, 56));
    p.setBrush(QColor(0x3E, 0x5C, 0x7C));
    p.drawRect(QRectF(306, 56, 40, 28));
    p.end();
    save(img, name);
}

void launcherReports(const char* name)
{
    QImage img = canvas(360, 250);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    auto sheet = [&](QRectF r, qreal angle) {
        p.save();
        p.translate(r.center());
        p.rotate(angle);
        r.moveCenter(QPointF(0, 0));
        p.setPen(QPen(QColor(0x88, 0x8A, 0x85), 1.2));
        p.setBrush(Qt::white);
        p.drawRect(r);
        p.setPen(Qt::NoPen);
        p.setBrush(kInk);
        p.drawRect(QRectF(r.left() + 12, r.top() + 12, r.width() * 0.35, 8));
        p.setBrush(QColor(0xBA, 0xBD, 0xB6));
        for (int i = 0; i < 9; ++i)
            p.drawRect(QRectF(r.left() + 12, r.top() + 30 + i * 12, r.width() - 24 - (i % 3) * 14, 5));
        p.restore();
    };
    sheet(QRectF(70, 18, 150, 205), -8);
    sheet(QRectF(130, 22, 150, 205), 4);
    // A photo clipped to the front sheet.
    p.save();
    p.translate(205, 150);
    p.rotate(-3);
    p.setPen(QPen(QColor(0x55, 0x57, 0x53), 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(-52, -40, 104, 80));
    paintLandscape(p, QRectF(-46, -34, 92, 62));
    p.restore();
    // A restorer's brush across the corner.
    p.save();
    p.translate(292, 60);
    p.rotate(38);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x8B, 0x3A, 0x1E));
    p.drawRoundedRect(QRectF(-5, -10, 10, 120), 4, 4);
    p.setBrush(QColor(0xBA, 0xBD, 0xB6));
    p.drawRect(QRectF(-6, -28, 12, 20));
    p.setBrush(QColor(0x5C, 0x3B, 0x1A));
    QPainterPath tip;
    tip.moveTo(-6, -28);
    tip.quadTo(0, -60, 6, -28);
    p.drawPath(tip);
    p.restore();
    p.end();
    save(img, name);
}
// A title picture of the tax-code screens: an emblem drawn by `emblem` and the words.
template <typename Emblem> void checkTitle(const char* name, const QString& words, Emblem emblem)
{
    QImage img = canvas(421, 73);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    emblem(p, QRectF(6, 6, 61, 61));
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(24);
    f.setBold(true);
    p.setFont(f);
    p.setPen(kInk);
    p.drawText(QRectF(84, 0, 337, 73), Qt::AlignLeft | Qt::AlignVCenter, words);
    p.end();
    save(img, name);
}

void taxCard(QPainter& p, const QRectF& r)
{
    const QRectF card(r.left(), r.top() + r.height() * 0.18, r.width(), r.height() * 0.64);
    p.setPen(QPen(QColor(0x2E, 0x5E, 0x3A), 1.5));
    QLinearGradient g(card.topLeft(), card.bottomRight());
    g.setColorAt(0, QColor(0xD8, 0xF0, 0xD8));
    g.setColorAt(1, QColor(0x9C, 0xCF, 0xA0));
    p.setBrush(g);
    p.drawRoundedRect(card, 5, 5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2E, 0x5E, 0x3A));
    p.drawRect(QRectF(card.left() + 6, card.top() + 7, card.width() * 0.3, card.height() * 0.42));
    p.setBrush(QColor(0x4A, 0x6F, 0x52));
    for (int i = 0; i < 3; ++i)
        p.drawRect(QRectF(card.left() + card.width() * 0.42, card.top() + 8 + i * 8, card.width() * 0.5, 3.5));
    p.drawRect(QRectF(card.left() + 6, card.bottom() - 10, card.width() - 12, 4));
}

// A five-pointed star on a cogwheel inside a wreath: an emblem of the State.
void stateEmblem(QPainter& p, const QRectF& r)
{
    const QPointF c = r.center();
    const qreal R = r.width() / 2;
    p.setPen(QPen(QColor(0x3C, 0x6E, 0x2E), 3));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(c.x() - R + 2, c.y() - R + 2, 2 * R - 4, 2 * R - 4), 200 * 16, 140 * 16);
    QPainterPath gear;
    const int teeth = 12;
    for (int i = 0; i < teeth * 2; ++i) {
        const qreal a = M_PI * i / teeth;
        const qreal rr = (i % 2 ? 0.62 : 0.72) * R;
        const QPointF pt(c.x() + rr * std::cos(a), c.y() + rr * std::sin(a));
        i ? gear.lineTo(pt) : gear.moveTo(pt);
    }
    gear.closeSubpath();
    p.setPen(QPen(QColor(0x55, 0x55, 0x55), 1));
    p.setBrush(QColor(0xB8, 0xB8, 0xB8));
    p.drawPath(gear);
    QPainterPath star;
    for (int i = 0; i < 10; ++i) {
        const qreal a = -M_PI / 2 + M_PI * i / 5;
        const qreal rr = (i % 2 ? 0.22 : 0.52) * R;
        const QPointF pt(c.x() + rr * std::cos(a), c.y() + rr * std::sin(a));
        i ? star.lineTo(pt) : star.moveTo(pt);
    }
    star.closeSubpath();
    p.setPen(QPen(QColor(0x9E, 0x1B, 0x1B), 1));
    p.setBrush(Qt::white);
    p.drawPath(star);
}
// The heading of the help window: the help icon and the words.
void helpTitle(const char* name)
{
    QImage img = canvas(520, 56);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QSvgRenderer(tango + QStringLiteral("apps/help-browser.svg")).render(&p, QRectF(4, 4, 48, 48));
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(22);
    f.setBold(true);
    p.setFont(f);
    p.setPen(kInk);
    p.drawText(QRectF(64, 0, 456, 56), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Guida all'utilizzo del software"));
    p.end();
    save(img, name);
}

// The splash picture: the word mark, a painting and the maker's notice.
void splash(const char* name)
{
    QImage img = opaque(625, 380);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient bg(0, 0, 0, 380);
    bg.setColorAt(0, QColor(0x1F, 0x3B, 0x5C));
    bg.setColorAt(1, QColor(0x10, 0x22, 0x38));
    p.fillRect(img.rect(), bg);
    framedPainting(p, QRectF(380, 70, 210, 150), 13);
    QFont f(QStringLiteral("DejaVu Serif"));
    f.setPixelSize(58);
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(0xF4, 0xEC, 0xD8));
    p.drawText(QRectF(36, 70, 340, 80), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Brevanto"));
    QFont t(QStringLiteral("DejaVu Sans"));
    t.setPixelSize(15);
    p.setFont(t);
    p.setPen(kGold);
    p.drawText(QRectF(40, 150, 340, 60), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
               QStringLiteral("Relazioni tecniche di restauro\ne archivio delle opere d'arte"));
    p.setPen(QColor(0xC8, 0xD4, 0xE0));
    t.setPixelSize(13);
    p.setFont(t);
    p.drawText(QRectF(40, 290, 560, 60), Qt::AlignLeft | Qt::AlignTop,
               QStringLiteral("\u00A9 2026 Brevanto. Tutti i diritti riservati.\nwww.brevanto.example"));
    p.end();
    save(img, name);
}
// A sheaf of banknotes, the "paid" mark of a report; with a red bar for the unpaid list.
void banknotes(const char* name, int size, bool unpaid)
{
    QImage img = canvas(size, size);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 48.0, size / 48.0);
    for (int i = 0; i < 3; ++i) {
        p.save();
        p.translate(24, 26);
        p.rotate(-12 + i * 10);
        const QRectF note(-19, -11, 38, 22);
        p.setPen(QPen(QColor(0x2E, 0x60, 0x2E), 1));
        p.setBrush(QColor(0xB8, 0xDD, 0xA8));
        p.drawRect(note);
        p.setBrush(QColor(0x7C, 0xB8, 0x6A));
        p.drawEllipse(QPointF(0, 0), 6, 6);
        p.restore();
    }
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(10);
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(0x1E, 0x40, 0x1E));
    p.drawText(QRectF(6, 18, 36, 16), Qt::AlignCenter, QString(QChar(0x20AC)));
    if (unpaid) {
        p.setPen(QPen(QColor(0xCC, 0x00, 0x00), 4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(8, 42), QPointF(40, 8));
    }
    p.end();
    save(img, name);
}

void palette(const char* name, int size)
{
    QImage img = canvas(size, size);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 48.0, size / 48.0);
    QPainterPath board;
    board.addEllipse(QRectF(3, 8, 42, 32));
    QPainterPath hole;
    hole.addEllipse(QRectF(30, 26, 8, 7));
    p.setPen(QPen(QColor(0x7A, 0x4E, 0x22), 1.2));
    p.setBrush(QColor(0xE3, 0xBE, 0x86));
    p.drawPath(board.subtracted(hole));
    const QColor dabs[] = {QColor(0xCC, 0x00, 0x00), QColor(0xED, 0xD4, 0x00), QColor(0x34, 0x65, 0xA4),
                           QColor(0x4E, 0x9A, 0x06), QColor(0xF5, 0x79, 0x00)};
    const QPointF at[] = {{12, 18}, {21, 14}, {31, 15}, {11, 28}, {20, 32}};
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 5; ++i) {
        p.setBrush(dabs[i]);
        p.drawEllipse(at[i], 3.6, 3.2);
    }
    p.end();
    save(img, name);
}

void digitMark(const char* name, const QString& digit)
{
    QImage img = canvas(28, 28);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawEllipse(QRectF(1, 1, 26, 26));
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(17);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 0, 28, 28), Qt::AlignCenter, digit);
    p.end();
    save(img, name);
}

void letterButton(const char* name, const QString& letter)
{
    QImage img = canvas(40, 40);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, 40);
    g.setColorAt(0, QColor(0x3E, 0x72, 0xA8));
    g.setColorAt(1, QColor(0x1F, 0x3B, 0x5C));
    p.setBrush(g);
    p.setPen(QPen(kGold, 1.5));
    p.drawRoundedRect(QRectF(2, 2, 36, 36), 6, 6);
    QFont f(QStringLiteral("DejaVu Serif"));
    f.setPixelSize(26);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 0, 40, 40), Qt::AlignCenter, letter);
    p.end();
    save(img, name);
}

// The placeholder of an empty report photo frame, captioned with the frame's name.
void photoPlaceholder(const char* name, const QString& caption)
{
    QImage img = opaque(370, 260);
    img.fill(QColor(0xF2, 0xF4, 0xF6));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    framedPainting(p, QRectF(95, 36, 180, 128), 11);
    p.setPen(QPen(QColor(0xB5, 0xC0, 0xCC), 1, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(8, 8, 353, 243));
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(30);
    f.setBold(true);
    f.setLetterSpacing(QFont::PercentageSpacing, 110);
    p.setFont(f);
    p.setPen(kInk);
    p.drawText(QRectF(0, 178, 370, 44), Qt::AlignCenter, caption);
    p.end();
    save(img, name);
}

// The drawings of the webcam screen: a webcam, and a photo camera for the still.
void webcamDrawing(const char* name, bool webcam)
{
    QImage img = opaque(366, 274);
    QLinearGradient bg(0, 0, 0, 274);
    bg.setColorAt(0, QColor(0x2E, 0x34, 0x36));
    bg.setColorAt(1, QColor(0x55, 0x57, 0x53));
    QPainter p(&img);
    p.fillRect(img.rect(), bg);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x88, 0x8A, 0x85), 2));
    if (webcam) {
        p.setBrush(QColor(0xD3, 0xD7, 0xCF));
        p.drawEllipse(QPointF(183, 112), 62, 62);
        p.setBrush(QColor(0x2E, 0x34, 0x36));
        p.drawEllipse(QPointF(183, 112), 34, 34);
        p.setBrush(QColor(0x34, 0x65, 0xA4));
        p.drawEllipse(QPointF(183, 112), 18, 18);
        p.setBrush(QColor(0xD3, 0xD7, 0xCF));
        p.drawRect(QRectF(175, 174, 16, 30));
        p.drawRoundedRect(QRectF(133, 204, 100, 14), 6, 6);
    } else {
        p.setBrush(QColor(0xD3, 0xD7, 0xCF));
        p.drawRoundedRect(QRectF(98, 82, 170, 110), 12, 12);
        p.drawRect(QRectF(150, 66, 60, 20));
        p.setBrush(QColor(0x2E, 0x34, 0x36));
        p.drawEllipse(QPointF(183, 137), 40, 40);
        p.setBrush(QColor(0x72, 0x9F, 0xCF));
        p.drawEllipse(QPointF(183, 137), 24, 24);
        p.setBrush(QColor(0xFC, 0xE9, 0x4F));
        p.drawRect(QRectF(236, 94, 18, 10));
    }
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(15);
    p.setFont(f);
    p.setPen(QColor(0xEE, 0xEE, 0xEC));
    p.drawText(QRectF(0, 228, 366, 36), Qt::AlignCenter,
               webcam ? QStringLiteral("Premere \u00ABAccendi webcam\u00BB")
                      : QStringLiteral("Premere \u00ABCattura foto\u00BB"));
    p.end();
    save(img, name);
}

// The default laboratory logo: a circular emblem with a brush across a frame.
void defaultLogo(const char* name)
{
    QImage img = opaque(534, 550);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c(267, 275);
    p.setPen(QPen(kInk, 14));
    p.setBrush(QColor(0xFA, 0xF3, 0xE3));
    p.drawEllipse(c, 250, 250);
    p.setPen(QPen(kGold, 5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, 222, 222);
    framedPainting(p, QRectF(157, 170, 220, 160), 14);
    p.save();
    p.translate(360, 180);
    p.rotate(40);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x8B, 0x3A, 0x1E));
    p.drawRoundedRect(QRectF(-9, -10, 18, 190), 7, 7);
    p.setBrush(QColor(0xBA, 0xBD, 0xB6));
    p.drawRect(QRectF(-10, -40, 20, 32));
    p.setBrush(QColor(0x5C, 0x3B, 0x1A));
    QPainterPath tip;
    tip.moveTo(-10, -40);
    tip.quadTo(0, -95, 10, -40);
    p.drawPath(tip);
    p.restore();
    QFont f(QStringLiteral("DejaVu Serif"));
    f.setPixelSize(33);
    f.setBold(true);
    f.setLetterSpacing(QFont::PercentageSpacing, 110);
    p.setFont(f);
    p.setPen(kInk);
    p.drawText(QRectF(0, 92, 534, 60), Qt::AlignCenter, QStringLiteral("LABORATORIO"));
    p.drawText(QRectF(0, 350, 534, 60), Qt::AlignCenter, QStringLiteral("DI RESTAURO"));
    p.end();
    save(img, name);
}

// A picture of instructions: a bold title and a sentence.
void instructions(const char* name, int w, int h, const QString& title, const QString& body)
{
    QImage img = canvas(w, h);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(17);
    f.setBold(true);
    p.setFont(f);
    p.setPen(kInk);
    p.drawText(QRectF(0, 0, w, 24), Qt::AlignLeft | Qt::AlignVCenter, title);
    f.setPixelSize(12);
    f.setBold(false);
    p.setFont(f);
    p.setPen(QColor(0x2E, 0x34, 0x36));
    p.drawText(QRectF(0, 28, w, h - 28), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, body);
    p.end();
    save(img, name);
}

void pointingHand(const char* name)
{
    QImage img = canvas(40, 32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath hand;
    hand.moveTo(2, 12);
    hand.lineTo(26, 12);
    hand.quadTo(30, 12, 30, 15);
    hand.quadTo(30, 18, 26, 18);
    hand.lineTo(20, 18);
    hand.lineTo(20, 28);
    hand.lineTo(6, 28);
    hand.quadTo(2, 28, 2, 22);
    hand.closeSubpath();
    p.setPen(QPen(QColor(0x8F, 0x59, 0x02), 1.2));
    p.setBrush(QColor(0xF5, 0xD0, 0xA9));
    p.drawPath(hand);
    p.end();
    save(img, name);
}

void redDot(const char* name)
{
    QImage img = canvas(22, 22);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient g(8, 7, 12);
    g.setColorAt(0, QColor(0xEF, 0x29, 0x29));
    g.setColorAt(1, QColor(0xA4, 0x00, 0x00));
    p.setBrush(g);
    p.setPen(QPen(QColor(0x70, 0x00, 0x00), 1));
    p.drawEllipse(QRectF(1.5, 1.5, 19, 19));
    p.end();
    save(img, name);
}
} // namespace

// The desktop icon: a small framed landscape on a deep blue tile with a gilded edge.
QImage drawAppIcon(int size)
{
    QImage img = canvas(size, size);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    QLinearGradient tile(0, 0, 0, s);
    tile.setColorAt(0, QColor(0x2F, 0x5A, 0x88));
    tile.setColorAt(1, kInk);
    p.setPen(QPen(kGold, std::max(1.0, s * 0.025)));
    p.setBrush(tile);
    p.drawRoundedRect(QRectF(s * 0.04, s * 0.04, s * 0.92, s * 0.92), s * 0.16, s * 0.16);
    framedPainting(p, QRectF(s * 0.17, s * 0.22, s * 0.66, s * 0.50), s * 0.055);
    p.setPen(Qt::NoPen);
    p.setBrush(kTerra);
    p.drawEllipse(QPointF(s * 0.5, s * 0.83), s * 0.045, s * 0.045);
    p.end();
    return img;
}

void appIcon(const char* name, int size)
{
    save(drawAppIcon(size), name);
}

// The same icon for Windows (the executable, its shortcuts, the installer): an .ico file with
// each size drawn for itself and stored as PNG, as Windows reads them.
void windowsIcon(const char* name)
{
    const int sizes[] = {16, 20, 24, 32, 40, 48, 64, 128, 256};
    QList<QByteArray> pngs;
    for (int size : sizes) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        drawAppIcon(size).save(&buffer, "PNG");
        pngs.append(png);
    }
    QByteArray ico;
    auto u16 = [&](int v) { ico.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF)); };
    auto u32 = [&](qint64 v) { u16(int(v & 0xFFFF)), u16(int((v >> 16) & 0xFFFF)); };
    u16(0), u16(1), u16(int(pngs.size())); // reserved, icon, count
    qint64 offset = 6 + 16 * pngs.size();
    for (qsizetype i = 0; i < pngs.size(); ++i) {
        const int size = sizes[i];
        ico.append(char(size == 256 ? 0 : size)).append(char(size == 256 ? 0 : size)); // 0 means 256
        ico.append(char(0)).append(char(0)); // no palette, reserved
        u16(1), u16(32); // planes, bits per pixel
        u32(pngs[i].size()), u32(offset);
        offset += pngs[i].size();
    }
    for (const QByteArray& png : pngs)
        ico += png;
    QFile f(out + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".ico"));
    if (!f.open(QIODevice::WriteOnly) || f.write(ico) != ico.size())
        std::fprintf(stderr, "cannot write %s\n", qPrintable(f.fileName()));
}

void drawAll();

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: drawassets OUTPUT_DIR\n");
        return 2;
    }
    out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);
    for (scale = 1; scale <= 2; ++scale)
        drawAll();
    scale = 1;
    windowsIcon("app_icon");
    return 0;
}

void drawAll()
{
    const struct {
        const char* file;
        const char* name;
        int size;
    } icons[] = {
        {"actions/document-new.svg", "tb_nuovo", 48},
        {"actions/edit-copy.svg", "tb_duplica", 48},
        {"actions/document-save.svg", "tb_salva", 48},
        {"actions/edit-find.svg", "tb_trova", 48},
        {"status/mail-attachment.svg", "tb_allega", 48},
        {"actions/document-print.svg", "tb_stampa", 48},
        {"actions/go-first.svg", "tb_primo", 48},
        {"actions/go-previous.svg", "tb_indietro", 48},
        {"actions/go-next.svg", "tb_avanti", 48},
        {"actions/go-last.svg", "tb_ultimo", 48},
        {"mimetypes/x-office-spreadsheet.svg", "tb_esporta", 48},
        {"apps/help-browser.svg", "tb_guida", 48},
        {"actions/system-log-out.svg", "tb_esci", 48},
        {"actions/document-open.svg", "ph_carica", 32},
        {"actions/document-save-as.svg", "ph_salva", 32},
        {"actions/edit-delete.svg", "ph_canc", 32},
        {"actions/system-search.svg", "ph_zoom", 32},
        {"status/dialog-information.svg", "launcher_info", 64},
        {"apps/help-browser.svg", "launcher_help", 64},
        {"actions/system-log-out.svg", "launcher_exit", 64},
        {"apps/internet-mail.svg", "ico_mail", 32},
        {"apps/internet-web-browser.svg", "ico_web", 32},
        {"mimetypes/gnome-mime-application-pdf.svg", "ico_pdf", 32},
        {"actions/document-print-preview.svg", "tb_anteprima", 48},
        {"actions/appointment.svg", "tb_cronologia", 48},
        {"mimetypes/image-x-generic.svg", "tb_documentazione", 48},
        {"actions/go-previous.svg", "tb_importa", 26},
        {"devices/camera-photo.svg", "ph_webcam", 32},
        {"actions/edit-clear.svg", "ico_gomma", 24},
        {"mimetypes/x-office-document.svg", "ico_documenti", 64},
    };
    for (const auto& i : icons)
        svgIcon(i.file, i.name, i.size);
    check("tb_check", 32);
    coinHand("tb_segnalati", 48);
    copyrightIcon("launcher_copyright", 64);
    wordmark("launcher_title", 620, 120, true);
    wordmark("logo_login", 360, 84, false);
    titleBanner("title_opera", QStringLiteral("OPERA D'ARTE"), 320, 42);
    blankPainting("blank_opera");
    launcherCatalogue("launcher_app01");
    launcherReports("launcher_app02");
    helpTitle("title_guida");
    banknotes("ico_pagato", 32, false);
    banknotes("tb_nonpagati", 48, true);
    palette("tb_palette", 36);
    digitMark("ico_a", QStringLiteral("1"));
    digitMark("ico_b", QStringLiteral("2"));
    letterButton("tb_numerazione", QStringLiteral("N"));
    photoPlaceholder("placeholder_foto1", QStringLiteral("FOTO 1"));
    photoPlaceholder("placeholder_foto2", QStringLiteral("FOTO 2"));
    webcamDrawing("drawing_webcam", true);
    webcamDrawing("drawing_camera", false);
    defaultLogo("logo_default");
    instructions(
        "istruzioni_logo", 330, 70, QStringLiteral("Logo del laboratorio"),
        QStringLiteral("Caricare il proprio logo in formato JPEG o bitmap, con una dimensione di 297 x 184 pixel."));
    instructions(
        "istruzioni_numerazione", 300, 96, QStringLiteral("Numerazione automatica"),
        QStringLiteral("Questa funzione fa partire la numerazione automatica dei documenti da un numero maggiore di 1. "
                       "Per usare la numerazione automatica premere Nuovo prima di compilare il documento."));
    pointingHand("ico_mano");
    redDot("ico_predefinito");
    splash("splash");
    appIcon("app_icon", 256);
    checkTitle("title_codfisc", QStringLiteral("Controllo codice fiscale"), taxCard);
    checkTitle("title_partitaiva", QStringLiteral("Controllo partita IVA"), stateEmblem);
}
