// Protected records in the program: opened at the login by a user's password, a forgotten
// password set with the recovery code, slots sealed on 修改密码, and protection turned on and
// off from its window.

#include <gmock/gmock.h>

#include <array>
#include <fstream>

#include "base/byte_block.h"
#include "records/daily_backup.h"
#include "records/password_digest.h"
#include "records/protected_records.h"
#include "records/recovery_code.h"
#include "records/schema.h"
#include "tests/app/app_fixture.h"
#include "tests/support/file_contents.h"
#include "ui/windows/login_window.h"
#include "ui/windows/password_window.h"
#include "ui/windows/protection_window.h"
#include "ui/windows/recovery_window.h"

namespace tamrivo::testing {
namespace {

using ::testing::HasSubstr;

constexpr KdfCost kCheap{1, kMinMemlimit};

class ProtectedApp : public AppTest {
protected:
    // Records with admin (904817, a slot) and clerk (clerk1, no slot), protected.
    void makeProtectedDatabase() {
        makeDatabase();
        Database setup;
        ASSERT_TRUE(setup.open(utf8ToGbk(databaseFile().string()), schema::kDatabaseKey));
        ASSERT_TRUE(setup.run("INSERT INTO b_yh (yhm, mm) VALUES('clerk', '" +
                              md5Hex(toByteBlock("clerk1")) + "')"));
        setup.close();
        const SecretBytes dataKey = newDataKey();
        const std::array secrets{SlotSecret{SlotKind::User, "admin", "904817"},
                                 SlotSecret{SlotKind::RecoveryCode, "", recoveryCode.text()}};
        ASSERT_EQ(protectRecords(databaseFile(), dataKey, secrets, kCheap), "");
    }

    // The login window keeps what was typed after a failure: each attempt types anew.
    WindowHandle logIn(const Text& user, const Text& password) {
        const WindowHandle login = only(WindowKind::Login);
        services.setText(login, login_window::kUserNameEdit, {});
        services.setText(login, login_window::kPasswordEdit, {});
        return AppTest::logIn(user, password);
    }

    // Whether the file opens with the program's own key.
    bool opensWithProgramKey() {
        Database check;
        const bool opened = check.open(utf8ToGbk(databaseFile().string()), schema::kDatabaseKey);
        check.close();
        return opened;
    }

    bool slotOpens(const Text& user, const Text& password) {
        return unlockDataKey(databaseFile(), SlotKind::User, user, password).problem.empty();
    }

    WindowHandle openRecoveryWindow() {
        clickControl(services, only(WindowKind::Login), login_window::kForgotPasswordButton);
        processEvents();
        return only(WindowKind::Recovery);
    }

    void typeRecovery(WindowHandle window, const Text& user, const Text& code, const Text& password,
                      const Text& again) {
        services.setText(window, recovery_window::kUserNameEdit, user);
        services.setText(window, recovery_window::kRecoveryCodeEdit, code);
        services.setText(window, recovery_window::kNewPasswordEdit, password);
        services.setText(window, recovery_window::kConfirmPasswordEdit, again);
        clickControl(services, window, recovery_window::kConfirmButton);
        processEvents();
    }

