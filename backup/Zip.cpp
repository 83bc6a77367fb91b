#include "backup/Zip.h"

#include "storage/Platform.h"

#include <QDateTime>

#include <algorithm>
#include <cstring>
#include <zip.h>

namespace zipfile {
namespace {
constexpr qint64 kBlock = 1024 * 1024;
constexpr qint64 kSmall = 4096;
// zlib's own default: libzip would take its slowest, for a few percent less.
constexpr quint32 kDeflateLevel = 6;
constexpr quint32 kModeFile = 0100644;
constexpr quint32 kModeFolder = 040755;
constexpr quint32 kTypeMask = 0170000;

// What libzip's callbacks report when the program's own code failed: an exception cannot pass
// through C, so it waits here until libzip has returned.
struct Failure {
    std::exception_ptr exception;
    zip_error_t error{};

    Failure() { zip_error_init(&error); }
    ~Failure() { zip_error_fini(&error); }
    zip_int64_t caught(int code)
    {
        if (!exception)
            exception = std::current_exception();
        zip_error_set(&error, code, 0);
        return -1;
    }
    void rethrow() const
    {
        if (exception)
            std::rethrow_exception(exception);
    }
};

// The name as libzip marks it: UTF-8 when it is (libzip takes control characters but line
// breaks and tabs for another code page), else its bytes as they are, unmarked.
zip_flags_t encodingOf(const QByteArray& name)
{
    const bool control = std::any_of(name.begin(), name.end(),
                                     [](char c) { return quint8(c) < 0x20 && c != '\r' && c != '\n' && c != '\t'; });
    return name.isValidUtf8() && !control ? ZIP_FL_ENC_UTF_8 : ZIP_FL_ENC_GUESS;
}

QString shown(const QByteArray& name)
{
    return platform::decodeName(name);
}

// Why a write stopped: the system's reason, which QFile drops when a write stops part-way.
QString reasonOf(const QFileDevice& out)
{
    const QString system = platform::lastError();
    return system.isEmpty() ? out.errorString() : system;
}
} // namespace

// ---- writing

struct Writer::State {
    // A member's source as libzip sees it.
    struct Member {
        State* state = nullptr;
        Source* source = nullptr;
        qint64 size = -1; // known once opened
        bool open = false;
    };

    explicit State(const QString& path) : out(path) { }

    // The output: the file itself, which libzip writes in order and seeks back in to complete
    // each local header.
    static zip_int64_t output(void* self, void* data, zip_uint64_t length, zip_source_cmd_t command)
    {
        auto* s = static_cast<State*>(self);
        try {
            return s->onOutput(data, length, command);
        } catch (...) {
            return s->failure.caught(ZIP_ER_WRITE);
        }
    }
    zip_int64_t onOutput(void* data, zip_uint64_t length, zip_source_cmd_t command)
    {
        switch (command) {
        case ZIP_SOURCE_SUPPORTS: return ZIP_SOURCE_SUPPORTS_WRITABLE;
        case ZIP_SOURCE_STAT: // nothing there yet: a new zip
            zip_error_set(&failure.error, ZIP_ER_READ, ENOENT);
            return -1;
        case ZIP_SOURCE_ERROR: return zip_error_to_data(&failure.error, data, length);
        case ZIP_SOURCE_BEGIN_WRITE:
            if (!out.open(QIODevice::ReadWrite | QIODevice::Truncate))
                throw IoError(QStringLiteral("cannot write %1: %2").arg(out.fileName(), out.errorString()));
            return 0;
        case ZIP_SOURCE_WRITE: {
            platform::clearLastError();
            if (out.write(static_cast<const char*>(data), qint64(length)) != qint64(length))
                throw IoError(QStringLiteral("cannot write the zip: %1").arg(reasonOf(out)));
            return zip_int64_t(length);
        }
        case ZIP_SOURCE_SEEK_WRITE: {
            const zip_int64_t to =
                zip_source_seek_compute_offset(quint64(out.pos()), quint64(out.size()), data, length, &failure.error);
            if (to < 0)
                return -1;
            platform::clearLastError();
            if (!out.seek(to))
                throw IoError(QStringLiteral("cannot write the zip: %1").arg(reasonOf(out)));
            return 0;
        }
        case ZIP_SOURCE_TELL_WRITE: return out.pos();
        case ZIP_SOURCE_COMMIT_WRITE: {
            platform::clearLastError();
            if (!out.flush())
                throw IoError(QStringLiteral("cannot write the zip: %1").arg(reasonOf(out)));
            out.close();
            return 0;
        }
        case ZIP_SOURCE_ROLLBACK_WRITE:
        case ZIP_SOURCE_REMOVE:
            out.close(); // the caller's safe write removes the file
            return 0;
        case ZIP_SOURCE_OPEN:
        case ZIP_SOURCE_CLOSE:
        case ZIP_SOURCE_FREE:
        case ZIP_SOURCE_SEEK:
        case ZIP_SOURCE_READ:
        case ZIP_SOURCE_TELL: return 0; // nothing is read back from the output
        default: zip_error_set(&failure.error, ZIP_ER_OPNOTSUPP, 0); return -1;
        }
    }

