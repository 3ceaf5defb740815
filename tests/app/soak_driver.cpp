// Drives the real program's screens offscreen as fast as they go: logs in, then checks
// guests into idle rooms and out of let ones, at random, until it is killed. scripts/soak.sh
// kills it at random moments and checks the records after each kill.
//   tamrivo_soak_driver PROGRAM_FOLDER [SEED]
#include <QApplication>
#include <QListWidget>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "app/program_state.h"
#include "app/startup.h"
#include "base/text_encoding.h"
#include "engine/bar_builders.h"
#include "engine/qt_window_services.h"
#include "tests/support/engine_harness.h"
#include "tests/support/message_box_responder.h"
#include "ui/windows/checkout_window.h"
#include "ui/windows/lease_window.h"
#include "ui/windows/login_window.h"
#include "ui/windows/main_window.h"

namespace tamrivo::testing {
namespace {

constexpr int kLetImage = 2;
constexpr int kIdleImage = 0;

WindowHandle newest(QtWindowServices& services, WindowKind kind) {
    const auto windows = services.openWindows(kind);
    return windows.empty() ? 0 : windows.back();
}

WindowHandle logIn(QtWindowServices& services) {
    const WindowHandle login = newest(services, WindowKind::Login);
    services.setText(login, login_window::kUserNameEdit, "admin");
    services.setText(login, login_window::kPasswordEdit, "904817");
    clickControl(services, login, login_window::kConfirmButton);
    waitUntil([&] { return newest(services, WindowKind::Main) != 0; });
    return newest(services, WindowKind::Main);
}

// Presses the toolbar command on the room and confirms the window it opens, filled in.
void act(QtWindowServices& services, WindowHandle main, int row, const Text& command,
         WindowKind kind, const Text& field, const Text& value) {
    selectListRow(services, main, main_window::kRoomList, row);
    clickToolbarItem(services, main, main_window::kToolbar, command);
    processEvents();
    const WindowHandle window = newest(services, kind);
    if (window == 0) {
        return;
    }
    services.setText(window, field, value);
    clickControl(services, window, lease_window::kConfirmButton);
    processEvents();
    services.destroyWindow(window);  // a settled check-out window stays for its receipt
    processEvents();
}

int drive(const std::string& folder, unsigned seed) {
    QApplication& application = testing::application();
    QtWindowServices services;
    services.setProgramDirectory(utf8ToGbk(folder));
    MessageBoxResponder responder(services);
    ProgramState state(services, "http://127.0.0.1:9/autoUpdate.php", {});
    state.dailyBackup.setFirstDelay(std::chrono::milliseconds(0));
    App app{services, state};
    if (!startProgram(app)) {
        std::fprintf(stderr, "the program did not start\n");
        return 1;
    }
    const WindowHandle main = logIn(services);
    auto* list = qobject_cast<QListWidget*>(services.widget(main, main_window::kRoomList));
    if (list == nullptr || list->count() == 0) {
        std::fprintf(stderr, "no rooms to let\n");
        return 1;
    }
    std::mt19937 random(seed);
    for (long done = 0;; ++done) {
        const int row = static_cast<int>(random() % static_cast<unsigned>(list->count()));
        const int image = list->item(row)->data(kRowImageRole).toInt();
        if (image == kIdleImage) {
            act(services, main, row, "房屋入住", WindowKind::Lease, lease_window::kNameEdit,
                "客人" + std::to_string(done));
        } else if (image == kLetImage) {
            act(services, main, row, "退房操作", WindowKind::Checkout, checkout_window::kAmountEdit,
                std::to_string(random() % 500));
        }
        application.processEvents();
    }
}

}  // namespace
}  // namespace tamrivo::testing

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: tamrivo_soak_driver PROGRAM_FOLDER [SEED]\n");
        return 2;
    }
    const unsigned seed = argc > 2 ? static_cast<unsigned>(std::strtoul(argv[2], nullptr, 10)) : 1;
    return tamrivo::testing::drive(argv[1], seed);
}
