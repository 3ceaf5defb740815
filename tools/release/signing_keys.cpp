#include "tools/release/signing_keys.h"

#include <openssl/evp.h>
#include <openssl/pem.h>

#include <memory>

#include "update_format/package_signature.h"

namespace tamrivo::release {

namespace {

using KeyPtr = std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)>;
using BioPtr = std::unique_ptr<BIO, decltype(&BIO_free)>;

std::string drain(BIO* bio) {
    char* data = nullptr;
    const long length = BIO_get_mem_data(bio, &data);
    return length > 0 ? std::string(data, static_cast<std::size_t>(length)) : std::string();
}

KeyPtr readPrivateKey(const std::string& pem) {
    BioPtr source(BIO_new_mem_buf(pem.data(), static_cast<int>(pem.size())), &BIO_free);
    KeyPtr key(source ? PEM_read_bio_PrivateKey(source.get(), nullptr, nullptr, nullptr) : nullptr,
               &EVP_PKEY_free);
    if (key && EVP_PKEY_get_id(key.get()) != EVP_PKEY_ED25519) {
        key.reset();
    }
    return key;
}

std::optional<std::string> publicPem(EVP_PKEY* key) {
    BioPtr out(BIO_new(BIO_s_mem()), &BIO_free);
    if (!out || PEM_write_bio_PUBKEY(out.get(), key) != 1) {
        return std::nullopt;
    }
    return drain(out.get());
}

}  // namespace

std::optional<KeyPair> generateKeyPair() {
    KeyPtr key(EVP_PKEY_Q_keygen(nullptr, nullptr, "ED25519"), &EVP_PKEY_free);
    BioPtr out(BIO_new(BIO_s_mem()), &BIO_free);
    if (!key || !out ||
        PEM_write_bio_PrivateKey(out.get(), key.get(), nullptr, nullptr, 0, nullptr, nullptr) !=
            1) {
        return std::nullopt;
    }
    std::optional<std::string> publicHalf = publicPem(key.get());
    if (!publicHalf) {
        return std::nullopt;
    }
    return KeyPair{drain(out.get()), std::move(*publicHalf)};
}

std::optional<std::string> publicKeyOf(const std::string& privatePem) {
    const KeyPtr key = readPrivateKey(privatePem);
    return key ? publicPem(key.get()) : std::nullopt;
}

std::optional<Bytes> sign(std::span<const std::uint8_t> bytes, const std::string& privatePem) {
    const KeyPtr key = readPrivateKey(privatePem);
    std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> context(EVP_MD_CTX_new(),
                                                                    &EVP_MD_CTX_free);
    Bytes signature(kPackageSignatureSize);
    std::size_t length = signature.size();
    if (!key || !context ||
        EVP_DigestSignInit(context.get(), nullptr, nullptr, nullptr, key.get()) != 1 ||
        EVP_DigestSign(context.get(), signature.data(), &length, bytes.data(), bytes.size()) != 1 ||
        length != kPackageSignatureSize) {
        return std::nullopt;
    }
    return signature;
}

}  // namespace tamrivo::release
