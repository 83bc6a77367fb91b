#pragma once
// What every fuzz target shares: a Qt application object for the picture plugins, and a
// scratch program folder so that readers of files beside the program read the input.
#include "storage/ProgramDir.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <memory>

namespace fuzz {

inline QTemporaryDir& folder()
{
    static QTemporaryDir dir;
    static programdir::Override here(dir.path());
    return dir;
}

inline void init(int* argc, char*** argv)
{
    static QCoreApplication app(*argc, *argv);
    folder();
}

// Puts the input into a file of the scratch program folder and gives its path.
inline QString asFile(const QString& name, const uint8_t* data, size_t size)
{
    const QString path = folder().filePath(name);
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(reinterpret_cast<const char*>(data), qint64(size));
    return path;
}

} // namespace fuzz
