// Users and their passwords without a window: what the login, the password window, the
// records tool and set-up all go through.
#include <gtest/gtest.h>

#include "records/users.h"
#include "tests/records/records_test_support.h"

namespace tamrivo {
namespace {

// The digest of "abcd" in upper case.
constexpr char kAbcdDigest[] = "E2FC714C4727EE9395F324CD2E7F331F";

class Users : public testing::RecordsTest {
protected:
    // admin from set-up is user 1; a second user whose name holds a quote is user 2.
    void SetUp() override {
        makeDatabase();
        execute("INSERT INTO `b_yh` (`yhm`, `mm`) VALUES ('O''Brien', 'untouched')");
    }

    Text digests() { return db.queryText("SELECT group_concat(`mm`, '|') FROM `b_yh`"); }
};

TEST_F(Users, SetUpsAdminLogsInWithItsPasswordAndNoOtherNameOrPassword) {
    EXPECT_TRUE(passwordMatches(db, "admin", "904817"));
    EXPECT_FALSE(passwordMatches(db, "admin", "904817 "));
    EXPECT_FALSE(passwordMatches(db, "Admin", "904817"));
    EXPECT_FALSE(passwordMatches(db, "", ""));
    EXPECT_FALSE(passwordMatches(db, "' OR '1'='1", "x"));
    EXPECT_FALSE(passwordMatches(db, "admin' --", "x"));

    execute("UPDATE `b_yh` SET `mm`=lower(`mm`) WHERE `id`=1");
    EXPECT_FALSE(passwordMatches(db, "admin", "904817")) << "a lower-case digest never matches";
}

TEST_F(Users, UsersAreListedInTableOrderAndFoundByTheNameAsTyped) {
    const auto users = listUsers(db);
    ASSERT_TRUE(users);
    ASSERT_EQ(users->size(), 2u);
    EXPECT_EQ((*users)[0].id, 1);
    EXPECT_TEXT_EQ((*users)[0].name, "admin");
    EXPECT_EQ((*users)[1].id, 2);
    EXPECT_TEXT_EQ((*users)[1].name, "O'Brien");

    EXPECT_EQ(findUserId(db, "O'Brien"), 2);
    EXPECT_EQ(findUserId(db, "admin' OR '1'='1"), std::nullopt);
    EXPECT_EQ(findUserId(db, "ADMIN"), std::nullopt);

    execute("DROP TABLE `b_yh`");
    EXPECT_FALSE(listUsers(db));
    EXPECT_FALSE(db.errorMessage().empty());
}

TEST_F(Users, ANewPasswordIsStoredAsItsDigestForThatUserOnly) {
    const PasswordOutcome outcome = setPassword(db, 1, "abcd");
    EXPECT_EQ(outcome.result, PasswordResult::Set) << testing::readableGbk(outcome.error);
    EXPECT_EQ(digests(), Text(kAbcdDigest) + "|untouched");
    EXPECT_TRUE(passwordMatches(db, "admin", "abcd"));
    EXPECT_FALSE(passwordMatches(db, "admin", "904817"));

    EXPECT_EQ(setPassword(db, 2, "n3w'pw\"\\").result, PasswordResult::Set);
    EXPECT_TRUE(passwordMatches(db, "O'Brien", "n3w'pw\"\\")) << "quotes are plain characters";
}

TEST_F(Users, APasswordTheLoginCouldNotTakeIsRefusedAndNothingChanges) {
    const Text before = digests();
    EXPECT_EQ(setPassword(db, 1, "").result, PasswordResult::Empty);
    // A blank, full-width ones and tabs too, would be typed at the login and never match.
    for (const Text blank : {"ab cd", " \xA1\xA1 ", "abcd ", "a\tb"}) {
        EXPECT_EQ(setPassword(db, 1, blank).result, PasswordResult::HasBlank)
            << testing::readableGbk(blank);
    }
    for (const Text untypable : {"你好", "ab\x80", "pass\x7F"}) {
        EXPECT_EQ(setPassword(db, 1, untypable).result, PasswordResult::NotTypable)
            << testing::readableGbk(untypable);
    }
    EXPECT_EQ(checkNewPassword("abcd"), PasswordResult::Set);
    EXPECT_EQ(digests(), before);
}

TEST_F(Users, AUserThatIsGoneOrAWriteRefusedIsReportedAndNothingChanges) {
    const Text before = digests();
    EXPECT_EQ(setPassword(db, 99, "abcd").result, PasswordResult::NoSuchUser);

    execute("CREATE TRIGGER kept BEFORE UPDATE ON b_yh BEGIN SELECT RAISE(ABORT, 'locked'); END");
    const PasswordOutcome outcome = setPassword(db, 1, "abcd");
    EXPECT_EQ(outcome.result, PasswordResult::Failed);
    EXPECT_TEXT_EQ(outcome.error, "locked");
    EXPECT_EQ(digests(), before);
}

}  // namespace
}  // namespace tamrivo
