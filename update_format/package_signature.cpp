#include "update_format/package_signature.h"

#include <fcntl.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <memory>

#include "base/text_encoding.h"

namespace tamrivo {
namespace {

using KeyPtr = std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)>;
using ContextPtr = std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)>;

KeyPtr readPublicKey(const Text& pem) {
    std::unique_ptr<BIO, decltype(&BIO_free)> source(
        BIO_new_mem_buf(pem.data(), static_cast<int>(pem.size())), &BIO_free);
    KeyPtr key(source ? PEM_read_bio_PUBKEY(source.get(), nullptr, nullptr, nullptr) : nullptr,
               &EVP_PKEY_free);
    if (key && EVP_PKEY_get_id(key.get()) != EVP_PKEY_ED25519) {
        key.reset();
    }
    return key;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

}  // namespace

std::optional<Bytes> readWholeFile(int descriptor, std::uint64_t maxBytes) {
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        return std::nullopt;
    }
    Bytes content;
    std::array<std::uint8_t, 65536> buffer{};
    for (;;) {
        const ssize_t length =
            ::pread(descriptor, buffer.data(), buffer.size(), static_cast<off_t>(content.size()));
        if (length < 0 && errno == EINTR) {
            continue;
        }
        if (length < 0) {
            return std::nullopt;
        }
        if (length == 0) {
            return content;
        }
        if (content.size() + static_cast<std::size_t>(length) > maxBytes) {
            return std::nullopt;
        }
        content.insert(content.end(), buffer.begin(), buffer.begin() + length);
    }
}

std::optional<Bytes> readWholeFile(const std::filesystem::path& path, std::uint64_t maxBytes) {
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (descriptor < 0) {
        return std::nullopt;
    }
    std::optional<Bytes> content = readWholeFile(descriptor, maxBytes);
    ::close(descriptor);
    return content;
}

bool signatureValid(std::span<const std::uint8_t> message, std::span<const std::uint8_t> signature,
                    const Text& publicKeyPem) {
    if (signature.size() != kPackageSignatureSize) {
        return false;
    }
    const KeyPtr key = readPublicKey(publicKeyPem);
    const ContextPtr context(EVP_MD_CTX_new(), &EVP_MD_CTX_free);
    // Ed25519 hashes the message itself: no digest is named.
    return key && context &&
           EVP_DigestVerifyInit(context.get(), nullptr, nullptr, nullptr, key.get()) == 1 &&
           EVP_DigestVerify(context.get(), signature.data(), signature.size(), message.data(),
                            message.size()) == 1;
}

bool packageSignatureValid(const Text& path, std::span<const std::uint8_t> signature,
                           const Text& publicKeyPem, std::uint64_t maxBytes) {
    const std::optional<Bytes> package =
        readWholeFile(std::filesystem::path(gbkToUtf8(path)), maxBytes);
    return package && !package->empty() && signatureValid(*package, signature, publicKeyPem);
}

Text bytesToHex(std::span<const std::uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    Text hex;
    for (const std::uint8_t byte : bytes) {
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 0x0F];
    }
    return hex;
}

Bytes bytesFromHex(const Text& hex, std::size_t size) {
    if (hex.size() != 2 * size) {
        return {};
    }
    Bytes bytes;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const int high = hexDigit(hex[i]);
        const int low = hexDigit(hex[i + 1]);
        if (high < 0 || low < 0) {
            return {};
        }
        bytes.push_back(static_cast<std::uint8_t>(high << 4 | low));
    }
    return bytes;
}

Text signatureToHex(std::span<const std::uint8_t> signature) {
    return bytesToHex(signature);
}

Bytes signatureFromHex(const Text& hex) {
    return bytesFromHex(hex, kPackageSignatureSize);
}

Text sha256Hex(std::span<const std::uint8_t> bytes) {
    std::array<std::uint8_t, EVP_MAX_MD_SIZE> digest{};
    unsigned int length = 0;
    if (EVP_Digest(bytes.data(), bytes.size(), digest.data(), &length, EVP_sha256(), nullptr) !=
        1) {
        return {};
    }
    return bytesToHex({digest.data(), length});
}

}  // namespace tamrivo
