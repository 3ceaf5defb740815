#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "net/json_object.h"
#include "net/json_path.h"

namespace tamrivo {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(JsonPaths, HelpersFindTheArrayAndTheIndex) {
    EXPECT_TRUE(endsWithIndex("a.list[2]"));
    EXPECT_FALSE(endsWithIndex("a.list[2].b"));
    EXPECT_EQ(indexNumber("a.list[12]"), 12);
    EXPECT_EQ(indexNumber("grid[1][2]"), 2);
    EXPECT_EQ(withoutLastIndex("a.list[2]"), "a.list");
    EXPECT_EQ(withoutLastIndex("grid[1][2]"), "grid[1]");
    EXPECT_EQ(withoutLastIndex("list[0].list[1]"), "list[0].list");
    EXPECT_EQ(withoutLastIndex("a[1].b"), "a[1].b");
    EXPECT_THAT(splitAt("a.b[1].c.", '.'), ElementsAre("a", "b[1]", "c"));
    EXPECT_THAT(splitAt("a,,b,", ','), ElementsAre("a", "", "b"));
}

TEST(JsonPaths, AssignCreatesMissingLevels) {
    JsonObject document;
    ASSERT_TRUE(document.parse(R"({"keep":1})"));
    document.assign("a.b", "2");
    EXPECT_EQ(document.toText(), R"({"keep":1,"a":{"b":2}})");
    document.assign("items[0].name", "'x'");
    EXPECT_EQ(document.readJson("items"), R"([{"name":"x"}])");
    document.assign(" a.c ", "[1]");
    EXPECT_EQ(document.readJson("a"), R"({"b":2,"c":[1]})");
}

TEST(JsonPaths, AssignToAnIndexTurnsANumberIntoAnArray) {
    JsonObject document;
    ASSERT_TRUE(document.parse(R"({"n":5})"));
    document.assign("n[1]", "7");
    EXPECT_EQ(document.readJson("n"), "[null,7]");
    EXPECT_EQ(document.typeOf("n"), JsonKind::Array);
}

TEST(JsonPaths, EnsureArrayMakesTheAddressedContainerAnArray) {
    JsonObject document;
    ASSERT_TRUE(document.parse(R"({"a":{"list":{"x":1},"keep":[1]}})"));
    document.ensureArray("a.list[3]");
    EXPECT_EQ(document.readJson("a.list"), "[]");
    document.ensureArray("a.keep[0]");
    EXPECT_EQ(document.readJson("a.keep"), "[1]");
    document.ensureArray("");
    EXPECT_EQ(document.toText(), "[]");
}

TEST(JsonPaths, RemoveSplicesElementsAndDeletesMembers) {
    JsonObject document;
    ASSERT_TRUE(document.parse(R"({"a":{"list":[1,0,"s",3]},"b":2,"c":3})"));
    EXPECT_TRUE(document.remove("a.list[1]"));
    EXPECT_EQ(document.readJson("a.list"), R"([1,"s",3])");
    EXPECT_TRUE(document.remove("a.list[1]"));
    EXPECT_EQ(document.readJson("a.list"), "[1,3]");
    EXPECT_FALSE(document.remove("a.list[5]"));
    EXPECT_TRUE(document.remove("b"));
    EXPECT_EQ(document.toText(), R"({"a":{"list":[1,3]},"c":3})");
    EXPECT_FALSE(document.remove("missing.deeper"));
}

TEST(JsonPaths, RemoveWorksWhereTheLastNameAlsoAppearsEarlier) {
    JsonObject document;
    ASSERT_TRUE(document.parse(R"({"list":[{"list":[1,2,3]}],"grid":[[1,2],[3,4]]})"));
    EXPECT_TRUE(document.remove("list[0].list[1]"));
    EXPECT_EQ(document.readJson("list"), R"([{"list":[1,3]}])");
    EXPECT_TRUE(document.remove("grid[1][0]"));
    EXPECT_EQ(document.readJson("grid"), "[[1,2],[4]]");
}

TEST(JsonPaths, KeysListOwnNamesThenTheTwoEveryObjectHas) {
    JsonObject document;
    ASSERT_TRUE(document.parse(R"({"a":1,"b":{"名称":1,"y":[5,6]},"e":{},"n":null})"));
    EXPECT_THAT(document.keys(), ElementsAre("a", "b", "e", "n", "toJSONString", "parseJSON"));
    EXPECT_THAT(document.keys("b"), ElementsAre("名称", "y", "toJSONString", "parseJSON"));
    EXPECT_THAT(document.keys("b.y"), ElementsAre("0", "1", "toJSONString", "parseJSON"));
    EXPECT_THAT(document.keys("e"), ElementsAre("toJSONString", "parseJSON"));
    EXPECT_THAT(document.keys("n"), IsEmpty());
    EXPECT_THAT(document.keys("missing.deeper"), IsEmpty());
}

TEST(JsonPaths, TypeOfNestedValues) {
    JsonObject document;
    ASSERT_TRUE(document.parse(
        R"({"a":{"list":[1,"s",{},[],true,null],"name":"n","obj":{"k":1},"flag":false}})"));
    EXPECT_EQ(document.typeOf(), JsonKind::Object);
    EXPECT_EQ(document.typeOf("a.list"), JsonKind::Array);
    EXPECT_EQ(document.typeOf("a.list[0]"), JsonKind::Number);
    EXPECT_EQ(document.typeOf("a.list[1]"), JsonKind::String);
    EXPECT_EQ(document.typeOf("a.list[2]"), JsonKind::Object);
    EXPECT_EQ(document.typeOf("a.list[3]"), JsonKind::Array);
    EXPECT_EQ(document.typeOf("a.list[4]"), JsonKind::Other);
    EXPECT_EQ(document.typeOf("a.list[5]"), JsonKind::Null);
    EXPECT_EQ(document.typeOf("a.list[9]"), JsonKind::Null);
    EXPECT_EQ(document.typeOf("a.name"), JsonKind::String);
    EXPECT_EQ(document.typeOf("a.obj"), JsonKind::Object);
    EXPECT_EQ(document.typeOf("a.flag"), JsonKind::Other);
}

}  // namespace
}  // namespace tamrivo
