#include "data/key_derivation.h"

// OpenSSL 3 marks its one-block SHA-1 interface as deprecated but has no other way to run a
// single compression on a kept state, which is what makes the rounds below cheap.
#define OPENSSL_SUPPRESS_DEPRECATED
#include <openssl/sha.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <future>
#include <vector>

#include "base/text_encoding.h"

namespace tamrivo {

namespace {

// SQLCipher 3's defaults: the file's first bytes are the salt of its key.
constexpr int kSaltBytes = 16;
constexpr int kKeyRounds = 64000;
constexpr int kKeyBytes = 32;

constexpr std::size_t kBlockBytes = 64;
constexpr std::size_t kDigestBytes = SHA_DIGEST_LENGTH;

using Digest = std::array<std::uint8_t, kDigestBytes>;

void putBigEndian(std::uint8_t* out, std::uint32_t value) {
    out[0] = static_cast<std::uint8_t>(value >> 24);
    out[1] = static_cast<std::uint8_t>(value >> 16);
    out[2] = static_cast<std::uint8_t>(value >> 8);
    out[3] = static_cast<std::uint8_t>(value);
}

// The state after one padded key block: HMAC's inner or outer start, computed once.
SHA_CTX keyedState(std::span<const std::uint8_t> key, std::uint8_t pad) {
    std::array<std::uint8_t, kBlockBytes> block;
    block.fill(pad);
    for (std::size_t i = 0; i < key.size(); ++i) {
        block[i] ^= key[i];
    }
    SHA_CTX state;
    SHA1_Init(&state);
    SHA1_Update(&state, block.data(), block.size());
    return state;
}

// One block holding a digest and SHA-1's padding for a message of one key block plus it.
class DigestBlock {
public:
    DigestBlock() {
        block_.fill(0);
        block_[kDigestBytes] = 0x80;
        putBigEndian(block_.data() + kBlockBytes - 4, (kBlockBytes + kDigestBytes) * 8);
    }
    std::uint8_t* digest() { return block_.data(); }
    const std::uint8_t* data() const { return block_.data(); }

private:
    std::array<std::uint8_t, kBlockBytes> block_;
};

void digestOf(const SHA_CTX& state, std::uint8_t* out) {
    putBigEndian(out, state.h0);
    putBigEndian(out + 4, state.h1);
    putBigEndian(out + 8, state.h2);
    putBigEndian(out + 12, state.h3);
    putBigEndian(out + 16, state.h4);
}

// HMAC-SHA1 over a 20-byte message, from the kept inner and outer states: two compressions.
class ShortHmac {
public:
    explicit ShortHmac(std::span<const std::uint8_t> key) {
        Digest hashedKey;
        if (key.size() > kBlockBytes) {
            SHA1(key.data(), key.size(), hashedKey.data());
            key = hashedKey;
        }
        inner_ = keyedState(key, 0x36);
        outer_ = keyedState(key, 0x5c);
    }

    const SHA_CTX& inner() const { return inner_; }
    const SHA_CTX& outer() const { return outer_; }

    // message and result may be the same.
    void apply(const std::uint8_t* message, std::uint8_t* result) {
        std::copy_n(message, kDigestBytes, block_.digest());
        SHA_CTX state = inner_;
        SHA1_Transform(&state, block_.data());
        digestOf(state, block_.digest());
        state = outer_;
        SHA1_Transform(&state, block_.data());
        digestOf(state, result);
    }

private:
    SHA_CTX inner_;
    SHA_CTX outer_;
    DigestBlock block_;
};

// U1 = HMAC(salt || index): the one message of any length.
Digest firstRound(const ShortHmac& hmac, std::span<const std::uint8_t> salt, std::uint32_t index) {
    std::uint8_t counter[4];
    putBigEndian(counter, index);
    SHA_CTX state = hmac.inner();
    SHA1_Update(&state, salt.data(), salt.size());
    SHA1_Update(&state, counter, sizeof counter);
    Digest innerDigest;
    SHA1_Final(innerDigest.data(), &state);
    state = hmac.outer();
    SHA1_Update(&state, innerDigest.data(), innerDigest.size());
    Digest round;
    SHA1_Final(round.data(), &state);
    return round;
}

// T_index: the sum of the rounds U1 … U_iterations.
Digest outputBlock(ShortHmac hmac, std::span<const std::uint8_t> salt, int iterations,
                   std::uint32_t index) {
    Digest round = firstRound(hmac, salt, index);
    Digest sum = round;
    for (int i = 1; i < iterations; ++i) {
        hmac.apply(round.data(), round.data());
        std::transform(sum.begin(), sum.end(), round.begin(), sum.begin(),
                       [](std::uint8_t a, std::uint8_t b) { return a ^ b; });
    }
    return sum;
}

Text hexKey(std::span<const std::uint8_t> key) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    Text text = "x'";
    for (const std::uint8_t byte : key) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0F];
    }
    return text + "'";
}

}  // namespace

void pbkdf2HmacSha1(std::span<const std::uint8_t> password, std::span<const std::uint8_t> salt,
                    int iterations, std::span<std::uint8_t> out) {
    const ShortHmac hmac(password);
    const std::size_t blocks = (out.size() + kDigestBytes - 1) / kDigestBytes;
    // The blocks do not depend on each other: all but the first run on threads of their own,
    // so a key longer than one digest costs the time of one block where a core is free.
    std::vector<std::future<Digest>> later;
    for (std::uint32_t index = 2; index <= blocks; ++index) {
        later.push_back(std::async(std::launch::async, outputBlock, hmac, salt, iterations, index));
    }
    for (std::size_t block = 0; block < blocks; ++block) {
        const Digest digest =
            block == 0 ? outputBlock(hmac, salt, iterations, 1) : later[block - 1].get();
        const std::size_t taken = std::min(out.size(), digest.size());
        std::copy_n(digest.begin(), taken, out.begin());
        out = out.subspan(taken);
    }
}

std::optional<Text> derivedKeyOfFile(const Text& path, const Text& passphrase) {
    std::array<std::uint8_t, kSaltBytes> salt;
    std::ifstream file(gbkToUtf8(path), std::ios::binary);
    if (!file.read(reinterpret_cast<char*>(salt.data()), salt.size())) {
        return std::nullopt;
    }
    const std::string utf8Passphrase = gbkToUtf8(passphrase);
    std::array<std::uint8_t, kKeyBytes> key;
    pbkdf2HmacSha1(
        {reinterpret_cast<const std::uint8_t*>(utf8Passphrase.data()), utf8Passphrase.size()}, salt,
        kKeyRounds, key);
    return hexKey(key);
}

bool openWithDerivedKey(Database& database, const Text& path, const Text& passphrase) {
    if (const std::optional<Text> key = derivedKeyOfFile(path, passphrase)) {
        if (database.open(path, *key)) {
            return true;
        }
        database.close();
    }
    return database.open(path, passphrase);
}

}  // namespace tamrivo
