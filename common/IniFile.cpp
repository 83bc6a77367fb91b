#include "common/IniFile.h"

#include "common/Cp1252.h"
#include "common/IoError.h"
#include "common/SafeFile.h"

#include <QFile>

#define SI_NO_CONVERSION
#define SI_IMPLEMENTATION
#include <SimpleIni.h>

namespace {

void load(const QString& path, CSimpleIniA& ini)
{
    ini.SetUnicode(false);
    ini.SetMultiKey(false);
    ini.SetSpaces(false);
    QFile f(path);
    if (!f.exists())
        return;
    if (!f.open(QIODevice::ReadOnly))
        throw IoError(QStringLiteral("cannot read %1: %2").arg(path, f.errorString()));
    const QByteArray data = f.readAll();
    if (f.error() != QFileDevice::NoError)
        throw IoError(QStringLiteral("cannot read %1: %2").arg(path, f.errorString()));
    if (ini.LoadData(data.constData(), size_t(data.size())) < 0)
        throw IoError(QStringLiteral("cannot parse %1").arg(path));
}

// The profile API drops one pair of matching quotes around a value.
QString unquote(QString v)
{
    if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front())
        return v.mid(1, v.size() - 2);
    return v;
}

} // namespace

IniFile::IniFile(QString path) : path_(std::move(path))
{ }

QString IniFile::read(const QString& section, const QString& key, const QString& defaultValue) const
{
    CSimpleIniA ini;
    load(path_, ini);
    const char* v = ini.GetValue(cp1252::encode(section).constData(), cp1252::encode(key).constData(), nullptr);
    if (!v)
        return defaultValue;
    return unquote(cp1252::decode(QByteArray(v)));
}

void IniFile::write(const QString& section, const QString& key, const QString& value)
{
    CSimpleIniA ini;
    load(path_, ini);
    const QByteArray s = cp1252::encode(section);
    const QByteArray k = cp1252::encode(key);
    const QByteArray v = cp1252::encode(value);
    if (ini.SetValue(s.constData(), k.constData(), v.constData()) < 0)
        throw IoError(QStringLiteral("cannot set %1 in %2").arg(key, path_));
    std::string text;
    if (ini.Save(text) < 0)
        throw IoError(QStringLiteral("cannot format %1").arg(path_));

    // CR LF line ends, and at most one empty line between sections.
    QByteArray out;
    out.reserve(qsizetype(text.size() + text.size() / 16));
    int newlines = 0;
    for (char c : text) {
        if (c == '\r')
            continue;
        newlines = c == '\n' ? newlines + 1 : 0;
        if (newlines > 2)
            continue;
        if (c == '\n')
            out.append('\r');
        out.append(c);
    }
    // Written beside the old file and renamed over it, so a failure never leaves half a store.
    writeFileSafely(path_, out);
}
