#pragma once

#include "app/program_state.h"

namespace tamrivo {

// Opens the window that exports the guest register of a period (CSV or the printed
// 旅客登记表), sets how long identity is kept, and lists the register's access log.
void openRegisterLogWindow(App& app, WindowHandle owner);

}  // namespace tamrivo
