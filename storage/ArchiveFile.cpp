#include "storage/ArchiveFile.h"

#include "storage/IoError.h"
#include "storage/Platform.h"

#include <cstring>

namespace {
constexpr qint64 kWindowBytes = 1024 * 1024;
} // namespace

FileLock::FileLock(int fd, Mode mode) : fd_(fd)
{
    switch (platform::lockFile(fd_, mode == Mode::Shared ? platform::Lock::Shared : platform::Lock::Exclusive)) {
    case platform::Locked::Yes: locked_ = true; return;
    case platform::Locked::NoLocks: return;
    case platform::Locked::Failed:
        throw IoError(QStringLiteral("cannot lock the archive: %1").arg(platform::lastError()));
    }
}

FileLock::~FileLock()
{
    if (locked_)
        platform::unlockFile(fd_);
}

bool FileLock::isFree(int fd)
{
    return platform::lockIsFree(fd);
}

SharedLock::SharedLock(const QString& path) : fd_(platform::openFile(path, platform::Open::Read))
{
    if (fd_ >= 0)
        lock_ = std::make_unique<FileLock>(fd_, FileLock::Mode::Shared);
}

SharedLock::~SharedLock()
{
    lock_.reset();
    platform::closeFile(fd_);
}

bool SharedLock::held(const QString& path)
{
    const int fd = platform::openFile(path, platform::Open::ReadWrite);
    if (fd < 0)
        return true; // what cannot be examined is left alone
    const bool free = FileLock::isFree(fd);
    platform::closeFile(fd);
    return !free;
}

void readFileWhole(const QString& path, const std::function<void(qint64)>& begin,
                   const std::function<void(const char*, qint64)>& sink)
{
    auto cause = [&path](const char* what) {
        return IoError(QStringLiteral("%1 %2: %3").arg(QString::fromLatin1(what), path, platform::lastError()));
    };
    const int fd = platform::openFile(path, platform::Open::Read);
    if (fd < 0)
        throw cause("cannot open");
    struct Closer {
        int fd;
        ~Closer() { platform::closeFile(fd); }
    } closer{fd};
    const qint64 size = platform::fileSize(fd);
    if (size < 0)
        throw cause("cannot examine");
    begin(size);
    QByteArray block(int(qMin<qint64>(kWindowBytes, qMax<qint64>(size, 1))), Qt::Uninitialized);
    qint64 done = 0;
    while (done < size) {
        const qint64 got = platform::readAt(fd, done, block.data(), qMin<qint64>(block.size(), size - done));
        if (got < 0)
            throw cause("cannot read");
        if (got == 0)
            throw IoError(QStringLiteral("%1 ended after %2 of %3 bytes").arg(path).arg(done).arg(size));
        sink(block.constData(), got);
        done += got;
    }
}

ArchiveFile::ArchiveFile() = default;

ArchiveFile::~ArchiveFile()
{
    close();
}

void ArchiveFile::lock()
{
    requireOpen();
    if (!lock_)
        lock_ = std::make_unique<FileLock>(file_.handle(), FileLock::Mode::Exclusive);
}

void ArchiveFile::unlock()
{
    lock_.reset();
}

void ArchiveFile::fail(const QString& what) const
{
    const bool full = platform::diskFull();
    throw IoError(QStringLiteral("%1 (%2): %3").arg(what, file_.fileName(), file_.errorString()), {}, full);
}

void ArchiveFile::requireOpen() const
{
    if (!file_.isOpen())
        throw IoError(QStringLiteral("archive not open"));
}

void ArchiveFile::open(const QString& path, int recordSize)
{
    close();
    file_.setFileName(path);
    size_ = recordSize;
    pos_ = 0;
    windowCount_ = 0;
    // ReadWrite creates a missing file and refuses a file or folder we may not write.
    if (!file_.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        fail(QStringLiteral("cannot open the archive"));
}

qint64 ArchiveFile::count() const
{
    requireOpen();
    return file_.size() / size_;
}

void ArchiveFile::seek(qint64 index)
{
    requireOpen();
    if (index < 0 || index > count())
        throw IoError(QStringLiteral("seek to record %1 outside the archive").arg(index));
    pos_ = index;
}

void ArchiveFile::read(char* record)
{
    std::memcpy(record, next(), size_t(size_));
}

const char* ArchiveFile::next()
{
    requireOpen();
    if (pos_ < windowFirst_ || pos_ >= windowFirst_ + windowCount_) {
        // One record for a read on its own (a card shown, the record a save replaces); the
        // whole window once the reads go on where the last one ended (a scan).
        const bool streaming = windowCount_ > 0 && pos_ == windowFirst_ + windowCount_;
        const qint64 perWindow = streaming ? qMax<qint64>(1, kWindowBytes / size_) : 1;
        window_.resize(perWindow * size_);
        if (!file_.seek(pos_ * size_))
            fail(QStringLiteral("cannot position the archive"));
        const qint64 got = file_.read(window_.data(), window_.size());
        if (got < 0)
            fail(QStringLiteral("cannot read the archive"));
        windowFirst_ = pos_;
        windowCount_ = got / size_;
        if (windowCount_ == 0)
            throw IoError(QStringLiteral("no whole record at position %1 of %2").arg(pos_ + 1).arg(file_.fileName()));
    }
    const char* record = window_.constData() + (pos_ - windowFirst_) * size_;
    ++pos_;
    return record;
}

void ArchiveFile::writeAt(qint64 index, const char* record)
{
    windowCount_ = 0;
    if (!file_.seek(index * size_))
        fail(QStringLiteral("cannot position the archive"));
    platform::clearLastError();
    if (!platform::mayChange(platform::Change::Write) || file_.write(record, size_) != size_)
        fail(QStringLiteral("cannot write the archive"));
}

void ArchiveFile::write(const char* record)
{
    requireOpen();
    if (pos_ > count())
        throw IoError(QStringLiteral("write beyond the end of the archive"));
    writeAt(pos_, record);
    ++pos_;
}

qint64 ArchiveFile::append(const char* record)
{
    requireOpen();
    // Under the lock the caller holds, or one taken for this append alone.
    std::unique_ptr<FileLock> own;
    if (!lock_)
        own = std::make_unique<FileLock>(file_.handle(), FileLock::Mode::Exclusive);
    // A partial last record (an interrupted write) is overwritten, never extended.
    const qint64 index = count();
    writeAt(index, record);
    pos_ = index + 1;
    return pos_;
}

void ArchiveFile::truncate(qint64 count)
{
    requireOpen();
    windowCount_ = 0;
    if (!platform::mayChange(platform::Change::Truncate) || !file_.resize(count * size_))
        fail(QStringLiteral("cannot shorten the archive"));
    pos_ = std::min(pos_, count);
}

void ArchiveFile::sync()
{
    requireOpen();
    if (!platform::syncFile(file_.handle()))
        throw IoError(QStringLiteral("cannot force %1 to the disk: %2").arg(file_.fileName(), platform::lastError()),
                      {}, platform::diskFull());
}

void ArchiveFile::close()
{
    lock_.reset();
    windowCount_ = 0;
    if (file_.isOpen())
        file_.close();
}
