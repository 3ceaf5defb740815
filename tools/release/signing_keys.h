#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "base/value_types.h"

namespace tamrivo::release {

// An Ed25519 key pair in PEM: the private half (PKCS #8) stays with the publisher, the
// public half is built into the program.
struct KeyPair {
    std::string privatePem;
    std::string publicPem;
};

std::optional<KeyPair> generateKeyPair();
// The public half of a private key in PEM; nothing when the text is no Ed25519 private key.
std::optional<std::string> publicKeyOf(const std::string& privatePem);
// The signature of the bytes; nothing when the key is no Ed25519 private key.
std::optional<Bytes> sign(std::span<const std::uint8_t> bytes, const std::string& privatePem);

}  // namespace tamrivo::release
