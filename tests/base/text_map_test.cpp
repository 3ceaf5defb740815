#include "base/text_map.h"

#include <gtest/gtest.h>

namespace tamrivo {
namespace {

using Pair = TextMap::Pair;

TextMap mapOf(std::initializer_list<Pair> pairs) {
    TextMap map;
    for (Pair pair : pairs) {
        map.set(pair.key, pair.value);
    }
    return map;
}

TEST(TextMap, KeysAreTrimmedAndWrittenBack) {
    TextMap map;
    Text padded = " a ";
    EXPECT_TRUE(map.set(padded, "1"));
    EXPECT_TEXT_EQ(padded, "a");
    Text plain = "a";
    EXPECT_TRUE(map.set(plain, "2"));
    EXPECT_EQ(map.count(), 1);
    EXPECT_EQ(map.pairAt(1), (Pair{"a", "2"}));

    Text fullWidthPadded = "　a ";
    EXPECT_TEXT_EQ(map.get(fullWidthPadded), "2");
    EXPECT_TEXT_EQ(fullWidthPadded, "a");
}

TEST(TextMap, IndexOfDoesNotTrim) {
    const TextMap map = mapOf({{"a", "1"}, {"b", "2"}});
    EXPECT_EQ(map.indexOf("b"), 2);
    EXPECT_EQ(map.indexOf(" b"), -1);
    EXPECT_EQ(map.indexOf("B"), -1);
}

TEST(TextMap, ReplacingKeepsThePosition) {
    TextMap map = mapOf({{"a", "1"}, {"b", "2"}, {"c", "3"}});
    Text key = "b";
    map.set(key, "20");
    EXPECT_EQ(map.pairAt(2), (Pair{"b", "20"}));
    EXPECT_EQ(map.count(), 3);
}

TEST(TextMap, ReplaceOnlyLeavesMissingKeysOut) {
    TextMap map = mapOf({{"a", "1"}});
    Text missing = "z";
    EXPECT_FALSE(map.set(missing, "9", false, true));
    EXPECT_EQ(map.count(), 1);
    Text present = "a";
    EXPECT_TRUE(map.set(present, "5", false, true));
    EXPECT_EQ(map.pairAt(1), (Pair{"a", "5"}));
    EXPECT_TRUE(map.set(missing, "9", true, true));  // force wins
    EXPECT_EQ(map.pairAt(2), (Pair{"z", "9"}));
}

TEST(TextMap, GetOfAMissingKeyGivesTheDefault) {
    const TextMap map = mapOf({{"a", "1"}});
    Text key = "b";
    EXPECT_TEXT_EQ(map.get(key, "none"), "none");
    EXPECT_TEXT_EQ(map.get(key), "");
}

TEST(TextMap, PairAtOutsideTheMapIsEmpty) {
    const TextMap map = mapOf({{"a", "1"}, {"b", "2"}});
    EXPECT_EQ(map.pairAt(-1), Pair{});
    EXPECT_EQ(map.pairAt(3), Pair{});
    EXPECT_EQ(map.pairAt(0), Pair{});
    EXPECT_EQ(map.pairAt(2), (Pair{"b", "2"}));
}

TEST(TextMap, RemoveByPositionOrKey) {
    TextMap map = mapOf({{"a", "1"}, {"b", "2"}, {"c", "3"}});
    Text unused;
    EXPECT_TRUE(map.remove(1, true, unused, false));
    EXPECT_EQ(map.pairAt(1), (Pair{"b", "2"}));
    EXPECT_EQ(map.count(), 2);

    Text key = " c ";
    EXPECT_TRUE(map.remove(7, true, key, true));  // no position 7: falls back to the key
    EXPECT_TEXT_EQ(key, "c");
    EXPECT_EQ(map.count(), 1);

    Text missing = "x";
    EXPECT_FALSE(map.remove(5, true, missing, true));
    EXPECT_FALSE(map.remove(1, false, missing, false));
    EXPECT_EQ(map.count(), 1);
}

TEST(TextMap, CopiesAreDeepAndClearEmpties) {
    TextMap map = mapOf({{"a", "1"}, {"b", "2"}});
    TextMap copy = map;
    map.clear();
    EXPECT_EQ(map.count(), 0);
    EXPECT_EQ(copy.count(), 2);
    EXPECT_EQ(copy.pairAt(2), (Pair{"b", "2"}));
}

}  // namespace
}  // namespace tamrivo