    static zip_int64_t input(void* self, void* data, zip_uint64_t length, zip_source_cmd_t command)
    {
        auto* m = static_cast<Member*>(self);
        try {
            return m->state->onInput(*m, data, length, command);
        } catch (...) {
            return m->state->failure.caught(ZIP_ER_READ);
        }
    }
    zip_int64_t onInput(Member& m, void* data, zip_uint64_t length, zip_source_cmd_t command)
    {
        switch (command) {
        case ZIP_SOURCE_SUPPORTS: return ZIP_SOURCE_SUPPORTS_READABLE;
        case ZIP_SOURCE_STAT: {
            // libzip asks just before it writes the member: the source opens then, so that its
            // size is the one it gives.
            if (m.size < 0) {
                m.size = m.source->open();
                m.open = true;
            }
            auto* st = static_cast<zip_stat_t*>(data);
            zip_stat_init(st);
            st->valid = ZIP_STAT_SIZE | ZIP_STAT_MTIME;
            st->size = quint64(m.size);
            st->mtime = now;
            return sizeof(zip_stat_t);
        }
        case ZIP_SOURCE_OPEN:
            if (m.size < 0) {
                m.size = m.source->open();
                m.open = true;
            }
            return 0;
        case ZIP_SOURCE_READ: return m.source->read(static_cast<char*>(data), qint64(length));
        case ZIP_SOURCE_CLOSE:
            if (m.open) {
                m.open = false;
                m.source->close();
            }
            return 0;
        case ZIP_SOURCE_ERROR: return zip_error_to_data(&failure.error, data, length);
        case ZIP_SOURCE_FREE: return 0;
        default: zip_error_set(&failure.error, ZIP_ER_OPNOTSUPP, 0); return -1;
        }
    }

