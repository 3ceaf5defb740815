#include <gmock/gmock.h>

#include <atomic>
#include <chrono>
#include <vector>

#include "base/text_encoding.h"
#include "data/key_derivation.h"
#include "tests/data/database_test_support.h"

namespace tamrivo {
namespace {

using testing::mustExecute;
using testing::OpenDatabase;
using testing::readableGbk;
using testing::readFile;
using testing::TemporaryFolder;

struct Progress {
    int remaining;
    int total;
    friend bool operator==(const Progress&, const Progress&) = default;
};

class DatabaseBackup : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(db.open(folder.file("source.db"), {}, true));
        // Enough rows for a dozen or so pages of the default size.
        mustExecute(db,
                    "create table t(x text);"
                    "with recursive n(i) as (select 1 union all select i + 1 from n where i < 400)"
                    " insert into t select printf('%0100d', i) from n");
        pages = db.queryInt("PRAGMA page_count");
        ASSERT_GT(pages, 10);
    }

    TemporaryFolder folder;
    OpenDatabase session;
    Database& db = session.db;
    int pages = 0;
};

TEST_F(DatabaseBackup, CopiesFivePagesAStepAndReportsEachStep) {
    std::vector<Progress> reports;
    ASSERT_TRUE(db.backup(folder.file("copy.db"), [&](int remaining, int total) {
        reports.push_back({remaining, total});
    }));

    std::vector<Progress> expected;
    for (int remaining = pages - 5; remaining > 0; remaining -= 5) {
        expected.push_back({remaining, pages});
    }
    expected.push_back({0, pages});
    EXPECT_EQ(reports, expected);

    OpenDatabase copy;
    ASSERT_TRUE(copy.db.open(folder.file("copy.db")));
    EXPECT_EQ(copy.db.queryInt("select count(*) from t"), 400);
}

// A program writing between every step restarts the copy each time; it must end all the
// same, with a whole copy of what the records held then.
TEST_F(DatabaseBackup, EndsWhileAnotherConnectionKeepsWriting) {
    OpenDatabase writer;
    ASSERT_TRUE(writer.db.open(folder.file("source.db")));
    constexpr int kWriteBound = 5000;  // the writer gives up before the test could hang
    int writes = 0;
    ASSERT_TRUE(db.backup(folder.file("copy.db"), [&](int, int) {
        if (writes < kWriteBound) {
            mustExecute(writer.db, "insert into t values('written during the copy')");
            ++writes;
        }
    }));
    EXPECT_LT(writes, 100);

    OpenDatabase copy;
    ASSERT_TRUE(copy.db.open(folder.file("copy.db")));
    EXPECT_GE(copy.db.queryInt("select count(*) from t"), 400);
    EXPECT_EQ(copy.db.queryText("PRAGMA integrity_check"), "ok");
}

TEST_F(DatabaseBackup, WaitsWhileTheDestinationIsLockedByAnotherConnection) {
    const Text destination = folder.file("busy.db");
    OpenDatabase holder;
    ASSERT_TRUE(holder.db.open(destination, {}, true));
    mustExecute(holder.db, "create table old(y); BEGIN EXCLUSIVE");

    std::vector<Progress> reports;
    const bool copied = db.backup(destination, [&](int remaining, int total) {
        reports.push_back({remaining, total});
        if (reports.size() == 3) {
            ASSERT_TRUE(holder.db.commit());  // let the copy through after two busy steps
        }
    });
    ASSERT_TRUE(copied);
    ASSERT_GE(reports.size(), 4u);
    // Nothing moves while the destination is locked; each attempt is still reported.
    EXPECT_EQ(reports[0].remaining, reports[1].remaining);
    EXPECT_EQ(reports[1].remaining, reports[2].remaining);
    EXPECT_EQ(reports.back(), (Progress{0, pages}));

    EXPECT_EQ(holder.db.queryInt("select count(*) from t"), 400);
    EXPECT_FALSE(holder.db.tableExists("old"));
}

// A lock held for ever ends the copy after the longest wait it is given, saying why, and so
// does a stop asked for between steps.
TEST_F(DatabaseBackup, AWaitOnALockHeldForEverEndsAndSaysWhy) {
    const Text destination = folder.file("busy.db");
    OpenDatabase holder;
    ASSERT_TRUE(holder.db.open(destination, {}, true));
    mustExecute(holder.db, "create table old(y); BEGIN EXCLUSIVE");

    Text why;
    int reports = 0;
    EXPECT_FALSE(db.backup(
        destination, [&](int, int) { ++reports; }, {}, {},
        {.longestBusyWait = std::chrono::milliseconds(1000)}, &why));
    EXPECT_EQ(why, "the database stayed locked by another connection for more than 1 seconds");
    EXPECT_GE(reports, 4);
    EXPECT_LE(reports, 6);

    std::atomic<bool> stop = false;
    reports = 0;
    EXPECT_FALSE(db.backup(
        destination, [&](int, int) { stop = ++reports == 2; }, {}, {}, {.stop = &stop}, &why));
    EXPECT_EQ(why, "the copy was stopped");
    EXPECT_EQ(reports, 2);
    ASSERT_TRUE(holder.db.commit());
    EXPECT_TRUE(holder.db.tableExists("old"));
    EXPECT_TRUE(db.close());
}

TEST_F(DatabaseBackup, AnUnknownSchemaFailsAndLeavesNoStatementBehind) {
    EXPECT_FALSE(db.backup(folder.file("copy.db"), {}, "nowhere"));
    EXPECT_TRUE(db.close());  // would fail with a live backup or statement
}

TEST_F(DatabaseBackup, AMissingDestinationFolderFails) {
    int reports = 0;
    EXPECT_FALSE(db.backup(folder.file("no/such/copy.db"), [&](int, int) { ++reports; }));
    EXPECT_EQ(reports, 0);
}

// The copy takes the key it is given, whatever the source's: the program's own backups pass
// the program's key, so its records never land on the disk in plain text.
TEST(EncryptedBackup, TheCopyOpensWithItsKeyOnly) {
    TemporaryFolder folder;
    OpenDatabase source;
    ASSERT_TRUE(source.db.open(folder.file("secret.db"), "k3y", true));
    mustExecute(source.db, "create table t(x text); insert into t values('房客')");

    for (const Text key : {"k3y", "another"}) {
        const Text file = folder.file(key + ".db");
        ASSERT_TRUE(source.db.backup(file, {}, {}, key));
        OpenDatabase keyed;
        ASSERT_TRUE(keyed.db.open(file, key));
        EXPECT_TEXT_EQ(keyed.db.queryText("select x from t"), "房客");
        // In the records' format: the key derived as SQLCipher 3 derives it fits the copy.
        const std::optional<Text> derived = derivedKeyOfFile(file, key);
        ASSERT_TRUE(derived.has_value());
        OpenDatabase raw;
        EXPECT_TRUE(raw.db.open(file, *derived)) << readableGbk(raw.db.errorMessage());
        OpenDatabase unkeyed;
        ASSERT_TRUE(unkeyed.db.open(file));
        EXPECT_FALSE(unkeyed.db.tableExists("t"));
        EXPECT_THAT(readFile(file), ::testing::Not(::testing::HasSubstr(gbkToUtf8("房客"))));
    }
}

}  // namespace
}  // namespace tamrivo
