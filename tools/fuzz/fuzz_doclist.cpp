// A damaged, cut or hand-edited documentation list, and the documentation block a version of
// the history carries, and the block of a card's save: whatever the bytes, the reader gives photos with names the program could
// have made, none twice, captions within their length, and what it read writes back whole.
#include "FuzzMain.h"

#include "documentation/PhotoList.h"
#include "documentation/VersionBlock.h"
#include "storage/CardFiles.h"

#include <QSet>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    fuzz::init(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const documentation::List list = documentation::decode(bytes);
    QSet<QString> names;
    for (const documentation::Photo& p : list.photos) {
        if (!documentation::isPhotoName(p.file) || names.contains(p.file.toCaseFolded())
            || p.caption.size() > documentation::kMaxCaption)
            __builtin_trap();
        names.insert(p.file.toCaseFolded());
    }
    // What was read, written again, reads back whole: the same photos, in the same order.
    const documentation::List again = documentation::decode(documentation::encode(list.photos));
    if (again.damaged || again.newer() || again.photos.size() != list.photos.size())
        __builtin_trap();
    for (qsizetype i = 0; i < list.photos.size(); ++i)
        if (again.photos[i].file != list.photos[i].file || again.photos[i].taken != list.photos[i].taken
            || again.photos[i].size != list.photos[i].size || again.photos[i].crc != list.photos[i].crc)
            __builtin_trap();
    // The same bytes as the block of a version: read, or refused, never more.
    if (const std::optional<documentation::Block> block = documentation::decodeBlock(bytes)) {
        if (documentation::decodeBlock(documentation::encodeBlock(*block)) != block)
            __builtin_trap();
        (void)documentation::changes(documentation::decode(block->list).photos, list.photos);
    }
    // And as the block of a save: its pieces and steps read back as written.
    if (const std::optional<cardfiles::Block> block = cardfiles::decode(bytes))
        if (cardfiles::decode(cardfiles::encode(*block)) != block)
            __builtin_trap();
    return 0;
}
