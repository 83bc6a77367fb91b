#include "storage/Text.h"

namespace text {

QString trim(const QString& s)
{
    qsizetype begin = 0;
    qsizetype end = s.size();
    while (begin < end && s.at(begin).unicode() <= 0x20)
        ++begin;
    while (end > begin && s.at(end - 1).unicode() <= 0x20)
        --end;
    return s.mid(begin, end - begin);
}

static QString mapAscii(const QString& s, char16_t from, char16_t to)
{
    QString out = s;
    for (QChar& c : out) {
        const char16_t u = c.unicode();
        if (u >= from && u <= to)
            c = QChar(char16_t(u ^ 0x20));
    }
    return out;
}

QString upperAscii(const QString& s)
{
    return mapAscii(s, u'a', u'z');
}
QString lowerAscii(const QString& s)
{
    return mapAscii(s, u'A', u'Z');
}

bool containsText(const QString& haystack, const QString& needle)
{
    return lowerAscii(haystack).contains(lowerAscii(needle), Qt::CaseSensitive);
}

QString counted(qint64 n, const QString& one, const QString& many)
{
    return QString::number(n) + u' ' + (n == 1 ? one : many);
}

} // namespace text
