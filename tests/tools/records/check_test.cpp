#include <gmock/gmock.h>

#include <fstream>
#include <sstream>

#include "tests/tools/records/records_tool_test_support.h"

namespace tamrivo::testing {
namespace {

using ::testing::ElementsAreArray;
using ::testing::HasSubstr;

class Check : public RecordsToolTest {
protected:
    // The lines `check` prints on the demo records changed by the statements, without its
    // summary line; fails the test unless the exit status says whether there were any.
    std::vector<std::string> problemsAfter(const Text& sql) {
        TemporaryFolder program;
        const std::filesystem::path file = program.path() / "Data" / "Data.db";
        EXPECT_TRUE(createDatabase(file, true).created);
        Database changed;
        EXPECT_TRUE(changed.open(file.string(), schema::kDatabaseKey));
        Text error;
        EXPECT_TRUE(changed.execute(sql, &error)) << readableGbk(error);
        changed.close();

        std::vector<const char*> words = {"--folder", program.path().c_str(), "check"};
        std::ostringstream out;
        std::ostringstream err;
        std::istringstream in;
        const int status = runRecordsTool(words, {}, {in, out, err, false});
        std::vector<std::string> lines;
        std::istringstream printed(out.str());
        for (std::string line; std::getline(printed, line);) {
            lines.push_back(line);
        }
        EXPECT_FALSE(lines.empty());
        if (!lines.empty()) {
            lines.pop_back();
        }
        EXPECT_EQ(status, lines.empty() ? kExitDone : kExitProblemsFound) << out.str() << err.str();
        return lines;
    }
};

TEST_F(Check, TheDemoRecordsAreSound) {
    makeDatabase(true);
    const ToolRun run = tool({"check"});
    EXPECT_EQ(run.status, kExitDone);
    EXPECT_EQ(run.out, databaseFile().string() + " is sound: 5 rooms, 3 leases\n");
}

TEST_F(Check, DailyBackupsDatedAfterTodayAreSaid) {
    makeDatabase(true);
    const std::filesystem::path backups = databaseFile().parent_path() / "backup";
    std::filesystem::create_directories(backups);
    std::ofstream(backups / "Data-2999-01-01.db") << "a backup of a clock far ahead";
    std::ofstream(backups / "Data-2000-01-01.db") << "an old backup";
    const ToolRun run = tool({"check"});
    EXPECT_EQ(run.status, kExitDone);
    EXPECT_THAT(run.err,
                HasSubstr("1 daily backup in " + backups.string() + " carry dates after today"));
    EXPECT_THAT(run.err, HasSubstr(" Data-2999-01-01.db"));
    EXPECT_THAT(run.err, ::testing::Not(HasSubstr("2000-01-01")));
}

TEST_F(Check, OverlappingBookingsAreNamed) {
    EXPECT_THAT(problemsAfter("INSERT INTO b_yuding (fangjianid, daodariqi, likairiqi) VALUES "
                              "(1, '2026-12-10', '2026-12-13'), (1, '2026-12-12', '2026-12-14'), "
                              "(1, '2026-12-13', '2026-12-15')"),
                ElementsAreArray({"booking 1 of room 1 (2026-12-10 to 2026-12-13) overlaps "
                                  "booking 2 (2026-12-12 to 2026-12-14)",
                                  "booking 2 of room 1 (2026-12-12 to 2026-12-14) overlaps "
                                  "booking 3 (2026-12-13 to 2026-12-15)"}));
}

TEST_F(Check, EachRecordInAStateTheProgramNeverMakesIsNamed) {
    const std::string room2 = "room 2 (" + gbkToUtf8("幸福里3号楼102室") + ")";
    // The open stays' order numbers follow the day the demo records are made.
    makeDatabase(true);
    const std::string lease2 = db.queryText("SELECT danhao FROM b_zulin WHERE id=2");
    const std::string lease3 = db.queryText("SELECT danhao FROM b_zulin WHERE id=3");
    ASSERT_EQ(lease2.size(), 23u);
    struct Case {
        const char* sql;
        std::vector<std::string> problems;
    };
    const std::vector<Case> cases = {
        {"UPDATE b_zulin SET zulinzhuangtai=1 WHERE id=2",
         {room2 + " is let with order number " + lease2 + ", but no open lease has that number"}},
        {"INSERT INTO b_zulin (danhao, zulinzhuangtai) SELECT danhao, 0 FROM b_zulin WHERE id=2",
         {room2 + " is let with order number " + lease2 + ", which 2 open leases share"}},
        {"UPDATE b_fangjian SET danhao='' WHERE id=2",
         {room2 + " is let but holds no order number",
          "lease 2 (order number " + lease2 + ") for " + gbkToUtf8("幸福里3号楼102室") +
              " is open, but no let room holds its order number"}},
        {"UPDATE b_fangjian SET chuzuzhuangtai=0, danhao='' WHERE id=3",
         {"lease 3 (order number " + lease3 + ") for " + gbkToUtf8("幸福里3号楼201室") +
          " is open, but no let room holds its order number"}},
        {"UPDATE b_fangjian SET danhao='20240301142000-00001000' WHERE id=1",
         {"room 1 (" + gbkToUtf8("幸福里3号楼101室") +
          ") is idle but still holds order number 20240301142000-00001000"}},
        {"UPDATE b_fangjian SET zhuangtai=7 WHERE id=4",
         {"room 4 (" + gbkToUtf8("幸福里3号楼202室") +
          ") has condition 7, not 1 (normal), 0 (abandoned) or -1 (none chosen)"}},
        {"UPDATE b_fangjian SET chuzuzhuangtai=2 WHERE id=4",
         {"room 4 (" + gbkToUtf8("幸福里3号楼202室") +
          ") has occupancy 2, not 1 (let) or 0 (idle)"}},
        {"UPDATE b_zulin SET zulinzhuangtai='x' WHERE id=2",
         {"lease 2 (order number " + lease2 + ") has state 'x', not 0 (open) or 1 (settled)"}},
        // what the program itself may store, or a table without defaults gives
        {"UPDATE b_fangjian SET zhuangtai=-1 WHERE id=5; "
         "UPDATE b_fangjian SET chuzuzhuangtai=NULL, danhao=NULL WHERE id=4",
         {}},
    };
    for (const Case& change : cases) {
        EXPECT_THAT(problemsAfter(change.sql), ElementsAreArray(change.problems)) << change.sql;
    }
}

TEST_F(Check, AnIndexThatDisagreesWithItsTableFailsTheIntegrityCheck) {
    makeDatabase(true);
    execute(
        "CREATE INDEX guests ON b_zulin(xingming); PRAGMA writable_schema=ON; "
        "UPDATE sqlite_master SET sql='CREATE INDEX guests ON b_zulin(lianxifangshi)' "
        "WHERE name='guests'; PRAGMA writable_schema=OFF");
    db.close();
    const ToolRun run = tool({"check"});
    EXPECT_EQ(run.status, kExitProblemsFound);
    EXPECT_THAT(run.out, HasSubstr("integrity check: "));
    EXPECT_THAT(run.out, HasSubstr("index guests"));
}

TEST_F(Check, ADamagedPageIsAProblemNotACrash) {
    makeDatabase(true);
    db.close();
    std::string bytes = readFile(databaseFile());
    ASSERT_GT(bytes.size(), 3000u);
    for (std::size_t i = 1100; i < 1200; ++i) {
        bytes[i] = static_cast<char>(~bytes[i]);
    }
    writeFile(databaseFile(), bytes);
    const ToolRun run = tool({"check"});
    EXPECT_EQ(run.status, kExitProblemsFound) << run.out << run.err;
    EXPECT_THAT(run.out, HasSubstr("problem"));
}

TEST_F(Check, TablesThatTheScreensCannotReadAreNamed) {
    std::filesystem::create_directories(dataFolder());
    ASSERT_TRUE(db.open(databaseFile().string(), schema::kDatabaseKey, true));
    execute(
        "CREATE TABLE b_yh(id INTEGER PRIMARY KEY, yhm TEXT);"
        "CREATE TABLE b_fangjian(id INTEGER PRIMARY KEY, dizhi TEXT, zhuangtai INTEGER, "
        "danhao TEXT, chuzuzhuangtai INTEGER)");
    db.close();
    const ToolRun run = tool({"check"});
    EXPECT_EQ(run.status, kExitProblemsFound);
    EXPECT_EQ(run.out,
              "table b_yh has no column mm\n"
              "column chuzuzhuangtai of table b_fangjian stands at position 4, where the program "
              "does not look for it\n"
              "table b_zulin is missing\n"
              "3 problems found in " +
                  databaseFile().string() + "\n");
}

}  // namespace
}  // namespace tamrivo::testing
