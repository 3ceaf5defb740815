#include "app/login_window.h"

#include "app/main_window.h"
#include "app/screen.h"
#include "base/byte_block.h"
#include "base/date_format.h"
#include "base/date_time.h"
#include "records/password_digest.h"
#include "records/statement_scope.h"

namespace tamrivo {
namespace {

constexpr int kEnterKey = 13;

class LoginWindow final : public Screen {
public:
    using Screen::Screen;

private:
    bool onEvent(const WindowEvent& event) override {
        switch (event.handler) {
            case Handler::LoginWindowCreated:
                services().setTimerInterval(window(), "时钟1", 1000);
                return false;
            case Handler::ShowLoginClock:
                services().statusText(window(), "状态条1", 0, formatDateTime(currentDateTime()));
                return false;
            case Handler::Login:
                if (event.kind == EventKind::KeyPressed && event.argument != kEnterKey) {
                    return false;
                }
                login();
                return true;
            case Handler::CloseWindow:
                close();
                return false;
            default:
                return false;
        }
    }

    void login() {
        const Text password = services().text(window(), "编辑框_密码");
        if (!userMatches(services().text(window(), "编辑框_用户名"),
                         md5Hex(toByteBlock(password)))) {
            return;  // a wrong name or password is answered by nothing at all
        }
        app().state.userName = services().text(window(), "编辑框_用户名");
        services().setVisible(window(), {}, false);
        openMainWindow(app());
        close();
    }

    bool userMatches(const Text& userName, const Text& digest) {
        // The typed name is bound as a parameter, never spliced into the statement, so no
        // name can change what the statement asks.
        StatementScope statement(database(),
                                 "SELECT * FROM `b_yh` WHERE `yhm`=:yhm AND `mm`='" + digest + "'");
        statement.bindText(":yhm", userName);
        return statement.step();
    }
};

}  // namespace

void openLoginWindow(App& app) {
    app.services.loadWindow(WindowKind::Login, std::make_unique<LoginWindow>(app));
}

}  // namespace tamrivo
