#include <utility>
#include <vector>

#include "data/schema_sql.h"
#include "tests/data/database_test_support.h"

namespace tamrivo {
namespace {

using testing::mustExecute;
using testing::OpenDatabase;

TEST(SchemaSql, TypeNamesCoverElevenOfTwelveCodes) {
    const std::vector<std::pair<int, Text>> names = {
        {1, "Byte"},   {2, "Smallint"}, {3, "Integer"},  {4, "BigInt"}, {5, "Decimal"},
        {6, "Double"}, {7, "Bit"},      {8, "DateTime"}, {9, ""},       {10, "VarChar"},
        {11, "Blob"},  {12, "Text"},    {0, ""},         {13, ""},      {-1, ""},
    };
    for (const auto& [code, name] : names) {
        EXPECT_TEXT_EQ(typeName(code), name) << "code " << code;
    }
}

TEST(SchemaSql, AttributeTextKeepsItsOrderAndLeadingSpaces) {
    EXPECT_TEXT_EQ(attributeText(1 | 2 | 4), "Primary Key AutoIncrement Not Null");
    EXPECT_TEXT_EQ(attributeText(4), " Not Null");
    EXPECT_TEXT_EQ(attributeText(2 | 8), " AutoIncrement");
    EXPECT_TEXT_EQ(attributeText(8), "");
}

TEST(SchemaSql, CreateTableWritesEachFieldInOrder) {
    const FieldDefinition fields[] = {
        {"id", 3, 0, 1 | 2, ""},
        {"mc", 10, 50, 4, ""},
        {"je", 6, 0, 0, "0"},
    };
    EXPECT_TEXT_EQ(createTableSql("t", fields),
                   "create table t (id Integer Primary Key AutoIncrement,mc VarChar(50)  Not "
                   "Null,je Double Default 0)");
    EXPECT_TEXT_EQ(createTableSql("t", {}), "create table t");
}

TEST(SchemaSql, CreateTableWritesAnyLengthAndNoTypeForCodeNine) {
    const FieldDefinition fields[] = {{"n", 3, 4, 0, ""}, {"x", 9, 0, 0, "'无'"}};
    EXPECT_TEXT_EQ(createTableSql("t", fields), "create table t (n Integer(4),x  Default '无')");
}

TEST(SchemaSql, AddColumnWritesALengthOnlyForVarCharAndTheDefaultOnlyWithBitEight) {
    EXPECT_TEXT_EQ(addColumnSql("t", {"c", 3, 4, 0, "5"}), "alter table t add column c Integer");
    EXPECT_TEXT_EQ(addColumnSql("t", {"c", 10, 20, 0, ""}),
                   "alter table t add column c VarChar(20)");
    EXPECT_TEXT_EQ(addColumnSql("t", {"c", 3, 0, 8, "Default 5"}),
                   "alter table t add column c Integer  Default 5");
    EXPECT_TEXT_EQ(addColumnSql("t", {"c", 12, 0, 4 | 8, "Default ''"}),
                   "alter table t add column c Text  Not Null Default ''");
    EXPECT_TEXT_EQ(addColumnSql("t", {"c", 12, 0, 4, "Default ''"}),
                   "alter table t add column c Text  Not Null");
}

TEST(SchemaSql, CreateTriggerComposesTimingEventAndBody) {
    EXPECT_TEXT_EQ(createTriggerSql("t", "t1", "delete from x;", 1, "", 2, false),
                   "CREATE TRIGGER t1 AFTER DELETE ON t BEGIN delete from x; END");
    EXPECT_TEXT_EQ(createTriggerSql("t", "t2", "select 1;", 3, "a, b", 1, true),
                   "CREATE TEMPORARY TRIGGER t2 BEFORE UPDATE OF a, b ON t BEGIN select 1; END");
    EXPECT_TEXT_EQ(createTriggerSql("t", "t3", "select 1;", 0, "", 0, false),
                   "CREATE TRIGGER t3 INSERT ON t BEGIN select 1; END");
    EXPECT_TEXT_EQ(createTriggerSql("t", "t4", "select 1;", 7, "", 9, false),
                   "CREATE TRIGGER t4 ON t BEGIN select 1; END");
    EXPECT_TEXT_EQ(createTriggerSql("t", "t5", "select 1;", 2, "ignored", 0, false),
                   "CREATE TRIGGER t5 UPDATE ON t BEGIN select 1; END");
}

class DatabaseSchema : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(db.open()); }

