// The program as it starts from its own folder, linked with a version text of its own:
// logs in as admin and prints what part 0 of the main window's status bar shows (UTF-8),
// then ends. An update test runs it as the program the update put in place.
#include <QApplication>

#include <cstdio>

#include "app/program_state.h"
#include "app/startup.h"
#include "engine/qt_window_services.h"
#include "engine/status_bar.h"
#include "tests/support/engine_harness.h"
#include "ui/windows/login_window.h"
#include "ui/windows/main_window.h"

int main() {
    using namespace tamrivo;
    testing::application();
    QtWindowServices services;
    ProgramState state(services, "http://127.0.0.1:9/autoUpdate.php", {});
    App app{services, state};
    if (!startProgram(app)) {
        std::fprintf(stderr, "the program did not start\n");
        return 1;
    }
    const WindowHandle login = services.openWindows(WindowKind::Login).front();
    services.setText(login, login_window::kUserNameEdit, "admin");
    services.setText(login, login_window::kPasswordEdit, "904817");
    testing::clickControl(services, login, login_window::kConfirmButton);
    if (!testing::waitUntil([&] { return !services.openWindows(WindowKind::Main).empty(); })) {
        std::fprintf(stderr, "no main window after logging in\n");
        return 1;
    }
    const WindowHandle main = services.openWindows(WindowKind::Main).front();
    const auto* bar = dynamic_cast<StatusBar*>(services.widget(main, main_window::kStatusBar));
    std::printf("%s\n", bar == nullptr ? "" : bar->partText(0).toUtf8().constData());
    services.destroyWindow(main);
    testing::processEvents();
    return 0;
}
