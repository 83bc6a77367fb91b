#include "history/Versions.h"

#include "common/ProgramDir.h"

#include <QFileInfo>

namespace history {

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
                photos[frame] = programdir::file(k.file);
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
