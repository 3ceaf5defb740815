// The records tool on protected records: the secret from a descriptor or the standard input,
// never an argument; protect, unprotect, recover; backups and restores with their key file.

#include <gmock/gmock.h>
#include <unistd.h>

#include "records/protected_records.h"
#include "records/recovery_code.h"
#include "tests/support/file_contents.h"
#include "tests/tools/records/records_tool_test_support.h"

namespace tamrivo::testing {
namespace {

using ::testing::HasSubstr;

class Protection : public RecordsToolTest {
protected:
    void SetUp() override {
        makeDatabase(true);
        db.close();
        plainRows = recordsOf(databaseFile());
    }

    // The tool with the lines readable from a descriptor, given as --password-fd.
    ToolRun withSecret(const std::string& lines, std::vector<std::string> arguments,
                       const std::string& typed = {}) {
        int ends[2];
        EXPECT_EQ(::pipe(ends), 0);
        EXPECT_EQ(::write(ends[1], lines.data(), lines.size()), static_cast<ssize_t>(lines.size()));
        ::close(ends[1]);
        arguments.insert(arguments.begin(), {"--password-fd", std::to_string(ends[0])});
        const ToolRun run = tool(arguments, typed);
        ::close(ends[0]);
        return run;
    }

    // Protects the records as admin; the recovery code the tool printed.
    std::string protect() {
        const ToolRun run = withSecret("904817\n", {"protect"});
        EXPECT_EQ(run.status, kExitDone) << run.err;
        const std::size_t start = run.out.find("\n\n    ");
        return start == std::string::npos ? std::string()
                                          : run.out.substr(start + 6, kRecoveryCodeLength + 7);
    }