    // The (name, sql) rows of a listing, which is finalized here.
    std::vector<std::pair<Text, Text>> rows(StatementHandle listing) {
        std::vector<std::pair<Text, Text>> result;
        while (db.step(listing)) {
            result.emplace_back(db.columnText(listing, 0), db.columnText(listing, 1));
        }
        EXPECT_TRUE(db.finalize(listing));
        return result;
    }

    OpenDatabase session;
    Database& db = session.db;
};

TEST_F(DatabaseSchema, CreateTableStoresTheComposedDefinition) {
    const FieldDefinition fields[] = {
        {"id", kFieldInteger, 0, kFieldPrimaryKey | kFieldAutoIncrement, ""},
        {"名称", kFieldVarChar, 50, kFieldNotNull, ""},
        {"je", kFieldDouble, 0, 0, "0"},
    };
    Text error = "stale";
    ASSERT_TRUE(db.createTable("房间", fields, &error));
    EXPECT_TEXT_EQ(error, "");
    EXPECT_TEXT_EQ(db.queryText("select sql from sqlite_master where name='房间'"),
                   "CREATE TABLE 房间 (id Integer Primary Key AutoIncrement,名称 VarChar(50)  Not "
                   "Null,je Double Default 0)");
    ASSERT_TRUE(db.run("insert into 房间(名称) values('甲')"));
    EXPECT_TEXT_EQ(db.queryText("select id || '|' || je from 房间"), "1|0.0");

    EXPECT_FALSE(db.createTable("房间", fields, &error));
    EXPECT_TEXT_EQ(error, "table 房间 already exists");
    EXPECT_FALSE(db.createTable("t", {}, &error));
    EXPECT_FALSE(error.empty());
}

TEST_F(DatabaseSchema, ListingsShowOneKindOfObjectEach) {
    mustExecute(db,
                "create table a(id integer primary key autoincrement, x);"
                "create table b(y);"
                "create index a_x on a(x); create index b_y on b(y);"
                "create view v as select x from a;"
                "create trigger a_t after insert on a begin delete from b; end;"
                "insert into a(x) values(1)");

    const StatementHandle tables = db.listTables();
    EXPECT_TEXT_EQ(db.statementSql(tables),
                   "select tbl_name,sql from sqlite_master where type='table' and "
                   "tbl_name!='sqlite_sequence'");
    EXPECT_EQ(rows(tables).size(), 2u);  // sqlite_sequence left out
    EXPECT_EQ(db.queryInt("select count(*) from sqlite_master where name='sqlite_sequence'"), 1);

    const StatementHandle indexes = db.listIndexes("a");
    EXPECT_TEXT_EQ(db.statementSql(indexes),
                   "select name,sql from sqlite_master where type='index' and tbl_name='a'");
    const auto indexRows = rows(indexes);
    ASSERT_EQ(indexRows.size(), 1u);
    EXPECT_TEXT_EQ(indexRows[0].first, "a_x");
    EXPECT_TEXT_EQ(indexRows[0].second, "CREATE INDEX a_x on a(x)");

    const StatementHandle views = db.listViews();
    EXPECT_TEXT_EQ(db.statementSql(views), "select name,sql from sqlite_master where type='view'");
    EXPECT_EQ(rows(views),
              (std::vector<std::pair<Text, Text>>{{"v", "CREATE VIEW v as select x from a"}}));

    const StatementHandle triggers = db.listTriggers("a");
    EXPECT_TEXT_EQ(db.statementSql(triggers),
                   "select name,sql from sqlite_master where type='trigger' and tbl_name='a'");
    const auto triggerRows = rows(triggers);
    ASSERT_EQ(triggerRows.size(), 1u);
    EXPECT_TEXT_EQ(triggerRows[0].first, "a_t");
    EXPECT_TRUE(rows(db.listTriggers("b")).empty());
}

