#include "records/secret_bytes.h"

#include <sodium.h>

#include <utility>

namespace tamrivo {

bool sodiumReady() {
    static const bool ready = sodium_init() >= 0;
    return ready;
}

SecretBytes::SecretBytes(std::size_t size) {
    if (size == 0 || !sodiumReady()) {
        return;
    }
    data_ = static_cast<std::uint8_t*>(sodium_malloc(size));
    if (data_ != nullptr) {
        size_ = size;
        sodium_memzero(data_, size_);
    }
}

SecretBytes::SecretBytes(SecretBytes&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)) {}

SecretBytes& SecretBytes::operator=(SecretBytes&& other) noexcept {
    if (this != &other) {
        release();
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
    }
    return *this;
}

SecretBytes::~SecretBytes() {
    release();
}

// sodium_free wipes the bytes and unlocks them before giving them back.
void SecretBytes::release() {
    if (data_ != nullptr) {
        sodium_free(data_);
        data_ = nullptr;
        size_ = 0;
    }
}

}  // namespace tamrivo
