#include "base/text_limits.h"
#include "ui/windows/window_list.h"

namespace tamrivo::windows {

const WindowDefinition& loginWindow() {
    using enum EventKind;
    static const WindowDefinition definition{
        .caption = "",
        .width = 380,
        .height = 230,
        .events = {{Created, Handler::LoginWindowCreated}},
        .controls =
            {
                label("标签1", "用户名:\r\n\r\n\r\n密  码:", {48, 42, 56, 96}),
                editBox("编辑框_用户名", {112, 36, 184, 25}).limit(kNameLimit),
                editBox("编辑框_密码", {112, 74, 184, 25})
                    .mode(EditMode::Password)
                    .limit(kPasswordLimit)
                    .on(KeyPressed, Handler::Login),
                button("按钮_确认", "确认", {112, 130, 56, 24}).on(Clicked, Handler::Login),
                button("按钮_取消", "取消", {208, 130, 56, 24}).on(Clicked, Handler::CloseWindow),
                button("按钮_忘记密码", "忘记密码", {280, 130, 76, 24})
                    .on(Clicked, Handler::OpenRecoveryWindow),
                timer("时钟1", {328, 144, 24, 24}, 0).on(Tick, Handler::ShowLoginClock),
                label("标签2", "默认用户名:admin 密码:904817", {8, 168, 352, 16}),
                statusBar("状态条1", {0, 206, 374, 20}, {{-1, ""}}),
            },
    };
    return definition;
}

}  // namespace tamrivo::windows
