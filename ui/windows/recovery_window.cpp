#include "base/text_limits.h"
#include "ui/windows/window_list.h"

namespace tamrivo::windows {

// Opened from the login window: a forgotten password is set anew with the recovery code.
const WindowDefinition& recoveryWindow() {
    using enum EventKind;
    static const WindowDefinition definition{
        .caption = "忘记密码",
        .width = 420,
        .height = 270,
        .events = {},
        .controls =
            {
                label("标签_说明", "用保护记录时得到的恢复码,为一个用户设新密码。",
                      {16, 12, 380, 20}),
                label("标签_用户名", "用 户 名:", {16, 44, 80, 24}),
                editBox("编辑框_用户名", {104, 42, 290, 25}).limit(kNameLimit),
                label("标签_恢复码", "恢 复 码:", {16, 80, 80, 24}),
                editBox("编辑框_恢复码", {104, 78, 290, 25}).limit(kRecoveryCodeLimit),
                label("标签_新密码", "新 密 码:", {16, 116, 80, 24}),
                editBox("编辑框_新密码", {104, 114, 290, 25})
                    .mode(EditMode::Password)
                    .limit(kPasswordLimit),
                label("标签_确认密码", "再输一次:", {16, 152, 80, 24}),
                editBox("编辑框_确认密码", {104, 150, 290, 25})
                    .mode(EditMode::Password)
                    .limit(kPasswordLimit),
                button("按钮_确定", "确定", {120, 194, 72, 26})
                    .on(Clicked, Handler::ResetPasswordWithCode),
                button("按钮_取消", "取消", {228, 194, 72, 26}).on(Clicked, Handler::CloseWindow),
            },
    };
    return definition;
}

}  // namespace tamrivo::windows
