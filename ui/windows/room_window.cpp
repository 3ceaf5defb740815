#include "base/text_limits.h"
#include "ui/windows/window_list.h"

namespace tamrivo::windows {

const WindowDefinition& roomWindow() {
    using enum EventKind;
    static const WindowDefinition definition{
        .caption = "",
        .width = 859,
        .height = 170,
        .events = {{Created, Handler::RoomWindowCreated}},
        .controls =
            {
                groupBox("分组框1", "房屋信息", {8, 8, 832, 112}),
                label("标签1", "地    址:", {32, 40, 56, 24}).in("分组框1"),
                editBox("编辑框_地址", {96, 42, 336, 23}).in("分组框1").limit(kAddressLimit),
                label("标签2", "房间状态:", {456, 40, 56, 24}).in("分组框1"),
                comboBox("组合框1", {521, 42, 144, 23}, {"正常", "废弃"}, 0).in("分组框1"),
                button("按钮_确定", "确定", {676, 43, 64, 24})
                    .in("分组框1")
                    .on(Clicked, Handler::SaveRoom),
                button("按钮_取消", "取消", {744, 43, 64, 24})
                    .in("分组框1")
                    .on(Clicked, Handler::CloseWindow),
            },
    };
    return definition;
}

}  // namespace tamrivo::windows
