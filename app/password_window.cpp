#include "app/password_window.h"

#include <string>

#include "app/screen.h"
#include "base/byte_block.h"
#include "records/password_digest.h"
#include "records/statement_scope.h"

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
        StatementScope statement(database(), "SELECT * FROM `b_yh`");
        if (!statement.prepared()) {
            showMessage(database().errorMessage());
            return;
        }
        services().comboClear(window(), "组合框1");
        while (statement.step()) {
            services().comboAdd(window(), "组合框1", statement.columnText(1),
                                statement.columnInt(0));
        }
    }

    void changePassword() {
        const int selected = services().selectedIndex(window(), "组合框1");
        if (selected < 0) {
            showMessage("选择用户");
            return;
        }
        const Text password = services().text(window(), "编辑框1");
        if (password.empty()) {
            showMessage("新密码不能为空");
            return;
        }
        if (hasBlank(password)) {
            showMessage(kPasswordHasBlank);
            return;
        }
        if (!isLoginTypable(password)) {
            showMessage(kPasswordNotTypable);
            return;
        }
        const int userId = services().comboNumber(window(), "组合框1", selected);
        queryBuilder().reset("b_yh").name("mm").textValue(md5Hex(toByteBlock(password)));
        if (!database().run(queryBuilder().buildUpdate({}, "`id`=" + std::to_string(userId)))) {
            showDatabaseError();
            return;
        }
        showMessage("密码修改成功了!请牢记新密码!");
        close();
    }
};

}  // namespace

void openPasswordWindow(App& app) {
    app.services.loadWindow(WindowKind::Password, std::make_unique<PasswordWindow>(app),
                            app.state.mainWindow);
}

}  // namespace tamrivo
