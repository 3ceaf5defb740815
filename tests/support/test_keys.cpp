#include "tests/support/test_keys.h"

#include <stdexcept>

#include "base/text_encoding.h"
#include "tests/support/download_server.h"
#include "tools/release/reply_document.h"
#include "update_format/package_signature.h"
#include "update_format/release_statement.h"

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

Text statementOf(const OfferedRelease& release) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(release.package.data());
    const std::optional<Text> text =
        statementText({kSoftwareName, release.version, release.notes, release.package.size(),
                       sha256Hex({bytes, release.package.size()})});
    if (!text) {
        throw std::runtime_error("no statement for version " + release.version);
    }
    return *text;
}

std::string signedReply(const OfferedRelease& release, const release::KeyPair& keys) {
    const Text statement = statementOf(release);
    const std::optional<Text> reply = release::replyDocument(
        {gbkToUtf8(release.version), gbkToUtf8(release.notes), release.packageAddress,
         signatureOf(release.package, keys), gbkToUtf8(statement), signatureOf(statement, keys)});
    if (!reply) {
        throw std::runtime_error("no reply for version " + release.version);
    }
    return *reply;
}

UpdatePackage offeredPackage(const OfferedRelease& release) {
    std::optional<ReleaseStatement> statement = parseStatement(statementOf(release));
    return {release.packageAddress, signatureOf(release.package), *statement};
}

std::string servedBody(std::uint64_t length) {
    std::string body(length, '\0');
    for (std::uint64_t i = 0; i < length; ++i) {
        body[i] = static_cast<char>(bodyByte(i));
    }
    return body;
}

}  // namespace tamrivo::testing
