#pragma once
// Signing keys made afresh for each test run: no private key lives in the repository.

#include <cstdint>
#include <string>
#include <string_view>

#include "tools/release/signing_keys.h"

namespace tamrivo::testing {

// The publisher the program under test trusts.
const release::KeyPair& publisherKeys();
// Someone else.
const release::KeyPair& strangerKeys();

// The signature of the bytes, hexadecimal as the update server's reply carries it.
std::string signatureOf(std::string_view bytes, const release::KeyPair& keys = publisherKeys());

// The first length bytes of every download server body, as one string.
std::string servedBody(std::uint64_t length);

}  // namespace tamrivo::testing
