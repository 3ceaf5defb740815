#include "base/text_ops.h"

#include <gtest/gtest.h>

namespace tamrivo {
namespace {

TEST(TextOps, LengthCountsBytes) {
    EXPECT_EQ(textLength(""), 0);
    EXPECT_EQ(textLength("房间1"), 5);
}

TEST(TextOps, LeftAndRightClipToTheText) {
    EXPECT_TEXT_EQ(leftText("abcdef", 2), "ab");
    EXPECT_TEXT_EQ(leftText("abc", 10), "abc");
    EXPECT_TEXT_EQ(leftText("abc", 0), "");
    EXPECT_TEXT_EQ(leftText("abc", -1), "");
    EXPECT_TEXT_EQ(rightText("00000000"
                             "1001",
                             8),
                   "00001001");
    EXPECT_TEXT_EQ(rightText("abc", 10), "abc");
    EXPECT_TEXT_EQ(rightText("abc", -5), "");
    EXPECT_TEXT_EQ(leftText("房间", 3), "房\xBC");  // bytes, so a character may be cut
}

TEST(TextOps, MidTextEdges) {
    EXPECT_TEXT_EQ(midText("abcdef", 2, 3), "bcd");
    EXPECT_TEXT_EQ(midText("abcdef", 5, 10), "ef");
    EXPECT_TEXT_EQ(midText("abcdef", 6, 1), "f");
    EXPECT_TEXT_EQ(midText("abcdef", 7, 1), "");
    EXPECT_TEXT_EQ(midText("abcdef", 0, 3), "");
    EXPECT_TEXT_EQ(midText("abcdef", 2, 0), "");
}

TEST(TextOps, CharText) {
    EXPECT_TEXT_EQ(charText('A'), "A");
    EXPECT_TEXT_EQ(charText(0xB0), "\xB0");
    EXPECT_TEXT_EQ(charText(0), "");
}

TEST(TextOps, CaseChangesOnlyTouchAsciiLetters) {
    // The second byte of 碼 is 'a', of 癆 is 'A': they must not change.
    EXPECT_TEXT_EQ(upperText("abc碼xyz1"), "ABC碼XYZ1");
    EXPECT_TEXT_EQ(lowerText("ABC癆XYZ1"), "abc癆xyz1");
    EXPECT_TEXT_EQ(upperText("z\xB0"), "Z\xB0");  // lone lead byte at the end
}

TEST(TextOps, TrimRemovesAsciiAndFullWidthSpacesOnly) {
    EXPECT_TEXT_EQ(trimText("　 房间 1　 "), "房间 1");
    EXPECT_TEXT_EQ(trimText("　name\t"), "name\t");
    EXPECT_TEXT_EQ(trimText("\r\n x"), "\r\n x");
    EXPECT_TEXT_EQ(trimText("  　 "), "");
    EXPECT_TEXT_EQ(trimText(""), "");
}

TEST(TextOps, TrimRespectsCharacterBoundaries) {
    // 啊 (B0 A1) then 　 (A1 A1): only the full-width space goes.
    EXPECT_TEXT_EQ(trimText("啊　"), "啊");
    // C4 A1 is a character, the last A1 stands alone: no full-width space at the end.
    EXPECT_TEXT_EQ(trimText("\xC4\xA1\xA1"), "\xC4\xA1\xA1");
}

TEST(TextOps, RemoveSpacesEverywhere) {
    EXPECT_TEXT_EQ(removeSpaces(" a b　c　 "), "abc");
    EXPECT_TEXT_EQ(removeSpaces("a\tb"), "a\tb");
    // 啊“ is B0 A1 A1 B0: the middle bytes look like a full-width space but are not one.
    EXPECT_TEXT_EQ(removeSpaces("啊“"), "啊“");
}

TEST(TextOps, ReplaceAt) {
    EXPECT_TEXT_EQ(replaceAt("abcdef", 2, 3, "X"), "aXef");
    EXPECT_TEXT_EQ(replaceAt("abcdef", 2, 3), "aef");
    EXPECT_TEXT_EQ(replaceAt("abcdef", 5, 10, "XY"), "abcdXY");
    EXPECT_TEXT_EQ(replaceAt("abc", 4, 2, "Z"), "abcZ");
    EXPECT_TEXT_EQ(replaceAt("abc", 9, 2, "Z"), "abcZ");
    EXPECT_TEXT_EQ(replaceAt("abc", 0, 1, "Z"), "Zbc");
    EXPECT_TEXT_EQ(replaceAt("abc", 2, -1, "Z"), "aZbc");
}

TEST(TextOps, Spaces) {
    EXPECT_TEXT_EQ(spaces(3), "   ");
    EXPECT_TEXT_EQ(spaces(0), "");
    EXPECT_TEXT_EQ(spaces(-2), "");
}

}  // namespace
}  // namespace tamrivo
