#include <gmock/gmock.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "base/date_format.h"
#include "base/date_time.h"
#include "data/database.h"
#include "records/daily_backup.h"
#include "records/records_copy.h"
#include "records/records_file.h"
#include "records/records_lock.h"
#include "records/schema.h"
#include "tests/app/app_fixture.h"
#include "tests/support/file_contents.h"

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

// A link planted at the lock's name would have the lock made wherever it points.
TEST_F(RecordsSafety, TheLockIsNeverTakenThroughALink) {
    makeDatabase();
    const std::filesystem::path data = databaseFile().parent_path();
    const std::filesystem::path elsewhere = folder.path() / "attacker's lock";
    std::filesystem::create_symlink(elsewhere, recordsLockFile(data));
    const LockAttempt attempt = lockRecords(data, LockAccess::Shared);
    EXPECT_EQ(attempt.outcome, LockOutcome::Unavailable);
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(elsewhere)));
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

// A clock once ahead left thirty backups named after days to come, written then: the day's
// new backup survives, the oldest written goes, and the later dates are said.
TEST_F(DailyBackups, BackupsDatedAfterTodayNeverPushOutTheOneJustMade) {
    std::filesystem::create_directories(backups);
    const auto now = std::filesystem::file_time_type::clock::now();
    for (int day = 1; day <= 30; ++day) {
        const std::string date =
            "2027-01-" + std::string(day < 10 ? "0" : "") + std::to_string(day);
        writeFile(dailyBackupFile(backups, date), "a backup of a clock ahead");
        // written in reverse order of their names: the 30th first
        std::filesystem::last_write_time(dailyBackupFile(backups, date),
                                         now + std::chrono::hours(24 * (31 + day)));
    }
    EXPECT_EQ(laterBackupsWarning(database, "2026-12-09").rfind("30 daily backups in ", 0), 0u);
    ASSERT_EQ(makeDailyBackup(database, "2026-12-09"), "");
    const std::vector<std::string> left = backupNames();
    EXPECT_EQ(left.size(), 31u);  // the lock and thirty backups
    EXPECT_TRUE(std::filesystem::exists(dailyBackupFile(backups, "2026-12-09")));
    EXPECT_FALSE(std::filesystem::exists(dailyBackupFile(backups, "2027-01-01")));
    EXPECT_TRUE(std::filesystem::exists(dailyBackupFile(backups, "2027-01-02")));

    const std::string warning = laterBackupsWarning(database, "2026-12-09");
    EXPECT_THAT(warning, ::testing::HasSubstr("29 daily backups in " + backups.string() +
                                              " carry dates after today (2026-12-09)"));
    EXPECT_THAT(warning, ::testing::HasSubstr(" Data-2027-01-30.db"));
    EXPECT_EQ(laterBackupsWarning(database, "2027-01-30"), "");
}

// What is pruned is what was written longest ago, whatever date its name carries.
TEST_F(DailyBackups, TheOldestWrittenArePrunedNotTheLowestNames) {
    std::filesystem::create_directories(backups);
    const auto now = std::filesystem::file_time_type::clock::now();
    const std::vector<std::string> dates = {"2024-01-01", "2024-01-02", "2023-06-01"};
    for (std::size_t i = 0; i < dates.size(); ++i) {
        writeFile(dailyBackupFile(backups, dates[i]), "a backup");
        std::filesystem::last_write_time(dailyBackupFile(backups, dates[i]),
                                         now - std::chrono::hours(24 * (10 - i)));
    }
    ASSERT_EQ(makeDailyBackup(database, "2024-02-01", 3), "");
    EXPECT_EQ(backupNames(),
              (std::vector<std::string>{".daily.lock", "Data-2023-06-01.db", "Data-2024-01-02.db",
                                        "Data-2024-02-01.db"}));
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

// Records another program locks for ever once the copy is under way: the copy gives up
// after its longest wait, says so and keeps nothing of itself.
TEST_F(DailyBackups, ACopyBehindALockHeldForEverFailsAndKeepsNothing) {
    std::filesystem::create_directories(backups);
    Database source;
    ASSERT_EQ(openRecords(source, database), "");
    Database writer;
    ASSERT_TRUE(writer.open(database.string(), schema::kDatabaseKey));
    ASSERT_TRUE(writer.run("BEGIN EXCLUSIVE"));
    const std::string reason =
        copyRecords(source, backups / "Data-2024-03-05.db", {}, ReplacementFile::Target::Replace,
                    {.longestBusyWait = std::chrono::seconds(1)});
    EXPECT_THAT(reason, ::testing::HasSubstr("stayed locked by another connection"));
    EXPECT_TRUE(std::filesystem::is_empty(backups));
    ASSERT_TRUE(writer.run("ROLLBACK"));
    writer.close();
    source.close();
}

// Closing the program while the backup waits on such a lock (to open the records or to copy
// them) does not wait with it.
TEST_F(DailyBackups, GoingWhileACopyWaitsOnALockStopsIt) {
    Database writer;
    ASSERT_TRUE(writer.open(database.string(), schema::kDatabaseKey));
    ASSERT_TRUE(writer.run("BEGIN EXCLUSIVE"));
    auto closed = std::chrono::steady_clock::now();
    {
        DailyBackup backup;
        backup.setFirstDelay(std::chrono::milliseconds(0));
        backup.start(database);
        std::this_thread::sleep_for(std::chrono::seconds(3));
        closed = std::chrono::steady_clock::now();
    }
    // the open alone waits 10 seconds on the lock, the copy 30
    EXPECT_LT(std::chrono::steady_clock::now() - closed, std::chrono::seconds(5));
    ASSERT_TRUE(writer.run("ROLLBACK"));
    writer.close();
    // Let go, the thread left behind copies nothing: its copy was stopped.
    const LockAttempt ended =
        lockFile(backups / ".daily.lock", LockAccess::Exclusive, std::chrono::seconds(30));
    EXPECT_EQ(ended.outcome, LockOutcome::Taken);
    EXPECT_EQ(backupNames(), std::vector<std::string>{".daily.lock"});
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
