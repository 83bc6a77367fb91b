#include "history/Versions.h"

#include "documentation/VersionBlock.h"
#include "sidefiles/Kinds.h"
#include "storage/CardFiles.h"
#include "storage/ProgramDir.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

#include <algorithm>

namespace history {
namespace {
// The file a kept photo's name in the journal stands for: a file directly inside one of the
// history's photo folders, named as the program names them. Any other name (a forged
// journal's "../", an absolute path, a backslash or drive, a link leading out of the folder)
// stands for no photo, so that the history screen never reads a file it did not keep.
QString keptFile(const QString& name)
{
    for (const QString& folder : {QStringLiteral("Inventario/Cronologia"), QStringLiteral("Restauri/Cronologia")}) {
        if (!name.startsWith(folder + QLatin1Char('/')))
            continue;
        const QString base = name.mid(folder.size() + 1);
        const bool plain = !base.isEmpty() && base != QLatin1String(".") && base != QLatin1String("..")
                           && std::none_of(base.begin(), base.end(), [](QChar c) {
                                  return c == u'/' || c == u'\\' || c == u':' || c.unicode() < 0x20;
                              });
        const QString path = programdir::file(name);
        const QFileInfo real(QFileInfo(path).canonicalFilePath());
        if (plain && real.isFile() && real.absolutePath() == QDir(programdir::file(folder)).canonicalPath())
            return path;
        return QString();
    }
    return QString();
}
} // namespace

std::vector<Version> versions(const std::vector<journal::Entry>& entries, const RecordKind& kind,
                              const QStringList& currentPhotos, const QString& documentationFolder)
{
    std::vector<Version> out;
    out.reserve(entries.size());
    // Walking back in time, a save that kept a photo says what the versions before it showed.
    QStringList photos = currentPhotos;
    // Likewise for the documentation: a photo's name stands for the file in the card's folder
    // until a newer save took that file out (removed or turned), and then for the kept one.
    QHash<QString, QString> keptSince;
    // A save that did not change the documentation stores none: its version has the one before.
    std::vector<bool> stored;
    for (const journal::Entry& e : entries) {
        Version v;
        v.entry = e;
        v.fields = kind.fieldsOf(e.record);
        v.photos = photos;
        for (const journal::KeptPhoto& k : e.kept) {
            const qsizetype frame = kind.frames.indexOf(k.frame);
            if (frame >= 0 && frame < photos.size())
                photos[frame] = keptFile(k.file);
        }
        const std::optional<cardfiles::Block> pieces = cardfiles::decode(e.extra);
        if (pieces)
            v.pieces = pieces->pieces;
        const std::optional<documentation::Block> block =
            pieces && pieces->pieces.contains(cardfiles::kDocumentation)
                ? documentation::decodeBlock(pieces->pieces.value(cardfiles::kDocumentation))
                : std::nullopt;
        stored.push_back(bool(block));
        if (block) {
            v.documentation = documentation::decode(block->list).photos;
            for (const documentation::Photo& p : std::as_const(v.documentation)) {
                const QString folded = p.file.toCaseFolded();
                const QString here = documentationFolder + u'/' + p.file;
                v.documentationFiles << (keptSince.contains(folded) ? keptSince.value(folded)
                                         : !documentationFolder.isEmpty() && QFileInfo(here).isFile() ? here
                                                                                                      : QString());
            }
            for (const documentation::Kept& k : block->kept)
                keptSince.insert(k.name.toCaseFolded(), keptFile(k.file));
        }
        out.push_back(std::move(v));
    }
    // Walking forward in time, a version that did not change a kind has the piece before it.
    for (size_t i = out.size(); i-- > 1;) {
        if (!stored[i - 1]) {
            out[i - 1].documentation = out[i].documentation;
            out[i - 1].documentationFiles = out[i].documentationFiles;
        }
        for (auto it = out[i].pieces.cbegin(); it != out[i].pieces.cend(); ++it)
            if (!out[i - 1].pieces.contains(it.key()))
                out[i - 1].pieces.insert(it.key(), it.value());
    }
    for (size_t i = 0; i + 1 < out.size(); ++i) {
        const QStringList& older = out[i + 1].fields;
        for (qsizetype f = 0; f < out[i].fields.size() && f < kind.captions.size(); ++f)
            if (out[i].fields[f] != older.value(f))
                out[i].changed << kind.captions[f];
        for (const sidefiles::Kind& side : sidefiles::kinds()) {
            const QString what = side.changes(out[i].pieces.value(side.tag), out[i + 1].pieces.value(side.tag));
            if (!what.isEmpty())
                out[i].changed << what;
        }
    }
    return out;
}

QString when(const journal::Entry& entry)
{
    return entry.when.toLocalTime().toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
}

} // namespace history
