#include "attachments/Attachments.h"

#include "common/Cp1252.h"
#include "common/IoError.h"
#include "common/ProgramDir.h"
#include "common/SafeFile.h"
#include "common/Text.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace attachments {

QString folder()
{
    return programdir::file(QStringLiteral("Documenti_Allegati"));
}

QString shownName(const QString& stored)
{
    const qsizetype nul = stored.indexOf(QChar(0));
    return text::trim(nul < 0 ? stored : stored.left(nul));
}

QString bareName(const QString& stored)
{
    QString name = shownName(stored);
    for (QChar c : name)
        if (c.category() == QChar::Other_Control)
            return {};
    const qsizetype cut = std::max(name.lastIndexOf(u'/'), name.lastIndexOf(u'\\'));
    if (cut >= 0)
        name = name.mid(cut + 1);
    if (name == QStringLiteral(".") || name == QStringLiteral(".."))
        return {};
    return name;
}

QString pathOf(const QString& stored)
{
    const QString name = bareName(stored);
    return name.isEmpty() ? QString() : folder() + QLatin1Char('/') + name;
}

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

QString spelledForTheRecord(const QString& name)
{
    QString out;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name.at(i);
        if (c.category() != QChar::Other_Control && cp1252::holds(c)) {
            out += c;
            continue;
        }
        // An accent the code page lacks: the letter without it.
        const QString plain = QString(c).normalized(QString::NormalizationForm_D);
        QString spelled;
        for (QChar p : plain)
            if (p.category() != QChar::Mark_NonSpacing && cp1252::holds(p) && p.category() != QChar::Other_Control)
                spelled += p;
        if (spelled.isEmpty() && !plain.isEmpty()) {
            const QString latin = latinSpelling(plain.at(0).toLower().unicode());
            spelled = plain.at(0).isUpper() && !latin.isEmpty() ? latin.at(0).toUpper() + latin.mid(1) : latin;
        }
        if (c.isHighSurrogate() && i + 1 < name.size())
            ++i; // one character, one replacement
        if (!spelled.isEmpty())
            out += spelled;
        else if (!out.endsWith(kNoSpelling))
            out += kNoSpelling;
    }
    return out;
}

void splitName(const QString& name, QString& stem, QString& extension)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    stem = dot > 0 ? name.left(dot) : name;
    extension = dot > 0 ? name.mid(dot) : QString();
}
} // namespace

QString storableName(const QString& chosen)
{
    QString stem, extension;
    splitName(spelledForTheRecord(chosen), stem, extension);
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
    if (stem.isEmpty() || stem.count(u'_') == stem.size())
        stem = QStringLiteral("allegato"); // nothing of the name could be spelled
    if (extension.size() > 20) {
        stem += extension; // not an extension but part of a long name
        extension.clear();
    }
    if (stem.size() + extension.size() > kMaxName)
        stem.truncate(kMaxName - extension.size());
    return text::trim(stem + extension);
}

QString freeName(const QString& name)
{
    if (!QFileInfo::exists(folder() + QLatin1Char('/') + name))
        return name;
    QString stem, extension;
    splitName(name, stem, extension);
    for (int n = 2;; ++n) {
        const QString number = QStringLiteral(" (%1)").arg(n);
        const QString candidate = stem.left(kMaxName - extension.size() - number.size()) + number + extension;
        if (!QFileInfo::exists(folder() + QLatin1Char('/') + candidate))
            return candidate;
    }
}

bool sameFile(const QString& a, const QString& b)
{
    struct stat sa {
    }, sb{};
    if (::stat(QFile::encodeName(a).constData(), &sa) != 0 || ::stat(QFile::encodeName(b).constData(), &sb) != 0)
        return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

void copy(const QString& source, const QString& target, const std::function<bool(qint64, qint64)>& progress)
{
    QFile in(source);
    if (!QFileInfo(source).isFile() || !in.open(QIODevice::ReadOnly))
        throw IoError(QStringLiteral("cannot read %1").arg(source));
    const qint64 total = in.size();
    SafeFile out(target);
    QByteArray block(4 * 1024 * 1024, Qt::Uninitialized);
    qint64 done = 0;
    for (;;) {
        const qint64 got = in.read(block.data(), block.size());
        if (got < 0)
            throw IoError(QStringLiteral("cannot read %1: %2").arg(source, in.errorString()));
        if (got == 0)
            break;
        if (out.device().write(block.constData(), got) != got)
            throw IoError(QStringLiteral("cannot write %1").arg(target));
        done += got;
        if (progress && !progress(done, total))
            throw IoError(QStringLiteral("copy of %1 stopped").arg(source));
    }
    out.commit();
}

} // namespace attachments
