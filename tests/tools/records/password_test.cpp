// A landlord locked out by a password the login cannot take gets back in from a terminal.

#include <gmock/gmock.h>

#include "base/byte_block.h"
#include "records/password_digest.h"
#include "tests/tools/records/records_tool_test_support.h"

namespace tamrivo::testing {
namespace {

using ::testing::HasSubstr;

class Password : public RecordsToolTest {
protected:
    void SetUp() override {
        makeDatabase();
        execute("INSERT INTO b_yh (yhm, mm) VALUES('admin'' --', 'untouched')");
    }

    Text digestOf(const Text& user) {
        StatementHandle statement = db.prepare("SELECT mm FROM b_yh WHERE yhm=:yhm");
        db.bindText(statement, ":yhm", user);
        const Text digest = db.step(statement) ? db.columnText(statement, 0) : Text("none");
        db.finalize(statement);
        return digest;
    }
};

TEST_F(Password, SetsTheDigestTheLoginComparesAsTyped) {
    const ToolRun run = tool({"password", "admin"}, "n3w'pw\"\\\n");
    ASSERT_EQ(run.status, kExitDone) << run.err;
    EXPECT_EQ(run.out, "the password of admin is changed\n");
    EXPECT_EQ(digestOf("admin"), md5Hex(toByteBlock("n3w'pw\"\\")));
    EXPECT_EQ(digestOf("admin' --"), "untouched");
}

TEST_F(Password, WhatTheLoginCannotTakeIsRefusedAndNothingChanges) {
    const Text before = digestOf("admin");
    for (const std::string typed : {"你好\n", "  \n", "", "ab\tc\n", "caf\xC3\xA9\n"}) {
        const ToolRun run = tool({"password", "admin"}, typed);
        EXPECT_EQ(run.status, kExitFailed) << typed;
        EXPECT_THAT(run.err, HasSubstr("nothing was changed")) << typed;
    }
    EXPECT_EQ(digestOf("admin"), before);
}

// The login hashes what is typed, so a password with a blank is refused, not stored without.
TEST_F(Password, ABlankInTheNewPasswordIsRefusedAndNothingChanges) {
    const Text before = digestOf("admin");
    for (const std::string typed : {"ab cd\n",
                                    "ab\xE3\x80\x80"
                                    "cd\n",
                                    " abcd\n", "abcd\t\n"}) {
        const ToolRun run = tool({"password", "admin"}, typed);
        EXPECT_EQ(run.status, kExitFailed) << typed;
        EXPECT_THAT(run.err, HasSubstr("may not hold blanks")) << typed;
        EXPECT_THAT(run.err, HasSubstr("nothing was changed")) << typed;
    }
    EXPECT_EQ(digestOf("admin"), before);
}

TEST_F(Password, AnUnknownUserIsNamedAndNoOtherChanged) {
    const Text before = digestOf("admin");
    const ToolRun run = tool({"password", "admin' OR '1'='1"}, "secret\n");
    EXPECT_EQ(run.status, kExitFailed);
    EXPECT_THAT(run.err, HasSubstr("there is no user admin' OR '1'='1"));
    EXPECT_EQ(digestOf("admin"), before);
    EXPECT_EQ(digestOf("admin' --"), "untouched");
}

}  // namespace
}  // namespace tamrivo::testing