    QFile out;
    Failure failure;
    zip_t* za = nullptr;
    QList<std::shared_ptr<Member>> members;
    time_t now = QDateTime::currentSecsSinceEpoch();
};

Writer::Writer(const QString& path) : s_(std::make_unique<State>(path))
{
    zip_source_t* output = zip_source_function_create(&State::output, s_.get(), nullptr);
    if (!output)
        throw IoError(QStringLiteral("cannot start a zip"));
    zip_error_t error;
    zip_error_init(&error);
    s_->za = zip_open_from_source(output, ZIP_CREATE | ZIP_TRUNCATE, &error);
    const QString why = QString::fromLocal8Bit(zip_error_strerror(&error));
    zip_error_fini(&error);
    if (!s_->za) {
        zip_source_free(output);
        s_->failure.rethrow();
        throw IoError(QStringLiteral("cannot start a zip: %1").arg(why));
    }
}

Writer::~Writer()
{
    if (s_->za)
        zip_discard(s_->za); // nothing more is written into a file being thrown away
}

void Writer::add(qint64 index, bool folder)
{
    if (index < 0)
        throw IoError(QStringLiteral("cannot add to the zip: %1").arg(QString::fromLocal8Bit(zip_strerror(s_->za))));
    zip_file_set_external_attributes(s_->za, quint64(index), 0, ZIP_OPSYS_UNIX,
                                     (folder ? kModeFolder : kModeFile) << 16 | (folder ? 0x10 : 0));
    zip_file_set_mtime(s_->za, quint64(index), s_->now, 0);
}

void Writer::addFolder(const QByteArray& name)
{
    // libzip adds the folder's '/' itself.
    add(zip_dir_add(s_->za, name.chopped(1).constData(), encodingOf(name)), true);
}

void Writer::addFile(const QByteArray& name, bool store, Source& source)
{
    auto member = std::make_shared<State::Member>();
    member->state = s_.get();
    member->source = &source;
    zip_source_t* input = zip_source_function_create(&State::input, member.get(), nullptr);
    if (!input)
        throw IoError(QStringLiteral("cannot add %1 to the zip").arg(shown(name)));
    const zip_int64_t index = zip_file_add(s_->za, name.constData(), input, encodingOf(name));
    if (index < 0)
        zip_source_free(input);
    add(index, false);
    s_->members.append(member);
    zip_set_file_compression(s_->za, quint64(index), store ? ZIP_CM_STORE : ZIP_CM_DEFLATE, store ? 0 : kDeflateLevel);
}

void Writer::close()
{
    if (zip_close(s_->za) == 0) {
        s_->za = nullptr;
        return;
    }
    s_->failure.rethrow();
    throw IoError(QStringLiteral("cannot write the zip: %1").arg(QString::fromLocal8Bit(zip_strerror(s_->za))));
}

// ---- reading

// The zip file as libzip reads it: through a window that grows to a megabyte while the reads
// go on in order (a member's data) and starts small again where libzip seeks (a header), so
// that libzip's small reads do not each go to the system; the position is told to the caller.
struct Reader::Input {
    static zip_int64_t call(void* self, void* data, zip_uint64_t length, zip_source_cmd_t command)
    {
        auto* in = static_cast<Input*>(self);
        try {
            return in->on(data, length, command);
        } catch (...) {
            return in->failure.caught(ZIP_ER_READ);
        }
    }
    zip_int64_t on(void* data, zip_uint64_t length, zip_source_cmd_t command)
    {
        switch (command) {
        case ZIP_SOURCE_SUPPORTS: return ZIP_SOURCE_SUPPORTS_SEEKABLE;
        case ZIP_SOURCE_STAT: {
            auto* st = static_cast<zip_stat_t*>(data);
            zip_stat_init(st);
            st->valid = ZIP_STAT_SIZE;
            st->size = quint64(size);
            return sizeof(zip_stat_t);
        }
        case ZIP_SOURCE_OPEN: position = 0; return 0;
        case ZIP_SOURCE_READ:
            return readInto(static_cast<char*>(data), qint64(qMin<zip_uint64_t>(length, quint64(size))));
        case ZIP_SOURCE_SEEK: {
            const zip_int64_t to =
                zip_source_seek_compute_offset(quint64(position), quint64(size), data, length, &failure.error);
            if (to < 0)
                return -1;
            position = to;
            return 0;
        }
        case ZIP_SOURCE_TELL: return position;
        case ZIP_SOURCE_CLOSE:
        case ZIP_SOURCE_FREE: return 0;
        case ZIP_SOURCE_ERROR: return zip_error_to_data(&failure.error, data, length);
        default: zip_error_set(&failure.error, ZIP_ER_OPNOTSUPP, 0); return -1;
        }
    }
    qint64 readInto(char* to, qint64 max)
    {
        if (position < windowAt || position >= windowAt + window.size()) {
            const bool onward = position == windowAt + window.size();
            const qint64 wanted = onward ? qMin(kBlock, qMax<qint64>(2 * window.size(), kSmall)) : kSmall;
            window.resize(qMin(qMax(wanted, max), qMax<qint64>(size - position, 0)));
            windowAt = position;
            qint64 done = 0;
            if (!file.seek(position))
                throw IoError(QStringLiteral("cannot read the zip: %1").arg(file.errorString()));
            while (done < window.size()) {
                const qint64 n = file.read(window.data() + done, window.size() - done);
                if (n < 0)
                    throw IoError(QStringLiteral("cannot read the zip: %1").arg(file.errorString()));
                if (n == 0)
                    throw IoError(QStringLiteral("the zip became shorter while it was read"));
                done += n;
            }
            if (progress)
                progress(position + window.size());
        }
        const qint64 n = qMin(max, windowAt + window.size() - position);
        std::memcpy(to, window.constData() + (position - windowAt), size_t(n));
        position += n;
        return n;
    }

