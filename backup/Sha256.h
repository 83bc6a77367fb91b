#pragma once
#include <QByteArray>

#include <memory>

// SHA-256 of a stream of bytes, through the system's cryptographic library (which uses the
// processor's own instructions where it has them: the backup hashes every byte twice).
class Sha256 {
public:
    Sha256();
    ~Sha256();
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;

    void add(const char* data, qint64 length);
    // Lower-case hexadecimal; the hash starts again afterwards.
    QByteArray hex();

private:
    struct State;
    std::unique_ptr<State> s_;
};
