#include "records/database_setup.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <map>

#include "base/text_encoding.h"
#include "data/database.h"
#include "records/planned_departures.h"
#include "records/schema.h"
#include "records/stored_dates.h"
#include "tests/records/records_test_support.h"
#include "tests/support/library_text.h"

namespace tamrivo {
namespace {

using ::testing::HasSubstr;
using testing::readFile;
using testing::sqlcipherShell;
using testing::TemporaryFolder;

constexpr char kAdminDigest[] = "C9CA4497A6DF398DB7E8DD15938AAFD3";  // MD5 of "904817"

class DatabaseSetup : public ::testing::Test {
protected:
    // Creates the database and opens it with the program's key.
    void createAndOpen(bool withDemo) {
        const SetupOutcome outcome = createDatabase(file, withDemo);
        ASSERT_TRUE(outcome.created) << outcome.message;
        ASSERT_TRUE(db.open(file.string(), schema::kDatabaseKey)) << db.errorMessage();
    }

    std::vector<Text> columnNames(const Text& table) {
        std::vector<Text> names;
        StatementHandle statement = db.prepare("SELECT * FROM `" + table + "`");
        for (int column = 0; column < db.columnCount(statement); ++column) {
            names.push_back(db.columnName(statement, column));
        }
        db.finalize(statement);
        return names;
    }

    void TearDown() override { db.close(); }

