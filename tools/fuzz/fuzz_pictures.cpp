// Broken pictures: the photo, logo and chosen-file loading path (JPEG and BMP), and the Exif
// block of a photo added to a card's documentation: its orientation and date read, the file
// judged whole or not, and the orientation tag set.
#include "FuzzMain.h"

#include "documentation/Exif.h"
#include "storage/PhotoFiles.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    fuzz::init(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString jpeg = fuzz::asFile(QStringLiteral("Opera_1.jpg"), data, size);
    (void)photofiles::decode(jpeg, "jpeg");
    (void)photofiles::readChosen(jpeg);
    const QString bmp = fuzz::asFile(QStringLiteral("Logo.bmp"), data, size);
    (void)photofiles::decode(bmp, "bmp");

    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const exif::Info info = exif::read(bytes);
    if (info.orientation < 0 || info.orientation > 8)
        __builtin_trap();
    (void)exif::complete(bytes);
    // Where the tag can be set without encoding the picture anew, it reads back as set.
    const int turned = exif::turnedClockwise(info.orientation);
    if (const std::optional<QByteArray> tagged = exif::withOrientation(bytes, turned))
        if (exif::read(*tagged).orientation != turned)
            __builtin_trap();
    return 0;
}
