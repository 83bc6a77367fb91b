#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QtEndian>

// The little-endian numbers and length-prefixed texts of the program's binary formats (the
// history journal, the blocks its versions carry): written here, and read back from a checked
// range, where any read past its end fails instead of reading on.
namespace bytes {

template <class T> void put(QByteArray& out, T value)
{
    char raw[sizeof(T)];
    qToLittleEndian(value, raw);
    out.append(raw, sizeof(T));
}

// A text as UTF-8 after its length in two bytes (at most 65535 bytes of it).
inline void putText(QByteArray& out, const QString& text)
{
    const QByteArray utf8 = text.toUtf8().left(65535);
    put<quint16>(out, quint16(utf8.size()));
    out.append(utf8);
}

class Reader {
public:
    explicit Reader(QByteArrayView bytes) : bytes_(bytes) { }
    template <class T> bool get(T& value)
    {
        if (at_ + qsizetype(sizeof(T)) > bytes_.size())
            return false;
        value = qFromLittleEndian<T>(bytes_.data() + at_);
        at_ += sizeof(T);
        return true;
    }
    bool take(qsizetype length, QByteArrayView& value)
    {
        if (length < 0 || at_ + length > bytes_.size())
            return false;
        value = bytes_.sliced(at_, length);
        at_ += length;
        return true;
    }
    // A text after its length; only stepped over when decode is false.
    bool text(QString& value, bool decode = true)
    {
        quint16 length = 0;
        QByteArrayView utf8;
        if (!get(length) || !take(length, utf8))
            return false;
        if (decode)
            value = QString::fromUtf8(utf8);
        return true;
    }
    qsizetype at() const { return at_; }
    bool atEnd() const { return at_ == bytes_.size(); }

private:
    QByteArrayView bytes_;
    qsizetype at_ = 0;
};

} // namespace bytes
