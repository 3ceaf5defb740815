#include "records/secret_bytes.h"

#include <sodium.h>
#include <sys/prctl.h>

#include <algorithm>
#include <mutex>
#include <utility>

namespace tamrivo {
namespace {

// The process stays out of core dumps (and out of reach of other processes of the user that
// would trace or read it) for as long as any secret lives in it.
class Undumpable {
public:
    void secretMade() {
        const std::lock_guard lock(mutex_);
        if (live_++ == 0) {
            before_ = ::prctl(PR_GET_DUMPABLE, 0, 0, 0, 0);
            ::prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
        }
    }
    void secretGone() {
        const std::lock_guard lock(mutex_);
        if (--live_ == 0 && before_ > 0) {
            ::prctl(PR_SET_DUMPABLE, before_, 0, 0, 0);
        }
    }

private:
    std::mutex mutex_;
    std::size_t live_ = 0;
    int before_ = 0;
};

Undumpable& undumpable() {
    static Undumpable instance;
    return instance;
}

}  // namespace

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
        undumpable().secretMade();
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
        undumpable().secretGone();
    }
}

SecretBytes takeSecretText(std::string& typed) {
    SecretBytes secret(typed.size());
    if (!secret.empty()) {
        std::copy(typed.begin(), typed.end(), secret.data());
    }
    wipeText(typed);
    return secret;
}

void wipeText(std::string& text) {
    sodium_memzero(text.data(), text.size());
    text.clear();
}

}  // namespace tamrivo
