#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "tests/data/database_test_support.h"
#include "tests/support/library_text.h"

namespace tamrivo {
namespace {

using testing::libraryText;
using testing::mustExecute;
using testing::OpenDatabase;
using testing::readableGbk;
using testing::readFile;
using testing::TemporaryFolder;
using testing::writeFile;

constexpr char kKey[] = "Qw482617.";
constexpr uid_t kUnprivilegedUser = 65534;  // nobody

// The library's words for a file its key does not fit, passed on unchanged.
void expectNotADatabase(const Database& db) {
    EXPECT_EQ(db.errorCode(), SQLITE_NOTADB);
    EXPECT_TEXT_EQ(db.errorMessage(), libraryText(SQLITE_NOTADB));
}

class DatabaseOpen : public ::testing::Test {
protected:
    TemporaryFolder folder;
    OpenDatabase session;
    Database& db = session.db;
};

TEST_F(DatabaseOpen, NoPathOpensAPrivateMemoryDatabase) {
    ASSERT_TRUE(db.open());
    mustExecute(db, "create table t(x); insert into t values(7)");
    EXPECT_EQ(db.queryInt("select x from t"), 7);

    Database other;
    ASSERT_TRUE(other.open());
    EXPECT_FALSE(other.tableExists("t"));
    EXPECT_TRUE(other.close());
}

TEST_F(DatabaseOpen, CloseReportsWhetherThereWasAConnection) {
    EXPECT_FALSE(db.close());
    ASSERT_TRUE(db.open());
    EXPECT_TRUE(db.close());
    EXPECT_EQ(db.handle(), nullptr);
    EXPECT_FALSE(db.close());
}

TEST_F(DatabaseOpen, AMissingFileIsCreatedOnlyWithTheCreateFlag) {
    const std::string path = folder.file("new.db");
    EXPECT_FALSE(db.open(path));
    EXPECT_TEXT_EQ(db.errorMessage(), "unable to open database file");
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_TRUE(db.close());  // the failed open left a handle to release

    ASSERT_TRUE(db.open(path, {}, true));
    EXPECT_TRUE(std::filesystem::exists(path));
}

TEST_F(DatabaseOpen, AMissingFolderFailsEvenWithTheCreateFlag) {
    EXPECT_FALSE(db.open(folder.file("no/such/folder/x.db"), {}, true));
    EXPECT_TEXT_EQ(db.errorMessage(), "unable to open database file");
}

TEST_F(DatabaseOpen, AKeyedFileIsEncryptedAndReadableOnlyWithItsKey) {
    const std::string path = folder.file("keyed.db");
    ASSERT_TRUE(db.open(path, kKey, true));
    mustExecute(db, "create table t(x); insert into t values('房间')");
    ASSERT_TRUE(db.close());
    EXPECT_EQ(readFile(path).find("SQLite format 3"), std::string::npos);

    EXPECT_FALSE(db.open(path, "wrong key"));
    expectNotADatabase(db);
    EXPECT_TRUE(db.close());

    // Without a key nothing is read at the open; the first statement fails instead.
    ASSERT_TRUE(db.open(path));
    EXPECT_TEXT_EQ(db.queryText("select x from t"), "");
    expectNotADatabase(db);
    EXPECT_TRUE(db.close());

    ASSERT_TRUE(db.open(path, kKey));
    EXPECT_TEXT_EQ(db.queryText("select x from t"), "房间");
}

// The console is the landlord's, not the library's: a wrong key is told through the result.
TEST_F(DatabaseOpen, AWrongKeyLeavesTheConsoleQuiet) {
    const std::string path = folder.file("keyed.db");
    ASSERT_TRUE(db.open(path, kKey, true));
    mustExecute(db, "create table t(x)");
    ASSERT_TRUE(db.close());
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(db.open(path, "wrong key"));
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

// SQLCipher 3's settings under either library: 1024-byte pages, 64,000 rounds of key
// derivation. Files attached with a key of their own are made the same way.
TEST_F(DatabaseOpen, KeyedFilesKeepTheRecordsFormat) {
    ASSERT_TRUE(db.open(folder.file("keyed.db"), kKey, true));
    EXPECT_TEXT_EQ(db.queryText("PRAGMA cipher_page_size"), "1024");
    EXPECT_TEXT_EQ(db.queryText("PRAGMA kdf_iter"), "64000");

    const Text attached = folder.file("attached.db");
    ASSERT_TRUE(db.attach(attached, "other KEY 'k2'"));
    mustExecute(db, "create table other.t(x); insert into other.t values(7)");
    ASSERT_TRUE(db.detach("other"));
    Database other;
    ASSERT_TRUE(other.open(attached, "k2")) << readableGbk(other.errorMessage());
    EXPECT_EQ(other.queryInt("select x from t"), 7);
    other.close();
}

TEST_F(DatabaseOpen, AKeyedConnectionWaitsForTheDiskOnEveryCommit) {
    ASSERT_TRUE(db.open(folder.file("keyed.db"), kKey, true));
    EXPECT_EQ(db.queryInt("PRAGMA synchronous"), 2);  // FULL
}

TEST_F(DatabaseOpen, AZeroLengthFileOpensAsAnEmptyDatabase) {
    const std::string path = folder.file("empty.db");
    for (const Text& key : {Text(), Text(kKey)}) {
        writeFile(path, "");
        ASSERT_TRUE(db.open(path, key)) << db.errorMessage();
        EXPECT_EQ(db.queryInt("select count(*) from sqlite_master"), 0);
        mustExecute(db, "create table t(x)");
        ASSERT_TRUE(db.close());
        EXPECT_GT(std::filesystem::file_size(path), 0u);
    }
}

TEST_F(DatabaseOpen, AFileThatIsNotADatabaseFails) {
    const std::string path = folder.file("notes.txt");
    writeFile(path, std::string(4096, 'x'));
    EXPECT_FALSE(db.open(path, kKey));
    expectNotADatabase(db);
    EXPECT_TRUE(db.close());

    ASSERT_TRUE(db.open(path));
    EXPECT_FALSE(db.run("create table t(x)"));
    expectNotADatabase(db);
    EXPECT_EQ(readFile(path), std::string(4096, 'x'));
}

TEST_F(DatabaseOpen, AReadOnlyFileRefusesWrites) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const std::string path = folder.file("readonly.db");
    ASSERT_TRUE(db.open(path, kKey, true));
    mustExecute(db, "create table t(x)");
    ASSERT_TRUE(db.close());
    std::filesystem::permissions(path, std::filesystem::perms::owner_read |
                                           std::filesystem::perms::group_read |
                                           std::filesystem::perms::others_read);

    // File permissions do not bind the superuser, so the check runs as an ordinary user in
    // a child process; it reports what it saw and exits 0 when all was as expected.
    EXPECT_EXIT(
        {
            if (::geteuid() == 0 && ::setuid(kUnprivilegedUser) != 0) {
                std::_Exit(2);
            }
            Database readOnly;
            const bool opened = readOnly.open(path, kKey);
            const bool wrote = readOnly.run("insert into t values(1)");
            const Text message = readOnly.errorMessage();
            const int rows = readOnly.queryInt("select count(*) from t");
            readOnly.close();
            std::fprintf(stderr, "opened=%d wrote=%d rows=%d message=%s\n", opened, wrote, rows,
                         message.c_str());
            std::_Exit(opened && !wrote && rows == 0 ? 0 : 1);
        },
        ::testing::ExitedWithCode(0),
        "opened=1 wrote=0 rows=0 message=attempt to write a readonly database");
}

TEST_F(DatabaseOpen, AWriteFailsWhileAnotherConnectionHoldsTheLock) {
    const std::string path = folder.file("shared.db");
    ASSERT_TRUE(db.open(path, kKey, true));
    mustExecute(db, "create table t(x)");
    OpenDatabase other;
    ASSERT_TRUE(other.db.open(path, kKey));
    ASSERT_TRUE(other.db.run("BEGIN EXCLUSIVE"));

    EXPECT_FALSE(db.run("insert into t values(1)"));
    EXPECT_EQ(db.errorCode(), 5);  // SQLITE_BUSY
    EXPECT_TEXT_EQ(db.errorMessage(), "database is locked");

    ASSERT_TRUE(other.db.commit());
    EXPECT_TRUE(db.run("insert into t values(1)"));
    EXPECT_EQ(other.db.queryInt("select count(*) from t"), 1);
}

// The records tool opens the file while the program commits: the open waits for the commit,
// and the connection it gives waits no longer than its owner asks.
TEST_F(DatabaseOpen, AKeyedOpenWaitsForAnotherConnectionsCommit) {
    const std::string path = folder.file("shared.db");
    ASSERT_TRUE(db.open(path, kKey, true));
    mustExecute(db, "create table t(x); BEGIN EXCLUSIVE; insert into t values(1)");
    std::thread committer([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        db.commit();
    });
    OpenDatabase other;
    EXPECT_TRUE(other.db.open(path, kKey)) << readableGbk(other.db.errorMessage());
    committer.join();
    EXPECT_EQ(other.db.queryInt("select count(*) from t"), 1);

    ASSERT_TRUE(db.run("BEGIN EXCLUSIVE"));
    EXPECT_FALSE(other.db.run("insert into t values(2)"));
    EXPECT_EQ(other.db.errorCode(), SQLITE_BUSY);
    ASSERT_TRUE(db.commit());
}

TEST_F(DatabaseOpen, RekeyReplacesTheKey) {
    const std::string path = folder.file("rekey.db");
    ASSERT_TRUE(db.open(path, kKey, true));
    mustExecute(db, "create table t(x); insert into t values(5)");
    ASSERT_TRUE(db.rekey("新钥匙"));
    ASSERT_TRUE(db.close());

    EXPECT_FALSE(db.open(path, kKey));
    EXPECT_TRUE(db.close());
    ASSERT_TRUE(db.open(path, "新钥匙"));
    EXPECT_EQ(db.queryInt("select x from t"), 5);
}

TEST_F(DatabaseOpen, LibraryMessagesComeBackAsGbk) {
    ASSERT_TRUE(db.open());
    EXPECT_EQ(db.prepare("select * from 房间"), nullptr);
    EXPECT_EQ(db.errorCode(), 1);
    EXPECT_TEXT_EQ(db.errorMessage(), "no such table: 房间");
}

TEST_F(DatabaseOpen, TheLibraryVersionIsReported) {
    EXPECT_EQ(db.libraryVersion().substr(0, 2), "3.");
    EXPECT_GE(db.libraryVersionNumber(), 3015000);
}

// Every operation on a closed database fails quietly: no crash, no library call that
// would dereference the missing connection.
TEST_F(DatabaseOpen, AClosedDatabaseFailsEveryOperation) {
    Text error;
    EXPECT_FALSE(db.execute("create table t(x)", &error));
    EXPECT_TEXT_EQ(error, "library routine called out of sequence");
    EXPECT_EQ(db.errorCode(), 21);  // SQLITE_MISUSE
    EXPECT_TEXT_EQ(db.errorMessage(), "library routine called out of sequence");

    EXPECT_EQ(db.prepare("select 1"), nullptr);
    EXPECT_EQ(db.prepareWithBlobs("select ?", Bytes{1}), nullptr);
    EXPECT_FALSE(db.run("select 1"));
    EXPECT_TEXT_EQ(db.queryText("select 'a'"), "");
    EXPECT_EQ(db.queryInt("select 1"), 0);
    int rows = -1;
    int columns = -1;
    EXPECT_FALSE(db.getTable("select 1", nullptr, rows, columns, error));
    EXPECT_EQ(rows, 0);
    EXPECT_EQ(columns, 0);
    EXPECT_FALSE(db.rekey("k"));
    EXPECT_FALSE(db.setBusyTimeout(100));
    EXPECT_EQ(db.changes(), 0);
    EXPECT_EQ(db.lastInsertRowid(), 0);
    db.interrupt();
    EXPECT_FALSE(db.begin());
    EXPECT_FALSE(db.vacuum());
    EXPECT_FALSE(db.attach(folder.file("a.db"), "a"));
    EXPECT_FALSE(db.backup(folder.file("copy.db")));
    EXPECT_FALSE(std::filesystem::exists(folder.file("copy.db")));
    EXPECT_EQ(db.listTables(), nullptr);
    EXPECT_FALSE(db.tableExists("t"));
    EXPECT_FALSE(db.createTable("t", {}));
    EXPECT_FALSE(db.clearTable("t"));
}

}  // namespace
}  // namespace tamrivo
