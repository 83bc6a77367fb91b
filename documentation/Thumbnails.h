#pragma once
#include <QImage>
#include <QObject>
#include <QString>

#include <memory>

// The small pictures of a card's photos. They are made in the background, in threads of
// their own, and kept as a cache beside the photos (the folder "Miniature" of the card's
// documentation folder): a cache only, rebuilt whenever it is missing or stale, and never
// the only copy of anything (backups leave it out).
namespace thumbnails {

// The longest side of a thumbnail, in pixels.
constexpr int kSide = 240;
// The cache folder's name inside a card's documentation folder.
inline const QString kFolder = QStringLiteral("Miniature");

// The thumbnail of the photo at path, upright: from the cache when it was made from the
// photo as it is now, else made from the photo and put in the cache (where the folder can be
// written). Null when the photo cannot be read. Safe to call from any thread.
QImage load(const QString& photoPath, int side = kSide);
// Puts a thumbnail made elsewhere (from the bytes just written) into the cache.
void store(const QString& photoPath, const QImage& thumbnail);

} // namespace thumbnails

// Makes thumbnails (or larger previews) in a pool of threads and hands each to the thread
// that made the loader. The newest request is served first, so that what the user looks at
// now fills in before what was asked for earlier; a request made again moves to the front.
class ThumbnailLoader : public QObject {
    Q_OBJECT
public:
    explicit ThumbnailLoader(QObject* parent = nullptr);
    // Drops what waits and waits for what is being made.
    ~ThumbnailLoader() override;
    ThumbnailLoader(const ThumbnailLoader&) = delete;
    ThumbnailLoader& operator=(const ThumbnailLoader&) = delete;

    // side: the longest side wanted (the cache holds kSide only; other sizes are decoded).
    void request(quint64 key, const QString& path, int side = thumbnails::kSide);
    // Drops every request not yet started.
    void cancel();
    // Requests waiting or being made.
    int pending() const;

signals:
    // image is null when the photo cannot be read.
    void ready(quint64 key, const QImage& image);

private:
    struct Shared;
    // One worker: makes the newest request until none waits.
    static void work(const std::shared_ptr<Shared>& shared, ThumbnailLoader* self);
    std::shared_ptr<Shared> shared_;
};
