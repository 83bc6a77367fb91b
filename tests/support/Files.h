#pragma once
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtTest>

// Whole files read and written by the tests.
namespace testfiles {

// The file's bytes, or "<missing>" when it cannot be read.
inline QByteArray read(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

inline void write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY2(f.open(QIODevice::WriteOnly), qPrintable(path));
    QCOMPARE(f.write(bytes), bytes.size());
}

} // namespace testfiles