    TemporaryFolder folder;
    std::filesystem::path file = folder.path() / "Data" / "Data.db";
    Database db;
};

TEST_F(DatabaseSetup, ColumnsStandWhereTheScreensReadThem) {
    createAndOpen(false);
    namespace yh = schema::b_yh;
    namespace fj = schema::b_fangjian;
    namespace zl = schema::b_zulin;
    EXPECT_EQ(columnNames(yh::kTable), (std::vector<Text>{yh::kId, yh::kYhm, yh::kMm}));
    EXPECT_EQ(columnNames(fj::kTable), (std::vector<Text>{fj::kId, fj::kDizhi, fj::kZhuangtai,
                                                          fj::kChuzuzhuangtai, fj::kDanhao}));
    const std::vector<Text> leases = columnNames(zl::kTable);
    ASSERT_EQ(leases.size(), 13u);
    const std::map<int, Text> readByPosition = {
        {zl::kIdPosition, zl::kId},
        {zl::kDanhaoPosition, zl::kDanhao},
        {zl::kFangzhiPosition, zl::kFangzhi},
        {zl::kXingmingPosition, zl::kXingming},
        {zl::kLianxifangshiPosition, zl::kLianxifangshi},
        {zl::kDingjinPosition, zl::kDingjin},
        {zl::kZujinPosition, zl::kZujin},
        {zl::kRuzhuriqiPosition, zl::kRuzhuriqi},
        {zl::kBeizhuPosition, zl::kBeizhu},
    };
    for (const auto& [position, name] : readByPosition) {
        EXPECT_TEXT_EQ(leases[position], name) << "position " << position;
    }
}

TEST_F(DatabaseSetup, TheAdminLogsInWithTheDefaultPassword) {
    createAndOpen(false);
    EXPECT_EQ(db.queryInt("SELECT count(*) FROM `b_yh`"), 1);
    EXPECT_EQ(db.queryInt("SELECT count(*) FROM `b_yh` WHERE `yhm`='admin' AND `mm`='" +
                          Text(kAdminDigest) + "'"),
              1);
    EXPECT_EQ(db.queryInt("SELECT count(*) FROM `b_fangjian`"), 0);
    EXPECT_EQ(db.queryInt("SELECT count(*) FROM `b_zulin`"), 0);
}

TEST_F(DatabaseSetup, NewRowsGetTheirIdsAndAnIdleEmptyDefault) {
    createAndOpen(false);
    ASSERT_TRUE(db.run("INSERT INTO `b_fangjian` (`dizhi`, `zhuangtai`) VALUES('东101', 1)"));
    ASSERT_TRUE(db.run("INSERT INTO `b_fangjian` (`dizhi`, `zhuangtai`) VALUES('东102', -1)"));
    StatementHandle room = db.prepare("SELECT  * FROM `b_fangjian` WHERE `id`=2");
    ASSERT_TRUE(db.step(room));
    EXPECT_EQ(db.columnInt(room, 2), -1);
    EXPECT_EQ(db.columnType(room, 3), 1);  // an integer, not NULL
    EXPECT_EQ(db.columnInt(room, 3), schema::kRoomIdle);
    EXPECT_EQ(db.columnType(room, 4), 3);  // a text, not NULL
    EXPECT_TEXT_EQ(db.columnText(room, 4), "");
    db.finalize(room);

    ASSERT_TRUE(
        db.run("INSERT INTO `b_zulin` (`danhao`, `dingjin`, `zujin`, `zulinzhuangtai`) "
               "VALUES('20240101000000-00001000', 100, 88.5, 0)"));
    EXPECT_TEXT_EQ(db.queryText("SELECT typeof(`dingjin`) || typeof(`zujin`) || "
                                "typeof(`jiesuanjine`) || `jiesuanjine` FROM `b_zulin`"),
                   "realrealreal0.0");
    EXPECT_EQ(db.queryInt("SELECT `id` FROM `b_zulin`"), 1);
}

TEST_F(DatabaseSetup, DemoRoomsCoverEveryStateAndLetRoomsPointAtOpenLeases) {
    createAndOpen(true);
    const auto count = [&](const Text& sql) { return db.queryInt(sql); };
    EXPECT_GE(count("SELECT count(*) FROM `b_fangjian` WHERE `zhuangtai`=1 AND "
                    "`chuzuzhuangtai`=0 AND `danhao`=''"),
              1);
    EXPECT_GE(count("SELECT count(*) FROM `b_fangjian` WHERE `zhuangtai`!=1"), 1);
    const int let = count("SELECT count(*) FROM `b_fangjian` WHERE `chuzuzhuangtai`=1");
    EXPECT_GE(let, 1);
    // Every let room is normal and finds exactly one open lease through its order number.
    EXPECT_EQ(count("SELECT count(*) FROM `b_fangjian` f JOIN `b_zulin` z ON z.`danhao`=f.`danhao`"
                    " WHERE f.`chuzuzhuangtai`=1 AND f.`zhuangtai`=1 AND z.`zulinzhuangtai`=0"),
              let);
    EXPECT_EQ(count("SELECT count(*) FROM `b_zulin` WHERE `zulinzhuangtai`!=1"), let);
    EXPECT_GE(count("SELECT count(*) FROM `b_zulin` WHERE `zulinzhuangtai`=1 AND "
                    "`jiesuanjine`>0 AND `jiesuanriqi`!=''"),
              1);
    EXPECT_EQ(count("SELECT count(*) FROM `b_zulin` WHERE length(`danhao`)!=23 OR "
                    "substr(`danhao`, 15, 1)!='-'"),
              0);
}

TEST_F(DatabaseSetup, DemoGuestsLeaveAFewNightsAfterArrivingOneOfThemToday) {
    createAndOpen(true);
    const std::int64_t now = today();
    const auto stays = openStays(db, now);
    ASSERT_TRUE(stays);
    ASSERT_EQ(stays->size(), 2u);
    int dueToday = 0;
    for (const OpenStay& stay : *stays) {
        SCOPED_TRACE(testing::readableGbk(stay.guest));
        EXPECT_TRUE(storedPlannedDeparture(db, stay.leaseId)) << "a departure of its own";
        EXPECT_LE(stay.firstDay, now) << "arrived already";
        EXPECT_GE(stay.plannedDeparture, now) << "not overstaying";
        EXPECT_LE(stay.plannedDeparture - stay.firstDay, 14) << "a few nights";
        dueToday += stay.plannedDeparture == now ? 1 : 0;
    }
    EXPECT_EQ(dueToday, 1);
    // The order number still begins with the check-in time.
    EXPECT_EQ(db.queryInt("SELECT count(*) FROM `b_zulin` WHERE substr(`danhao`, 1, 14) != "
                          "replace(replace(replace(`ruzhuriqi`, '-', ''), ' ', ''), ':', '')"),
              0);
}

TEST_F(DatabaseSetup, AnExistingFileIsNeverTouched) {
    std::filesystem::create_directories(file.parent_path());
    for (const std::string content : {"landlord's records", ""}) {
        std::ofstream(file, std::ios::binary) << content;
        const SetupOutcome outcome = createDatabase(file, true);
        EXPECT_FALSE(outcome.created);
        EXPECT_THAT(outcome.message, HasSubstr("already exists"));
        EXPECT_EQ(readFile(file), content);
    }
}

TEST_F(DatabaseSetup, AnUnusableFolderFailsWithoutCreatingAnything) {
    std::ofstream(folder.file("Data")) << "a file where the folder should be";
    const SetupOutcome outcome = createDatabase(file, false);
    EXPECT_FALSE(outcome.created);
    EXPECT_THAT(outcome.message, HasSubstr("cannot create"));
    EXPECT_FALSE(std::filesystem::is_directory(folder.path() / "Data"));
}

TEST_F(DatabaseSetup, DebiansShellReadsTheFileWithTheKey) {
    ASSERT_TRUE(createDatabase(file, false).created);
    const std::string output = sqlcipherShell(folder, file.string(),
                                              std::string(testing::kShellKey) +
                                                  ".tables\n"
                                                  "SELECT id, yhm, mm FROM b_yh;\n");
    EXPECT_THAT(output, HasSubstr("b_fangjian"));
    EXPECT_THAT(output, HasSubstr("b_yh"));
    EXPECT_THAT(output, HasSubstr("b_zulin"));
    EXPECT_THAT(output, HasSubstr(std::string("1|admin|") + kAdminDigest));

    const std::string withoutKey = sqlcipherShell(folder, file.string(), "SELECT * FROM b_yh;\n");
    EXPECT_THAT(withoutKey, HasSubstr(testing::libraryText(SQLITE_NOTADB)));
}

TEST_F(DatabaseSetup, AFileMadeByDebiansShellOpensWithTheKey) {
    const std::string made = folder.file("made.db");
    sqlcipherShell(folder, made,
                   std::string(testing::kShellKey) +
                       "CREATE TABLE b_fangjian(id INTEGER PRIMARY KEY, dizhi TEXT);\n"
                       "INSERT INTO b_fangjian(dizhi) VALUES('" +
                       gbkToUtf8("幸福里101室") + "');\n");
    ASSERT_TRUE(db.open(made, schema::kDatabaseKey)) << db.errorMessage();
    EXPECT_TEXT_EQ(db.queryText("SELECT dizhi FROM b_fangjian"), "幸福里101室");
}

}  // namespace
}  // namespace tamrivo
