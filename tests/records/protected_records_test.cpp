// Records re-keyed by a data key of their own and back, opened through their key slots, and
// what a kill at each step of a re-key leaves behind.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <csignal>
#include <fstream>

#include "records/key_slot_changes.h"
#include "records/protected_records.h"
#include "records/records_file.h"
#include "tests/records/records_test_support.h"

namespace tamrivo {
namespace {

namespace fs = std::filesystem;
using testing::kShellKey;
using testing::recordsOf;
using testing::rowsOf;
using testing::sqlcipherShell;

constexpr KdfCost kCheap{1, kMinMemlimit};
constexpr int kKilled = 42;
constexpr std::array kProtectSteps{RekeyStep::CopyChecked, RekeyStep::KeySlotsWritten,
                                   RekeyStep::RecordsRenamed};
constexpr std::array kUnprotectSteps{RekeyStep::CopyChecked, RekeyStep::RecordsRenamed};

std::string hexOf(const SecretBytes& key) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (const std::uint8_t byte : key.bytes()) {
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 0x0F];
    }
    return hex;
}

class ProtectedRecords : public ::testing::Test {
protected:
    // Demo records in a folder of their own, as the program sets them up.
    fs::path makeRecords(const std::string& name) {
        const fs::path file = folder.path() / name / "Data.db";
        fs::create_directories(file.parent_path());
        const SetupOutcome outcome = createDatabase(file, true);
        EXPECT_TRUE(outcome.created) << outcome.message;
        return file;
    }

    std::string protect(const fs::path& records, const RekeyHook& hook = {}) {
        const std::array secrets{SlotSecret{SlotKind::User, "admin", "pass word"},
                                 SlotSecret{SlotKind::RecoveryCode, "", "CODE"}};
        return protectRecords(records, dataKey, secrets, kCheap, hook);
    }

    // The rows through the admin's password; a failure's reason instead when they do not open.
    std::string protectedRows(const fs::path& records, const std::string& password) {
        Database database;
        const std::string why =
            openProtectedRecords(database, records, SlotKind::User, "admin", password);
        std::string rows = why.empty() ? rowsOf(database) : why;
        database.close();
        return rows;
    }

