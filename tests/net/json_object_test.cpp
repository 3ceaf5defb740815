#include "net/json_object.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace tamrivo {
namespace {

using ::testing::ElementsAre;

constexpr char kReply[] =
    R"({"软件名称":"Tamrivo","版本":"1.0.0.1","更新说明":"修复若干问题","flag":true,)"
    R"("off":false,"count":3,"list":[10,20,30],"empty":null})";

class JsonObjectTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(document_.parse(kReply)); }
    JsonObject document_;
};

TEST_F(JsonObjectTest, TextOfPresentAndMissingMembers) {
    EXPECT_TEXT_EQ(document_.text("版本"), "1.0.0.1");
    EXPECT_TEXT_EQ(document_.text("更新说明"), "修复若干问题");
    EXPECT_TEXT_EQ(document_.text("更新地址"), "");
    EXPECT_TEXT_EQ(document_.text("empty"), "");
}

TEST_F(JsonObjectTest, BooleansReadAsVariantText) {
    EXPECT_TRUE(document_.boolean("flag"));
    EXPECT_EQ(document_.readText("flag"), "-1");
    EXPECT_FALSE(document_.boolean("off"));
    EXPECT_EQ(document_.readText("off"), "0");
    EXPECT_FALSE(document_.boolean("missing"));
}

TEST_F(JsonObjectTest, MemberCountOfObjectsArraysAndWhatIsMissing) {
    JsonObject three;
    ASSERT_TRUE(three.parse(R"({"a":1,"b":2,"c":3})"));
    EXPECT_EQ(three.memberCount(), 3.0);
    JsonObject two;
    ASSERT_TRUE(two.parse("[1,2]"));
    EXPECT_EQ(two.memberCount(), 2.0);
    EXPECT_EQ(document_.memberCount("list"), 3.0);
    EXPECT_EQ(document_.memberCount("missing"), 0.0);
    EXPECT_EQ(document_.memberCount("empty"), 0.0);
}

TEST_F(JsonObjectTest, ReadsGoThroughBlanksAroundThePathButNotThroughMissingLevels) {
    EXPECT_EQ(document_.readText("  count \xA1\xA1"), "3");
    EXPECT_EQ(document_.readText("missing.deeper"), "");
    EXPECT_FALSE(document_.exists("missing.deeper"));
    EXPECT_FALSE(document_.isNull("missing.deeper"));
    EXPECT_EQ(document_.readText(""), "");
    EXPECT_FALSE(document_.exists(""));
    EXPECT_FALSE(document_.isNull(""));
}

TEST_F(JsonObjectTest, ExistsAndIsNull) {
    EXPECT_TRUE(document_.exists("count"));
    EXPECT_FALSE(document_.isNull("count"));
    EXPECT_FALSE(document_.exists("empty"));
    EXPECT_TRUE(document_.isNull("empty"));
    EXPECT_FALSE(document_.exists("missing"));
    EXPECT_TRUE(document_.isNull("missing"));
}

TEST_F(JsonObjectTest, ReadJsonAndToText) {
    EXPECT_EQ(document_.readJson("list"), "[10,20,30]");
    EXPECT_TEXT_EQ(document_.readJson("版本"), "\"1.0.0.1\"");
    JsonObject small;
    ASSERT_TRUE(small.parse(R"( { "名" : [ 1 , "二" ] } )"));
    EXPECT_TEXT_EQ(small.toText(), R"({"名":[1,"二"]})");
    small.clear();
    EXPECT_EQ(small.toText(), "{}");
}

