#include "storage/Amount.h"

#include "storage/Text.h"

#include <QLocale>
#include <QRegularExpression>
#include <cmath>

namespace amount {

std::optional<double> parse(const QString& text)
{
    static const QRegularExpression number(QStringLiteral(R"(^[+-]?(\d+,?\d*|,\d+)([eE][+-]?\d+)?$)"));
    const QString t = text::trim(text);
    if (!number.match(t).hasMatch())
        return std::nullopt;
    QString c = t;
    c.replace(u',', u'.');
    if (c.startsWith(u'.') || c.startsWith(QLatin1String("-.")) || c.startsWith(QLatin1String("+.")))
        c.insert(c.indexOf(u'.'), u'0');
    bool ok = false;
    const double v = QLocale::c().toDouble(c, &ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

QString format(const QString& input)
{
    const QString zero = QStringLiteral("0,00");
    if (text::trim(input).isEmpty())
        return zero;
    const std::optional<double> parsed = parse(input);
    if (!parsed)
        return zero;

    // Rounded on the binary value with a 64-bit mantissa: 2,675 is held just below and
    // gives 2,67, while 0,125 is exact and gives 0,13.
    const long double scaled = static_cast<long double>(*parsed) * 100.0L + 0.5L;
    double v = static_cast<double>(std::truncl(scaled) / 100.0L);
    if (v == 0.0)
        v = 0.0; // no "-0"

    QString r = QString::number(v, 'g', 15);
    r.replace(u'.', u',');
    if (!r.contains(u','))
        r += QStringLiteral(",00");
    r = text::trim(r);
    if (r == QStringLiteral(","))
        return zero;
    if (r.startsWith(u','))
        r.prepend(u'0');
    if (r.endsWith(u','))
        r += QStringLiteral("00");
    const qsizetype comma = r.lastIndexOf(u',');
    if (comma == r.size() - 2)
        r += u'0';
    return r;
}

} // namespace amount
