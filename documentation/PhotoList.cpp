#include "documentation/PhotoList.h"

#include "storage/Crc32.h"
#include "storage/FileNames.h"
#include "storage/Text.h"

#include <QMap>
#include <QSet>
#include <QStringDecoder>

#include <optional>

namespace documentation {
namespace {
const QString kHead = QStringLiteral("Documentazione");
const QString kEnd = QStringLiteral("Fine");
const QString kPhotoSection = QStringLiteral("Foto ");
const QString kDateFormat = QStringLiteral("yyyy-MM-dd");
// The longest photo name the program makes.
constexpr int kMaxName = 120;

// A value on one line: line breaks and other control characters as spaces.
QString oneLine(QString value)
{
    for (QChar& c : value)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = u' ';
    return value;
}

void line(QByteArray& out, const QString& key, const QString& value)
{
    out += (key + u'=' + oneLine(value)).toUtf8() + "\r\n";
}

QString checkOf(QByteArrayView bytes)
{
    return QStringLiteral("%1").arg(crc32(bytes), 8, 16, QLatin1Char('0')).toUpper();
}

// A section of the list: its keys (case-insensitive, the first of each kept) and values.
struct Section {
    QString name;
    QMap<QString, QString> values;
    QString value(const QString& key) const { return values.value(key.toCaseFolded()); }
    bool has(const QString& key) const { return values.contains(key.toCaseFolded()); }
};

std::optional<qint64> number(const QString& text)
{
    bool ok = false;
    const qint64 n = text.toLongLong(&ok);
    return ok && n >= 0 ? std::optional<qint64>(n) : std::nullopt;
}
} // namespace

const QStringList& phases(Kind kind)
{
    static const QStringList report = {
        QStringLiteral("Prima del restauro"),   QStringLiteral("Durante il restauro"),
        QStringLiteral("Dopo il restauro"),     QStringLiteral("Particolare"),
        QStringLiteral("Indagine diagnostica"),
    };
    static const QStringList artwork = {
        QStringLiteral("Fronte"),      QStringLiteral("Retro"),
        QStringLiteral("Particolare"), QStringLiteral("Firma e iscrizioni"),
        QStringLiteral("Cornice"),
    };
    return kind == Kind::Report ? report : artwork;
}

bool isPhotoName(const QString& name)
{
    if (name.isEmpty() || name.size() > kMaxName || name.startsWith(u'.'))
        return false;
    const QString lower = name.toLower();
    if (!lower.endsWith(QStringLiteral(".jpg")) && !lower.endsWith(QStringLiteral(".jpeg")))
        return false;
    return filenames::portable(name, kMaxName, QStringLiteral("Foto")).name == name;
}

QByteArray encode(const QList<Photo>& photos)
{
    QByteArray out;
    out += "[" + kHead.toUtf8() + "]\r\n";
    line(out, QStringLiteral("Formato"), QString::number(kFormat));
    line(out, QStringLiteral("Foto"), QString::number(photos.size()));
    for (qsizetype i = 0; i < photos.size(); ++i) {
        const Photo& p = photos[i];
        out += "\r\n[" + (kPhotoSection + QString::number(i + 1)).toUtf8() + "]\r\n";
        line(out, QStringLiteral("File"), p.file);
        line(out, QStringLiteral("Fase"), p.phase);
        line(out, QStringLiteral("Data"), p.taken.isValid() ? p.taken.toString(kDateFormat) : QString());
        line(out, QStringLiteral("Didascalia"), p.caption.left(kMaxCaption));
        line(out, QStringLiteral("Byte"), QString::number(p.size));
        line(out, QStringLiteral("CRC"), QStringLiteral("%1").arg(p.crc, 8, 16, QLatin1Char('0')).toUpper());
    }
    out += "\r\n";
    const QString check = checkOf(out); // everything before the end section
    out += "[" + kEnd.toUtf8() + "]\r\n";
    line(out, QStringLiteral("Controllo"), check);
    return out;
}

List decode(QByteArrayView bytes)
{
    List list;
    if (bytes.isEmpty())
        return list;
    if (bytes.size() > kLargestList) {
        bytes = bytes.first(kLargestList);
        list.damaged = true;
    }
    // The check covers every byte before the line of the end section.
    const QByteArray endLine = "[" + kEnd.toUtf8() + "]";
    const qsizetype endAt = QByteArrayView(bytes).lastIndexOf(QByteArrayView(endLine));
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(bytes);
    if (utf8.hasError())
        list.damaged = true;

    QList<Section> sections;
    for (QString raw : text.split(u'\n')) {
        if (raw.endsWith(u'\r'))
            raw.chop(1);
        const QString l = text::trim(raw);
        if (l.isEmpty() || l.startsWith(u';'))
            continue;
        if (l.startsWith(u'[') && l.endsWith(u']')) {
            sections.append({text::trim(l.mid(1, l.size() - 2)), {}});
            continue;
        }
        const qsizetype eq = raw.indexOf(u'=');
        if (eq <= 0 || sections.isEmpty()) {
            list.damaged = true;
            continue;
        }
        const QString key = text::trim(raw.left(eq)).toCaseFolded();
        if (!sections.last().values.contains(key))
            sections.last().values.insert(key, text::trim(raw.mid(eq + 1)));
    }

    const Section* head = nullptr;
    const Section* end = nullptr;
    QMap<qint64, const Section*> photoSections;
    for (const Section& s : sections) {
        if (s.name.compare(kHead, Qt::CaseInsensitive) == 0 && !head)
            head = &s;
        else if (s.name.compare(kEnd, Qt::CaseInsensitive) == 0)
            end = &s;
        else if (s.name.startsWith(kPhotoSection, Qt::CaseInsensitive)) {
            const std::optional<qint64> n = number(s.name.mid(kPhotoSection.size()));
            if (!n || *n < 1 || photoSections.contains(*n))
                list.damaged = true;
            else
                photoSections.insert(*n, &s);
        }
    }
    const std::optional<qint64> format = head ? number(head->value(QStringLiteral("Formato"))) : std::nullopt;
    list.format = format && *format > 0 && *format <= 1000000 ? int(*format) : kFormat;
    if (!format || *format < 1)
        list.damaged = true;
    const std::optional<qint64> expected = head ? number(head->value(QStringLiteral("Foto"))) : std::nullopt;
    list.expected = expected ? int(std::min<qint64>(*expected, 1000000)) : int(photoSections.size());
    if (!expected || *expected != photoSections.size())
        list.damaged = true;
    if (!end || endAt < 0
        || end->value(QStringLiteral("Controllo")).compare(checkOf(bytes.first(endAt)), Qt::CaseInsensitive) != 0)
        list.damaged = true;

    // The photos in their numbered order; one without a usable name, or with a name already
    // listed (names differing in case are one), is left out.
    QSet<QString> names;
    qint64 expectedNumber = 1;
    for (auto it = photoSections.cbegin(); it != photoSections.cend(); ++it, ++expectedNumber) {
        if (it.key() != expectedNumber)
            list.damaged = true;
        const Section& s = **it;
        Photo p;
        p.file = s.value(QStringLiteral("File"));
        if (!isPhotoName(p.file) || names.contains(p.file.toCaseFolded())) {
            list.damaged = true;
            continue;
        }
        names.insert(p.file.toCaseFolded());
        p.phase = s.value(QStringLiteral("Fase"));
        p.caption = s.value(QStringLiteral("Didascalia"));
        if (p.caption.size() > kMaxCaption) {
            p.caption.truncate(kMaxCaption);
            list.damaged = true;
        }
        const QString date = s.value(QStringLiteral("Data"));
        p.taken = QDate::fromString(date, kDateFormat);
        if (!date.isEmpty() && !p.taken.isValid())
            list.damaged = true;
        const std::optional<qint64> size = number(s.value(QStringLiteral("Byte")));
        bool crcOk = false;
        p.crc = s.value(QStringLiteral("CRC")).toUInt(&crcOk, 16);
        if (!size || !crcOk)
            list.damaged = true;
        p.size = size.value_or(0);
        list.photos.append(p);
    }
    return list;
}

} // namespace documentation