    std::string plainRows;
};

TEST_F(Protection, ProtectedRecordsOpenForACommandOnlyWithAUsersPasswordOrTheCode) {
    const std::string code = protect();
    ASSERT_EQ(normaliseRecoveryCode(code).problem, "") << code;
    EXPECT_NE(recordsOf(databaseFile()), plainRows);
    EXPECT_TRUE(std::filesystem::exists(keySlotsFile(databaseFile())));

    EXPECT_EQ(withSecret("904817\n", {"check"}).status, kExitDone);
    EXPECT_EQ(withSecret(code + "\n", {"--recovery", "check"}).status, kExitDone);
    EXPECT_EQ(tool({"check"}, "904817\n").status, kExitDone);  // a line of the standard input

    const ToolRun wrong = withSecret("904818\n", {"check"});
    EXPECT_EQ(wrong.status, kExitFailed);
    EXPECT_THAT(wrong.err, HasSubstr("does not open"));
    EXPECT_THAT(withSecret("904817\n", {"--user", "nobody", "check"}).err,
                HasSubstr("does not open"));
    EXPECT_EQ(withSecret("", {"check"}).status, kExitFailed);
    EXPECT_THAT(withSecret("not a code\n", {"--recovery", "check"}).err,
                HasSubstr("not a recovery code"));
    EXPECT_EQ(withSecret(std::string(5000, 'a') + "\n", {"check"}).status, kExitFailed);

    // A secret is never an argument.
    EXPECT_EQ(tool({"--password", "904817", "check"}).status, kExitUsage);
    EXPECT_EQ(tool({"--password-fd", "x", "check"}).status, kExitUsage);
    EXPECT_THAT(withSecret("904817\n", {"protect"}).err, HasSubstr("protected already"));
}

TEST_F(Protection, AWrongPasswordProtectsNothing) {
    const ToolRun run = withSecret("wrong\n", {"protect"});
    EXPECT_EQ(run.status, kExitFailed);
    EXPECT_THAT(run.err, HasSubstr("not the password of admin"));
    EXPECT_EQ(recordsOf(databaseFile()), plainRows);
    EXPECT_FALSE(std::filesystem::exists(keySlotsFile(databaseFile())));
}

TEST_F(Protection, UnprotectGivesBackRecordsThatOpenWithTheProgramsKey) {
    protect();
    EXPECT_EQ(withSecret("bad\n", {"unprotect"}).status, kExitFailed);
    EXPECT_NE(recordsOf(databaseFile()), plainRows);
    const ToolRun run = withSecret("904817\n", {"unprotect"});
    ASSERT_EQ(run.status, kExitDone) << run.err;
    EXPECT_EQ(recordsOf(databaseFile()), plainRows);
    EXPECT_FALSE(std::filesystem::exists(keySlotsFile(databaseFile())));
    EXPECT_THAT(tool({"unprotect"}).err, HasSubstr("not protected"));
}

TEST_F(Protection, RecoverSetsAForgottenPasswordWithTheCode) {
    const std::string code = protect();
    EXPECT_EQ(withSecret("AAAAA-AAAAA\n", {"recover", "admin"}, "fresh1\n").status, kExitFailed);
    const ToolRun run = withSecret(code + "\n", {"recover", "admin"}, "fresh1\n");
    ASSERT_EQ(run.status, kExitDone) << run.err;
    EXPECT_EQ(withSecret("904817\n", {"check"}).status, kExitFailed);
    EXPECT_EQ(withSecret("fresh1\n", {"check"}).status, kExitDone);
    EXPECT_THAT(withSecret(code + "\n", {"recover", "nobody"}, "fresh2\n").err,
                HasSubstr("no user nobody"));
}

TEST_F(Protection, ThePasswordCommandSealsTheUsersSlotToo) {
    protect();
    const ToolRun run = withSecret("904817\n", {"password", "admin"}, "other2\n");
    ASSERT_EQ(run.status, kExitDone) << run.err;
    EXPECT_EQ(withSecret("other2\n", {"check"}).status, kExitDone);
}

TEST_F(Protection, ABackupComesBackWithItsKeyFileAndThePasswordsOfItsDay) {
    protect();
    const std::filesystem::path backup = folder.path() / "backup.db";
    const ToolRun made = withSecret("904817\n", {"backup", backup.string()});
    ASSERT_EQ(made.status, kExitDone) << made.err;
    EXPECT_TRUE(std::filesystem::exists(keySlotsFile(backup)));
    EXPECT_NE(recordsOf(backup), plainRows);  // no more readable than the records
    const std::string keysOfTheDay = readFile(keySlotsFile(backup));

    // Later: a new password, and other records.
    ASSERT_EQ(withSecret("904817\n", {"password", "admin"}, "later1\n").status, kExitDone);
    ASSERT_EQ(withSecret("later1\n", {"unprotect"}).status, kExitDone);

    EXPECT_EQ(withSecret("later1\n", {"restore", backup.string()}).status, kExitFailed);
    const ToolRun restored = withSecret("904817\n", {"restore", backup.string()});
    ASSERT_EQ(restored.status, kExitDone) << restored.err;
    EXPECT_EQ(readFile(keySlotsFile(databaseFile())), keysOfTheDay);
    EXPECT_NE(recordsOf(databaseFile()), plainRows);
    EXPECT_EQ(withSecret("904817\n", {"check"}).status, kExitDone);
    EXPECT_FALSE(std::filesystem::exists(pendingKeySlotsFile(databaseFile())));
}

TEST_F(Protection, AnUnprotectedBackupRestoredOverProtectedRecordsTakesTheirKeyFileAway) {
    const std::filesystem::path backup = folder.path() / "plain.db";
    ASSERT_EQ(tool({"backup", backup.string()}).status, kExitDone);
    protect();
    const ToolRun run = tool({"restore", backup.string()});
    ASSERT_EQ(run.status, kExitDone) << run.err;
    EXPECT_EQ(recordsOf(databaseFile()), plainRows);
    EXPECT_FALSE(std::filesystem::exists(keySlotsFile(databaseFile())));
    EXPECT_EQ(tool({"check"}).status, kExitDone);
}

TEST_F(Protection, HostileKeyFilesAreAReasonNotACrash) {
    protect();
    const std::string keys = readFile(keySlotsFile(databaseFile()));
    writeFile(keySlotsFile(databaseFile()), keys.substr(0, 40));
    ToolRun run = withSecret("904817\n", {"check"});
    EXPECT_EQ(run.status, kExitFailed);
    EXPECT_FALSE(run.err.empty());

    // Memory limit raised to the largest number: refused before anything is derived.
    std::string raised = keys;
    const std::size_t memlimit = 8 + 1 + 16 + 1 + 1 + 1 + 5 + 8;  // the first slot is admin's
    for (std::size_t i = 0; i < 8; ++i) {
        raised[memlimit + i] = '\xFF';
    }
    writeFile(keySlotsFile(databaseFile()), raised);
    run = withSecret("904817\n", {"check"});
    EXPECT_EQ(run.status, kExitFailed);
    EXPECT_FALSE(run.err.empty());

    writeFile(keySlotsFile(databaseFile()), keys);
    EXPECT_EQ(withSecret("904817\n", {"check"}).status, kExitDone);
}

}  // namespace
}  // namespace tamrivo::testing
