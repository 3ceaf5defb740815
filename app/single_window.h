#pragma once

#include <memory>

#include "app/program_state.h"
#include "ui/window_services.h"

namespace tamrivo {

// Opens a window the program shows once at most, owned by the main window, or brings it to
// the front when `shown` (the handle its screen noted when created) is still open. A
// second copy would hold its own answers and soon contradict the first.
template <class WindowScreen>
void openOrRaise(App& app, WindowKind kind, WindowHandle shown) {
    // A handle is never reused, so a live one is that window.
    if (app.services.windowHandle(shown) != 0) {
        app.services.bringToFront(shown);
        return;
    }
    app.services.loadWindow(kind, std::make_unique<WindowScreen>(app), app.state.mainWindow);
}

}  // namespace tamrivo
