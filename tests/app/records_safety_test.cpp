#include <gmock/gmock.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "data/database.h"
#include "records/daily_backup.h"
#include "records/records_lock.h"
#include "records/schema.h"
#include "tests/app/app_fixture.h"
#include "tests/support/file_contents.h"
#include "ui/date_format.h"
#include "ui/date_time.h"

namespace tamrivo::testing {
namespace {

using RecordsSafety = AppTest;

std::string today() {
    return formatDateTime(currentDateTime(), "yyyy-MM-dd");
}

TEST_F(RecordsSafety, TheProgramSharesTheRecordsWithReadersButNotWithARestore) {
    makeDatabase();
    ASSERT_TRUE(startProgram(app));
    const std::filesystem::path data = databaseFile().parent_path();
    EXPECT_EQ(lockRecords(data, LockAccess::Exclusive).outcome, LockOutcome::Busy);
    // A backup of the records tool, or a second program, starts beside it.
    EXPECT_EQ(lockRecords(data, LockAccess::Shared).outcome, LockOutcome::Taken);
}

TEST_F(RecordsSafety, WhileARestoreHoldsTheRecordsTheProgramSaysSoAndEnds) {
    makeDatabase();
    const LockAttempt restore = lockRecords(databaseFile().parent_path(), LockAccess::Exclusive);
    ASSERT_EQ(restore.outcome, LockOutcome::Taken);
    EXPECT_FALSE(startProgram(app));
    EXPECT_TEXT_EQ(lastBoxText(), "数据库正在恢复，请稍后再打开");
    EXPECT_EQ(state.database.handle(), nullptr);
    EXPECT_TRUE(services.openWindows(WindowKind::Login).empty());
}

TEST_F(RecordsSafety, AWriteWaitsForAnotherConnectionsReadInsteadOfFailing) {
    makeDatabase();
    ASSERT_TRUE(startProgram(app));
    Database reader;
    ASSERT_TRUE(reader.open(databaseFile().string(), schema::kDatabaseKey));
    ASSERT_TRUE(reader.begin());
    ASSERT_EQ(reader.queryInt("SELECT count(*) FROM b_yh"), 1);  // holds a read lock
    std::thread finish([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        reader.commit();
    });
    EXPECT_TRUE(run("INSERT INTO b_fangjian (dizhi, zhuangtai) VALUES('东101', 1)"))
        << readableGbk(state.database.errorMessage());
    finish.join();
    reader.close();
}

TEST_F(RecordsSafety, TheProgramBacksTheRecordsUpOnceItIsOpen) {
    makeDatabase(true);
    state.dailyBackup.setFirstDelay(std::chrono::milliseconds(0));
    ASSERT_TRUE(startProgram(app));
    const std::filesystem::path backup =
        dailyBackupFile(dailyBackupFolder(databaseFile()), today());
    EXPECT_TRUE(waitUntil([&] { return std::filesystem::exists(backup); }, 20000));
    Database copy;
    ASSERT_TRUE(copy.open(backup.string(), schema::kDatabaseKey));
    EXPECT_EQ(copy.queryInt("SELECT count(*) FROM b_zulin"), 3);
    copy.close();
}

class DailyBackups : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(createDatabase(database, true).created); }

    std::vector<std::string> backupNames() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(backups)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    TemporaryFolder folder;
    std::filesystem::path database = folder.path() / "Data" / "Data.db";
    std::filesystem::path backups = folder.path() / "Data" / "backup";
};

