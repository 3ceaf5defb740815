#include "app/login_window.h"

#include "app/main_window.h"
#include "app/records_unlock.h"
#include "app/recovery_window.h"
#include "app/screen.h"
#include "base/date_format.h"
#include "base/date_time.h"
#include "records/secret_bytes.h"
#include "records/users.h"
#include "ui/windows/login_window.h"

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
                services().setTimerInterval(window(), login_window::kClockTimer, 1000);
                return false;
            case Handler::ShowLoginClock:
                services().statusText(window(), login_window::kStatusBar, 0,
                                      formatDateTime(currentDateTime()));
                return false;
            case Handler::Login:
                if (event.kind == EventKind::KeyPressed && event.argument != kEnterKey) {
                    return false;
                }
                login();
                return true;
            case Handler::OpenRecoveryWindow:
                openRecoveryWindow(app(), window());
                return false;
            case Handler::CloseWindow:
                close();
                return false;
            default:
                return false;
        }
    }

    void login() {
        const Text userName = services().text(window(), login_window::kUserNameEdit);
        Text password = services().text(window(), login_window::kPasswordEdit);
        const bool matches =
            recordsOpen(userName, password) && passwordMatches(database(), userName, password);
        wipeText(password);
        if (!matches) {
            shutProtectedRecords();
            return;  // a wrong name or password is answered by nothing at all
        }
        app().state.userName = userName;
        if (app().state.recordsProtected) {
            startDailyTasks(app());
        }
        services().setVisible(window(), {}, false);
        openMainWindow(app());
        close();
    }

    // Protected records open only with the key the user's password unwraps from their slot.
    // A wrong password, a user without a slot and a missing user all cost the same derivation
    // and end alike, so the time and the answer tell nothing.
    bool recordsOpen(const Text& userName, const Text& password) {
        if (!app().state.recordsProtected || app().state.dataKey) {
            return true;
        }
        return unlockProgramRecords(app(), SlotKind::User, userName, password).empty();
    }

    // The next attempt unlocks anew, so no user gets in on another's password.
    void shutProtectedRecords() {
        if (app().state.recordsProtected) {
            database().close();
            app().state.dataKey.reset();
            app().state.dailyBackup.setDataKey(nullptr);
        }
    }
};

}  // namespace

void openLoginWindow(App& app) {
    app.services.loadWindow(WindowKind::Login, std::make_unique<LoginWindow>(app));
}

}  // namespace tamrivo
