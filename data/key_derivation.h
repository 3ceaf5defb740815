#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "base/value_types.h"
#include "data/database.h"

namespace tamrivo {

// PBKDF2 with HMAC-SHA1 (RFC 8018): `out.size()` bytes from the password and salt.
void pbkdf2HmacSha1(std::span<const std::uint8_t> password, std::span<const std::uint8_t> salt,
                    int iterations, std::span<std::uint8_t> out);

// The raw key "x'…'" (64 hexadecimal digits) that SQLCipher 3 derives from the passphrase for
// the file at `path` (GBK): PBKDF2-HMAC-SHA1 over the salt the file begins with, 64,000
// rounds, 32 bytes. Nothing when the file cannot be read or holds no salt yet.
std::optional<Text> derivedKeyOfFile(const Text& path, const Text& passphrase);

// Opens as database.open(path, passphrase) does, but derives the key itself first: the
// library's own derivation goes through OpenSSL's generic HMAC for every one of its rounds
// and costs more than twice as long, and it is most of opening. A file the derived key does
// not fit (one not made with the library's defaults, a file of another key, a file too short
// to have a salt) is opened the library's way instead, so the outcome and the error message
// are those of database.open.
bool openWithDerivedKey(Database& database, const Text& path, const Text& passphrase);

}  // namespace tamrivo
