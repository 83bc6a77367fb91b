#include "documentation/VersionBlock.h"

#include "storage/Bytes.h"
#include "storage/Text.h"

#include <QHash>
#include <QtEndian>

#include <cstring>

namespace documentation {
namespace {
using bytes::putText;
using bytes::Reader;
constexpr char kMagic[4] = {'B', 'R', 'V', 'D'};
constexpr quint8 kBlockVersion = 1;

// "1 didascalia", "2 didascalie".
QString counted(qsizetype n, const char* one, const char* many)
{
    return text::counted(n, QString::fromUtf8(one), QString::fromUtf8(many));
}
} // namespace

QByteArray encodeBlock(const Block& block)
{
    QByteArray out(kMagic, 4);
    out.append(char(kBlockVersion));
    bytes::put<quint32>(out, quint32(block.list.size()));
    out.append(block.list);
    bytes::put<quint16>(out, quint16(std::min<qsizetype>(block.kept.size(), 65535)));
    for (qsizetype i = 0; i < block.kept.size() && i < 65535; ++i) {
        putText(out, block.kept[i].name);
        putText(out, block.kept[i].file);
    }
    return out;
}

std::optional<Block> decodeBlock(QByteArrayView bytes)
{
    if (bytes.size() < 5 || std::memcmp(bytes.data(), kMagic, 4) != 0 || quint8(bytes[4]) != kBlockVersion)
        return std::nullopt;
    Reader r(bytes.sliced(5));
    Block block;
    quint32 size = 0;
    QByteArrayView list;
    quint16 count = 0;
    if (!r.get(size) || !r.take(size, list) || !r.get(count))
        return std::nullopt;
    block.list = list.toByteArray();
    for (quint16 i = 0; i < count; ++i) {
        Kept k;
        if (!r.text(k.name) || !r.text(k.file))
            return std::nullopt;
        block.kept.append(k);
    }
    if (!r.atEnd())
        return std::nullopt;
    return block;
}

QString changes(const QList<Photo>& newer, const QList<Photo>& older)
{
    QHash<QString, const Photo*> before;
    for (const Photo& p : older)
        before.insert(p.file.toCaseFolded(), &p);
    QHash<QString, qsizetype> after;
    for (qsizetype i = 0; i < newer.size(); ++i)
        after.insert(newer[i].file.toCaseFolded(), i);
    qsizetype added = 0, removed = 0, turned = 0, captions = 0, phases = 0, dates = 0;
    QStringList commonNewer, commonOlder;
    for (const Photo& p : newer) {
        const Photo* was = before.value(p.file.toCaseFolded());
        if (!was) {
            ++added;
            continue;
        }
        commonNewer << p.file.toCaseFolded();
        turned += was->crc != p.crc || was->size != p.size;
        captions += was->caption != p.caption;
        phases += was->phase != p.phase;
        dates += was->taken != p.taken;
    }
    for (const Photo& p : older) {
        if (after.contains(p.file.toCaseFolded()))
            commonOlder << p.file.toCaseFolded();
        else
            ++removed;
    }
    QStringList parts;
    if (added)
        parts << counted(added, "foto aggiunta", "foto aggiunte");
    if (removed)
        parts << counted(removed, "foto rimossa", "foto rimosse");
    if (turned)
        parts << counted(turned, "foto ruotata", "foto ruotate");
    if (captions)
        parts << counted(captions, "didascalia", "didascalie");
    if (phases)
        parts << counted(phases, "fase", "fasi");
    if (dates)
        parts << counted(dates, "data", "date");
    if (commonNewer != commonOlder)
        parts << QStringLiteral("ordine");
    if (parts.isEmpty())
        return {};
    return QStringLiteral("Documentazione: ") + parts.join(QStringLiteral(", "));
}

} // namespace documentation
