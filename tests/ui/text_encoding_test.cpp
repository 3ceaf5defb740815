#include "ui/text_encoding.h"

#include <gtest/gtest.h>

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
    EXPECT_EQ(gbkToUtf8("ab\x81"), "");         // lead byte without its trail byte
    EXPECT_EQ(utf8ToGbk("\xC3\x28"), "");       // broken UTF-8 sequence
    EXPECT_EQ(utf8ToGbk("\xF0\x9F\x98\x80"), "");  // no GBK form
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
