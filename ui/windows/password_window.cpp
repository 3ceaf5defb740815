#include "ui/windows/password_window.h"
#include "base/text_limits.h"
#include "ui/windows/window_list.h"

namespace tamrivo::windows {

const WindowDefinition& passwordWindow() {
    using enum EventKind;
    using namespace password_window;
    static const WindowDefinition definition{
        .caption = "修改密码",
        .width = 380,
        .height = 221,
        .events = {{Created, Handler::FillUserList}},
        .controls =
            {
                groupBox(kFormGroup, "", {8, 8, 352, 176}),
                label(kPromptsLabel, "用户名：\r\n\r\n\r\n新密码：\r\n", {40, 40, 48, 88})
                    .in(kFormGroup),
                comboBox(kUserCombo, {96, 36, 192, 20}, {}, -1).in(kFormGroup),
                editBox(kPasswordEdit, {96, 67, 192, 23}).in(kFormGroup).limit(kPasswordLimit),
                button(kConfirmButton, "确定", {123, 121, 68, 26})
                    .in(kFormGroup)
                    .on(Clicked, Handler::ChangePassword),
                button(kProtectRecordsButton, "保护记录…", {203, 121, 88, 26})
                    .in(kFormGroup)
                    .on(Clicked, Handler::OpenProtectionWindow),
            },
    };
    return definition;
}

}  // namespace tamrivo::windows
