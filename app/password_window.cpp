#include "app/password_window.h"

#include "app/protection_window.h"
#include "app/records_unlock.h"
#include "app/screen.h"
#include "base/text_encoding.h"
#include "records/key_slot_changes.h"
#include "records/password_digest.h"
#include "records/users.h"
#include "ui/windows/password_window.h"

namespace tamrivo {
namespace {

class PasswordWindow final : public Screen {
public:
    using Screen::Screen;

private:
    bool onEvent(const WindowEvent& event) override {
        if (event.handler == Handler::FillUserList) {
            fillUserList();
        } else if (event.handler == Handler::OpenProtectionWindow) {
            openProtectionWindow(app());
        } else if (event.handler == Handler::ChangePassword) {
            changePassword();
        }
        return false;
    }

    void fillUserList() {
        const auto users = listUsers(database());
        if (!users) {
            showMessage(database().errorMessage());
            return;
        }
        services().comboClear(window(), password_window::kUserCombo);
        for (const User& user : *users) {
            services().comboAdd(window(), password_window::kUserCombo, user.name, user.id);
        }
    }

    void changePassword() {
        const int selected = services().selectedIndex(window(), password_window::kUserCombo);
        if (selected < 0) {
            showMessage("选择用户");
            return;
        }
        const int userId = services().comboNumber(window(), password_window::kUserCombo, selected);
        const Text password = services().text(window(), password_window::kPasswordEdit);
        if (const PasswordResult problem = checkNewPassword(password);
            problem != PasswordResult::Set) {
            refuse({problem, {}});
            return;
        }
        if (!sealKeySlot(services().text(window(), password_window::kUserCombo), password)) {
            return;
        }
        const PasswordOutcome outcome = setPassword(database(), userId, password);
        if (outcome.result != PasswordResult::Set) {
            refuse(outcome);
            return;
        }
        showMessage("密码修改成功了!请牢记新密码!");
        close();
    }

    // With protected records the user's key slot is sealed for the new password first, by the
    // data key the program holds, so the new password opens them at the next login; a user
    // without a slot gets one now.
    bool sealKeySlot(const Text& user, const Text& password) {
        if (!app().state.dataKey) {
            return true;
        }
        const std::string why = setKeySlot(programRecordsFile(app()), *app().state.dataKey,
                                           {SlotKind::User, user, password});
        if (!why.empty()) {
            showMessage("密码没有改成:" + utf8ToGbk(why), kErrorTitle);
        }
        return why.empty();
    }

    void refuse(const PasswordOutcome& outcome) {
        switch (outcome.result) {
            case PasswordResult::Empty:
                showMessage("新密码不能为空");
                break;
            case PasswordResult::HasBlank:
                showMessage(kPasswordHasBlank);
                break;
            case PasswordResult::NotTypable:
                showMessage(kPasswordNotTypable);
                break;
            case PasswordResult::NoSuchUser:
                showMessage("选择用户");  // gone since the list was filled
                break;
            default:
                showMessage(outcome.error, kErrorTitle);
                break;
        }
    }
};

}  // namespace

void openPasswordWindow(App& app) {
    app.services.loadWindow(WindowKind::Password, std::make_unique<PasswordWindow>(app),
                            app.state.mainWindow);
}

}  // namespace tamrivo
