#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "ui/value_types.h"

namespace tamrivo {

// An Ed25519 signature over the whole package.
inline constexpr std::size_t kPackageSignatureSize = 64;

// True when the file at path (GBK), no longer than maxBytes, carries the signature made with
// the private half of publicKeyPem, an Ed25519 public key in PEM. Anything else is false: no
// such file, a longer one, a key of another kind, a signature of another length.
bool packageSignatureValid(const Text& path, std::span<const std::uint8_t> signature,
                           const Text& publicKeyPem, std::uint64_t maxBytes);

// A signature as the update server's reply carries it: lower-case hexadecimal digits.
Text signatureToHex(std::span<const std::uint8_t> signature);
// Empty unless the text is exactly kPackageSignatureSize bytes in hexadecimal digits.
Bytes signatureFromHex(const Text& hex);

}  // namespace tamrivo
