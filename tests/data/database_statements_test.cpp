#include <gmock/gmock.h>

#include "tests/data/database_test_support.h"
#include "tests/support/library_text.h"

namespace tamrivo {
namespace {

using testing::mustExecute;
using testing::OpenDatabase;

class DatabaseStatements : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(db.open());
        mustExecute(db,
                    "create table room(id integer primary key, name text, price real);"
                    "insert into room(name, price) values('东厢', 12.5), ('西厢', NULL), "
                    "(NULL, 3)");
    }

    OpenDatabase session;
    Database& db = session.db;
};

TEST_F(DatabaseStatements, RunSucceedsOnlyForStatementsThatComplete) {
    EXPECT_FALSE(db.run("select * from room"));  // yields a row
    EXPECT_TRUE(db.run("update room set name='x' where id=99"));
    EXPECT_EQ(db.changes(), 0);
    EXPECT_TRUE(db.run("update room set price=1 where id<3"));
    EXPECT_EQ(db.changes(), 2);
    EXPECT_FALSE(db.run("update nowhere set a=1"));
    EXPECT_TEXT_EQ(db.errorMessage(), "no such table: nowhere");
}

// A full disk is said in the landlord's words, whichever way the write was made.
TEST_F(DatabaseStatements, AFullDiskIsSaidInChinese) {
    const int pages = db.queryInt("PRAGMA page_count");
    mustExecute(db, "PRAGMA max_page_count=" + std::to_string(pages));
    const Text big = "insert into room(name) values(printf('%.*c', 100000, 'x'))";
    EXPECT_FALSE(db.run(big));
    EXPECT_EQ(db.errorCode() & 0xFF, 13);  // SQLITE_FULL
    EXPECT_TEXT_EQ(db.errorMessage(), "磁盘空间不足,数据无法写入");
    Text error;
    EXPECT_FALSE(db.execute(big, &error));
    EXPECT_TEXT_EQ(error, "磁盘空间不足,数据无法写入");
    EXPECT_FALSE(db.run("update nowhere set a=1"));
    EXPECT_TEXT_EQ(db.errorMessage(), "no such table: nowhere");
}

TEST_F(DatabaseStatements, RunCompilesOnlyTheFirstStatement) {
    EXPECT_TRUE(db.run("insert into room(name) values('a'); insert into room(name) values('b')"));
    EXPECT_EQ(db.queryInt("select count(*) from room"), 4);
    EXPECT_EQ(db.lastInsertRowid(), 4);
}

TEST_F(DatabaseStatements, BlobsBindInOrderUpToTheFirstOmittedOne) {
    mustExecute(db, "create table b(p, q, r)");
    const Bytes first{1, 2, 3};
    const Bytes third{9};
    ASSERT_TRUE(db.run("insert into b values(?, ?, ?)", first, std::nullopt, third));

    StatementHandle row = db.prepare("select p, typeof(q), typeof(r) from b");
    ASSERT_TRUE(db.step(row));
    EXPECT_EQ(db.columnBlob(row, 0), first);
    EXPECT_TEXT_EQ(db.columnText(row, 1), "null");
    EXPECT_TEXT_EQ(db.columnText(row, 2), "null");
    EXPECT_TRUE(db.finalize(row));
}

TEST_F(DatabaseStatements, AnEmptyBlockIsAZeroLengthBlobNotNull) {
    ASSERT_TRUE(db.run("create table b(p)"));
    ASSERT_TRUE(db.run("insert into b values(?)", Bytes{}));
    EXPECT_TEXT_EQ(db.queryText("select typeof(p) || length(p) from b"), "blob0");
}

TEST_F(DatabaseStatements, FiveBlobsReachFiveParameters) {
    const Bytes blocks[5] = {{1}, {2, 2}, {3, 3, 3}, {0, 255}, {5}};
    StatementHandle statement = db.prepareWithBlobs("select ?, ?, ?, ?, ?", blocks[0], blocks[1],
                                                    blocks[2], blocks[3], blocks[4]);
    ASSERT_NE(statement, nullptr);
    ASSERT_TRUE(db.step(statement));
    for (int column = 0; column < 5; ++column) {
        EXPECT_EQ(db.columnBlob(statement, column), blocks[column]);
        EXPECT_EQ(db.columnBytes(statement, column), static_cast<int>(blocks[column].size()));
    }
    EXPECT_TRUE(db.finalize(statement));
}

