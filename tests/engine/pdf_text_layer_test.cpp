#include "engine/pdf_text_layer.h"

#include <gtest/gtest.h>

#include "engine/chinese_font.h"
#include "tests/support/engine_harness.h"

namespace tamrivo {
namespace {

// The radicals a face draws with an ideograph's glyph are read from the fonts.
class PdfTextLayer : public ::testing::Test {
protected:
    QApplication& app = testing::application();
};

QByteArray map(const QByteArray& entries) {
    return "stream\n/CIDInit begin\nbegincmap\n/CMapType 2 def\n" + entries +
           "endcmap\nend\nendstream\n";
}

TEST_F(PdfTextLayer, RadicalsBecomeTheirIdeographsAndNothingElseMoves) {
    // 入 U+5165 shares its glyph with ⼊ U+2F0A, 小 U+5C0F with ⼩ U+2F29, 母 with ⺟ U+2E9F.
    const QByteArray written =
        map("2 beginbfrange\n<0000> <0000> <0000>\n"
            "<2F0A> <0004> [<2F0A> <4F4F> <2F29> <2E9F>]\nendbfrange\n"
            "2 beginbfchar\n<2F29> <2F29>\n<0006> <2E80>\nendbfchar\n"
            "1 beginbfrange\n<0007> <0007> <2F47>\n<0008> <0009> <2F00>\nendbfrange\n");
    const QByteArray mended = mendTextLayer(written);
    EXPECT_EQ(mended,
              map("2 beginbfrange\n<0000> <0000> <0000>\n"
                  "<2F0A> <0004> [<5165> <4F4F> <5C0F> <6BCD>]\nendbfrange\n"
                  "2 beginbfchar\n<2F29> <5C0F>\n<0006> <2E80>\nendbfchar\n"
                  "1 beginbfrange\n<0007> <0007> <65E5>\n<0008> <0009> <2F00>\nendbfrange\n"));
    EXPECT_EQ(mended.size(), written.size());
}

TEST_F(PdfTextLayer, TextOutsideTheMapsIsLeftAlone) {
    const QByteArray page = "BT /F7 12 Tf <2F0A> Tj ET\n<2F0A> <2F0A>\n";
    EXPECT_EQ(mendTextLayer(page), page);
    EXPECT_EQ(mendTextLayer(page + "begincmap\n1 beginbfchar\n<0001> <2F0A>\n"),
              page + "begincmap\n1 beginbfchar\n<0001> <2F0A>\n");  // no end: not a map
}

TEST(ChineseFont, TheSimplifiedFaceIsChosenWhateverTheDatabaseOrder) {
    EXPECT_EQ(simplifiedChineseFamily({"Noto Sans CJK HK", "Noto Sans CJK JP", "Noto Sans CJK KR",
                                       "Noto Sans CJK SC", "Noto Sans CJK TC",
                                       "Noto Sans Mono CJK SC", "Noto Serif CJK SC"}),
              "Noto Sans CJK SC");
    EXPECT_EQ(simplifiedChineseFamily({"Noto Serif CJK SC", "Noto Sans Mono CJK SC"}),
              "Noto Serif CJK SC");
    EXPECT_EQ(simplifiedChineseFamily(
                  {"Noto Sans CJK TC", "WenQuanYi Micro Hei Mono", "WenQuanYi Micro Hei"}),
              "WenQuanYi Micro Hei");
    EXPECT_EQ(simplifiedChineseFamily({"Noto Sans CJK HK", "Some Chinese Font"}),
              "Some Chinese Font");
    EXPECT_EQ(simplifiedChineseFamily({"Noto Sans CJK HK"}), "Noto Sans CJK HK");
    EXPECT_EQ(simplifiedChineseFamily({}), "");
}

}  // namespace
}  // namespace tamrivo
