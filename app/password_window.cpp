#include "app/password_window.h"

#include "app/screen.h"
#include "records/password_digest.h"
#include "records/users.h"

namespace tamrivo {
namespace {

class PasswordWindow final : public Screen {
public:
    using Screen::Screen;

private:
    bool onEvent(const WindowEvent& event) override {
        if (event.handler == Handler::FillUserList) {
            fillUserList();
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
        services().comboClear(window(), "组合框1");
        for (const User& user : *users) {
            services().comboAdd(window(), "组合框1", user.name, user.id);
        }
    }

    void changePassword() {
        const int selected = services().selectedIndex(window(), "组合框1");
        if (selected < 0) {
            showMessage("选择用户");
            return;
        }
        const int userId = services().comboNumber(window(), "组合框1", selected);
        const PasswordOutcome outcome =
            setPassword(database(), userId, services().text(window(), "编辑框1"));
        if (outcome.result != PasswordResult::Set) {
            refuse(outcome);
            return;
        }
        showMessage("密码修改成功了!请牢记新密码!");
        close();
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
