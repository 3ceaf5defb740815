#pragma once
// Signing keys made afresh for each test run: no private key lives in the repository.

#include <cstdint>
#include <string>
#include <string_view>

#include "net/update_package.h"
#include "tools/release/signing_keys.h"

namespace tamrivo::testing {

// The publisher the program under test trusts.
const release::KeyPair& publisherKeys();
// Someone else.
const release::KeyPair& strangerKeys();

// The signature of the bytes, hexadecimal as the update server's reply carries it.
std::string signatureOf(std::string_view bytes, const release::KeyPair& keys = publisherKeys());

// A release as the publisher offers it. Texts in GBK.
struct OfferedRelease {
    Text version = "1.0.1.0";
    Text notes;
    std::string packageAddress;
    std::string package;  // its bytes: they give the statement's size and digest
};

// The publisher's statement of the release, as signed.
Text statementOf(const OfferedRelease& release);
// The update server's reply offering the release, signed by the keys' holder, as the
// release tool writes it.
std::string signedReply(const OfferedRelease& release,
                        const release::KeyPair& keys = publisherKeys());
// The package as the checker hands it to the download, its statement checked.
UpdatePackage offeredPackage(const OfferedRelease& release);

// The first length bytes of every download server body, as one string.
std::string servedBody(std::uint64_t length);

}  // namespace tamrivo::testing
