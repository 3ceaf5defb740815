#include <openssl/evp.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "data/key_derivation.h"
#include "tests/data/database_test_support.h"
#include "tests/support/library_text.h"

namespace tamrivo {
namespace {

using testing::mustExecute;
using testing::OpenDatabase;
using testing::readableGbk;
using testing::TemporaryFolder;
using testing::writeFile;

constexpr char kKey[] = "Qw482617.";

std::vector<std::uint8_t> randomBytes(std::mt19937& random, std::size_t count) {
    std::vector<std::uint8_t> bytes(count);
    for (std::uint8_t& byte : bytes) {
        byte = static_cast<std::uint8_t>(random());
    }
    return bytes;
}

std::vector<std::uint8_t> openSslPbkdf2(const std::vector<std::uint8_t>& password,
                                        const std::vector<std::uint8_t>& salt, int iterations,
                                        std::size_t length) {
    std::vector<std::uint8_t> out(length);
    PKCS5_PBKDF2_HMAC_SHA1(reinterpret_cast<const char*>(password.data()),
                           static_cast<int>(password.size()), salt.data(),
                           static_cast<int>(salt.size()), iterations, static_cast<int>(length),
                           out.data());
    return out;
}

// Passwords on both sides of the block size (a longer one is hashed first), salts of any
// length, one round and many, and lengths that end inside a digest or span several.
TEST(Pbkdf2HmacSha1, GivesWhatOpenSslGives) {
    std::mt19937 random(20261209);
    for (const std::size_t passwordLength : {0, 1, 9, 63, 64, 65, 200}) {
        for (const std::size_t saltLength : {0, 16, 100}) {
            for (const int iterations : {1, 2, 1000}) {
                for (const std::size_t length : {1, 20, 32, 41}) {
                    const auto password = randomBytes(random, passwordLength);
                    const auto salt = randomBytes(random, saltLength);
                    std::vector<std::uint8_t> ours(length);
                    pbkdf2HmacSha1(password, salt, iterations, ours);
                    EXPECT_EQ(ours, openSslPbkdf2(password, salt, iterations, length))
                        << passwordLength << " " << saltLength << " " << iterations << " "
                        << length;
                }
            }
        }
    }
}

class DerivedKey : public ::testing::Test {
protected:
    // A file keyed the library's way, with one row in it.
    void makeFile() {
        OpenDatabase made;
        ASSERT_TRUE(made.db.open(path, kKey, true));
        mustExecute(made.db, "create table t(x); insert into t values('甲')");
    }

    TemporaryFolder folder;
    const std::string path = folder.file("keyed.db");
    OpenDatabase session;
    Database& db = session.db;
};

// The derived key is the file's key itself: the library takes it without deriving anything,
// reads the file and writes what the library's own derivation reads back.
TEST_F(DerivedKey, IsTheKeyTheLibraryDerivesForTheFile) {
    makeFile();
    const std::optional<Text> key = derivedKeyOfFile(path, kKey);
    ASSERT_TRUE(key.has_value());
    EXPECT_EQ(key->size(), 67u);
    ASSERT_TRUE(db.open(path, *key)) << readableGbk(db.errorMessage());
    EXPECT_TEXT_EQ(db.queryText("select x from t"), "甲");
    mustExecute(db, "insert into t values('乙')");
    db.close();

    ASSERT_TRUE(db.open(path, kKey));
    EXPECT_EQ(db.queryInt("select count(*) from t"), 2);
}

TEST_F(DerivedKey, OpensAsTheLibraryWouldWhereTheDerivedKeyCannotServe) {
    EXPECT_FALSE(derivedKeyOfFile(path, kKey).has_value());  // no file
    EXPECT_FALSE(openWithDerivedKey(db, path, kKey));
    EXPECT_TEXT_EQ(db.errorMessage(), "unable to open database file");
    db.close();

    writeFile(path, "");  // an empty file has no salt yet, and opens as an empty database
    EXPECT_FALSE(derivedKeyOfFile(path, kKey).has_value());
    EXPECT_TRUE(openWithDerivedKey(db, path, kKey));
    db.close();

    std::filesystem::remove(path);
    makeFile();  // the file of another key: the message is the library's, once
    EXPECT_FALSE(openWithDerivedKey(db, path, "another key"));
    EXPECT_EQ(db.errorCode(), SQLITE_NOTADB);
    EXPECT_TEXT_EQ(db.errorMessage(), testing::libraryText(SQLITE_NOTADB));
    db.close();

    EXPECT_TRUE(openWithDerivedKey(db, path, kKey));
    EXPECT_TEXT_EQ(db.queryText("select x from t"), "甲");
}

}  // namespace
}  // namespace tamrivo
