#pragma once

#include <functional>

#include "ui/window_services.h"

class QWidget;

namespace tamrivo {

struct MessageBoxRequest {
    Text content;
    int flags = 0;  // MessageBoxA's button, icon and default-button flags
    Text title;
    WindowHandle owner = 0;
};

// Shows the box and gives the pressed button minus 1 (MessageBoxA's codes), -1 when none
// was pressed. Runs on the window thread.
using MessageBoxPresenter = std::function<int(const MessageBoxRequest&)>;

// A task-modal box over the owner (none: over no window), with the buttons captioned as a
// Chinese Windows shows them.
int showMessageBox(const MessageBoxRequest& request, QWidget* owner);

}  // namespace tamrivo
