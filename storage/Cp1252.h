#pragma once
#include <QByteArray>
#include <QString>

// The program's one Windows-1252 codec. Characters it cannot hold become '?'.
namespace cp1252 {

QByteArray encode(const QString& s);
// True when the character has a byte of its own (it is not written as '?').
bool holds(QChar c);
QString decode(const char* bytes, qsizetype length);
inline QString decode(const QByteArray& bytes)
{
    return decode(bytes.constData(), bytes.size());
}

} // namespace cp1252