TEST(JsonObjectNumbers, NumbersReadAsDecimalTextThatKeepsTheirValue) {
    JsonObject document;
    ASSERT_TRUE(document.parse(
        R"({"tenth":0.1,"big":1e21,"exact":1152921504606846976,"negative":-5,"tiny":1.5e-7,)"
        R"("huge":3000000000,"fraction":-2.75,"text":" 12abc","word":"abc"})"));
    EXPECT_EQ(document.readText("tenth"), "0.1");
    EXPECT_EQ(document.readText("big"), "1e+21");
    EXPECT_EQ(document.readText("exact"), "1152921504606846976");
    EXPECT_EQ(document.longInteger("exact"), 1152921504606846976);
    EXPECT_EQ(document.readText("negative"), "-5");
    EXPECT_EQ(document.number("tenth"), 0.1);
    EXPECT_EQ(document.number("tiny"), 1.5e-7);
    EXPECT_EQ(document.longInteger("huge"), 3000000000);
    EXPECT_EQ(document.integer("huge"), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(document.integer("fraction"), -2);
    EXPECT_EQ(document.integer("text"), 12);
    EXPECT_EQ(document.integer("word"), 0);
    EXPECT_EQ(document.integer("missing"), 0);
    EXPECT_EQ(document.single("fraction"), -2.75f);
}

TEST(JsonObjectSetters, TypedSettersStoreAndReadBack) {
    JsonObject document;
    EXPECT_EQ(document.integer("i", -42), -42);
    EXPECT_EQ(document.longInteger("l", 1234567890123), 1234567890123);
    EXPECT_EQ(document.number("n", 2.5), 2.5);
    EXPECT_EQ(document.single("s", 0.1f), 0.1f);
    EXPECT_TRUE(document.boolean("b", true));
    EXPECT_FALSE(document.boolean("f", false));
    EXPECT_TEXT_EQ(document.text("t", "中文"), "中文");
    EXPECT_TEXT_EQ(document.toText(),
                   R"({"i":-42,"l":1234567890123,"n":2.5,"s":0.1,"b":true,"f":false,"t":"中文"})");
}

TEST(JsonObjectSetters, TextValuesWithQuotesBackslashesAndLineBreaksStayWhole) {
    JsonObject document;
    const Text awkward = "it's a \\path\\ \r\n'quoted'";
    EXPECT_EQ(document.text("t", awkward), awkward);
    EXPECT_EQ(document.toText(), R"({"t":"it's a \\path\\ \r\n'quoted'"})");
    // A GBK character whose second byte is a backslash stays one character.
    EXPECT_TEXT_EQ(document.text("t", "淺\\"), "淺\\");
}

TEST(JsonObjectSetters, JsonValuesAreReadAsJsonNeverRun) {
    JsonObject document;
    EXPECT_EQ(document.json("j", R"({"a":[1,2]})"), R"({"a":[1,2]})");
    EXPECT_EQ(document.memberCount("j.a"), 2.0);
    EXPECT_EQ(document.json("k", "(function(){Root.ran=1;return 5})()"), "");
    EXPECT_FALSE(document.exists("ran"));
}

TEST(JsonObjectSetters, SetNullKeepsTheMemberAsNull) {
    JsonObject document;
    ASSERT_TRUE(document.parse(R"({"a":1})"));
    EXPECT_EQ(document.setNull("a"), "");
    EXPECT_TRUE(document.isNull("a"));
    EXPECT_EQ(document.toText(), R"({"a":null})");
}

TEST(JsonObjectParse, ScriptIsRefusedAndNeverRun) {
    JsonObject document;
    EXPECT_FALSE(document.parse("(function(){ witness = 1; return {\"a\":1}; })()"));
    EXPECT_EQ(document.toText(), "null");
    document.clear();
    document.assign("seen", "typeof witness");
    EXPECT_EQ(document.text("seen"), "undefined");
}

TEST(JsonObjectParse, NullEmptyAndInvalidGbkGiveFalseAndNoDocument) {
    JsonObject document;
    EXPECT_FALSE(document.parse("null"));
    EXPECT_FALSE(document.parse(""));
    EXPECT_FALSE(document.parse("{\"a\":\"\x81\x20\"}"));
    EXPECT_EQ(document.typeOf(), JsonKind::Null);
}

TEST(JsonObjectParse, ArraysAndNumbersAreDocumentsWithoutMembers) {
    JsonObject document;
    EXPECT_TRUE(document.parse("[1,2]"));
    EXPECT_EQ(document.text("版本"), "");
    EXPECT_TRUE(document.parse("5"));
    EXPECT_EQ(document.text("版本"), "");
    EXPECT_EQ(document.typeOf(), JsonKind::Number);
}

TEST(JsonObjectParse, DeepNestingFailsCleanlyAndTheObjectStaysUsable) {
    JsonObject document;
    const Text deep = Text(10000, '[') + Text(10000, ']');
    EXPECT_FALSE(document.parse(deep));
    EXPECT_TRUE(document.parse(R"({"a":1})"));
    EXPECT_EQ(document.integer("a"), 1);
    // A path nested as deeply fails the same way.
    EXPECT_EQ(document.readText("a" + Text(10000, '[')), "");
    EXPECT_EQ(document.integer("a"), 1);
}

TEST(JsonObjectParse, TextsOutsideGbkReadAsEmpty) {
    JsonObject document;
    ASSERT_TRUE(document.parse(R"({"smile":"\uD83D\uDE00","plain":"ok"})"));
    EXPECT_EQ(document.text("smile"), "");
    EXPECT_EQ(document.text("plain"), "ok");
}

}  // namespace
}  // namespace tamrivo
