#include "printing/Report.h"

#include "storage/IoError.h"

namespace report {

QSizeF Page::paper() const
{
    return orientation == QPageLayout::Portrait ? QSizeF(210, 297) : QSizeF(297, 210);
}

QSizeF Page::printable() const
{
    return paper() - QSizeF(2 * margin, 2 * margin);
}

const Item& Template::item(const QString& n) const
{
    std::vector<const Page*> all;
    for (const Page& p : pages)
        all.push_back(&p);
    if (continuation)
        all.push_back(&continuation->page);
    if (photoPage)
        all.push_back(&photoPage->page);
    for (const Page* page : all) {
        const Page& p = *page;
        for (const Item& i : p.items)
            if (i.name == n)
                return i;
        for (const Band& b : p.bands)
            for (const Item& i : b.items)
                if (i.name == n)
                    return i;
    }
    throw IoError(QStringLiteral("the template %1 has no object %2").arg(name, n));
}

Item& Template::item(const QString& n)
{
    return const_cast<Item&>(static_cast<const Template*>(this)->item(n));
}

Band& Template::band(const QString& n)
{
    for (Page& p : pages)
        for (Band& b : p.bands)
            if (b.name == n)
                return b;
    throw IoError(QStringLiteral("the template %1 has no band %2").arg(name, n));
}

void Template::setText(const QString& n, const QString& text)
{
    item(n).text = text;
}

void Template::setPicture(const QString& n, const QImage& picture)
{
    item(n).picture = picture;
}

std::vector<Template::Found> Template::all() const
{
    std::vector<Found> out;
    for (const Page& p : pages) {
        for (const Item& i : p.items)
            out.push_back({&p, nullptr, &i});
        for (const Band& b : p.bands)
            for (const Item& i : b.items)
                out.push_back({&p, &b, &i});
    }
    return out;
}

} // namespace report