    // Runs the re-key in a child that dies at `killAt`; its exit status.
    template <typename Rekey>
    int killedAt(RekeyStep killAt, Rekey rekey) {
        const pid_t child = ::fork();
        if (child == 0) {
            const std::string why = rekey([killAt](RekeyStep step) {
                if (step == killAt) {
                    ::_exit(kKilled);
                }
            });
            ::_exit(why.empty() ? 0 : 1);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    testing::TemporaryFolder folder;
    SecretBytes dataKey = newDataKey();
};

TEST_F(ProtectedRecords, OpenWithTheirPasswordOrCodeAndNotWithTheProgramsKey) {
    const fs::path records = makeRecords("a");
    const std::string before = recordsOf(records);
    const std::optional<FileId> idBefore = recordsFileId(records);
    ASSERT_EQ(protect(records), "");

    EXPECT_EQ(settleProtection(records).isProtected, true);
    EXPECT_EQ(protectedRows(records, "pass word"), before);
    EXPECT_NE(recordsFileId(records), idBefore) << "a new file, with a salt of its own";
    Database byCode;
    EXPECT_EQ(openProtectedRecords(byCode, records, SlotKind::RecoveryCode, "", "CODE"), "");
    byCode.close();
    Database builtIn;
    EXPECT_NE(openRecords(builtIn, records), "");
    builtIn.close();
    EXPECT_NE(recordsOf(records), before);
}

TEST_F(ProtectedRecords, AWrongPasswordAndAnUnknownUserGetTheSameAnswer) {
    const fs::path records = makeRecords("a");
    ASSERT_EQ(protect(records), "");
    const std::string wrong = protectedRows(records, "pass-word");
    EXPECT_EQ(wrong, "the password or recovery code does not open these records");
    Database database;
    EXPECT_EQ(openProtectedRecords(database, records, SlotKind::User, "clerk", "pass word"), wrong);
    EXPECT_EQ(openProtectedRecords(database, records, SlotKind::RecoveryCode, "", "pass word"),
              wrong);
}

TEST_F(ProtectedRecords, DebiansShellReadsThemWithTheDataKeyOnly) {
    const fs::path records = makeRecords("a");
    ASSERT_EQ(protect(records), "");
    const std::string query = "SELECT count(*) FROM b_yh;\n";
    EXPECT_NE(sqlcipherShell(folder, records.string(), kShellKey + query).find("not a database"),
              std::string::npos);
    const std::string rawKey =
        "PRAGMA key = \"x'" + hexOf(dataKey) + "'\";\nPRAGMA cipher_compatibility = 3;\n";
    EXPECT_EQ(sqlcipherShell(folder, records.string(), rawKey + query).find("not a database"),
              std::string::npos);
    EXPECT_NE(sqlcipherShell(folder, records.string(), rawKey + query).find("1"),
              std::string::npos);
}

TEST_F(ProtectedRecords, TurnedOffTheyOpenWithTheProgramsKeyAgain) {
    const fs::path records = makeRecords("a");
    const std::string before = recordsOf(records);
    ASSERT_EQ(protect(records), "");
    ASSERT_EQ(unprotectRecords(records, dataKey), "");
    EXPECT_EQ(recordsOf(records), before);
    EXPECT_FALSE(fs::exists(keySlotsFile(records)));
    EXPECT_FALSE(settleProtection(records).isProtected);
    EXPECT_EQ(unprotectRecords(records, dataKey), "the records are not protected");
}

TEST_F(ProtectedRecords, ProtectingTwiceOrWithoutASecretIsRefused) {
    const fs::path records = makeRecords("a");
    EXPECT_NE(protectRecords(records, dataKey, {}, kCheap), "");
    EXPECT_FALSE(fs::exists(keySlotsFile(records)));
    ASSERT_EQ(protect(records), "");
    EXPECT_EQ(protect(records), "the records are protected already");
    EXPECT_NE(protectedRows(records, "pass word").find("b_yh:"), std::string::npos);
}

TEST_F(ProtectedRecords, AKillAtAnyStepOfProtectingLeavesOldOrNewRecordsOpenable) {
    for (const RekeyStep step : kProtectSteps) {
        SCOPED_TRACE(static_cast<int>(step));
        const fs::path records = makeRecords("killed" + std::to_string(static_cast<int>(step)));
        const std::string before = recordsOf(records);
        ASSERT_EQ(killedAt(step, [&](const RekeyHook& hook) { return protect(records, hook); }),
                  kKilled);

        const RecordsProtection settled = settleProtection(records);
        EXPECT_EQ(settled.problem, "");
        EXPECT_EQ(settled.isProtected, step == RekeyStep::RecordsRenamed);
        EXPECT_EQ(settled.isProtected ? protectedRows(records, "pass word") : recordsOf(records),
                  before);
        EXPECT_FALSE(fs::exists(pendingKeySlotsFile(records)));
        EXPECT_EQ(settleProtection(records).isProtected, settled.isProtected) << "settled once";
    }
}

TEST_F(ProtectedRecords, AKillAtAnyStepOfUnprotectingLeavesOldOrNewRecordsOpenable) {
    for (const RekeyStep step : kUnprotectSteps) {
        SCOPED_TRACE(static_cast<int>(step));
        const fs::path records = makeRecords("killed" + std::to_string(static_cast<int>(step)));
        const std::string before = recordsOf(records);
        ASSERT_EQ(protect(records), "");
        ASSERT_EQ(killedAt(step,
                           [&](const RekeyHook& hook) {
                               return unprotectRecords(records, dataKey, hook);
                           }),
                  kKilled);

        const RecordsProtection settled = settleProtection(records);
        EXPECT_EQ(settled.problem, "");
        EXPECT_EQ(settled.isProtected, step == RekeyStep::CopyChecked);
        EXPECT_EQ(settled.isProtected ? protectedRows(records, "pass word") : recordsOf(records),
                  before);
        EXPECT_EQ(fs::exists(keySlotsFile(records)), settled.isProtected);
    }
}

TEST_F(ProtectedRecords, AKeyFileMovedToOtherRecordsOpensNothingAndIsKept) {
    const fs::path first = makeRecords("first");
    const fs::path second = makeRecords("second");
    ASSERT_EQ(protect(first), "");
    ASSERT_EQ(protect(second), "");
    fs::copy_file(keySlotsFile(first), keySlotsFile(second), fs::copy_options::overwrite_existing);

    EXPECT_NE(protectedRows(second, "pass word").find("belongs to other records"),
              std::string::npos);
    const RecordsProtection settled = settleProtection(second);
    EXPECT_TRUE(settled.isProtected);
    EXPECT_NE(settled.problem.find("belongs to other records"), std::string::npos);
    EXPECT_TRUE(fs::exists(keySlotsFile(second)));
}

TEST_F(ProtectedRecords, AHostileKeyFileIsAReasonNotACrash) {
    const fs::path records = makeRecords("a");
    ASSERT_EQ(protect(records), "");
    const fs::path keys = keySlotsFile(records);
    fs::resize_file(keys, fs::file_size(keys) - 10);
    EXPECT_NE(protectedRows(records, "pass word").find("cut short"), std::string::npos);
    EXPECT_NE(settleProtection(records).problem.find("cut short"), std::string::npos);
    std::ofstream(keys, std::ios::binary | std::ios::trunc) << "TAMRIVOK";
    EXPECT_NE(protectedRows(records, "pass word").find("not usable"), std::string::npos);
}

TEST_F(ProtectedRecords, APendingKeyFileThatIsNotOneGoes) {
    const fs::path records = makeRecords("a");
    std::ofstream(pendingKeySlotsFile(records)) << "junk";
    const RecordsProtection settled = settleProtection(records);
    EXPECT_EQ(settled.problem, "");
    EXPECT_FALSE(settled.isProtected);
    EXPECT_FALSE(fs::exists(pendingKeySlotsFile(records)));
}

TEST_F(ProtectedRecords, ANewPasswordRewrapsThatUsersSlotOnly) {
    const fs::path records = makeRecords("a");
    ASSERT_EQ(protect(records), "");
    const KeySlot code =
        *findSlot(*readKeySlots(keySlotsFile(records)).slots, SlotKind::RecoveryCode, "");
    ASSERT_EQ(setKeySlot(records, dataKey, {SlotKind::User, "admin", "new one"}, kCheap), "");
    EXPECT_EQ(protectedRows(records, "pass word"),
              "the password or recovery code does not open these records");
    EXPECT_NE(protectedRows(records, "new one").find("b_yh:"), std::string::npos);
    const ParsedKeySlots after = readKeySlots(keySlotsFile(records));
    ASSERT_TRUE(after.slots) << after.problem;
    EXPECT_EQ(after.slots->slots.size(), 2u);
    EXPECT_EQ(findSlot(*after.slots, SlotKind::RecoveryCode, "")->wrapped, code.wrapped);
}

TEST_F(ProtectedRecords, SlotsComeAndGoButTheLastStays) {
    const fs::path records = makeRecords("a");
    ASSERT_EQ(protect(records), "");
    ASSERT_EQ(setKeySlot(records, dataKey, {SlotKind::User, "clerk", "c"}, kCheap), "");
    Database clerk;
    EXPECT_EQ(openProtectedRecords(clerk, records, SlotKind::User, "clerk", "c"), "");
    clerk.close();
    EXPECT_EQ(removeKeySlot(records, SlotKind::User, "clerk"), "");
    EXPECT_EQ(removeKeySlot(records, SlotKind::User, "clerk"), "there is no such key slot");
    EXPECT_EQ(removeKeySlot(records, SlotKind::RecoveryCode, ""), "");
    EXPECT_NE(removeKeySlot(records, SlotKind::User, "admin").find("last key slot"),
              std::string::npos);
    EXPECT_NE(protectedRows(records, "pass word").find("b_yh:"), std::string::npos);
}

TEST_F(ProtectedRecords, ASlotIsNeverMadeForAKeyThatIsNotTheRecords) {
    const fs::path records = makeRecords("a");
    ASSERT_EQ(protect(records), "");
    const auto before = testing::readFile(keySlotsFile(records));
    EXPECT_EQ(setKeySlot(records, newDataKey(), {SlotKind::User, "clerk", "c"}, kCheap),
              "the data key does not open these records");
    EXPECT_EQ(testing::readFile(keySlotsFile(records)), before);
}

TEST_F(ProtectedRecords, OneReKeyAtATime) {
    const fs::path records = makeRecords("a");
    LockAttempt other = lockFile(rekeyLockFile(records), LockAccess::Exclusive);
    ASSERT_EQ(other.outcome, LockOutcome::Taken);
    EXPECT_EQ(protect(records), "another copy of the program is re-keying these records");
    EXPECT_FALSE(fs::exists(keySlotsFile(records)));
    std::ofstream(pendingKeySlotsFile(records)) << "another's, halfway";
    EXPECT_NE(settleProtection(records, {}).problem, "");
    EXPECT_TRUE(fs::exists(pendingKeySlotsFile(records))) << "not settled under the other";
    other.lock = {};
    EXPECT_EQ(protect(records), "");
}

// The child may write no file beyond half the records' size, as on a disk that fills up.
TEST_F(ProtectedRecords, ADiskThatFillsUpDuringTheCopyLeavesTheRecordsAsTheyWere) {
    const fs::path records = makeRecords("a");
    const std::string before = recordsOf(records);
    const rlim_t half = static_cast<rlim_t>(fs::file_size(records) / 2);
    const pid_t child = ::fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{half, half};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ::_exit(protect(records).find("cannot copy") != std::string::npos ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_FALSE(settleProtection(records).isProtected);
    EXPECT_EQ(recordsOf(records), before);
    for (const fs::directory_entry& entry : fs::directory_iterator(records.parent_path())) {
        EXPECT_EQ(entry.path().filename().string().find(".partial-"), std::string::npos);
    }
}

}  // namespace
}  // namespace tamrivo
