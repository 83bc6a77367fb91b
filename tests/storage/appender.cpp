// Appends records to an archive as another workstation would: "appender PATH TAG COUNT".
// Each record holds the tag and its sequence number.
#include "storage/ArchiveFile.h"

#include <QCoreApplication>
#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 4)
        return 2;
    const int count = std::atoi(argv[3]);
    QByteArray record(2925, '\0');
    for (int i = 0; i < count; ++i) {
        const QByteArray text = QByteArray(argv[2]) + ':' + QByteArray::number(i);
        record.fill('\0');
        std::memcpy(record.data(), text.constData(), size_t(text.size()));
        ArchiveFile f; // each save opens, appends and closes, like the card does
        f.open(QString::fromLocal8Bit(argv[1]), 2925);
        f.append(record.constData());
        f.close();
    }
    return 0;
}
