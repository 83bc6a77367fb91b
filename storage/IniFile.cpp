#include "storage/IniFile.h"

#include "storage/Cp1252.h"
#include "storage/IoError.h"
#include "storage/SafeFile.h"

#include <QFile>

#define SI_NO_CONVERSION
#define SI_IMPLEMENTATION
#include <SimpleIni.h>

struct IniText::Data {
    CSimpleIniA ini;
};

namespace {

void configure(CSimpleIniA& ini)
{
    ini.SetUnicode(false);
    ini.SetMultiKey(false);
    ini.SetSpaces(false);
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    if (!f.exists())
        return {};
    if (!f.open(QIODevice::ReadOnly))
        throw IoError(QStringLiteral("cannot read %1: %2").arg(path, f.errorString()));
    const QByteArray data = f.readAll();
    if (f.error() != QFileDevice::NoError)
        throw IoError(QStringLiteral("cannot read %1: %2").arg(path, f.errorString()));
    return data;
}

// The profile API drops one pair of matching quotes around a value.
QString unquote(QString v)
{
    if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front())
        return v.mid(1, v.size() - 2);
    return v;
}

} // namespace

IniText::IniText() : d_(std::make_unique<Data>())
{
    configure(d_->ini);
}

IniText::IniText(const QByteArray& bytes) : IniText()
{
    if (!bytes.isEmpty() && d_->ini.LoadData(bytes.constData(), size_t(bytes.size())) < 0)
        throw IoError(QStringLiteral("not an INI text"));
}

IniText::~IniText() = default;

QString IniText::value(const QString& section, const QString& key, const QString& defaultValue) const
{
    const char* v = d_->ini.GetValue(cp1252::encode(section).constData(), cp1252::encode(key).constData(), nullptr);
    if (!v)
        return defaultValue;
    return unquote(cp1252::decode(QByteArray(v)));
}

void IniText::setValue(const QString& section, const QString& key, const QString& value)
{
    const QByteArray s = cp1252::encode(section);
    const QByteArray k = cp1252::encode(key);
    const QByteArray v = cp1252::encode(value);
    if (d_->ini.SetValue(s.constData(), k.constData(), v.constData()) < 0)
        throw IoError(QStringLiteral("cannot set %1").arg(key));
}

QByteArray IniText::bytes() const
{
    std::string text;
    if (d_->ini.Save(text) < 0)
        throw IoError(QStringLiteral("cannot format an INI text"));
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
    return out;
}

IniFile::IniFile(QString path) : path_(std::move(path))
{ }

QString IniFile::read(const QString& section, const QString& key, const QString& defaultValue) const
{
    try {
        return IniText(readAll(path_)).value(section, key, defaultValue);
    } catch (const IoError& e) {
        throw IoError(QStringLiteral("%1 (%2)").arg(e.cause(), path_));
    }
}

void IniFile::write(const QString& section, const QString& key, const QString& value)
{
    IniText ini(readAll(path_));
    ini.setValue(section, key, value);
    // Written beside the old file and renamed over it, so a failure never leaves half a store.
    writeFileSafely(path_, ini.bytes());
}
