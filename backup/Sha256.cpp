#include "backup/Sha256.h"

#include <nettle/sha2.h>

struct Sha256::State {
    sha256_ctx ctx;
};

Sha256::Sha256() : s_(std::make_unique<State>())
{
    sha256_init(&s_->ctx);
}

Sha256::~Sha256() = default;

void Sha256::add(const char* data, qint64 length)
{
    sha256_update(&s_->ctx, size_t(length), reinterpret_cast<const uint8_t*>(data));
}

QByteArray Sha256::hex()
{
    uint8_t digest[SHA256_DIGEST_SIZE];
    sha256_digest(&s_->ctx, SHA256_DIGEST_SIZE, digest); // also starts the hash again
    return QByteArray(reinterpret_cast<const char*>(digest), SHA256_DIGEST_SIZE).toHex();
}