    SecretBytes recoveryCode = newRecoveryCode();
};

TEST_F(ProtectedApp, TheRecordsOpenAtTheLoginOnlyForAUserWhosePasswordOpensTheirSlot) {
    makeProtectedDatabase();
    ASSERT_TRUE(startProgram(app));
    EXPECT_EQ(state.database.handle(), nullptr);  // nothing opened before the login
    EXPECT_FALSE(opensWithProgramKey());

    EXPECT_EQ(logIn("admin", "wrong"), 0);
    EXPECT_EQ(logIn("clerk", "clerk1"), 0);  // a right password, but no slot
    EXPECT_EQ(logIn("nobody", "904817"), 0);
    EXPECT_EQ(logIn("admin' --", "904817"), 0);
    EXPECT_NE(only(WindowKind::Login), 0);
    EXPECT_EQ(responder.count(), 0u);  // failures are answered by nothing, as before
    EXPECT_EQ(state.database.handle(), nullptr);
    EXPECT_EQ(state.dataKey, nullptr);

    const WindowHandle main = logIn("admin", "904817");
    ASSERT_NE(main, 0);
    ASSERT_NE(state.dataKey, nullptr);
    EXPECT_EQ(queryInt("SELECT count(*) FROM b_yh"), 2);
    EXPECT_EQ(state.userName, "admin");
}

TEST_F(ProtectedApp, AnUnusableKeyFileIsSaidAtStartAndNothingOpens) {
    makeProtectedDatabase();
    const std::string keys = readFile(keySlotsFile(databaseFile()));
    writeFile(keySlotsFile(databaseFile()), keys.substr(0, keys.size() - 5));
    EXPECT_FALSE(startProgram(app));
    EXPECT_THAT(lastBoxText(), HasSubstr("打开数据库失败\r\n"));
    EXPECT_GT(lastBoxText().size(), 16u);
    EXPECT_TRUE(services.openWindows(WindowKind::Login).empty());
}

TEST_F(ProtectedApp, WhatAKilledProtectionLeftIsSettledBeforeTheLogin) {
    makeDatabase();
    writeFile(pendingKeySlotsFile(databaseFile()), "TAMRIVOK half a key file");
    ASSERT_TRUE(startProgram(app));
    EXPECT_FALSE(std::filesystem::exists(pendingKeySlotsFile(databaseFile())));
    EXPECT_FALSE(state.recordsProtected);
    EXPECT_NE(logIn("admin", "904817"), 0);
}

TEST_F(ProtectedApp, AForgottenPasswordIsSetWithTheRecoveryCode) {
    makeProtectedDatabase();
    ASSERT_TRUE(startProgram(app));
    const WindowHandle window = openRecoveryWindow();
    ASSERT_NE(window, 0);
    const Text typedCode(groupedRecoveryCode(recoveryCode).text());

    typeRecovery(window, "admin", "ABCDE-FGHJK", "newpass1", "newpass1");
    EXPECT_TEXT_EQ(lastBoxText(), "恢复码不对,请核对后重新输入");
    typeRecovery(window, "admin", typedCode, "newpass1", "newpass2");
    EXPECT_TEXT_EQ(lastBoxText(), "两次输入的新密码不一样");
    typeRecovery(window, "admin", typedCode, "new pass", "new pass");
    EXPECT_TEXT_EQ(lastBoxText(), kPasswordHasBlank);
    typeRecovery(window, "nobody", typedCode, "newpass1", "newpass1");
    EXPECT_THAT(lastBoxText(), HasSubstr("nobody"));
    EXPECT_TRUE(slotOpens("admin", "904817"));  // nothing changed yet

    // Lower case and without dashes is the same code.
    Text lower = Text(recoveryCode.text());
    for (char& c : lower) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    typeRecovery(window, "admin", lower, "newpass1", "newpass1");
    EXPECT_TEXT_EQ(lastBoxText(), "密码已重设,请用新密码登录");
    EXPECT_EQ(only(WindowKind::Recovery), 0);

    EXPECT_EQ(logIn("admin", "904817"), 0);
    EXPECT_NE(logIn("admin", "newpass1"), 0);
}

TEST_F(ProtectedApp, RecoveryGivesAUserWithoutASlotOne) {
    makeProtectedDatabase();
    ASSERT_TRUE(startProgram(app));
    typeRecovery(openRecoveryWindow(), "clerk", Text(recoveryCode.text()), "clerk2", "clerk2");
    EXPECT_TEXT_EQ(lastBoxText(), "密码已重设,请用新密码登录");
    EXPECT_NE(logIn("clerk", "clerk2"), 0);
}

TEST_F(ProtectedApp, RecordsThatAreNotProtectedHaveNoRecoveryCode) {
    makeDatabase();
    ASSERT_TRUE(startProgram(app));
    typeRecovery(openRecoveryWindow(), "admin", Text(recoveryCode.text()), "x1", "x1");
    EXPECT_TEXT_EQ(lastBoxText(), "记录没有受保护,没有恢复码可用");
    EXPECT_NE(logIn("admin", "904817"), 0);
}

TEST_F(ProtectedApp, ANewPasswordSealsThatUsersSlotWithTheKeyTheProgramHolds) {
    makeProtectedDatabase();
    ASSERT_TRUE(startProgram(app));
    const WindowHandle main = logIn("admin", "904817");
    ASSERT_NE(main, 0);
    command(main, -1, "修改密码");
    const WindowHandle window = only(WindowKind::Password);
    ASSERT_NE(window, 0);
    pickComboItem(services, window, password_window::kUserCombo, 1);  // clerk, who had no slot
    services.setText(window, password_window::kPasswordEdit, "clerk2");
    clickControl(services, window, password_window::kConfirmButton);
    EXPECT_TEXT_EQ(lastBoxText(), "密码修改成功了!请牢记新密码!");
    EXPECT_TRUE(slotOpens("clerk", "clerk2"));
    EXPECT_TRUE(slotOpens("admin", "904817"));  // the others' slots stay
}

TEST_F(ProtectedApp, ProtectionIsTurnedOnAndOffFromItsWindowWithThePasswordAskedAgain) {
    makeDatabase();
    ASSERT_TRUE(startProgram(app));
    ASSERT_EQ(makeDailyBackup(databaseFile(), "2024-03-01"), "");
    const WindowHandle main = logIn("admin", "904817");
    ASSERT_NE(main, 0);
    const WindowHandle window = openByCommand(main, -1, "保护记录", WindowKind::Protection);
    ASSERT_NE(window, 0);

    services.setText(window, protection_window::kPasswordEdit, "wrong");
    clickControl(services, window, protection_window::kProtectButton);
    EXPECT_TEXT_EQ(lastBoxText(), "密码不对,请输入您登录时用的密码");
    EXPECT_TRUE(opensWithProgramKey());

    services.setText(window, protection_window::kPasswordEdit, "904817");
    clickControl(services, window, protection_window::kProtectButton);
    EXPECT_THAT(lastBoxText(), HasSubstr("记录已受保护"));
    EXPECT_FALSE(opensWithProgramKey());
    EXPECT_TRUE(state.recordsProtected);
    const Text shown = services.text(window, protection_window::kRecoveryCodeEdit);
    const TypedRecoveryCode code = normaliseRecoveryCode(shown);
    ASSERT_EQ(code.problem, "") << shown;
    EXPECT_TRUE(unlockDataKey(databaseFile(), SlotKind::RecoveryCode, {}, code.code.text())
                    .problem.empty());
    EXPECT_TRUE(slotOpens("admin", "904817"));
    EXPECT_EQ(queryInt("SELECT count(*) FROM b_yh"), 1);  // the program works on

    // The backup made before is offered for re-keying.
    EXPECT_TEXT_EQ(services.listCellText(window, protection_window::kBackupsList, 0),
                   "Data-2024-03-01.db");
    clickControl(services, window, protection_window::kRekeyBackupsButton);
    const auto backup = dailyBackupFile(dailyBackupFolder(databaseFile()), "2024-03-01");
    EXPECT_TRUE(std::filesystem::exists(keySlotsFile(backup)));
    EXPECT_TRUE(unprotectedDailyBackups(databaseFile()).empty());

    services.setText(window, protection_window::kPasswordEdit, "904817");
    clickControl(services, window, protection_window::kUnprotectButton);
    EXPECT_THAT(lastBoxText(), HasSubstr("已取消保护"));
    EXPECT_TRUE(opensWithProgramKey());
    EXPECT_FALSE(std::filesystem::exists(keySlotsFile(databaseFile())));
    EXPECT_FALSE(state.recordsProtected);
    EXPECT_EQ(queryInt("SELECT count(*) FROM b_yh"), 1);
}

}  // namespace
}  // namespace tamrivo::testing