TEST_F(DatabaseStatements, ABlobForAMissingParameterFailsTheStatement) {
    EXPECT_EQ(db.prepareWithBlobs("select 1", Bytes{1}), nullptr);
    EXPECT_EQ(db.errorCode(), SQLITE_RANGE);
    EXPECT_TEXT_EQ(db.errorMessage(), testing::libraryText(SQLITE_RANGE));
    EXPECT_FALSE(db.run("insert into room(name) values(1)", Bytes{1}));
    EXPECT_EQ(db.queryInt("select count(*) from room"), 3);
}

TEST_F(DatabaseStatements, SingleValueQueriesReadTheFirstColumnOfTheFirstRow) {
    EXPECT_TEXT_EQ(db.queryText("select name from room order by id"), "东厢");
    EXPECT_EQ(db.queryInt("select count(*) from room"), 3);
    EXPECT_TEXT_EQ(db.queryText("select name from room where id=3"), "");  // NULL
    EXPECT_TEXT_EQ(db.queryText("select name from room where id=99"), "");
    EXPECT_EQ(db.queryInt("select id from room where id=99"), 0);
    EXPECT_EQ(db.queryInt("select id from nowhere"), 0);
}

TEST_F(DatabaseStatements, GetTablePutsTheColumnNamesFirst) {
    TextTable table;
    int rows = 0;
    int columns = 0;
    Text error = "stale";
    ASSERT_TRUE(
        db.getTable("select name, price from room order by id", &table, rows, columns, error));
    EXPECT_EQ(rows, 3);
    EXPECT_EQ(columns, 2);
    const TextTable expected = {{"name", "price"}, {"东厢", "12.5"}, {"西厢", ""}, {"", "3.0"}};
    EXPECT_EQ(table, expected);
    EXPECT_TEXT_EQ(error, "");

    EXPECT_TRUE(db.getTable("select id from room", nullptr, rows, columns, error));
    EXPECT_EQ(rows, 3);
}

TEST_F(DatabaseStatements, GetTableHandsBackTheLibraryMessage) {
    TextTable table = {{"kept"}};
    int rows = -1;
    int columns = -1;
    Text error;
    EXPECT_FALSE(db.getTable("select * from 房客", &table, rows, columns, error));
    EXPECT_TEXT_EQ(error, "no such table: 房客");
    EXPECT_EQ(table, TextTable{{"kept"}});
}

TEST_F(DatabaseStatements, ChineseTextRoundTrips) {
    const Text guest = "张三丰，联系方式：一三八〇〇";
    ASSERT_TRUE(db.run("insert into room(name) values('" + guest + "')"));
    StatementHandle statement = db.prepare("select name from room where id=4");
    ASSERT_TRUE(db.step(statement));
    EXPECT_TEXT_EQ(db.columnText(statement, 0), guest);
    EXPECT_EQ(db.columnBytes(statement, 0), 3 * 14);  // stored as UTF-8
    EXPECT_TRUE(db.finalize(statement));
}

TEST_F(DatabaseStatements, ParametersAreBoundByNameWithChineseNamesAndValues) {
    StatementHandle statement =
        db.prepare("insert into room(id, name, price) values(:编号, :名称, @价格)");
    ASSERT_NE(statement, nullptr);
    EXPECT_EQ(db.parameterCount(statement), 3);
    EXPECT_EQ(db.parameterIndex(statement, ":名称"), 2);
    EXPECT_EQ(db.parameterIndex(statement, "名称"), 0);
    EXPECT_TEXT_EQ(db.parameterName(statement, 3), "@价格");
    EXPECT_TEXT_EQ(db.parameterName(statement, 4), "");
    EXPECT_TEXT_EQ(db.statementSql(statement),
                   "insert into room(id, name, price) values(:编号, :名称, @价格)");

    EXPECT_TRUE(db.bindInt64(statement, ":编号", 5000000000LL));
    EXPECT_TRUE(db.bindText(statement, ":名称", "南房"));
    EXPECT_TRUE(db.bindDouble(statement, "@价格", 99.75));
    EXPECT_FALSE(db.bindInt(statement, ":无此参数", 1));
    EXPECT_EQ(db.errorCode(), SQLITE_RANGE);
    EXPECT_TEXT_EQ(db.errorMessage(), testing::libraryText(SQLITE_RANGE));
    EXPECT_TRUE(db.stepAndFinalize(statement));

    EXPECT_TEXT_EQ(db.queryText("select name || '/' || price from room where id=5000000000"),
                   "南房/99.75");
}

