#include <gmock/gmock.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <functional>
#include <set>
#include <sstream>
#include <streambuf>
#include <thread>
#include <utility>

#include "records/record_problems.h"
#include "records/records_lock.h"
#include "tests/tools/records/records_tool_test_support.h"

namespace tamrivo::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::IsEmpty;

std::set<std::string> filesIn(const std::filesystem::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

class BackupRestore : public RecordsToolTest {
protected:
    void SetUp() override { makeDatabase(true); }

    std::filesystem::path backupFile() const { return folder.path() / "backup.db"; }

    // Makes a backup of the records as they are now.
    void backUp() {
        const ToolRun run = tool({"backup", backupFile().string()});
        ASSERT_EQ(run.status, kExitDone) << run.err;
        ASSERT_EQ(run.out,
                  "backed up " + databaseFile().string() + " into " + backupFile().string() + "\n");
    }

    // The replaced records the last restore kept beside the database.
    std::filesystem::path keptFile() const {
        for (const std::string& name : filesIn(dataFolder())) {
            if (name.starts_with("Data-replaced-") && name.ends_with(".db")) {
                return dataFolder() / name;
            }
        }
        return {};
    }
};

TEST_F(BackupRestore, ABackupTakenWhileTheProgramChecksGuestsInIsWhole) {
    // The program's check-ins on a connection of its own: the lease and the let room in one
    // transaction, with the program's patience for readers.
    std::atomic<int> failures = 0;
    constexpr int kCheckIns = 150;
    std::thread program([&] {
        Database writer;
        writer.open(databaseFile().string(), schema::kDatabaseKey);
        writer.setBusyTimeout(5000);
        for (int i = 0; i < kCheckIns; ++i) {
            const Text number = "20250101000000-" + std::to_string(10000000 + i);
            const bool done =
                writer.begin() &&
                writer.run("INSERT INTO b_zulin (danhao, fangzhi, zulinzhuangtai) VALUES('" +
                           number + "', 'room', 0)") &&
                writer.run(
                    "INSERT INTO b_fangjian (dizhi, zhuangtai, chuzuzhuangtai, danhao) "
                    "VALUES('room', 1, 1, '" +
                    number + "')") &&
                writer.commit();
            if (!done) {
                ++failures;
                writer.rollback();
            }
        }
        writer.close();
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    backUp();
    program.join();
    EXPECT_EQ(failures, 0);

    Database copy;
    ASSERT_TRUE(copy.open(backupFile().string(), schema::kDatabaseKey));
    EXPECT_THAT(recordProblems(copy), IsEmpty());
    const int leases = copy.queryInt("SELECT count(*) FROM b_zulin");
    EXPECT_GE(leases, 3);
    EXPECT_LE(leases, 3 + kCheckIns);
    EXPECT_EQ(copy.queryInt("SELECT count(*) FROM b_fangjian"), leases + 2);
    copy.close();
    EXPECT_THAT(sqlcipherShell(folder, backupFile().string(),
                               std::string(testing::kShellKey) + "SELECT count(*) FROM b_zulin;\n"),
                HasSubstr(std::to_string(leases)));
}

TEST_F(BackupRestore, ABackupNeverReplacesAFileNorLeavesAPartOne) {
    writeFile(backupFile(), "the landlord's own notes");
    const ToolRun existing = tool({"backup", backupFile().string()});
    EXPECT_EQ(existing.status, kExitFailed);
    EXPECT_THAT(existing.err, HasSubstr("already exists"));
    EXPECT_EQ(readFile(backupFile()), "the landlord's own notes");

    const std::filesystem::path nowhere = folder.path() / "no" / "such" / "copy.db";
    const ToolRun missing = tool({"backup", nowhere.string()});
    EXPECT_EQ(missing.status, kExitFailed);
    EXPECT_THAT(missing.err, HasSubstr("No such file or directory"));
    EXPECT_FALSE(std::filesystem::exists(nowhere.parent_path()));

    // A link planted at the name an older version wrote beside the target leads nowhere now.
    const std::filesystem::path victim = folder.path() / "victim";
    writeFile(victim, "another user's file");
    const std::filesystem::path fresh = folder.path() / "fresh.db";
    std::filesystem::create_symlink(victim, folder.path() / "fresh.db.partial");
    EXPECT_EQ(tool({"backup", fresh.string()}).status, kExitDone);
    EXPECT_EQ(readFile(victim), "another user's file");
    EXPECT_FALSE(std::filesystem::is_symlink(fresh));
}

TEST_F(BackupRestore, ARestoreBringsBackTheRecordsAndKeepsTheReplacedOnes) {
    backUp();
    const std::string saved = recordsOf(databaseFile());
    execute(
        "UPDATE b_zulin SET jiesuanjine=300, zulinzhuangtai=1 WHERE id=2;"
        "UPDATE b_fangjian SET chuzuzhuangtai=0, danhao='' WHERE id=2;"
        "DELETE FROM b_fangjian WHERE id=4");
    db.close();
    const std::string changed = recordsOf(databaseFile());
    ASSERT_NE(changed, saved);

    const ToolRun run = tool({"restore", backupFile().string()});
    ASSERT_EQ(run.status, kExitDone) << run.err;
    EXPECT_EQ(recordsOf(databaseFile()), saved);
    ASSERT_FALSE(keptFile().empty());
    EXPECT_EQ(recordsOf(keptFile()), changed);
    EXPECT_THAT(run.out, HasSubstr("kept as " + keptFile().string()));
    EXPECT_EQ(filesIn(dataFolder()),
              (std::set<std::string>{"Data.db", "Data.db.lock", keptFile().filename().string()}));

    // A second restore the same second keeps its replaced records under a name of its own.
    ASSERT_EQ(tool({"restore", backupFile().string()}).status, kExitDone);
    EXPECT_EQ(filesIn(dataFolder()).size(), 4u);
}

TEST_F(BackupRestore, AFileThatIsNotAWholeDatabaseOfTheProgramChangesNothing) {
    backUp();
    db.close();
    const std::string whole = readFile(backupFile());
    const auto candidate = [&](const std::string& name) { return folder.path() / name; };

    Database other;
    ASSERT_TRUE(other.open(candidate("other-key.db").string(), "another key", true));
    other.execute("CREATE TABLE b_yh(id, yhm, mm)");
    other.close();
    ASSERT_TRUE(other.open(candidate("plain.db").string(), {}, true));
    other.execute("CREATE TABLE b_yh(id INTEGER PRIMARY KEY, yhm, mm)");
    other.close();
    ASSERT_TRUE(other.open(candidate("no-leases.db").string(), schema::kDatabaseKey, true));
    other.execute(
        "CREATE TABLE b_yh(id INTEGER PRIMARY KEY, yhm, mm);"
        "CREATE TABLE b_fangjian(id INTEGER PRIMARY KEY, dizhi, zhuangtai, "
        "chuzuzhuangtai, danhao)");
    other.close();
    writeFile(candidate("half.db"), whole.substr(0, whole.size() / 2));
    writeFile(candidate("torn.db"), whole.substr(0, 1500));
    writeFile(candidate("empty.db"), "");

    lockRecords(dataFolder(), LockAccess::Shared);  // the lock file, as the program leaves it
    const std::string before = readFile(databaseFile());
    const std::set<std::string> files = filesIn(dataFolder());
    for (const char* name :
         {"other-key.db", "plain.db", "no-leases.db", "half.db", "torn.db", "empty.db"}) {
        const ToolRun run = tool({"restore", candidate(name).string()});
        EXPECT_EQ(run.status, kExitFailed) << name;
        EXPECT_THAT(run.err, HasSubstr("refusing to restore")) << name;
        EXPECT_EQ(readFile(databaseFile()), before) << name;
        EXPECT_EQ(filesIn(dataFolder()), files) << name;
    }
    EXPECT_THAT(tool({"restore", candidate("plain.db").string()}).err,
                HasSubstr("; a backup opens with the program's key"));
    EXPECT_THAT(tool({"restore", candidate("no-leases.db").string()}).err,
                HasSubstr("table b_zulin is missing"));
}

// Keeps what is written, running an action at the first write.
class ActOnFirstWrite : public std::streambuf {
public:
    explicit ActOnFirstWrite(std::function<void()> action) : action_(std::move(action)) {}
    const std::string& written() const { return written_; }

protected:
    int_type overflow(int_type c) override {
        if (action_) {
            std::exchange(action_, nullptr)();
        }
        written_ += traits_type::to_char_type(c);
        return traits_type::not_eof(c);
    }

private:
    std::function<void()> action_;
    std::string written_;
};

TEST_F(BackupRestore, ABackupChangedWhileItIsCopiedInIsCheckedAgainAndRefused) {
    // Enough pages that the copy takes several steps, the progress bar shown between them.
    execute(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<300) "
        "INSERT INTO b_fangjian(dizhi, zhuangtai) SELECT printf('%0200d', i), 1 FROM n");
    backUp();
    db.close();
    const std::string before = readFile(databaseFile());
    // Another program makes the checked backup unfit, by a valid change, once the copy began.
    ActOnFirstWrite changeBackup([&] {
        Database other;
        ASSERT_TRUE(other.open(backupFile().string(), schema::kDatabaseKey));
        EXPECT_TRUE(other.execute("DROP TABLE b_zulin"));
        other.close();
    });
    std::ostream progress(&changeBackup);
    std::istringstream in;
    std::ostringstream out;
    const std::string backup = backupFile().string();
    const std::vector<const char*> words = {"restore", backup.c_str()};
    const int status = runRecordsTool(words, folder.path(), {in, out, progress, true});

    EXPECT_EQ(status, kExitFailed);
    EXPECT_THAT(changeBackup.written(), HasSubstr("refusing to restore: "));
    EXPECT_TRUE(readFile(databaseFile()) == before);
    EXPECT_TRUE(keptFile().empty());
    EXPECT_EQ(filesIn(dataFolder()), (std::set<std::string>{"Data.db", "Data.db.lock"}));
    const ToolRun check = tool({"restore", backupFile().string()});
    EXPECT_THAT(check.err, HasSubstr("table b_zulin is missing"));  // the change did happen
}

TEST_F(BackupRestore, NoRestoreWhileTheProgramHoldsTheRecords) {
    backUp();
    db.close();
    const std::string before = readFile(databaseFile());
    {
        const LockAttempt program = lockRecords(dataFolder(), LockAccess::Shared);
        ASSERT_EQ(program.outcome, LockOutcome::Taken);
        const ToolRun refused = tool({"restore", backupFile().string()});
        EXPECT_EQ(refused.status, kExitFailed);
        EXPECT_THAT(refused.err, HasSubstr("the records are in use"));
        EXPECT_EQ(readFile(databaseFile()), before);
        EXPECT_TRUE(keptFile().empty());
        EXPECT_EQ(tool({"check"}).status, kExitDone);  // reading goes on beside it
    }
    EXPECT_EQ(tool({"restore", backupFile().string()}).status, kExitDone);
}

TEST_F(BackupRestore, ATransactionAKilledProgramLeftBehindStaysWithTheReplacedRecords) {
    backUp();
    const std::string saved = recordsOf(backupFile());
    db.close();
    const pid_t child = ::fork();
    if (child == 0) {
        Database killed;
        killed.open(databaseFile().string(), schema::kDatabaseKey);
        killed.execute(
            "PRAGMA cache_size=1; BEGIN; WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 "
            "FROM n WHERE i<3000) INSERT INTO b_fangjian(dizhi, zhuangtai) SELECT "
            "printf('%0200d', i), 1 FROM n");
        ::_exit(0);  // mid-transaction, as a kill leaves it
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    const std::filesystem::path journal = dataFolder() / "Data.db-journal";
    ASSERT_TRUE(std::filesystem::exists(journal));

    ASSERT_EQ(tool({"restore", backupFile().string()}).status, kExitDone);
    EXPECT_FALSE(std::filesystem::exists(journal));
    EXPECT_EQ(recordsOf(databaseFile()), saved);
    EXPECT_EQ(recordsOf(keptFile()), saved);  // the unfinished rooms rolled back
}

}  // namespace
}  // namespace tamrivo::testing
