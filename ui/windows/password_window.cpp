#include "base/text_limits.h"
#include "ui/windows/window_list.h"

namespace tamrivo::windows {

const WindowDefinition& passwordWindow() {
    using enum EventKind;
    static const WindowDefinition definition{
        .caption = "修改密码",
        .width = 380,
        .height = 221,
        .events = {{Created, Handler::FillUserList}},
        .controls =
            {
                groupBox("分组框1", "", {8, 8, 352, 176}),
                label("标签1", "用户名：\r\n\r\n\r\n新密码：\r\n", {40, 40, 48, 88}).in("分组框1"),
                comboBox("组合框1", {96, 36, 192, 20}, {}, -1).in("分组框1"),
                editBox("编辑框1", {96, 67, 192, 23}).in("分组框1").limit(kPasswordLimit),
                button("按钮1", "确定", {123, 121, 68, 26})
                    .in("分组框1")
                    .on(Clicked, Handler::ChangePassword),
                button("按钮_保护记录", "保护记录…", {203, 121, 88, 26})
                    .in("分组框1")
                    .on(Clicked, Handler::OpenProtectionWindow),
            },
    };
    return definition;
}

}  // namespace tamrivo::windows
