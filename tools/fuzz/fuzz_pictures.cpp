// Broken pictures: the photo, logo and chosen-file loading path (JPEG and BMP).
#include "FuzzMain.h"

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
    return 0;
}
