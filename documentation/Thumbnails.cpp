#include "documentation/Thumbnails.h"

#include "storage/IoError.h"
#include "storage/PhotoFiles.h"
#include "storage/SafeFile.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QMutex>
#include <QThreadPool>

#include <vector>

namespace thumbnails {
namespace {
// The text a cached thumbnail carries: which state of its photo it was made from.
const QString kSource = QStringLiteral("Foto");

QString sourceOf(const QFileInfo& photo)
{
    return QStringLiteral("%1-%2").arg(photo.size()).arg(photo.lastModified().toMSecsSinceEpoch());
}

QString cachePath(const QFileInfo& photo)
{
    return photo.absolutePath() + u'/' + kFolder + u'/' + photo.fileName();
}
} // namespace

QImage load(const QString& photoPath, int side)
{
    const QFileInfo photo(photoPath);
    if (!photo.isFile())
        return {};
    // Only a regular file is read from the cache: a FIFO there would keep the reader waiting.
    if (side == kSide && QFileInfo(cachePath(photo)).isFile()) {
        QImageReader cached(cachePath(photo));
        if (cached.text(kSource) == sourceOf(photo)) {
            const QImage image = cached.read();
            if (!image.isNull())
                return image;
        }
    }
    const std::optional<QImage> image = photofiles::decodeFitting(photoPath, QSize(side, side));
    if (!image)
        return {};
    if (side == kSide)
        store(photoPath, *image);
    return *image;
}

void store(const QString& photoPath, const QImage& thumbnail)
{
    const QFileInfo photo(photoPath);
    if (thumbnail.isNull() || !photo.isFile() || !QDir().mkpath(photo.absolutePath() + u'/' + kFolder))
        return;
    QImage tagged = thumbnail.convertToFormat(QImage::Format_RGB32);
    tagged.setText(kSource, sourceOf(photo));
    try {
        SafeFile f(cachePath(photo));
        if (tagged.save(&f.device(), "JPEG", 85))
            f.commit();
    } catch (const IoError&) {
        // A folder that cannot be written keeps no cache: thumbnails are made each time.
    }
}

} // namespace thumbnails

struct ThumbnailLoader::Shared {
    struct Job {
        quint64 key;
        QString path;
        int side;
        quint64 order;
    };
    QMutex mutex;
    std::vector<Job> jobs;
    quint64 counter = 0;
    int workers = 0;
    int busy = 0;
    bool stopping = false;
    QThreadPool pool;

    // The newest job, taken out; false when there is none (the worker then ends).
    bool next(Job& job)
    {
        QMutexLocker lock(&mutex);
        if (stopping || jobs.empty()) {
            --workers;
            return false;
        }
        auto newest =
            std::max_element(jobs.begin(), jobs.end(), [](const Job& a, const Job& b) { return a.order < b.order; });
        job = std::move(*newest);
        jobs.erase(newest);
        ++busy;
        return true;
    }
};

ThumbnailLoader::ThumbnailLoader(QObject* parent) : QObject(parent), shared_(std::make_shared<Shared>())
{
    shared_->pool.setMaxThreadCount(std::max(1, QThread::idealThreadCount()));
}

ThumbnailLoader::~ThumbnailLoader()
{
    cancel();
    {
        QMutexLocker lock(&shared_->mutex);
        shared_->stopping = true;
    }
    shared_->pool.waitForDone();
}

void ThumbnailLoader::request(quint64 key, const QString& path, int side)
{
    QMutexLocker lock(&shared_->mutex);
    auto& jobs = shared_->jobs;
    jobs.erase(std::remove_if(jobs.begin(), jobs.end(), [&](const Shared::Job& j) { return j.key == key; }),
               jobs.end());
    jobs.push_back({key, path, side, ++shared_->counter});
    if (shared_->workers >= shared_->pool.maxThreadCount())
        return;
    ++shared_->workers;
    // The loader outlives its workers (its destructor waits for them), so they may call it.
    shared_->pool.start([shared = shared_, self = this] { work(shared, self); });
}

void ThumbnailLoader::work(const std::shared_ptr<Shared>& shared, ThumbnailLoader* self)
{
    Shared::Job job;
    while (shared->next(job)) {
        const QImage image = thumbnails::load(job.path, job.side);
        QMetaObject::invokeMethod(
            self, [self, key = job.key, image] { emit self->ready(key, image); }, Qt::QueuedConnection);
        QMutexLocker lock(&shared->mutex);
        --shared->busy;
    }
}

void ThumbnailLoader::cancel()
{
    QMutexLocker lock(&shared_->mutex);
    shared_->jobs.clear();
}

int ThumbnailLoader::pending() const
{
    QMutexLocker lock(&shared_->mutex);
    return int(shared_->jobs.size()) + shared_->busy;
}
