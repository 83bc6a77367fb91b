#include "storage/FileNames.h"

#include "storage/Cp1252.h"
#include "storage/IoError.h"
#include "storage/Platform.h"
#include "storage/Text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStringDecoder>

namespace filenames {

namespace {
// The usual Latin spelling of a Greek or Cyrillic letter (lower case; empty for none).
QString latinSpelling(char16_t c)
{
    static const char* const kGreek[] = {
        "a", "v", "g", "d", "e", "z", "i", "th", "i", "k",  "l",  "m", "n",
        "x", "o", "p", "r", "s", "s", "t", "y",  "f", "ch", "ps", "o"}; // alpha..omega, final sigma
    static const char* const kCyrillic[] = {"a",  "b",  "v",  "g",    "d", "e", "zh", "z", "i",  "y", "k",
                                            "l",  "m",  "n",  "o",    "p", "r", "s",  "t", "u",  "f", "kh",
                                            "ts", "ch", "sh", "shch", "",  "y", "",   "e", "yu", "ya"};
    if (c >= 0x3B1 && c <= 0x3C9)
        return QString::fromLatin1(kGreek[c - 0x3B1]);
    if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2)
        return QString::fromLatin1(kGreek[c - 0x391]);
    if (c >= 0x430 && c <= 0x44F)
        return QString::fromLatin1(kCyrillic[c - 0x430]);
    if (c >= 0x410 && c <= 0x42F)
        return QString::fromLatin1(kCyrillic[c - 0x410]);
    switch (c) {
    case 0x451: return QStringLiteral("e"); // ё
    case 0x142: return QStringLiteral("l"); // ł
    case 0x111: return QStringLiteral("d"); // đ
    case 0x131: return QStringLiteral("i"); // ı
    case 0x127: return QStringLiteral("h"); // ħ
    default: return {};
    }
}

// Stands for a run of characters with no spelling, until the name is finished.
constexpr QChar kNoSpelling(0xFFFF);

// Characters no Windows file name holds (control characters aside).
bool refusedBySystems(QChar c)
{
    return QStringView(u"\\/:*?\"<>|").contains(c);
}

bool usable(QChar c)
{
    return c.category() != QChar::Other_Control && cp1252::holds(c);
}

// The name in characters the record holds, kNoSpelling where it had none; change says why.
QString spelled(const QString& name, Change& change)
{
    QString out;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name.at(i);
        if (usable(c) && !refusedBySystems(c)) {
            out += c;
            continue;
        }
        QString spelling;
        if (usable(c) || c.category() == QChar::Other_Control) {
            change = std::max(change, Change::System);
        } else {
            change = std::max(change, Change::Spelling);
            // An accent the code page lacks: the letter without it.
            const QString plain = QString(c).normalized(QString::NormalizationForm_D);
            for (QChar p : plain)
                if (p.category() != QChar::Mark_NonSpacing && usable(p) && !refusedBySystems(p))
                    spelling += p;
            if (spelling.isEmpty() && !plain.isEmpty()) {
                const QString latin = latinSpelling(plain.at(0).toLower().unicode());
                spelling = plain.at(0).isUpper() && !latin.isEmpty() ? latin.at(0).toUpper() + latin.mid(1) : latin;
            }
        }
        if (c.isHighSurrogate() && i + 1 < name.size())
            ++i; // one character, one replacement
        if (!spelling.isEmpty())
            out += spelling;
        else if (!out.endsWith(kNoSpelling))
            out += kNoSpelling;
    }
    return out;
}

// What Windows drops from the end of a name: dots and spaces (and so would lose).
QString withoutTrailingDotsAndSpaces(QString name, Change& change)
{
    qsizetype end = name.size();
    while (end > 0 && (name.at(end - 1) == u'.' || name.at(end - 1) == u' '))
        --end;
    if (end < name.size()) {
        change = std::max(change, Change::System);
        name.truncate(end);
    }
    return name;
}
} // namespace

void split(const QString& name, QString& stem, QString& extension)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    stem = dot > 0 ? name.left(dot) : name;
    extension = dot > 0 ? name.mid(dot) : QString();
}

bool isDeviceName(const QString& name)
{
    // The part before the first dot, without the spaces Windows ignores there.
    QString base = name.left(name.indexOf(u'.') < 0 ? name.size() : name.indexOf(u'.'));
    while (base.endsWith(u' '))
        base.chop(1);
    base = base.toUpper();
    if (base == u"CON" || base == u"PRN" || base == u"AUX" || base == u"NUL")
        return true;
    if (base.size() == 4 && (base.startsWith(u"COM") || base.startsWith(u"LPT"))) {
        const QChar n = base.at(3);
        // Windows keeps the superscript digits too.
        return (n >= u'1' && n <= u'9') || n == QChar(0xB9) || n == QChar(0xB2) || n == QChar(0xB3);
    }
    return false;
}

