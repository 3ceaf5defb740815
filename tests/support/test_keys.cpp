#include "tests/support/test_keys.h"

#include <stdexcept>

#include "net/package_signature.h"
#include "tests/support/download_server.h"

namespace tamrivo::testing {

namespace {

release::KeyPair madeKeys() {
    auto keys = release::generateKeyPair();
    if (!keys) {
        throw std::runtime_error("no key pair could be made");
    }
    return *keys;
}

}  // namespace

const release::KeyPair& publisherKeys() {
    static const release::KeyPair keys = madeKeys();
    return keys;
}

const release::KeyPair& strangerKeys() {
    static const release::KeyPair keys = madeKeys();
    return keys;
}

std::string signatureOf(std::string_view bytes, const release::KeyPair& keys) {
    const auto signature = release::sign(
        {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()}, keys.privatePem);
    if (!signature) {
        throw std::runtime_error("the bytes could not be signed");
    }
    return signatureToHex(*signature);
}

std::string servedBody(std::uint64_t length) {
    std::string body(length, '\0');
    for (std::uint64_t i = 0; i < length; ++i) {
        body[i] = static_cast<char>(bodyByte(i));
    }
    return body;
}

}  // namespace tamrivo::testing