TEST_F(DatabaseStatements, ResetAndClearBindingsReuseAStatement) {
    StatementHandle statement = db.prepare("select :v");
    ASSERT_TRUE(db.bindBlob(statement, ":v", Bytes{7, 8}));
    ASSERT_TRUE(db.step(statement));
    EXPECT_EQ(db.columnBlob(statement, 0), (Bytes{7, 8}));
    EXPECT_TRUE(db.reset(statement));
    EXPECT_TRUE(db.clearBindings(statement));
    ASSERT_TRUE(db.step(statement));
    EXPECT_EQ(db.columnType(statement, 0), 5);  // NULL
    EXPECT_EQ(db.columnBlob(statement, 0), Bytes{});
    EXPECT_FALSE(db.step(statement));
    EXPECT_TRUE(db.finalize(statement));
}

TEST_F(DatabaseStatements, ColumnReadersGiveTheStoredValues) {
    mustExecute(db, "create table v(i integer, big integer, d real, t text, b blob)");
    ASSERT_TRUE(db.run("insert into v values(-7, 9007199254740993, 12.5, '12.5', x'00ff')"));
    StatementHandle statement = db.prepare("select i, big, d, t, b, i + 1 as next from v");
    ASSERT_TRUE(db.step(statement));
    EXPECT_EQ(db.dataCount(statement), 6);
    EXPECT_EQ(db.columnCount(statement), 6);
    EXPECT_EQ(db.columnInt(statement, 0), -7);
    EXPECT_EQ(db.columnInt64(statement, 1), 9007199254740993LL);
    EXPECT_EQ(db.columnDouble(statement, 2), 12.5);
    EXPECT_EQ(db.columnDouble(statement, 3), 12.5);
    EXPECT_EQ(db.columnBlob(statement, 4), (Bytes{0, 255}));
    EXPECT_EQ(db.columnType(statement, 0), 1);
    EXPECT_EQ(db.columnType(statement, 2), 2);
    EXPECT_EQ(db.columnType(statement, 3), 3);
    EXPECT_EQ(db.columnType(statement, 4), 4);

    EXPECT_TEXT_EQ(db.columnName(statement, 5), "next");
    // Newer libraries give a view's declared types in upper case.
    EXPECT_THAT(db.columnDeclaredType(statement, 1), ::testing::StrCaseEq("integer"));
    EXPECT_TEXT_EQ(db.columnTableName(statement, 2), "v");
    EXPECT_TEXT_EQ(db.columnDatabaseName(statement, 2), "main");
    EXPECT_TEXT_EQ(db.columnOriginName(statement, 3), "t");
    EXPECT_TEXT_EQ(db.columnOriginName(statement, 5), "");  // an expression has no origin
    EXPECT_TEXT_EQ(db.columnName(statement, 9), "");
    EXPECT_TRUE(db.finalize(statement));
}

TEST_F(DatabaseStatements, ColumnIndexMatchesWholeNamesCaseSensitively) {
    StatementHandle statement = db.prepare("select id, name as 名称, price, name from room");
    EXPECT_EQ(db.columnIndex(statement, "名称"), 1);
    EXPECT_EQ(db.columnIndex(statement, "price"), 2);
    EXPECT_EQ(db.columnIndex(statement, "name"), 3);
    EXPECT_EQ(db.columnIndex(statement, "Price"), -1);
    EXPECT_EQ(db.columnIndex(statement, "pric"), -1);
    EXPECT_TRUE(db.finalize(statement));
}

TEST_F(DatabaseStatements, StepAndFinalizeIsTrueOnlyForACompletedStatement) {
    EXPECT_TRUE(db.stepAndFinalize(db.prepare("delete from room where id=1")));
    EXPECT_FALSE(db.stepAndFinalize(db.prepare("select * from room")));
    EXPECT_FALSE(db.stepAndFinalize(nullptr));
}

TEST_F(DatabaseStatements, ExecuteRunsEveryStatementAndReportsTheFirstError) {
    Text error = "stale";
    EXPECT_TRUE(db.execute("delete from room; insert into room(name) values('a')", &error));
    EXPECT_TEXT_EQ(error, "");
    EXPECT_EQ(db.queryInt("select count(*) from room"), 1);

    EXPECT_FALSE(db.execute("delete from room; selec 1; delete from nowhere", &error));
    EXPECT_TEXT_EQ(error, "near \"selec\": syntax error");
    EXPECT_EQ(db.queryInt("select count(*) from room"), 0);
}

