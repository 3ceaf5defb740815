#include "base/text_encoding.h"

#include <iconv.h>

#include <array>
#include <cstdint>
#include <memory>

#include "base/gbk_chars.h"

namespace tamrivo {
namespace {

// The conversions run for every text crossing the SQLite boundary, row by row, so they are
// table lookups. The tables are filled once from the system's CP936 converter, character by
// character, so every character maps exactly as that converter maps it; what it rejects
// (unassigned codes, characters outside GBK) has no entry and fails the whole text.

constexpr char32_t kNone = 0;

// One character through iconv: the bytes of `from` converted to `to`, or empty on failure.
class CharacterConverter {
public:
    CharacterConverter(const char* to, const char* from) : descriptor_(iconv_open(to, from)) {}
    ~CharacterConverter() {
        if (valid()) {
            iconv_close(descriptor_);
        }
    }
    CharacterConverter(const CharacterConverter&) = delete;
    CharacterConverter& operator=(const CharacterConverter&) = delete;

    bool valid() const { return descriptor_ != reinterpret_cast<iconv_t>(-1); }

    std::string operator()(std::string_view input) const {
        char output[16];
        char* in = const_cast<char*>(input.data());
        std::size_t inLeft = input.size();
        char* out = output;
        std::size_t outLeft = sizeof output;
        const std::size_t result = iconv(descriptor_, &in, &inLeft, &out, &outLeft);
        iconv(descriptor_, nullptr, nullptr, nullptr, nullptr);
        if (result == static_cast<std::size_t>(-1) || inLeft != 0) {
            return {};
        }
        return std::string(output, sizeof output - outLeft);
    }

private:
    iconv_t descriptor_;
};

std::string utf32(char32_t codePoint) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) {
        bytes[i] = static_cast<char>((codePoint >> (8 * i)) & 0xFF);
    }
    return bytes;
}

// The one code point of a UTF-32LE result, or kNone when there is not exactly one.
char32_t singleCodePoint(const std::string& bytes) {
    if (bytes.size() != 4) {
        return kNone;
    }
    char32_t codePoint = 0;
    for (int i = 3; i >= 0; --i) {
        codePoint = (codePoint << 8) | static_cast<unsigned char>(bytes[i]);
    }
    return codePoint;
}

// GBK to Unicode: single bytes from 0x80 up, and lead/trail pairs.
struct GbkTable {
    std::array<char16_t, 0x80> single{};
    std::array<char16_t, (kLastLeadByte - kFirstLeadByte + 1) * 0x100> pair{};

    char16_t& pairAt(unsigned lead, unsigned trail) {
        return pair[(lead - kFirstLeadByte) * 0x100 + trail];
    }
};

// Unicode (the basic plane; GBK has nothing beyond it) to GBK: 0 none, up to 0xFF one byte,
// otherwise lead byte * 256 + trail byte.
struct UnicodeTable {
    std::array<std::uint16_t, 0x10000> gbk{};
};

// Built once, on first use; kept out of line so the conversions that ask for the tables
// stay small.
[[gnu::cold, gnu::noinline]] std::unique_ptr<GbkTable> buildGbkTable() {
    auto built = std::make_unique<GbkTable>();
    const CharacterConverter convert("UTF-32LE", "CP936");
    if (!convert.valid()) {
        return built;
    }
    for (unsigned byte = 0x80; byte <= 0xFF; ++byte) {
        const std::string input(1, static_cast<char>(byte));
        built->single[byte - 0x80] = static_cast<char16_t>(singleCodePoint(convert(input)));
    }
    for (unsigned lead = kFirstLeadByte; lead <= kLastLeadByte; ++lead) {
        for (unsigned trail = 0; trail <= 0xFF; ++trail) {
            const char input[] = {static_cast<char>(lead), static_cast<char>(trail)};
            const char32_t codePoint = singleCodePoint(convert({input, 2}));
            built->pairAt(lead, trail) = codePoint <= 0xFFFF ? codePoint : kNone;
        }
    }
    return built;
}

[[gnu::cold, gnu::noinline]] std::unique_ptr<UnicodeTable> buildUnicodeTable() {
    auto built = std::make_unique<UnicodeTable>();
    const CharacterConverter convert("CP936", "UTF-32LE");
    if (!convert.valid()) {
        return built;
    }
    for (char32_t codePoint = 0x80; codePoint <= 0xFFFF; ++codePoint) {
        const std::string gbk = convert(utf32(codePoint));
        if (gbk.size() == 1) {
            built->gbk[codePoint] = static_cast<unsigned char>(gbk[0]);
        } else if (gbk.size() == 2) {
            built->gbk[codePoint] = static_cast<std::uint16_t>(
                static_cast<unsigned char>(gbk[0]) << 8 | static_cast<unsigned char>(gbk[1]));
        }
    }
    return built;
}

const GbkTable& gbkTable() {
    static const std::unique_ptr<GbkTable> table = buildGbkTable();
    return *table;
}

const UnicodeTable& unicodeTable() {
    static const std::unique_ptr<UnicodeTable> table = buildUnicodeTable();
    return *table;
}

bool areContinuations(unsigned char first, unsigned char second) {
    return ((first & 0xC0) << 8 | (second & 0xC0)) == 0x8080;
}

