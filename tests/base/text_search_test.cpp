#include "base/text_search.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace tamrivo {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// The second byte of 碼 is 'a', so "碼b" holds the bytes B4 'a' 'b'.
constexpr const char* kTrailA = "碼b";

TEST(FindText, FirstOccurrence) {
    EXPECT_EQ(findText("xxab", "ab"), 3);
    EXPECT_EQ(findText("abab", "ab", 2), 3);
    EXPECT_EQ(findText("abab", "ab", 4), -1);
    EXPECT_EQ(findText("abab", "ab", 0), 1);
    EXPECT_EQ(findText("abc", "abcd"), -1);
    EXPECT_EQ(findText("房间号", "间"), 3);
}

TEST(FindText, EmptySoughtText) {
    EXPECT_EQ(findText("abc", ""), 1);
    EXPECT_EQ(findText("", ""), -1);
}

TEST(FindText, NeverMatchesInsideADoubleByteCharacter) {
    EXPECT_EQ(findText(kTrailA, "ab"), -1);
    EXPECT_EQ(findText(std::string(kTrailA) + "ab", "ab"), 4);
    EXPECT_EQ(findText("ab\x81", "\x81"), -1);  // a lead byte at the end ends the scan
}

TEST(FindText, OnlyALeadByteWithItsTrailByteIsOneCharacter) {
    EXPECT_EQ(findText("\x80'", "'"), 2);  // the euro sign is one byte
    EXPECT_EQ(findText("\xFF'", "'"), 2);
    EXPECT_EQ(findText("\x81'", "'"), 2);  // a quote is never a trail byte
    EXPECT_EQ(findText("\xB0\x7F", "\x7F"), 2);
    EXPECT_EQ(findText("\xB0\x40", "\x40"), -1);  // 0x40 is the lowest trail byte
    EXPECT_EQ(findText("\xB0\xFE", "\xFE"), -1);
}

TEST(FindText, IgnoreCaseFoldsAsciiOnly) {
    EXPECT_EQ(findText("xxAB", "ab", 1, true), 3);
    EXPECT_EQ(findText("xxAB", "ab", 1, false), -1);
    // 癆 ends in 'A', 癮 in 'a': different characters whatever the case.
    EXPECT_EQ(findText("癆", "癮", 1, true), -1);
}

TEST(FindTextFromEnd, LastOccurrence) {
    EXPECT_EQ(findTextFromEnd("abab", "ab"), 3);
    EXPECT_EQ(findTextFromEnd("aaa", "aa"), 2);
    EXPECT_EQ(findTextFromEnd("abc", "x"), -1);
    EXPECT_EQ(findTextFromEnd("abc", ""), -1);
    EXPECT_EQ(findTextFromEnd("xAB", "ab", std::nullopt, true), 2);
    EXPECT_EQ(findTextFromEnd(std::string("ab") + kTrailA, "ab"), 1);
}

TEST(FindTextFromEnd, StartLimitsToTheBytesBeforeIt) {
    EXPECT_EQ(findTextFromEnd("abab", "ab", 5), 3);
    EXPECT_EQ(findTextFromEnd("abab", "ab", 4), 1);
    EXPECT_EQ(findTextFromEnd("abab", "ab", 2), -1);
    EXPECT_EQ(findTextFromEnd("abab", "ab", 0), -1);
    EXPECT_EQ(findTextFromEnd("abab", "ab", 99), 3);
}

TEST(Substitute, ReplacesLeftToRight) {
    EXPECT_TEXT_EQ(substitute("a.b.c", ".", "-"), "a-b-c");
    EXPECT_TEXT_EQ(substitute("a.b.c", "."), "abc");
    EXPECT_TEXT_EQ(substitute("a.b.c", ".", "-", 1, 1), "a-b.c");
    EXPECT_TEXT_EQ(substitute("a.b.c", ".", "-", 3), "a.b-c");
    EXPECT_TEXT_EQ(substitute("a.b.c", ".", "-", 1, 0), "a.b.c");
    EXPECT_TEXT_EQ(substitute("aaa", "a", "aa"), "aaaaaa");  // replaced text is not searched again
    EXPECT_TEXT_EQ(substitute("O'Brien", "'", "''"), "O''Brien");
}

TEST(Substitute, UnchangedCopies) {
    EXPECT_TEXT_EQ(substitute("", "a", "b"), "");
    EXPECT_TEXT_EQ(substitute("abc", "", "b"), "abc");
    EXPECT_TEXT_EQ(substitute("abc", "a", "b", 9), "abc");
    EXPECT_TEXT_EQ(substitute(kTrailA, "ab", "X"), kTrailA);
}

TEST(Substitute, CaseInsensitive) {
    EXPECT_TEXT_EQ(substitute("AbAB", "ab", "x", 1, std::nullopt, false), "xx");
    EXPECT_TEXT_EQ(substitute("AbAB", "ab", "x"), "AbAB");
}

TEST(SplitText, PiecesBetweenSeparators) {
    EXPECT_THAT(splitText("a,,b,"), ElementsAre("a", "", "b"));
    EXPECT_THAT(splitText(",a"), ElementsAre("", "a"));
    EXPECT_THAT(splitText(","), ElementsAre(""));
    EXPECT_THAT(splitText("abc"), ElementsAre("abc"));
    EXPECT_THAT(splitText("a||b||", "||"), ElementsAre("a", "b"));
    EXPECT_THAT(splitText("房间,租金", ","), ElementsAre("房间", "租金"));
}

TEST(SplitText, EmptyTextAndSeparator) {
    EXPECT_THAT(splitText(""), IsEmpty());
    EXPECT_THAT(splitText("a,b", ""), ElementsAre("a,b"));
}

TEST(SplitText, MaxPiecesDropsTheRest) {
    EXPECT_THAT(splitText("a,b,c", ",", 2), ElementsAre("a", "b"));
    EXPECT_THAT(splitText("a,b", ",", 2), ElementsAre("a", "b"));
    EXPECT_THAT(splitText("a,b", ",", 5), ElementsAre("a", "b"));
    EXPECT_THAT(splitText("a,b", ",", 0), IsEmpty());
}

TEST(SplitText, NeverSplitsADoubleByteCharacter) {
    EXPECT_THAT(splitText("碼ab", "a"), ElementsAre("碼", "b"));
    EXPECT_THAT(splitText("x,\xB0", ","), ElementsAre("x", "\xB0"));
}

}  // namespace
}  // namespace tamrivo
