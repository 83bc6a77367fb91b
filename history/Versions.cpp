#include "history/Versions.h"

#include "storage/ProgramDir.h"

#include <QDir>
#include <QFileInfo>

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
                              const QStringList& currentPhotos)
{
    std::vector<Version> out;
    out.reserve(entries.size());
    // Walking back in time, a save that kept a photo says what the versions before it showed.
    QStringList photos = currentPhotos;
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
        out.push_back(std::move(v));
    }
    for (size_t i = 0; i + 1 < out.size(); ++i) {
        const QStringList& older = out[i + 1].fields;
        for (qsizetype f = 0; f < out[i].fields.size() && f < kind.captions.size(); ++f)
            if (out[i].fields[f] != older.value(f))
                out[i].changed << kind.captions[f];
    }
    return out;
}

QString when(const journal::Entry& entry)
{
    return entry.when.toLocalTime().toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
}

} // namespace history
