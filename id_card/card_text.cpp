#include "id_card/card_text.h"

#include <array>
#include <cstddef>
#include <string_view>

#include "base/text_encoding.h"

namespace tamrivo::id_card {
namespace {

// The fields of the block, in order, by their width in UCS-2 characters.
enum Field { Name, SexCode, NationCode, Birth, Address, Number, Authority, From, Until, Count };
constexpr std::array<std::size_t, Count> kWidths{15, 1, 2, 8, 35, 18, 15, 8, 8};

// The nationalities by their two-digit code (GB/T 3304), 01 to 56.
constexpr std::array<std::string_view, 56> kNations{
    "汉",     "蒙古",   "回",       "藏",     "维吾尔",   "苗",   "彝",     "壮",
    "布依",   "朝鲜",   "满",       "侗",     "瑶",       "白",   "土家",   "哈尼",
    "哈萨克", "傣",     "黎",       "傈僳",   "佤",       "畲",   "高山",   "拉祜",
    "水",     "东乡",   "纳西",     "景颇",   "柯尔克孜", "土",   "达斡尔", "仫佬",
    "羌",     "布朗",   "撒拉",     "毛南",   "仡佬",     "锡伯", "阿昌",   "普米",
    "塔吉克", "怒",     "乌孜别克", "俄罗斯", "鄂温克",   "德昂", "保安",   "裕固",
    "京",     "塔塔尔", "独龙",     "鄂伦春", "赫哲",     "门巴", "珞巴",   "基诺"};

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// One field as GBK without its padding; nothing when it holds a code unit no text has.
std::optional<std::string> fieldText(std::span<const std::uint8_t> bytes) {
    std::string utf8;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const char32_t unit = bytes[i] | (char32_t{bytes[i + 1]} << 8);
        if (unit == 0) {
            break;
        }
        if ((unit >= 0xD800 && unit <= 0xDFFF) || unit < 0x20) {
            return std::nullopt;
        }
        appendUtf8(utf8, unit);
    }
    while (!utf8.empty() && utf8.back() == ' ') {
        utf8.pop_back();
    }
    std::string gbk = utf8ToGbk(utf8);
    if (gbk.empty() && !utf8.empty()) {
        return std::nullopt;
    }
    return gbk;
}

std::string sexName(std::string_view code) {
    if (code == "1") {
        return "男";
    }
    if (code == "2") {
        return "女";
    }
    return code == "9" ? "未说明" : "未知";
}

std::string nationName(std::string_view code) {
    const bool twoDigits =
        code.size() == 2 && code[0] >= '0' && code[0] <= '9' && code[1] >= '0' && code[1] <= '9';
    const int number = twoDigits ? (code[0] - '0') * 10 + (code[1] - '0') : 0;
    if (number >= 1 && number <= static_cast<int>(kNations.size())) {
        return std::string(kNations[number - 1]);
    }
    return number == 98 ? "外国血统中国籍人士" : "其他";
}

}  // namespace

std::optional<CardText> readCardText(std::span<const std::uint8_t> block) {
    if (block.size() < kCardTextBytes) {
        return std::nullopt;
    }
    std::array<std::string, Count> fields;
    std::size_t offset = 0;
    for (std::size_t field = 0; field < Count; ++field) {
        const auto text = fieldText(block.subspan(offset, kWidths[field] * 2));
        if (!text) {
            return std::nullopt;
        }
        fields[field] = *text;
        offset += kWidths[field] * 2;
    }
    return CardText{.name = fields[Name],
                    .sex = sexName(fields[SexCode]),
                    .nation = nationName(fields[NationCode]),
                    .birthDate = fields[Birth],
                    .address = fields[Address],
                    .number = fields[Number],
                    .authority = fields[Authority],
                    .validFrom = fields[From],
                    .validUntil = fields[Until]};
}

}  // namespace tamrivo::id_card
