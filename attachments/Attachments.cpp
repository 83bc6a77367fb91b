#include "attachments/Attachments.h"

#include "storage/FileNames.h"
#include "storage/IoError.h"
#include "storage/Platform.h"
#include "storage/ProgramDir.h"
#include "storage/SafeFile.h"
#include "storage/Text.h"

#include <QFile>
#include <QFileInfo>

namespace attachments {

QString folder()
{
    return programdir::file(QStringLiteral("Documenti_Allegati"));
}

QString shownName(const QString& stored)
{
    const qsizetype nul = stored.indexOf(QChar(0));
    return text::trim(nul < 0 ? stored : stored.left(nul));
}

QString bareName(const QString& stored)
{
    QString name = shownName(stored);
    for (QChar c : name)
        if (c.category() == QChar::Other_Control)
            return {};
    const qsizetype cut = std::max(name.lastIndexOf(u'/'), name.lastIndexOf(u'\\'));
    if (cut >= 0)
        name = name.mid(cut + 1);
    if (name == QStringLiteral(".") || name == QStringLiteral(".."))
        return {};
    return name;
}

QString pathOf(const QString& stored)
{
    const QString name = bareName(stored);
    return name.isEmpty() ? QString() : folder() + QLatin1Char('/') + name;
}

filenames::Portable portableName(const QString& chosen)
{
    return filenames::portable(chosen, kMaxName, QStringLiteral("allegato"));
}

QString storableName(const QString& chosen)
{
    return portableName(chosen).name;
}

QString freeName(const QString& name)
{
    return filenames::freeName(folder(), name, kMaxName);
}

QString existingAlike(const QString& name)
{
    return filenames::existingAlike(folder(), name);
}

bool sameFile(const QString& a, const QString& b)
{
    try {
        const platform::Status sa = platform::status(platform::encodeName(a), true);
        const platform::Status sb = platform::status(platform::encodeName(b), true);
        return sa.kind == platform::Kind::File && sb.kind == platform::Kind::File && sa.device == sb.device
               && sa.inode == sb.inode;
    } catch (const IoError&) {
        return false;
    }
}

void copy(const QString& source, const QString& target, const std::function<bool(qint64, qint64)>& progress)
{
    QFile in(source);
    if (!QFileInfo(source).isFile() || !in.open(QIODevice::ReadOnly))
        throw IoError(QStringLiteral("cannot read %1").arg(source));
    const qint64 total = in.size();
    SafeFile out(target);
    QByteArray block(4 * 1024 * 1024, Qt::Uninitialized);
    qint64 done = 0;
    for (;;) {
        const qint64 got = in.read(block.data(), block.size());
        if (got < 0)
            throw IoError(QStringLiteral("cannot read %1: %2").arg(source, in.errorString()));
        if (got == 0)
            break;
        if (out.device().write(block.constData(), got) != got)
            throw IoError(QStringLiteral("cannot write %1").arg(target));
        done += got;
        if (progress && !progress(done, total))
            throw IoError(QStringLiteral("copy of %1 stopped").arg(source));
    }
    out.commit();
}

} // namespace attachments
