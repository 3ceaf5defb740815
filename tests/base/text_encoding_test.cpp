#include "base/text_encoding.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <initializer_list>
#include <string>

#include "base/gbk_chars.h"

namespace tamrivo {
namespace {

TEST(TextEncoding, RoundTripsChineseText) {
    const std::string gbk = "房屋入住";  // compiled to GBK
    ASSERT_EQ(gbk.size(), 8u);
    const std::string utf8 = gbkToUtf8(gbk);
    EXPECT_EQ(utf8, std::string(u8"房屋入住", u8"房屋入住" + 12));
    EXPECT_TEXT_EQ(utf8ToGbk(utf8), gbk);
}

TEST(TextEncoding, InvalidInputGivesEmptyText) {
    EXPECT_EQ(gbkToUtf8("ab\x81"), "");            // lead byte without its trail byte
    EXPECT_EQ(utf8ToGbk("\xC3\x28"), "");          // broken UTF-8 sequence
    EXPECT_EQ(utf8ToGbk("\xF0\x9F\x98\x80"), "");  // no GBK form
    EXPECT_EQ(utf8ToGbk("a\xE5\xB9"), "");         // three-byte form cut short at the end
    EXPECT_EQ(utf8ToGbk("a\xC3"), "");             // two-byte form cut short at the end
    EXPECT_EQ(gbkToUtf8(""), "");
}

TEST(TextEncoding, Utf16TakesOneUnitPerCharacter) {
    const std::string gbk = "房间A\x80";  // the euro sign is a single byte in code page 936
    std::u16string out(gbk.size(), u'?');
    ASSERT_EQ(gbkToUtf16(gbk, out.data()), 4u);
    EXPECT_EQ(out.substr(0, 4), u"房间A\u20AC");
    EXPECT_EQ(gbkToUtf16("ab\x81", out.data()), 0u);
    EXPECT_EQ(gbkToUtf16("", out.data()), 0u);
}

TEST(TextEncoding, LongTextsAreConvertedWhole) {
    const std::string gbk(100000, 'x');
    EXPECT_EQ(gbkToUtf8(gbk + "元"), gbk + std::string(u8"元", u8"元" + 3));
}

}  // namespace
}  // namespace tamrivo

namespace tamrivo {
namespace {

// The system converter applied to the whole text: what the conversions must agree with.
class Reference {
public:
    Reference(const char* to, const char* from) : descriptor_(iconv_open(to, from)) {}
    ~Reference() { iconv_close(descriptor_); }

    std::string operator()(std::string_view input) const {
        std::string output(input.size() * 4 + 4, '\0');
        char* in = const_cast<char*>(input.data());
        std::size_t inLeft = input.size();
        char* out = output.data();
        std::size_t outLeft = output.size();
        const std::size_t result = iconv(descriptor_, &in, &inLeft, &out, &outLeft);
        iconv(descriptor_, nullptr, nullptr, nullptr, nullptr);
        if (result == static_cast<std::size_t>(-1)) {
            return {};
        }
        output.resize(output.size() - outLeft);
        return output;
    }

private:
    iconv_t descriptor_;
};

std::string bytes(std::initializer_list<int> values) {
    std::string text;
    for (const int value : values) {
        text += static_cast<char>(value);
    }
    return text;
}

TEST(TextEncoding, EveryGbkCodeConvertsAsTheSystemConverterDoes) {
    const Reference reference("UTF-8", "CP936");
    int mismatches = 0;
    for (int first = 0; first <= 0xFF; ++first) {
        mismatches += gbkToUtf8(bytes({first})) != reference(bytes({first}));
        for (int second = 0; second <= 0xFF; ++second) {
            const std::string text = bytes({'a', first, second, 'z'});
            const std::string expected = reference(text);
            if (gbkToUtf8(text) != expected && ++mismatches < 5) {
                ADD_FAILURE() << std::hex << "bytes " << first << " " << second;
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
}

// The program steps through texts character by character (searching, replacing, quoting):
// every two bytes the system converter reads as one character must be stepped as one, and
// every byte it reads alone (ASCII, the euro sign 0x80) must be stepped alone.
TEST(TextEncoding, TextsAreSteppedAsTheSystemConverterReadsThem) {
    const Reference reference("UTF-8", "CP936");
    int mismatches = 0;
    for (int first = 0; first <= 0xFF; ++first) {
        const bool alone = !reference(bytes({first})).empty();
        for (int second = 0; second <= 0xFF; ++second) {
            const std::string pair = bytes({first, second});
            const bool oneCharacter = !alone && !reference(pair).empty();
            if ((oneCharacter ? charSizeAt(pair, 0) != 2 : alone && charSizeAt(pair, 0) != 1) &&
                ++mismatches < 5) {
                ADD_FAILURE() << std::hex << "bytes " << first << " " << second;
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
}

TEST(TextEncoding, EveryUtf8SequenceUpToThreeBytesConvertsAsTheSystemConverterDoes) {
    const Reference reference("CP936", "UTF-8");
    int mismatches = 0;
    const auto check = [&](const std::string& text) {
        if (utf8ToGbk(text) != reference(text) && ++mismatches < 5) {
            ADD_FAILURE() << "UTF-8 " << ::testing::PrintToString(text);
        }
    };
    for (int first = 0; first <= 0xFF; ++first) {
        check(bytes({first}));
        for (int second = 0; second <= 0xFF; ++second) {
            check(bytes({first, second, 'z'}));
        }
    }
    // Every three-byte form, the basic plane's Chinese characters among them.
    for (int first = 0xE0; first <= 0xEF; ++first) {
        for (int second = 0x80; second <= 0xBF; ++second) {
            for (int third = 0; third <= 0xFF; ++third) {
                check(bytes({'a', first, second, third}));
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
}

TEST(TextEncoding, LongChineseTextsConvertBothWays) {
    std::string gbk;
    for (int i = 0; i < 300; ++i) {
        gbk += "幸福里" + std::to_string(i) + "号楼\x80";  // 0x80: the euro sign, one byte in CP936
    }
    const std::string utf8 = gbkToUtf8(gbk);
    EXPECT_EQ(utf8, Reference("UTF-8", "CP936")(gbk));
    EXPECT_TEXT_EQ(utf8ToGbk(utf8), gbk);
    EXPECT_EQ(utf8ToGbk(utf8 + "\xE5"), "");  // cut short at the very end
}

}  // namespace
}  // namespace tamrivo
