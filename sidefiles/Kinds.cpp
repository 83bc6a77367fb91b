#include "sidefiles/Kinds.h"

#include "documentation/PhotoList.h"
#include "documentation/VersionBlock.h"
#include "storage/CardFiles.h"

namespace sidefiles {
namespace {
QList<documentation::Photo> photosOf(const QByteArray& piece)
{
    const std::optional<documentation::Block> block = documentation::decodeBlock(piece);
    return block ? documentation::decode(block->list).photos : QList<documentation::Photo>();
}
} // namespace

const QList<Kind>& kinds()
{
    static const QList<Kind> all{
        {cardfiles::kDocumentation,
         [](const QByteArray& newer, const QByteArray& older) {
             return documentation::changes(photosOf(newer), photosOf(older));
         }},
    };
    return all;
}

} // namespace sidefiles
