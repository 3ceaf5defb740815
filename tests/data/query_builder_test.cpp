#include "data/query_builder.h"

#include <gtest/gtest.h>

#include "base/date_time.h"

namespace tamrivo {
namespace {

class QueryBuilderTest : public ::testing::Test {
protected:
    void SetUp() override { builder.reset("t"); }

    // a = 'O''Brien', b = 5
    void nameTwoFields() {
        builder.name("a").textValue("O'Brien");
        builder.name("b").intValue(5);
    }

    // After a completed build the builder holds no clause or value but its table.
    void expectPreparedOn(const Text& table) {
        EXPECT_TEXT_EQ(builder.buildSelect(), "SELECT * FROM `" + table + "`");
    }

    QueryBuilder builder;
};

TEST_F(QueryBuilderTest, InsertQuotesTextsAndResets) {
    nameTwoFields();
    EXPECT_TEXT_EQ(builder.buildInsert(), "INSERT INTO `t` (`a`, `b`) VALUES('O''Brien', 5)");
    EXPECT_TEXT_EQ(builder.buildInsert(), "");
    expectPreparedOn("t");
}

TEST_F(QueryBuilderTest, InsertValuesTupleOnly) {
    nameTwoFields();
    EXPECT_TEXT_EQ(builder.buildInsert(std::nullopt, 1), "('O''Brien', 5)");
    expectPreparedOn("t");
}

TEST_F(QueryBuilderTest, UpdateWithAndWithoutCondition) {
    nameTwoFields();
    EXPECT_TEXT_EQ(builder.buildUpdate(), "UPDATE `t` SET `a`='O''Brien', `b`=5");
    nameTwoFields();
    EXPECT_TEXT_EQ(builder.buildUpdate(std::nullopt, "`id`='3'"),
                   "UPDATE `t` SET `a`='O''Brien', `b`=5 WHERE `id`='3'");
    builder.alias("x").where("id=4").name("a").rawValue("a+1");
    EXPECT_TEXT_EQ(builder.buildUpdate(), "UPDATE `t` as x SET `a`=a+1 WHERE id=4");
    expectPreparedOn("t");
}

TEST_F(QueryBuilderTest, GivenTableIsUsedEvenWhenEmptyButNotStored) {
    EXPECT_TEXT_EQ(builder.buildSelect(Text()), "SELECT * FROM ``");
    builder.name("a").intValue(1);
    EXPECT_TEXT_EQ(builder.buildInsert("other"), "INSERT INTO `other` (`a`) VALUES(1)");
    expectPreparedOn("t");
}

TEST_F(QueryBuilderTest, WaitingFieldIsSkippedAndEmptyBuildsChangeNothing) {
    builder.order("id").name("a");
    EXPECT_TEXT_EQ(builder.buildInsert(), "");
    EXPECT_TEXT_EQ(builder.buildUpdate(), "");
    Text header = "untouched";
    EXPECT_TEXT_EQ(builder.buildInsertSelect(std::nullopt, &header), "");
    EXPECT_TEXT_EQ(header, "untouched");
    builder.name("b").intValue(2);  // a still waits and stays out
    EXPECT_TEXT_EQ(builder.buildSelect(), "SELECT * FROM `t` WHERE b=2 ORDER BY id");
}

TEST_F(QueryBuilderTest, DeleteConditionFromClauseOrValues) {
    builder.name("a").intValue(1);
    builder.name("b").intValue(2);
    EXPECT_TEXT_EQ(builder.buildDelete(), "DELETE FROM `t` WHERE a=1 and b=2");
    EXPECT_TEXT_EQ(builder.buildDelete(), "DELETE FROM `t`");
    builder.name("a").intValue(1);
    EXPECT_TEXT_EQ(builder.buildDelete(std::nullopt, "`id`='7'"), "DELETE FROM `t` WHERE `id`='7'");
    expectPreparedOn("t");
}

TEST_F(QueryBuilderTest, SelectClausesInTheirOrder) {
    expectPreparedOn("t");
    builder.order("id desc").page(3, 20);
    EXPECT_TEXT_EQ(builder.buildSelect(), "SELECT * FROM `t` ORDER BY id desc LIMIT 40,20");
    builder.field("a").alias("x").join("LEFT JOIN u ON u.id=x.u").where("a>1").group("g");
    builder.having("count(*)>1").order("a").limit(5);
    EXPECT_TEXT_EQ(builder.buildSelect(),
                   "SELECT a FROM `t` as x LEFT JOIN u ON u.id=x.u WHERE a>1 GROUP BY g "
                   "HAVING count(*)>1 ORDER BY a LIMIT 5");
}

TEST_F(QueryBuilderTest, SelectArgumentsOverrideWithoutStoring) {
    builder.where("a=1").field("a");
    EXPECT_TEXT_EQ(builder.buildSelect("u", "b=2", "b"), "SELECT b FROM `u` WHERE b=2");
    builder.where("a=1").name("c").intValue(3);
    EXPECT_TEXT_EQ(builder.buildSelect(std::nullopt, ""), "SELECT * FROM `t` WHERE c=3");
}

TEST_F(QueryBuilderTest, LimitAndPageTexts) {
    builder.page(0, 10);
    EXPECT_TEXT_EQ(builder.buildSelect(), "SELECT * FROM `t` LIMIT 0,10");
    builder.page(-3, 10);
    EXPECT_TEXT_EQ(builder.buildSelect(), "SELECT * FROM `t` LIMIT 0,10");
    builder.limit(5);
    EXPECT_TEXT_EQ(builder.buildSelect(), "SELECT * FROM `t` LIMIT 5");
    builder.limit(5, 10);
    EXPECT_TEXT_EQ(builder.buildSelect(), "SELECT * FROM `t` LIMIT 5,10");
    builder.page(100000, 100000);  // the offset no longer fits 32 bits
    EXPECT_TEXT_EQ(builder.buildSelect(), "SELECT * FROM `t` LIMIT 9999900000,100000");
}

TEST_F(QueryBuilderTest, JoinAppendsWithOneSpace) {
    builder.join("JOIN a ON x").join("JOIN b ON y", true);
    EXPECT_TEXT_EQ(builder.buildSelect(), "SELECT * FROM `t` JOIN a ON x JOIN b ON y");
    builder.join("JOIN a ON x").join("JOIN c ON z");
    EXPECT_TEXT_EQ(builder.buildSelect(), "SELECT * FROM `t` JOIN c ON z");
}

TEST_F(QueryBuilderTest, TextValuesKeepBackslashesDoubleQuotesAndLineBreaks) {
    builder.name("a").textValue("C:\\temp \"x\" it's\r\nnext");
    EXPECT_TEXT_EQ(builder.buildInsert(),
                   "INSERT INTO `t` (`a`) VALUES('C:\\temp \"x\" it''s\r\nnext')");
}

TEST(QuoteText, WrapsAndDoublesSingleQuotesOnly) {
    EXPECT_TEXT_EQ(QueryBuilder::quoteText("it's"), "'it''s'");
    EXPECT_TEXT_EQ(QueryBuilder::quoteText("it's", false), "it''s");
    EXPECT_TEXT_EQ(QueryBuilder::quoteText("a\\b\"c", false), "a\\b\"c");
    EXPECT_TEXT_EQ(QueryBuilder::quoteText(""), "''");
    EXPECT_TEXT_EQ(QueryBuilder::quoteText("''"), "''''''");
    EXPECT_TEXT_EQ(QueryBuilder::quoteText("礬\\"), "'礬\\'");  // 礬 ends in byte 0x5C
}

// No byte hides a quote from quoting: the euro sign 0x80 and 0xFF are single bytes, and a
// lead byte followed by a quote has no trail byte.
TEST(QuoteText, AQuoteAfterAnyHighByteIsDoubled) {
    EXPECT_TEXT_EQ(QueryBuilder::quoteText("\x80' WHERE 1=1 --"), "'\x80'' WHERE 1=1 --'");
    EXPECT_TEXT_EQ(QueryBuilder::quoteText("\xFF'"), "'\xFF'''");
    EXPECT_TEXT_EQ(QueryBuilder::quoteText("\x81'\xFE'"), "'\x81''\xFE'''");
    EXPECT_TEXT_EQ(QueryBuilder::quoteText("房'\xB0"), "'房''\xB0'");  // lone lead byte at the end
}

TEST_F(QueryBuilderTest, CountAndTop) {
    builder.where("a=1");
    EXPECT_TEXT_EQ(builder.buildCount(), "SELECT count(*) as CH_count FROM `t` WHERE a=1");
    EXPECT_TEXT_EQ(builder.buildTop(), "SELECT TOP 1 * FROM `t`");
    EXPECT_TEXT_EQ(builder.buildTop(10, true, "a"), "SELECT TOP 10 PERCENT a FROM `t`");
    EXPECT_TEXT_EQ(builder.buildTop(3, false, "a, b"), "SELECT TOP 3 a, b FROM `t`");
}

TEST_F(QueryBuilderTest, InsertSelectRows) {
    Text header;
    builder.name("a").intValue(1);
    builder.name("b").intValue(2);
    EXPECT_TEXT_EQ(builder.buildInsertSelect(std::nullopt, &header, 1), "SELECT 1,2 UNION ALL ");
    EXPECT_TEXT_EQ(header, "INSERT INTO `t` (`a`, `b`) ");
    builder.name("a").intValue(3);
    builder.name("b").intValue(4);
    EXPECT_TEXT_EQ(builder.buildInsertSelect(), "SELECT 3,4");
    expectPreparedOn("t");
}

TEST_F(QueryBuilderTest, EveryValueSetter) {
    builder.name("i64").int64Value(-9000000000);
    builder.name("d").doubleValue(1e15);
    builder.name("f").floatValue(0.1f);
    builder.name("yes").boolValue(1);
    builder.name("two").boolValue(2);  // only 1 is true
    builder.name("at").dateTimeValue(fromCalendar({2020, 2, 17, 9, 5, 3}).value());
    builder.name("none").nullValue();
    builder.name("raw").rawValue("datetime('now')");
    EXPECT_TEXT_EQ(builder.buildInsert(std::nullopt, 1),
                   "(-9000000000, 1e+015, 0.1, 1, 0, '2020-02-17 09:05:03', null, "
                   "datetime('now'))");
}

TEST_F(QueryBuilderTest, NamesAreTrimmedAndKeepTheirFirstPosition) {
    builder.name(" a　").intValue(1);
    builder.name("b").intValue(2);
    builder.name("a").intValue(3);
    EXPECT_TEXT_EQ(builder.buildInsert(), "INSERT INTO `t` (`a`, `b`) VALUES(3, 2)");
}

TEST_F(QueryBuilderTest, RawNameValueLeavesTheWaitingFieldWaiting) {
    builder.name("b").name("c", "now()");
    builder.intValue(3);
    EXPECT_TEXT_EQ(builder.buildInsert(), "INSERT INTO `t` (`b`, `c`) VALUES(3, now())");
}

TEST_F(QueryBuilderTest, ValueWithNoFieldWaitingIsIgnored) {
    builder.intValue(5);  // straight after reset
    EXPECT_TEXT_EQ(builder.buildInsert(), "");
    builder.name("a").intValue(1);
    builder.intValue(2);  // after a completed pair
    EXPECT_TEXT_EQ(builder.buildInsert(), "INSERT INTO `t` (`a`) VALUES(1)");
}

TEST_F(QueryBuilderTest, CopiesAreIndependent) {
    builder.name("a").intValue(1);
    QueryBuilder copy = builder;
    EXPECT_TEXT_EQ(copy.buildInsert(), "INSERT INTO `t` (`a`) VALUES(1)");
    EXPECT_TEXT_EQ(builder.buildUpdate(), "UPDATE `t` SET `a`=1");
}

}  // namespace
}  // namespace tamrivo
