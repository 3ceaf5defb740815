#include "net/package_signature.h"

#include <fcntl.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>

#include "ui/text_encoding.h"

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

// The package seen whole, as one-shot Ed25519 needs it, without copying it into memory.
class MappedFile {
public:
    MappedFile(const Text& path, std::uint64_t maxBytes) {
        const int descriptor = ::open(gbkToUtf8(path).c_str(), O_RDONLY | O_CLOEXEC);
        if (descriptor < 0) {
            return;
        }
        struct stat status {};
        if (::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode) && status.st_size > 0 &&
            static_cast<std::uint64_t>(status.st_size) <= maxBytes) {
            void* start = ::mmap(nullptr, static_cast<std::size_t>(status.st_size), PROT_READ,
                                 MAP_PRIVATE, descriptor, 0);
            if (start != MAP_FAILED) {
                data_ = static_cast<const std::uint8_t*>(start);
                size_ = static_cast<std::size_t>(status.st_size);
            }
        }
        ::close(descriptor);
    }
    ~MappedFile() {
        if (data_ != nullptr) {
            ::munmap(const_cast<std::uint8_t*>(data_), size_);
        }
    }
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    const std::uint8_t* data() const { return data_; }
    std::size_t size() const { return size_; }

private:
    const std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
};

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

bool packageSignatureValid(const Text& path, std::span<const std::uint8_t> signature,
                           const Text& publicKeyPem, std::uint64_t maxBytes) {
    if (signature.size() != kPackageSignatureSize) {
        return false;
    }
    const KeyPtr key = readPublicKey(publicKeyPem);
    const MappedFile package(path, maxBytes);
    if (!key || package.data() == nullptr) {
        return false;
    }
    const ContextPtr context(EVP_MD_CTX_new(), &EVP_MD_CTX_free);
    // Ed25519 hashes the message itself: no digest is named.
    return context &&
           EVP_DigestVerifyInit(context.get(), nullptr, nullptr, nullptr, key.get()) == 1 &&
           EVP_DigestVerify(context.get(), signature.data(), signature.size(), package.data(),
                            package.size()) == 1;
}

Text signatureToHex(std::span<const std::uint8_t> signature) {
    static constexpr char kDigits[] = "0123456789abcdef";
    Text hex;
    for (const std::uint8_t byte : signature) {
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 0x0F];
    }
    return hex;
}

Bytes signatureFromHex(const Text& hex) {
    if (hex.size() != 2 * kPackageSignatureSize) {
        return {};
    }
    Bytes signature;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const int high = hexDigit(hex[i]);
        const int low = hexDigit(hex[i + 1]);
        if (high < 0 || low < 0) {
            return {};
        }
        signature.push_back(static_cast<std::uint8_t>(high << 4 | low));
    }
    return signature;
}

}  // namespace tamrivo
