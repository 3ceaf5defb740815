#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>

#include "base/value_types.h"

namespace tamrivo {

// An Ed25519 signature: over a whole package, or over a release statement.
inline constexpr std::size_t kPackageSignatureSize = 64;

// The whole content of the open file, read from its start with plain reads (a file that
// shrinks meanwhile is read as far as it goes, never mapped); nothing when it cannot be read
// or holds more than maxBytes.
std::optional<Bytes> readWholeFile(int descriptor, std::uint64_t maxBytes);
// The same for the regular file at path, never through a link at its place.
std::optional<Bytes> readWholeFile(const std::filesystem::path& path, std::uint64_t maxBytes);

// True when the bytes carry the signature made with the private half of publicKeyPem, an
// Ed25519 public key in PEM. Anything else is false: a key of another kind, a signature of
// another length.
bool signatureValid(std::span<const std::uint8_t> message, std::span<const std::uint8_t> signature,
                    const Text& publicKeyPem);

// The same for the file at path (GBK), which must be neither empty nor longer than maxBytes.
bool packageSignatureValid(const Text& path, std::span<const std::uint8_t> signature,
                           const Text& publicKeyPem, std::uint64_t maxBytes);

// Bytes as lower-case hexadecimal digits, and back: empty unless the text is exactly size
// bytes in hexadecimal digits of either case.
Text bytesToHex(std::span<const std::uint8_t> bytes);
Bytes bytesFromHex(const Text& hex, std::size_t size);

// A signature as the update server's reply carries it, and back.
Text signatureToHex(std::span<const std::uint8_t> signature);
Bytes signatureFromHex(const Text& hex);

// The SHA-256 digest of the bytes in lower-case hexadecimal.
Text sha256Hex(std::span<const std::uint8_t> bytes);

}  // namespace tamrivo
