#include "records/records_file.h"

#include <gmock/gmock.h>

#include <chrono>
#include <thread>

#include "tests/records/records_test_support.h"

namespace tamrivo::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

using RecordsFile = RecordsTest;

TEST_F(RecordsFile, LiesInTheDataFolderOfTheProgramFolder) {
    EXPECT_EQ(recordsFolder(folder.path()), dataFolder());
    EXPECT_EQ(recordsFile(folder.path()), databaseFile());
}

TEST_F(RecordsFile, AMissingFileIsNeverCreated) {
    Database database;
    const std::string reason = openRecords(database, databaseFile());
    database.close();
    EXPECT_THAT(reason, StartsWith("cannot open " + databaseFile().string() + ": "));
    EXPECT_FALSE(std::filesystem::exists(databaseFile()));
}

TEST_F(RecordsFile, AFileOfAnotherKeyFailsWithTheLibrarysWordsKept) {
    std::filesystem::create_directories(dataFolder());
    Database other;
    ASSERT_TRUE(other.open(databaseFile().string(), "another key", true));
    ASSERT_TRUE(other.run("CREATE TABLE t (x)"));
    other.close();

    Database database;
    const std::string reason = openRecords(database, databaseFile());
    EXPECT_THAT(reason, HasSubstr("not a database"));
    EXPECT_THAT(gbkToUtf8(database.errorMessage()), HasSubstr("not a database"));
    database.close();
}

TEST_F(RecordsFile, APathOutsideGbkIsRefusedWithoutOpening) {
    Database database;
    const std::filesystem::path file = folder.path() / "\xF0\x9F\x8F\xA0" / "Data.db";
    EXPECT_THAT(openRecords(database, file), HasSubstr("characters outside GBK"));
    EXPECT_EQ(database.handle(), nullptr);
}

// The records tool reading while the program commits: it waits instead of failing.
TEST_F(RecordsFile, AReadWaitsForAnotherConnectionsWriteInsteadOfFailing) {
    makeDatabase();
    Database reader;
    ASSERT_EQ(openRecords(reader, databaseFile()), "");
    ASSERT_TRUE(db.run("BEGIN EXCLUSIVE"));
    ASSERT_TRUE(db.run("INSERT INTO b_fangjian (dizhi, zhuangtai) VALUES('101', 1)"));
    std::thread commit([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        db.commit();
    });
    EXPECT_EQ(reader.queryInt("SELECT count(*) FROM b_fangjian"), 1)
        << readableGbk(reader.errorMessage());
    commit.join();
    reader.close();
}

}  // namespace
}  // namespace tamrivo::testing