    QFile file;
    qint64 size = 0;
    qint64 position = 0;
    QByteArray window;
    qint64 windowAt = 0;
    std::function<void(qint64)> progress;
    Failure failure;
};

Reader::Reader(const QString& path) : in_(std::make_unique<Input>())
{
    if (!in_->file.open(platform::openRegularFile(platform::encodeName(path)),
                        QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle))
        throw IoError(QStringLiteral("cannot read %1: %2").arg(path, in_->file.errorString()));
    in_->size = in_->file.size();
    zip_source_t* source = zip_source_function_create(&Input::call, in_.get(), nullptr);
    if (!source)
        throw IoError(QStringLiteral("cannot read %1").arg(path));
    zip_error_t error;
    zip_error_init(&error);
    // Not ZIP_CHECKCONS: it refuses the local headers of zips written with their sizes after the
    // data, as earlier backups were; the manifest's checksums hold every member instead.
    za_.reset(zip_open_from_source(source, ZIP_RDONLY, &error));
    const QString why = QString::fromLocal8Bit(zip_error_strerror(&error));
    zip_error_fini(&error);
    if (!za_) {
        zip_source_free(source);
        in_->failure.rethrow();
        throw Damaged(QStringLiteral("not a zip, or a damaged one: %1").arg(why));
    }
    const zip_int64_t count = zip_get_num_entries(za_.get(), 0);
    members_.reserve(qsizetype(count));
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t st;
        if (zip_stat_index(za_.get(), quint64(i), ZIP_FL_ENC_RAW, &st) != 0)
            fail(QStringLiteral("a member cannot be read"));
        Member m;
        m.index = quint64(i);
        m.name = QByteArray(st.name);
        m.size = qint64(st.size);
        if ((st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE)
            throw Damaged(QStringLiteral("%1 is encrypted").arg(shown(m.name)));
        if (st.comp_method != ZIP_CM_STORE && st.comp_method != ZIP_CM_DEFLATE)
            throw Damaged(QStringLiteral("%1 is compressed by method %2").arg(shown(m.name)).arg(st.comp_method));
        if (m.size < 0)
            throw Damaged(QStringLiteral("%1 has an impossible size").arg(shown(m.name)));
        // The type a Unix zip records in the mode; others mark folders in the DOS attributes.
        zip_uint8_t system = 0;
        zip_uint32_t attributes = 0;
        zip_file_get_external_attributes(za_.get(), m.index, 0, &system, &attributes);
        const quint32 type = system == ZIP_OPSYS_UNIX ? attributes >> 16 & kTypeMask : 0;
        m.special = type != 0 && type != 0100000 && type != 040000;
        if ((type == 040000 || (type == 0 && (attributes & 0x10))) && !m.name.endsWith('/'))
            m.name += '/';
        else if (type == 0100000 && m.name.endsWith('/'))
            throw Damaged(QStringLiteral("%1 is a file named as a folder").arg(shown(m.name)));
        if (m.isFolder() && m.size != 0)
            throw Damaged(QStringLiteral("%1 is a folder with bytes").arg(shown(m.name)));
        members_.append(m);
    }
}

Reader::~Reader() = default;

void Reader::Discard::operator()(zip_t* za) const
{
    zip_discard(za);
}

qint64 Reader::fileSize() const
{
    return in_->size;
}

void Reader::fail(const QString& what)
{
    in_->failure.rethrow();
    throw Damaged(QStringLiteral("%1: %2").arg(what, QString::fromLocal8Bit(zip_strerror(za_.get()))));
}

void Reader::read(const Member& m, const std::function<void(const char*, qint64)>& sink,
                  const std::function<void(qint64)>& progress)
{
    in_->progress = progress;
    zip_file_t* file = zip_fopen_index(za_.get(), m.index, 0);
    if (!file)
        fail(QStringLiteral("%1 cannot be read").arg(shown(m.name)));
    struct Closer {
        zip_file_t* f;
        ~Closer() { zip_fclose(f); }
    } closer{file};
    QByteArray block(qMin(kBlock, m.size + 1), Qt::Uninitialized);
    qint64 produced = 0;
    for (;;) {
        // One byte more than the member's size is asked for: a member that holds more is
        // refused before it can fill a disk.
        const qint64 n = zip_fread(file, block.data(), quint64(qMin<qint64>(block.size(), m.size + 1 - produced)));
        if (n < 0) {
            in_->failure.rethrow();
            throw Damaged(QStringLiteral("%1 is damaged: %2")
                              .arg(shown(m.name), QString::fromLocal8Bit(zip_file_strerror(file))));
        }
        if (n == 0)
            break;
        produced += n;
        if (produced > m.size)
            throw Damaged(QStringLiteral("%1 holds more than its size").arg(shown(m.name)));
        sink(block.constData(), n);
    }
    if (produced != m.size)
        throw Damaged(QStringLiteral("%1 holds less than its size").arg(shown(m.name)));
}

} // namespace zipfile
