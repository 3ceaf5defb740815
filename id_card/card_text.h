#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace tamrivo::id_card {

// The text a resident identity card holds, as the program's texts (GBK). Dates are
// YYYYMMDD; validUntil may also be "长期".
struct CardText {
    std::string name;
    std::string sex;     // "男", "女", or what the code says when neither
    std::string nation;  // the nationality's name, e.g. "汉"
    std::string birthDate;
    std::string address;
    std::string number;
    std::string authority;
    std::string validFrom;
    std::string validUntil;
};

// The size of the text block of a card, in bytes of UCS-2 (little-endian).
inline constexpr std::size_t kCardTextBytes = 256;

// Reads the card's text block: fixed-width UCS-2 fields padded with blanks. Nothing when the
// block is short or holds what no GBK text can show.
std::optional<CardText> readCardText(std::span<const std::uint8_t> block);

}  // namespace tamrivo::id_card
