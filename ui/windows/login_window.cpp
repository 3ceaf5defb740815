#include "ui/windows/login_window.h"
#include "base/text_limits.h"
#include "ui/windows/window_list.h"

namespace tamrivo::windows {

const WindowDefinition& loginWindow() {
    using enum EventKind;
    using namespace login_window;
    static const WindowDefinition definition{
        .caption = "",
        .width = 380,
        .height = 230,
        .events = {{Created, Handler::LoginWindowCreated}},
        .controls =
            {
                label(kPromptsLabel, "用户名:\r\n\r\n\r\n密  码:", {48, 42, 56, 96}),
                editBox(kUserNameEdit, {112, 36, 184, 25}).limit(kNameLimit),
                editBox(kPasswordEdit, {112, 74, 184, 25})
                    .mode(EditMode::Password)
                    .limit(kPasswordLimit)
                    .on(KeyPressed, Handler::Login),
                button(kConfirmButton, "确认", {112, 130, 56, 24}).on(Clicked, Handler::Login),
                button(kCancelButton, "取消", {208, 130, 56, 24}).on(Clicked, Handler::CloseWindow),
                button(kForgotPasswordButton, "忘记密码", {280, 130, 76, 24})
                    .on(Clicked, Handler::OpenRecoveryWindow),
                timer(kClockTimer, {328, 144, 24, 24}, 0).on(Tick, Handler::ShowLoginClock),
                label(kDefaultsLabel, "默认用户名:admin 密码:904817", {8, 168, 352, 16}),
                statusBar(kStatusBar, {0, 206, 374, 20}, {{-1, ""}}),
            },
    };
    return definition;
}

}  // namespace tamrivo::windows
