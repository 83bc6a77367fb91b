#include "TestPlatform.h"

#include <QFile>

#include <windows.h>

#include <psapi.h>

namespace testplatform {

bool makeFifo(const QString&)
{
    return false; // Windows' pipes live outside the file system
}

bool setMode(const QString& path, int mode)
{
    const auto name = reinterpret_cast<const wchar_t*>(path.utf16());
    const DWORD attributes = GetFileAttributesW(name);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return false; // a folder cannot be made unwritable by its attributes
    const DWORD wanted =
        (mode & 0222) == 0 ? (attributes | FILE_ATTRIBUTE_READONLY) : (attributes & ~DWORD(FILE_ATTRIBUTE_READONLY));
    return SetFileAttributesW(name, wanted) != 0;
}

int mode(const QString& path)
{
    const DWORD attributes = GetFileAttributesW(reinterpret_cast<const wchar_t*>(path.utf16()));
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return -1;
    return (attributes & FILE_ATTRIBUTE_READONLY) ? 0444 : 0666;
}

bool makeSymlink(const QString&, const QString&)
{
    return false; // a symbolic link needs a privilege ordinary users lack
}

void killSelf()
{
    TerminateProcess(GetCurrentProcess(), 137);
    ExitProcess(137);
}

bool ignoresPermissions()
{
    return false;
}

qint64 peakMemoryKb()
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    return K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)
               ? qint64(counters.PeakWorkingSetSize / 1024)
               : 0;
}

bool becomeOrdinaryUser()
{
    return false;
}

std::unique_ptr<FileSizeLimit> limitFileSize(qint64)
{
    return nullptr;
}

} // namespace testplatform
