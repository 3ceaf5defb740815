// Backups of protected records: keyed like them, their key file beside, and the backups made
// before protection found and re-keyed.

#include <gtest/gtest.h>
#include <sys/prctl.h>

#include <array>
#include <fstream>

#include "records/daily_backup.h"
#include "records/protected_records.h"
#include "records/records_copy.h"
#include "records/records_file.h"
#include "tests/records/records_test_support.h"
#include "tests/support/file_contents.h"

namespace tamrivo {
namespace {

namespace fs = std::filesystem;
using testing::kShellKey;
using testing::recordsOf;
using testing::rowsOf;
using testing::sqlcipherShell;

constexpr KdfCost kCheap{1, kMinMemlimit};

class ProtectedBackups : public ::testing::Test {
protected:
    ProtectedBackups() {
        fs::create_directories(records.parent_path());
        const SetupOutcome outcome = createDatabase(records, true);
        EXPECT_TRUE(outcome.created) << outcome.message;
        plainRows = recordsOf(records);
    }

    std::string protect() {
        const std::array secrets{SlotSecret{SlotKind::User, "admin", "pass word"},
                                 SlotSecret{SlotKind::RecoveryCode, "", "CODE"}};
        return protectRecords(records, dataKey, secrets, kCheap);
    }

    // The rows of a protected file through the admin's password and the key file beside it.
    static std::string rowsThroughPassword(const fs::path& file) {
        Database database;
        const std::string why =
            openProtectedRecords(database, file, SlotKind::User, "admin", "pass word");
        std::string rows = why.empty() ? rowsOf(database) : why;
        database.close();
        return rows;
    }

    std::string backUp(const fs::path& destination) {
        Database source;
        std::string why = openRecordsWithKey(source, records, dataKey);
        if (why.empty()) {
            why = copyProtectedRecords(source, {dataKey, records}, destination);
        }
        source.close();
        return why;
    }

    testing::TemporaryFolder folder;
    fs::path records = folder.path() / "Data" / "Data.db";
    SecretBytes dataKey = newDataKey();
    std::string plainRows;
};

TEST_F(ProtectedBackups, ACopyHasTheRecordsFileIdAndTheirKeyFileAndNothingElseOpensIt) {
    ASSERT_EQ(protect(), "");
    const fs::path backup = folder.path() / "elsewhere" / "copy.db";
    fs::create_directories(backup.parent_path());
    ASSERT_EQ(backUp(backup), "");

    EXPECT_EQ(recordsFileId(backup), recordsFileId(records));
    EXPECT_EQ(testing::readFile(keySlotsFile(backup)), testing::readFile(keySlotsFile(records)));
    EXPECT_EQ(rowsThroughPassword(backup), plainRows);
    EXPECT_NE(recordsOf(backup), plainRows);
    EXPECT_NE(sqlcipherShell(folder, backup.string(),
                             std::string(kShellKey) + "SELECT count(*) FROM b_yh;\n")
                  .find("not a database"),
              std::string::npos);
}

TEST_F(ProtectedBackups, ACopyIsRefusedWhenTheKeyFileDoesNotBelongOrTheNewOneWouldBeReplaced) {
    ASSERT_EQ(protect(), "");
    const std::string keys = testing::readFile(keySlotsFile(records));
    const fs::path backup = folder.path() / "copy.db";

    std::ofstream(keySlotsFile(records), std::ios::binary | std::ios::trunc) << keys.substr(0, 30);
    EXPECT_NE(backUp(backup), "");
    EXPECT_FALSE(fs::exists(backup));

    std::ofstream(keySlotsFile(records), std::ios::binary | std::ios::trunc) << keys;
    std::ofstream(keySlotsFile(backup)) << "someone else's";
    Database source;
    ASSERT_EQ(openRecordsWithKey(source, records, dataKey), "");
    EXPECT_NE(copyProtectedRecords(source, {dataKey, records}, backup, {},
                                   ReplacementFile::Target::MustBeNew),
              "");
    source.close();
    EXPECT_FALSE(fs::exists(backup));
    EXPECT_EQ(testing::readFile(keySlotsFile(backup)), "someone else's");
}

TEST_F(ProtectedBackups, TheDailyBackupNeedsTheKeyAndTakesTheKeyFileAlongAndAwayAgain) {
    ASSERT_EQ(protect(), "");
    const fs::path folderOfBackups = dailyBackupFolder(records);
    EXPECT_NE(makeDailyBackup(records, "2024-03-04"), "");
    EXPECT_FALSE(fs::exists(dailyBackupFile(folderOfBackups, "2024-03-04")));

    ASSERT_EQ(makeDailyBackup(records, "2024-03-04", 1, {}, &dataKey), "");
    const fs::path first = dailyBackupFile(folderOfBackups, "2024-03-04");
    EXPECT_EQ(rowsThroughPassword(first), plainRows);

    fs::last_write_time(first, fs::last_write_time(first) - std::chrono::hours(24));
    ASSERT_EQ(makeDailyBackup(records, "2024-03-05", 1, {}, &dataKey), "");
    EXPECT_FALSE(fs::exists(first));
    EXPECT_FALSE(fs::exists(keySlotsFile(first)));
    EXPECT_TRUE(fs::exists(keySlotsFile(dailyBackupFile(folderOfBackups, "2024-03-05"))));
}

TEST_F(ProtectedBackups, BackupsFromBeforeAreListedAndReKeyedOneByOne) {
    ASSERT_EQ(makeDailyBackup(records, "2024-03-01"), "");
    ASSERT_EQ(makeDailyBackup(records, "2024-03-02"), "");
    ASSERT_EQ(protect(), "");
    ASSERT_EQ(makeDailyBackup(records, "2024-03-03", 30, {}, &dataKey), "");

    const fs::path folderOfBackups = dailyBackupFolder(records);
    const std::vector<fs::path> old = unprotectedDailyBackups(records);
    ASSERT_EQ(old, (std::vector<fs::path>{dailyBackupFile(folderOfBackups, "2024-03-01"),
                                          dailyBackupFile(folderOfBackups, "2024-03-02")}));

    ASSERT_EQ(protectBackup(old.front(), {dataKey, records}), "");
    EXPECT_EQ(rowsThroughPassword(old.front()), plainRows);
    EXPECT_NE(recordsOf(old.front()), plainRows);
    EXPECT_EQ(unprotectedDailyBackups(records), std::vector<fs::path>{old.back()});
}

TEST(Secrets, TheProcessIsUndumpableWhileASecretLives) {
    ASSERT_EQ(::prctl(PR_GET_DUMPABLE, 0, 0, 0, 0), 1);
    {
        const SecretBytes key = newDataKey();
        ASSERT_FALSE(key.empty());
        EXPECT_EQ(::prctl(PR_GET_DUMPABLE, 0, 0, 0, 0), 0);
        const SecretBytes second(8);
        EXPECT_EQ(::prctl(PR_GET_DUMPABLE, 0, 0, 0, 0), 0);
    }
    EXPECT_EQ(::prctl(PR_GET_DUMPABLE, 0, 0, 0, 0), 1);
}

}  // namespace
}  // namespace tamrivo
