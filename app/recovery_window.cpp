#include "app/recovery_window.h"

#include "app/records_unlock.h"
#include "app/screen.h"
#include "base/text_encoding.h"
#include "records/password_digest.h"
#include "records/protected_passwords.h"
#include "records/protected_records.h"
#include "records/recovery_code.h"
#include "records/users.h"
#include "ui/windows/recovery_window.h"

namespace tamrivo {
namespace {

constexpr char kNotProtected[] = "记录没有受保护,没有恢复码可用";
constexpr char kWrongCode[] = "恢复码不对,请核对后重新输入";
constexpr char kPasswordsDiffer[] = "两次输入的新密码不一样";

class RecoveryWindow final : public Screen {
public:
    using Screen::Screen;

private:
    bool onEvent(const WindowEvent& event) override {
        if (event.handler == Handler::ResetPasswordWithCode) {
            resetPassword();
        } else if (event.handler == Handler::CloseWindow) {
            close();
        }
        return false;
    }

    // Why the typed new password cannot be stored, in the password window's words; empty when
    // it can.
    Text passwordRefusal(const SecretBytes& password, const SecretBytes& again) {
        switch (checkNewPassword(Text(password.text()))) {
            case PasswordResult::Empty:
                return "新密码不能为空";
            case PasswordResult::HasBlank:
                return kPasswordHasBlank;
            case PasswordResult::NotTypable:
                return kPasswordNotTypable;
            default:
                return password.text() == again.text() ? Text() : Text(kPasswordsDiffer);
        }
    }

    SecretBytes typedSecret(const char* box) {
        Text typed = services().text(window(), box);
        return takeSecretText(typed);
    }

    void resetPassword() {
        if (!app().state.recordsProtected) {
            showMessage(kNotProtected);
            return;
        }
        const Text user = services().text(window(), recovery_window::kUserNameEdit);
        if (user.empty()) {
            showMessage("请输入用户名");
            return;
        }
        const SecretBytes typedCode = typedSecret(recovery_window::kRecoveryCodeEdit);
        const TypedRecoveryCode code = normaliseRecoveryCode(typedCode.text());
        if (!code.problem.empty()) {
            showMessage(kWrongCode);
            return;
        }
        const SecretBytes password = typedSecret(recovery_window::kNewPasswordEdit);
        if (const Text refusal =
                passwordRefusal(password, typedSecret(recovery_window::kConfirmPasswordEdit));
            !refusal.empty()) {
            showMessage(refusal);
            return;
        }
        if (const Text failure = setWithCode(user, code.code, password); !failure.empty()) {
            showMessage(failure, kMessageTitle);
            return;
        }
        showMessage("密码已重设,请用新密码登录");
        close();
    }

    // The recovery code unlocks the records on a connection of its own, which the login does
    // not use: it unlocks them anew with the new password.
    Text setWithCode(const Text& user, const SecretBytes& code, const SecretBytes& password) {
        const std::filesystem::path records = programRecordsFile(app());
        const UnlockedKey unlocked =
            unlockDataKey(records, SlotKind::RecoveryCode, {}, code.text());
        if (!unlocked.problem.empty()) {
            return kWrongCode;
        }
        Database opened;
        std::string why = openRecordsWithKey(opened, records, unlocked.dataKey);
        if (why.empty() && !findUserId(opened, user)) {
            opened.close();
            return "没有这个用户:" + user;
        }
        if (why.empty()) {
            why = setProtectedPassword(opened, records, unlocked.dataKey, user, password);
        }
        opened.close();
        return why.empty() ? Text() : "密码没有改成:" + utf8ToGbk(why);
    }
};

}  // namespace

void openRecoveryWindow(App& app, WindowHandle owner) {
    app.services.loadWindow(WindowKind::Recovery, std::make_unique<RecoveryWindow>(app), owner);
}

}  // namespace tamrivo
