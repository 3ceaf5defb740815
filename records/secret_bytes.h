#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace tamrivo {

// Whether libsodium is ready; it is made ready on the first call. Nothing of secret_bytes,
// the key slots or the recovery code works before.
bool sodiumReady();

// Bytes a key or a password lives in: libsodium's guarded allocation, locked in memory where
// the system allows (sodium_malloc locks what it hands out) and wiped when freed. Moved, never
// copied, so no second copy of a secret is left behind unwiped. While any lives, the process
// is undumpable: no core dump holds it.
class SecretBytes {
public:
    SecretBytes() = default;
    // Zero-filled; empty when the memory could not be had.
    explicit SecretBytes(std::size_t size);
    SecretBytes(SecretBytes&& other) noexcept;
    SecretBytes& operator=(SecretBytes&& other) noexcept;
    SecretBytes(const SecretBytes&) = delete;
    SecretBytes& operator=(const SecretBytes&) = delete;
    ~SecretBytes();

    bool empty() const { return data_ == nullptr; }
    std::size_t size() const { return size_; }
    std::uint8_t* data() { return data_; }
    const std::uint8_t* data() const { return data_; }
    std::span<const std::uint8_t> bytes() const { return {data_, size_}; }
    std::string_view text() const { return {reinterpret_cast<const char*>(data_), size_}; }

private:
    void release();

    std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
};

// Moves a typed text (a password, a recovery code) into secret bytes and wipes the text;
// empty when the text is empty or memory could not be had.
SecretBytes takeSecretText(std::string& typed);

// Wipes a text that held a secret and leaves it empty.
void wipeText(std::string& text);

}  // namespace tamrivo