TEST_F(DatabaseSchema, TableExistsIsExactAndCaseSensitive) {
    mustExecute(db, "create table Rooms(x); create view RoomView as select 1");
    EXPECT_TRUE(db.tableExists("Rooms"));
    EXPECT_FALSE(db.tableExists("rooms"));
    EXPECT_FALSE(db.tableExists("Room"));
    EXPECT_FALSE(db.tableExists("RoomView"));
}

TEST_F(DatabaseSchema, DropRenameAndClearKeepTheirGuarantees) {
    mustExecute(db, "create table t(x); insert into t values(1), (2)");
    Text error;
    EXPECT_TRUE(db.clearTable("t"));
    EXPECT_EQ(db.queryInt("select count(*) from t"), 0);
    EXPECT_TRUE(db.clearTable("t"));  // already empty
    EXPECT_FALSE(db.clearTable("nowhere"));

    EXPECT_TRUE(db.renameTable("t", "u", &error));
    EXPECT_TRUE(db.tableExists("u"));
    EXPECT_FALSE(db.renameTable("t", "v", &error));
    EXPECT_TEXT_EQ(error, "no such table: t");

    EXPECT_TRUE(db.dropTable("u", &error));
    EXPECT_FALSE(db.tableExists("u"));
    EXPECT_TRUE(db.dropTable("u", &error));  // "if exists"
}

TEST_F(DatabaseSchema, AddColumnAppendsAColumnWithItsDefault) {
    mustExecute(db, "create table t(x); insert into t values(1)");
    Text error;
    ASSERT_TRUE(
        db.addColumn("t", {"状态", kFieldInteger, 0, kFieldWithDefault, "Default 7"}, &error))
        << testing::readableGbk(error);
    ASSERT_TRUE(db.addColumn("t", {"mc", kFieldVarChar, 10, 0, "Default 9"}, &error));
    EXPECT_TEXT_EQ(db.queryText("select 状态 || '/' || ifnull(mc, 'null') from t"), "7/null");
    EXPECT_FALSE(db.addColumn("t", {"mc", kFieldText, 0, 0, ""}, &error));
    EXPECT_TEXT_EQ(error, "duplicate column name: mc");
}

TEST_F(DatabaseSchema, IndexesMayBeCreatedAndDroppedTwice) {
    mustExecute(db, "create table t(x, y)");
    EXPECT_TRUE(db.createIndex("t_xy", "t", "x, y"));
    EXPECT_TRUE(db.createIndex("t_xy", "t", "x, y"));
    EXPECT_TEXT_EQ(db.queryText("select sql from sqlite_master where name='t_xy'"),
                   "CREATE INDEX t_xy on t(x, y)");
    EXPECT_TRUE(db.dropIndex("t_xy"));
    EXPECT_TRUE(db.dropIndex("t_xy"));
    EXPECT_FALSE(db.createIndex("bad", "nowhere", "x"));
}

TEST_F(DatabaseSchema, ViewsAndTriggersFailWhenMissingOrPresent) {
    mustExecute(db, "create table t(x); create table log(n)");
    Text error;
    EXPECT_TRUE(db.createView("v", "select x from t", false, &error));
    EXPECT_FALSE(db.createView("v", "select x from t", false, &error));
    EXPECT_TRUE(db.createView("tv", "select 1", true, &error));
    EXPECT_EQ(db.queryInt("select count(*) from sqlite_temp_master where name='tv'"), 1);
    EXPECT_TRUE(db.dropView("v", &error));
    EXPECT_FALSE(db.dropView("v", &error));
    EXPECT_TEXT_EQ(error, "no such view: v");

    ASSERT_TRUE(db.createTrigger("t", "t_log", "insert into log values(new.x);", kTriggerInsert, {},
                                 kTriggerAfter, false, &error))
        << testing::readableGbk(error);
    ASSERT_TRUE(db.run("insert into t values(5)"));
    EXPECT_EQ(db.queryInt("select n from log"), 5);
    EXPECT_FALSE(db.createTrigger("t", "t_log", "select 1;", kTriggerDelete, {}, 0, false, &error));
    EXPECT_TRUE(db.dropTrigger("t_log", &error));
    EXPECT_FALSE(db.dropTrigger("t_log", &error));
    EXPECT_TEXT_EQ(error, "no such trigger: t_log");
}

}  // namespace
}  // namespace tamrivo
