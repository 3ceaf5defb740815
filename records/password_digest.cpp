#include "records/password_digest.h"

#include <algorithm>

#include <openssl/evp.h>

#include "base/gbk_chars.h"

namespace tamrivo {

Text md5Hex(std::span<const std::uint8_t> bytes) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_Digest(bytes.data(), bytes.size(), digest, &length, EVP_md5(), nullptr) != 1) {
        return {};
    }
    static constexpr char kDigits[] = "0123456789ABCDEF";
    Text hex;
    hex.reserve(length * 2);
    for (unsigned int i = 0; i < length; ++i) {
        hex += kDigits[digest[i] >> 4];
        hex += kDigits[digest[i] & 0x0F];
    }
    return hex;
}

bool isLoginTypable(const Text& password) {
    return std::all_of(password.begin(), password.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte > 0x20 && byte < 0x7F;
    });
}

bool hasBlank(const Text& password) {
    bool blank = false;
    forEachChar(password, [&](std::size_t pos, std::size_t size) {
        blank = blank || isSpaceChar(password, pos, size) || password[pos] == '\t';
    });
    return blank;
}

}  // namespace tamrivo