TEST_F(DailyBackups, OneWholeKeyedCopyADay) {
    ASSERT_EQ(makeDailyBackup(database, "2024-03-05"), "");
    const std::filesystem::path made = backups / "Data-2024-03-05.db";
    Database copy;
    ASSERT_TRUE(copy.open(made.string(), schema::kDatabaseKey));
    EXPECT_EQ(copy.queryInt("SELECT count(*) FROM b_fangjian"), 5);
    copy.close();
    EXPECT_FALSE(copy.open(made.string(), "another key"));
    copy.close();

    // Later the same day the records change, and the day's backup stays as it was.
    const std::string first = readFile(made);
    Database program;
    ASSERT_TRUE(program.open(database.string(), schema::kDatabaseKey));
    ASSERT_TRUE(program.run("DELETE FROM b_fangjian"));
    program.close();
    ASSERT_EQ(makeDailyBackup(database, "2024-03-05"), "");
    EXPECT_EQ(readFile(made), first);
    EXPECT_EQ(backupNames(), (std::vector<std::string>{".daily.lock", "Data-2024-03-05.db"}));
}

TEST_F(DailyBackups, TheNewestThirtyAreKeptAndOtherFilesLeftAlone) {
    std::filesystem::create_directories(backups);
    std::vector<std::string> expected = {".daily.lock"};
    for (int day = 1; day <= 31; ++day) {
        const std::string date =
            "2024-01-" + std::string(day < 10 ? "0" : "") + std::to_string(day);
        writeFile(dailyBackupFile(backups, date), "an older backup");
        if (day > 2) {
            expected.push_back("Data-" + date + ".db");
        }
    }
    for (const char* other : {"Data-2023-12-31.db.bak", "Data-latest.db", "notes.txt"}) {
        writeFile(backups / other, "the landlord's");
    }
    // what a program killed in the middle of its copy left
    writeFile(backups / "Data-2024-01-31.db.partial", "half a copy");
    writeFile(backups / "Data-2024-01-31.db.partial-journal", "its journal");
    ASSERT_EQ(makeDailyBackup(database, "2024-02-01"), "");
    expected.insert(expected.end(), {"Data-2023-12-31.db.bak", "Data-2024-02-01.db",
                                     "Data-latest.db", "notes.txt"});
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(backupNames(), expected);
}

// Records damaged where the key still opens them give a damaged copy: it is not kept, and
// the older sound ones are not pruned for it.
TEST_F(DailyBackups, ADamagedCopyIsNotKeptNorAreOlderOnesPruned) {
    for (int day = 1; day <= 30; ++day) {
        const std::string date =
            "2024-01-" + std::string(day < 10 ? "0" : "") + std::to_string(day);
        ASSERT_EQ(makeDailyBackup(database, date), "");
    }
    {
        Database records;
        ASSERT_TRUE(records.open(database.string(), schema::kDatabaseKey));
        Text error;
        // An index that no longer matches its table: every page reads, the check fails.
        ASSERT_TRUE(records.execute(
            "CREATE INDEX by_address ON b_fangjian(dizhi); PRAGMA writable_schema=ON; "
            "UPDATE sqlite_master SET sql='CREATE INDEX by_address ON b_fangjian(danhao)' "
            "WHERE name='by_address'; PRAGMA writable_schema=OFF;",
            &error))
            << readableGbk(error);
        records.close();
    }
    const std::vector<std::string> before = backupNames();
    EXPECT_THAT(makeDailyBackup(database, "2024-02-01"), ::testing::HasSubstr("not sound"));
    EXPECT_EQ(backupNames(), before);
}

TEST_F(DailyBackups, AFailureIsReportedAndTouchesNothing) {
    writeFile(backups, "a file where the folder should be");
    const std::string before = readFile(database);
    const std::string reason = makeDailyBackup(database, "2024-03-05");
    EXPECT_THAT(reason, ::testing::HasSubstr("cannot make " + backups.string()));
    EXPECT_EQ(readFile(database), before);

    EXPECT_THAT(makeDailyBackup(folder.path() / "Data" / "Missing.db", "2024-03-05"),
                ::testing::HasSubstr("cannot"));
}

TEST_F(DailyBackups, StoppingBeforeTheFirstBackupMakesNone) {
    {
        DailyBackup backup;
        backup.setFirstDelay(std::chrono::hours(1));
        backup.start(database);
    }
    EXPECT_FALSE(std::filesystem::exists(backups));
}

}  // namespace
}  // namespace tamrivo::testing
