#include "documentation/Import.h"

#include "documentation/Exif.h"
#include "documentation/Thumbnails.h"
#include "storage/ArchiveFile.h"
#include "storage/Crc32.h"
#include "storage/FileNames.h"
#include "storage/IoError.h"
#include "storage/PhotoFiles.h"
#include "storage/Platform.h"
#include "storage/SafeFile.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QMutex>
#include <QThreadPool>
#include <QWaitCondition>

#include <deque>

namespace documentation {
namespace {
// The longest name of a photo in a card's folder.
constexpr int kMaxName = 120;

Imported refused(const QString& source, const QString& message, const QString& cause = {})
{
    Imported r;
    r.source = source;
    r.message = message.arg(source);
    r.cause = cause;
    return r;
}

// The name the photo takes: the file's own, made portable, with a JPEG's extension.
QString wantedName(const QString& chosen, bool keepExtension)
{
    QString stem, extension;
    filenames::split(chosen, stem, extension);
    const QString lower = extension.toLower();
    if (!keepExtension || (lower != QStringLiteral(".jpg") && lower != QStringLiteral(".jpeg")))
        extension = QStringLiteral(".jpg");
    QString name = filenames::portable(stem + extension, kMaxName, QStringLiteral("Foto")).name;
    if (!isPhotoName(name))
        name = QStringLiteral("Foto.jpg");
    return name;
}

const QString kNotWritten = QStringLiteral(
    "La foto \u00AB%1\u00BB non \u00E8 stata aggiunta: non \u00E8 stato possibile scriverla nella cartella della "
    "documentazione. Controllare che il disco non sia pieno e che la cartella si possa scrivere.");

// The rest of an addition once the bytes to store are known.
Imported store(const Target& target, const QString& source, const QString& wanted, const QByteArray& bytes,
               const QImage& thumbnail, QDate taken, const QSet<Identity>& known)
{
    Imported r;
    r.source = source;
    r.photo.size = bytes.size();
    r.photo.crc = crc32(bytes);
    if (known.contains({r.photo.size, r.photo.crc})) {
        r.outcome = Imported::Outcome::Duplicate;
        r.message =
            QStringLiteral("La foto \u00AB%1\u00BB \u00E8 gi\u00E0 nella documentazione: non \u00E8 stata aggiunta "
                           "una seconda volta.")
                .arg(source);
        return r;
    }
    try {
        r.photo.file = storeBytes(target, wanted, bytes);
    } catch (const IoError& e) {
        return refused(source, kNotWritten, e.cause());
    }
    r.photo.taken = taken;
    r.thumbnail = thumbnail;
    thumbnails::store(stagedPath(target, r.photo.file), thumbnail);
    r.outcome = Imported::Outcome::Added;
    return r;
}

QImage thumbnailOf(const QImage& picture)
{
    if (picture.width() <= thumbnails::kSide && picture.height() <= thumbnails::kSide)
        return picture;
    return picture.scaled(thumbnails::kSide, thumbnails::kSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

QByteArray asJpeg(const QImage& picture)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!picture.save(&buffer, "JPEG", 92))
        return {};
    return bytes;
}
} // namespace

QString stagedPath(const Target& target, const QString& name)
{
    return target.session->stagedPath(target.position, name);
}

QString storeBytes(const Target& target, const QString& wanted, const QByteArray& bytes)
{
    if (!target.session)
        throw IoError(QStringLiteral("no working session to add photos to"));
    QString name;
    {
        ArchiveFile archive;
        archive.open(target.archive, target.recordSize);
        archive.lock();
        QSet<QString> waiting;
        for (const QString& added : cardfiles::stagedAdditions(target.filesFolder, target.position).keys())
            waiting.insert(added.toCaseFolded());
        name = filenames::freeName(target.folder, wanted, kMaxName, waiting);
        // The name is taken once its staged file stands, still under the lock.
        const int fd = platform::createFile(platform::encodeName(stagedPath(target, name)));
        if (fd < 0)
            throw IoError(QStringLiteral("cannot create %1").arg(stagedPath(target, name)));
        platform::closeFile(fd);
    }
    const QString path = stagedPath(target, name);
    try {
        writeFileSafely(path, bytes);
    } catch (const IoError&) {
        platform::removeFile(path);
        throw;
    }
    return name;
}

Imported importFile(const Target& target, const QString& path, const QSet<Identity>& known)
{
    const QFileInfo info(path);
    const QString shown = info.fileName().isEmpty() ? path : info.fileName();
    if (!info.exists())
        return refused(shown, QStringLiteral("Il file \u00AB%1\u00BB non esiste pi\u00F9: non \u00E8 stato aggiunto."));
    if (info.isDir())
        return refused(shown, QStringLiteral("\u00AB%1\u00BB \u00E8 una cartella: si possono aggiungere soltanto file "
                                             "di immagine (per aggiungere le foto di una cartella, sceglierle nella "
                                             "finestra di scelta dei file)."));
    if (!info.isFile())
        return refused(shown, QStringLiteral("\u00AB%1\u00BB non \u00E8 un file di immagine ma un file speciale del "
                                             "sistema (una coda o un dispositivo): non \u00E8 stato aggiunto."));
    if (info.size() > kLargestPhoto)
        return refused(shown, QStringLiteral("La foto \u00AB%1\u00BB \u00E8 troppo grande (oltre 512 MB): non "
                                             "\u00E8 stata aggiunta."));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return refused(shown,
                       QStringLiteral("Il file \u00AB%1\u00BB non si pu\u00F2 leggere: non \u00E8 stato aggiunto."),
                       file.errorString());
    const QByteArray bytes = file.read(kLargestPhoto + 1);
    if (file.error() != QFileDevice::NoError || bytes.size() != info.size())
        return refused(shown,
                       QStringLiteral("Il file \u00AB%1\u00BB non si pu\u00F2 leggere: non \u00E8 stato aggiunto."),
                       file.errorString());
    file.close();

    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    const QByteArray format = QImageReader(&buffer).format();
    buffer.seek(0);
    if (format.isEmpty())
        return refused(shown, QStringLiteral("Il file \u00AB%1\u00BB non \u00E8 un'immagine che il programma sa "
                                             "leggere: non \u00E8 stato aggiunto."));
    // A header that claims a picture no camera makes is refused before anything is decoded.
    if (const QString why = photofiles::oversize(shown, bytes); !why.isEmpty()) {
        Imported r;
        r.source = shown;
        r.message = why;
        return r;
    }
    const QString damaged = QStringLiteral(
        "La foto \u00AB%1\u00BB \u00E8 danneggiata e non si pu\u00F2 leggere: non \u00E8 stata aggiunta.");
    if (format == "jpeg") {
        // A JPEG is stored as it is: it must be whole, and readable.
        if (!exif::complete(bytes))
            return refused(shown, QStringLiteral("La foto \u00AB%1\u00BB \u00E8 incompleta (il file \u00E8 troncato "
                                                 "o danneggiato): non \u00E8 stata aggiunta."));
        const std::optional<QImage> thumbnail =
            photofiles::decodeFitting(&buffer, QSize(thumbnails::kSide, thumbnails::kSide));
        if (!thumbnail)
            return refused(shown, damaged);
        const exif::Info metadata = exif::read(bytes);
        QDate taken = metadata.taken.date();
        if (!taken.isValid())
            taken = info.lastModified().date();
        Imported r = store(target, shown, wantedName(shown, true), bytes, *thumbnail, taken, known);
        if (r.outcome == Imported::Outcome::Added && metadata.damaged)
            r.message = QStringLiteral("I dati della foto \u00AB%1\u00BB (Exif) sono danneggiati: come data "
                                       "\u00E8 stata presa quella del file.")
                            .arg(shown);
        return r;
    }
    // Any other picture becomes a JPEG, at most photofiles::kMaxSide pixels on its longest side.
    const std::optional<QImage> picture =
        photofiles::decodeFitting(&buffer, QSize(photofiles::kMaxSide, photofiles::kMaxSide));
    if (!picture)
        return refused(shown, damaged);
    const QByteArray jpeg = asJpeg(*picture);
    if (jpeg.isEmpty())
        return refused(shown, damaged, QStringLiteral("cannot encode as JPEG"));
    return store(target, shown, wantedName(shown, false), jpeg, thumbnailOf(*picture), info.lastModified().date(),
                 known);
}

Imported importPicture(const Target& target, const QImage& picture, const QString& name, const QSet<Identity>& known)
{
    const QByteArray jpeg = picture.isNull() ? QByteArray() : asJpeg(picture);
    if (jpeg.isEmpty())
        return refused(name, QStringLiteral("La foto \u00AB%1\u00BB non si pu\u00F2 salvare: non \u00E8 stata "
                                            "aggiunta."));
    return store(target, name, wantedName(name, false), jpeg, thumbnailOf(picture), QDate::currentDate(), known);
}

struct Importer::Shared {
    QMutex mutex;
    QWaitCondition idle;
    std::deque<std::function<Imported(const QSet<Identity>&)>> jobs;
    QSet<Identity> known; // the set's photos as of the last request, and those handed over since
    QSet<Identity> inFlight; // added here and not yet handed over
    int busy = 0;
    bool running = false;
    bool stopping = false;
    QThreadPool pool;
};

Importer::Importer(QObject* parent) : QObject(parent), shared_(std::make_shared<Shared>())
{
    shared_->pool.setMaxThreadCount(1);
}

Importer::~Importer()
{
    {
        QMutexLocker lock(&shared_->mutex);
        shared_->stopping = true;
        shared_->jobs.clear();
    }
    shared_->pool.waitForDone();
}

void Importer::add(const Target& target, const QStringList& paths, const QSet<Identity>& known)
{
    for (const QString& path : paths)
        enqueue([target, path](const QSet<Identity>& seen) { return importFile(target, path, seen); }, known);
}

void Importer::addPicture(const Target& target, const QImage& picture, const QString& name, const QSet<Identity>& known)
{
    enqueue([target, picture, name](const QSet<Identity>& seen) { return importPicture(target, picture, name, seen); },
            known);
}

void Importer::enqueue(std::function<Imported(const QSet<Identity>&)> job, const QSet<Identity>& known)
{
    QMutexLocker lock(&shared_->mutex);
    shared_->known = known;
    shared_->jobs.push_back(std::move(job));
    if (shared_->running)
        return;
    shared_->running = true;
    // The importer outlives its worker (its destructor waits for it), so the worker may call it.
    shared_->pool.start([shared = shared_, self = this] { work(shared, self); });
}

void Importer::work(const std::shared_ptr<Shared>& shared, Importer* self)
{
    while (true) {
        std::function<Imported(const QSet<Identity>&)> next;
        QSet<Identity> seen;
        {
            QMutexLocker lock(&shared->mutex);
            if (shared->stopping || shared->jobs.empty()) {
                shared->running = false;
                shared->idle.wakeAll();
                QMetaObject::invokeMethod(
                    self, [self] { emit self->finished(); }, Qt::QueuedConnection);
                return;
            }
            next = std::move(shared->jobs.front());
            shared->jobs.pop_front();
            seen = shared->known + shared->inFlight;
            ++shared->busy;
        }
        const Imported result = next(seen);
        const Identity identity{result.photo.size, result.photo.crc};
        const bool added = result.outcome == Imported::Outcome::Added;
        QMutexLocker lock(&shared->mutex);
        --shared->busy;
        if (added)
            shared->inFlight.insert(identity);
        QMetaObject::invokeMethod(
            self,
            [self, shared, result, identity, added] {
                if (added) {
                    QMutexLocker handed(&shared->mutex);
                    shared->inFlight.remove(identity);
                    shared->known.insert(identity);
                }
                emit self->imported(result);
            },
            Qt::QueuedConnection);
    }
}

void Importer::cancel()
{
    QMutexLocker lock(&shared_->mutex);
    shared_->jobs.clear();
}

int Importer::pending() const
{
    QMutexLocker lock(&shared_->mutex);
    return int(shared_->jobs.size()) + shared_->busy;
}

void Importer::wait()
{
    QMutexLocker lock(&shared_->mutex);
    while (shared_->running)
        shared_->idle.wait(&shared_->mutex);
}

} // namespace documentation