Portable portable(const QString& given, int maxLength, const QString& fallbackStem)
{
    Portable out;
    QString stem, extension;
    split(withoutTrailingDotsAndSpaces(spelled(text::trim(given), out.change), out.change), stem, extension);
    // Characters without a spelling: one "_" for each run, none at the end of the stem or
    // beside a "_" already there.
    if (stem.size() > 1 && stem.endsWith(kNoSpelling)) {
        while (stem.endsWith(kNoSpelling) || stem.endsWith(u'_') || stem.endsWith(u' ') || stem.endsWith(u'-'))
            stem.chop(1);
    }
    for (QString* part : {&stem, &extension}) {
        QString done;
        for (qsizetype i = 0; i < part->size(); ++i) {
            if (part->at(i) != kNoSpelling)
                done += part->at(i);
            else if (!done.endsWith(u'_') && !(i + 1 < part->size() && part->at(i + 1) == u'_'))
                done += u'_';
        }
        *part = done;
    }
    if (extension == u"." || extension == u"._")
        extension.clear();
    if (stem.isEmpty() || stem.count(u'_') + stem.count(u'.') == stem.size())
        stem = fallbackStem; // nothing of the name could be spelled
    if (extension.size() > 20) {
        stem += extension; // not an extension but part of a long name
        extension.clear();
    }
    if (stem.size() + extension.size() > maxLength)
        stem.truncate(maxLength - extension.size());
    QString name = withoutTrailingDotsAndSpaces(text::trim(stem + extension), out.change);
    if (isDeviceName(name)) {
        name.insert(name.startsWith(u"COM", Qt::CaseInsensitive) || name.startsWith(u"LPT", Qt::CaseInsensitive) ? 4
                                                                                                                 : 3,
                    u'_'); // right after the device's name
        out.change = std::max(out.change, Change::System);
    }
    out.name = name;
    if (out.change == Change::None && out.name != given)
        out.change = Change::System; // only spaces around it went
    return out;
}

namespace {
QSet<QString> foldedNames(const QString& folder)
{
    QSet<QString> names;
    const QStringList entries =
        QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& e : entries)
        names.insert(e.toCaseFolded());
    return names;
}
} // namespace

QString existingAlike(const QString& folder, const QString& name)
{
    const QString folded = name.toCaseFolded();
    const QStringList entries =
        QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& e : entries)
        if (e == name)
            return e;
    for (const QString& e : entries)
        if (e.toCaseFolded() == folded)
            return e;
    return {};
}

QString freeName(const QString& folder, const QString& name, int maxLength, const QSet<QString>& alsoTaken)
{
    const QSet<QString> taken = foldedNames(folder) + alsoTaken;
    if (!taken.contains(name.toCaseFolded()))
        return name;
    QString stem, extension;
    split(name, stem, extension);
    for (int n = 2;; ++n) {
        const QString number = QStringLiteral(" (%1)").arg(n);
        const QString candidate = stem.left(maxLength - extension.size() - number.size()) + number + extension;
        if (!taken.contains(candidate.toCaseFolded()))
            return candidate;
    }
}

namespace {
bool isUtf8(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = utf8(bytes);
    return !utf8.hasError();
}
} // namespace

QList<ForeignName> foreignNames(const QString& folder)
{
    QList<ForeignName> found;
    try {
        for (const QByteArray& bytes : platform::folderNames(platform::encodeName(folder)))
            if (!isUtf8(bytes))
                found.append({bytes, cp1252::decode(bytes)});
    } catch (const IoError&) {
        // A folder that cannot be read has nothing to show.
    }
    return found;
}

QString adoptForeignName(const QString& folder, const ForeignName& foreign)
{
    const QByteArray dir = platform::encodeName(folder) + '/';
    const QString target = folder + QLatin1Char('/') + foreign.name;
    if (foreign.name.isEmpty() || foreign.name.contains(u'/') || !platform::holdsName(foreign.name.toUtf8())
        || !existingAlike(folder, foreign.name).isEmpty())
        return {};
    try {
        return platform::renameIfFree(dir + foreign.bytes, platform::encodeName(target)) ? target : QString();
    } catch (const IoError&) {
        return {};
    }
}

bool adoptWindowsName(const QString& path)
{
    if (QFileInfo::exists(path))
        return true;
    const QFileInfo info(path);
    const QString name = info.fileName();
    const QByteArray bytes = cp1252::encode(name);
    // A name the code page cannot hold, or one that reads the same in both: nothing to adopt.
    if (name.isEmpty() || cp1252::decode(bytes) != name || isUtf8(bytes))
        return false;
    return !adoptForeignName(info.path(), {bytes, name}).isEmpty() && QFileInfo::exists(path);
}

} // namespace filenames
