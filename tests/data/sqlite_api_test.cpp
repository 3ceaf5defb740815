#include "data/sqlite_api.h"

#include <dlfcn.h>

#include <cstdlib>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "data/database.h"
#include "tests/support/temporary_folder.h"

namespace tamrivo {
namespace {

using ::testing::HasSubstr;
using testing::TemporaryFolder;

std::string utf8(std::u8string_view text) {
    return std::string(text.begin(), text.end());
}

std::string missingEntryMessage(const std::string& library, const std::string& entry) {
    return utf8(u8"无法找到指定DLL库文件“") + library + utf8(u8"”中的输出命令“") + entry +
           utf8(u8"”");
}

class SqliteApiDeathTest : public ::testing::Test {
protected:
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

TEST(SqliteApi, BindsEntryPointsFromTheNamedLibraryOnFirstUse) {
    SqliteApi api({TAMRIVO_SQLITE_STUB});
    EXPECT_STREQ(api.sqlite3_libversion(), "stub 1.0");
}

// The stub lies beside the test program and nowhere on the system's search path: found by
// its bare name, it was looked for in the program's directory.
TEST(SqliteApi, LooksInTheProgramsDirectoryByName) {
    SqliteApi api({TAMRIVO_SQLITE_STUB_NAME});
    EXPECT_STREQ(api.sqlite3_libversion(), "stub 1.0");
}

TEST(SqliteApi, TakesTheFirstLibraryFileThatLoads) {
    SqliteApi later({"libtamrivo-no-such-library.so.1", TAMRIVO_SQLITE_STUB_NAME});
    EXPECT_STREQ(later.sqlite3_libversion(), "stub 1.0");
    // Both present: the first named wins, although the system would also find the second.
    SqliteApi first({TAMRIVO_SQLITE_STUB_NAME, "libsqlcipher.so.0"});
    EXPECT_STREQ(first.sqlite3_libversion(), "stub 1.0");
}

TEST(SqliteApi, PrefersSqlCipher4ToSqlCipher3) {
    ASSERT_EQ(kSqliteLibraryFiles.size(), 2u);
    EXPECT_EQ(kSqliteLibraryFiles[0], "libsqlcipher.so.1");
    EXPECT_EQ(kSqliteLibraryFiles[1], "libsqlcipher.so.0");
}

TEST(SqliteApi, TheProgramTableReachesSqlCipher) {
    EXPECT_GE(sqliteApi().sqlite3_libversion_number(), 3015000);
}

TEST_F(SqliteApiDeathTest, AMissingEntryPointIsFatalAndNamesLibraryAndEntry) {
    EXPECT_DEATH(
        {
            SqliteApi api({"libtamrivo-no-such-library.so.1", TAMRIVO_SQLITE_STUB});
            sqlite3* connection = nullptr;
            api.sqlite3_open_v2(":memory:", &connection, SQLITE_OPEN_READWRITE, nullptr);
        },
        HasSubstr(missingEntryMessage(TAMRIVO_SQLITE_STUB, "sqlite3_open_v2")));
}

// With none of the files there, the message names the one preferred.
TEST_F(SqliteApiDeathTest, AMissingLibraryIsFatalAtTheFirstCall) {
    SqliteApi api({"libtamrivo-no-such-library.so.1", "libtamrivo-no-such-library.so.0"});
    EXPECT_EXIT(
        api.sqlite3_libversion(), ::testing::ExitedWithCode(EXIT_FAILURE),
        HasSubstr(missingEntryMessage("libtamrivo-no-such-library.so.1", "sqlite3_libversion")));
}

#if !defined(TAMRIVO_SANITIZED)  // sanitizer builds load the library without deep binding
// A plain SQLite already in the process (Qt's driver brings one) must not take over the
// library's own symbols: the encrypted open would otherwise crash or misbehave.
TEST_F(SqliteApiDeathTest, APlainSqliteInTheProcessDoesNotInterfere) {
    TemporaryFolder folder;
    const Text path = folder.file("keyed.db");
    EXPECT_EXIT(
        {
            if (dlopen("libsqlite3.so.0", RTLD_NOW | RTLD_GLOBAL) == nullptr) {
                std::_Exit(2);
            }
            Database db;
            const bool worked = db.open(path, "key", true) &&
                                db.execute("create table t(x); insert into t values(41)") &&
                                db.queryInt("select x + 1 from t") == 42 && db.close() &&
                                db.open(path, "key") && db.queryInt("select x from t") == 41;
            std::_Exit(worked ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}
#endif

}  // namespace
}  // namespace tamrivo
