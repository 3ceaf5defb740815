#include "ui/windows/recovery_window.h"
#include "base/text_limits.h"
#include "ui/windows/window_list.h"

namespace tamrivo::windows {

// Opened from the login window: a forgotten password is set anew with the recovery code.
const WindowDefinition& recoveryWindow() {
    using enum EventKind;
    using namespace recovery_window;
    static const WindowDefinition definition{
        .caption = "忘记密码",
        .width = 420,
        .height = 270,
        .events = {},
        .controls =
            {
                label(recovery_window::kExplanationLabel,
                      "用保护记录时得到的恢复码,为一个用户设新密码。", {16, 12, 380, 20}),
                label(recovery_window::kUserNameLabel, "用 户 名:", {16, 44, 80, 24}),
                editBox(recovery_window::kUserNameEdit, {104, 42, 290, 25}).limit(kNameLimit),
                label(recovery_window::kRecoveryCodeLabel, "恢 复 码:", {16, 80, 80, 24}),
                editBox(recovery_window::kRecoveryCodeEdit, {104, 78, 290, 25})
                    .limit(kRecoveryCodeLimit),
                label(recovery_window::kNewPasswordLabel, "新 密 码:", {16, 116, 80, 24}),
                editBox(recovery_window::kNewPasswordEdit, {104, 114, 290, 25})
                    .mode(EditMode::Password)
                    .limit(kPasswordLimit),
                label(recovery_window::kConfirmPasswordLabel, "再输一次:", {16, 152, 80, 24}),
                editBox(recovery_window::kConfirmPasswordEdit, {104, 150, 290, 25})
                    .mode(EditMode::Password)
                    .limit(kPasswordLimit),
                button(recovery_window::kConfirmButton, "确定", {120, 194, 72, 26})
                    .on(Clicked, Handler::ResetPasswordWithCode),
                button(recovery_window::kCancelButton, "取消", {228, 194, 72, 26})
                    .on(Clicked, Handler::CloseWindow),
            },
    };
    return definition;
}

}  // namespace tamrivo::windows