TEST_F(DatabaseStatements, RollbackUndoesAndCommitKeeps) {
    ASSERT_TRUE(db.begin());
    ASSERT_TRUE(db.run("delete from room"));
    ASSERT_TRUE(db.rollback());
    EXPECT_EQ(db.queryInt("select count(*) from room"), 3);

    ASSERT_TRUE(db.begin());
    ASSERT_TRUE(db.run("delete from room where id=1"));
    ASSERT_TRUE(db.commit());
    EXPECT_EQ(db.queryInt("select count(*) from room"), 2);
    EXPECT_FALSE(db.commit());  // no transaction is open
}

TEST_F(DatabaseStatements, AttachedDatabasesAreReachableByAlias) {
    testing::TemporaryFolder folder;
    const Text file = folder.file("other.db");
    Text error;
    // Attached files open with the main connection's flags: without create, they must exist.
    EXPECT_FALSE(db.attach(file, "other", &error));
    EXPECT_TEXT_EQ(error, "unable to open database: " + file);
    OpenDatabase other;
    ASSERT_TRUE(other.db.open(file, {}, true));
    mustExecute(other.db, "create table t(x); insert into t values(42)");

    ASSERT_TRUE(db.attach(file, "other", &error)) << testing::readableGbk(error);
    EXPECT_EQ(db.queryInt("select x from other.t"), 42);
    EXPECT_TRUE(db.detach("other", &error));
    EXPECT_FALSE(db.detach("other", &error));
    EXPECT_TEXT_EQ(error, "no such database: other");
    EXPECT_TRUE(db.vacuum());
}

TEST_F(DatabaseStatements, AnApostropheInTheAttachedFileIsPartOfItsName) {
    testing::TemporaryFolder folder;
    const Text file = folder.file("O'Brien's records.db");
    OpenDatabase other;
    ASSERT_TRUE(other.db.open(file, {}, true));
    mustExecute(other.db, "create table t(x); insert into t values(7)");
    Text error;
    ASSERT_TRUE(db.attach(file, "other", &error)) << testing::readableGbk(error);
    EXPECT_EQ(db.queryInt("select x from other.t"), 7);
    EXPECT_TRUE(db.detach("other"));

    // Nothing after an apostrophe runs as a statement of its own.
    mustExecute(db, "create table kept(x)");
    EXPECT_FALSE(db.attach(folder.file("x' as y; drop table kept; --"), "z", &error));
    EXPECT_TRUE(db.tableExists("kept"));
}

TEST_F(DatabaseStatements, ANullStatementFailsEveryOperation) {
    EXPECT_FALSE(db.finalize(nullptr));
    EXPECT_FALSE(db.step(nullptr));
    EXPECT_FALSE(db.reset(nullptr));
    EXPECT_FALSE(db.clearBindings(nullptr));
    EXPECT_FALSE(db.bindText(nullptr, ":a", "x"));
    EXPECT_FALSE(db.bindBlob(nullptr, ":a", Bytes{1}));
    EXPECT_FALSE(db.bindInt(nullptr, ":a", 1));
    EXPECT_FALSE(db.bindInt64(nullptr, ":a", 1));
    EXPECT_FALSE(db.bindDouble(nullptr, ":a", 1));
    EXPECT_EQ(db.parameterCount(nullptr), 0);
    EXPECT_EQ(db.parameterIndex(nullptr, ":a"), 0);
    EXPECT_TEXT_EQ(db.parameterName(nullptr, 1), "");
    EXPECT_TEXT_EQ(db.statementSql(nullptr), "");
    EXPECT_EQ(db.dataCount(nullptr), 0);
    EXPECT_EQ(db.columnCount(nullptr), 0);
    EXPECT_EQ(db.columnBytes(nullptr, 0), 0);
    EXPECT_TEXT_EQ(db.columnName(nullptr, 0), "");
    EXPECT_TEXT_EQ(db.columnTableName(nullptr, 0), "");
    EXPECT_TEXT_EQ(db.columnDatabaseName(nullptr, 0), "");
    EXPECT_TEXT_EQ(db.columnDeclaredType(nullptr, 0), "");
    EXPECT_TEXT_EQ(db.columnOriginName(nullptr, 0), "");
    EXPECT_EQ(db.columnIndex(nullptr, "id"), -1);
    EXPECT_EQ(db.columnType(nullptr, 0), 5);
    EXPECT_TEXT_EQ(db.columnText(nullptr, 0), "");
    EXPECT_EQ(db.columnInt(nullptr, 0), 0);
    EXPECT_EQ(db.columnInt64(nullptr, 0), 0);
    EXPECT_EQ(db.columnDouble(nullptr, 0), 0.0);
    EXPECT_EQ(db.columnBlob(nullptr, 0), Bytes{});
}

}  // namespace
}  // namespace tamrivo