// Decodes the UTF-8 character at `in` (not ASCII) strictly and steps past it: overlong forms
// and truncated sequences give kNone (surrogates decode, but have no GBK code). Four-byte
// forms are beyond the basic plane, so never GBK. Three-byte forms, where the Chinese
// characters live, come first.
char32_t decodeUtf8(const unsigned char*& in, const unsigned char* end) {
    const unsigned lead = in[0];
    if ((lead & 0xF0) == 0xE0 && end - in >= 3) {
        const unsigned second = in[1];
        const unsigned third = in[2];
        const char32_t codePoint = (lead & 0x0F) << 12 | (second & 0x3F) << 6 | (third & 0x3F);
        if (!areContinuations(second, third) || codePoint < 0x800) {
            return kNone;
        }
        in += 3;
        return codePoint;
    }
    if ((lead & 0xE0) == 0xC0 && lead >= 0xC2 && end - in >= 2 && (in[1] & 0xC0) == 0x80) {
        const unsigned second = in[1];
        in += 2;
        return (lead & 0x1F) << 6 | (second & 0x3F);
    }
    return kNone;
}

void appendUtf8(char*& out, char32_t codePoint) {
    if (codePoint < 0x800) {
        *out++ = static_cast<char>(0xC0 | codePoint >> 6);
    } else {
        *out++ = static_cast<char>(0xE0 | codePoint >> 12);
        *out++ = static_cast<char>(0x80 | (codePoint >> 6 & 0x3F));
    }
    *out++ = static_cast<char>(0x80 | (codePoint & 0x3F));
}

// Hands each character of the GBK text to emit as its code point; false when one has none.
template <class Emit>
bool decodeGbk(std::string_view gbk, Emit emit) {
    const GbkTable* table = nullptr;
    for (std::size_t at = 0; at < gbk.size();) {
        const auto byte = static_cast<unsigned char>(gbk[at]);
        if (byte < 0x80) {
            emit(static_cast<char16_t>(byte));
            ++at;
            continue;
        }
        if (table == nullptr) {
            table = &gbkTable();
        }
        char16_t codePoint = table->single[byte - 0x80];
        std::size_t length = 1;
        if (codePoint == kNone && isLeadByte(gbk[at]) && at + 1 < gbk.size()) {
            codePoint = table->pair[(byte - kFirstLeadByte) * 0x100 +
                                    static_cast<unsigned char>(gbk[at + 1])];
            length = 2;
        }
        if (codePoint == kNone) {
            return false;
        }
        emit(codePoint);
        at += length;
    }
    return true;
}

// Converts into `out`, which has room for the largest result; returns the end of what was
// written, or null when the text cannot be converted.
char* gbkToUtf8Into(std::string_view gbk, char* out) {
    const bool converted = decodeGbk(gbk, [&out](char16_t codePoint) {
        if (codePoint < 0x80) {
            *out++ = static_cast<char>(codePoint);
        } else {
            appendUtf8(out, codePoint);
        }
    });
    return converted ? out : nullptr;
}

char* utf8ToGbkInto(std::string_view utf8, char* out) {
    const auto* in = reinterpret_cast<const unsigned char*>(utf8.data());
    const auto* const end = in + utf8.size();
    const UnicodeTable* table = nullptr;
    while (in < end) {
        if (*in < 0x80) {
            *out++ = static_cast<char>(*in++);
            continue;
        }
        if (table == nullptr) {
            table = &unicodeTable();
        }
        const char32_t codePoint = decodeUtf8(in, end);
        const std::uint16_t code = codePoint != kNone ? table->gbk[codePoint] : 0;
        if (code == 0) {
            return nullptr;
        }
        if (code > 0xFF) {
            *out++ = static_cast<char>(code >> 8);
        }
        *out++ = static_cast<char>(code & 0xFF);
    }
    return out;
}

// Runs a conversion whose result takes at most kGrowth bytes per input byte. Short texts go
// through a buffer on the stack, so the result is allocated once, at its exact size.
template <std::size_t kGrowth>
std::string convert(std::string_view input, char* (*into)(std::string_view, char*)) {
    constexpr std::size_t kShortText = 256;
    if (input.size() <= kShortText) {
        char buffer[kShortText * kGrowth];
        const char* end = into(input, buffer);
        return end != nullptr ? std::string(buffer, static_cast<std::size_t>(end - buffer))
                              : std::string();
    }
    std::string output(input.size() * kGrowth, '\0');
    const char* end = into(input, output.data());
    if (end == nullptr) {
        return {};
    }
    output.resize(end - output.data());
    return output;
}

}  // namespace

// A GBK byte becomes at most three UTF-8 bytes (0x80, the euro sign, does); a character
// never takes more bytes in GBK than in UTF-8.
std::string gbkToUtf8(std::string_view gbk) {
    return convert<3>(gbk, gbkToUtf8Into);
}

std::string utf8ToGbk(std::string_view utf8) {
    return convert<1>(utf8, utf8ToGbkInto);
}

std::size_t gbkToUtf16(std::string_view gbk, char16_t* out) {
    char16_t* const start = out;
    const bool converted = decodeGbk(gbk, [&out](char16_t codePoint) { *out++ = codePoint; });
    return converted ? static_cast<std::size_t>(out - start) : 0;
}

}  // namespace tamrivo
