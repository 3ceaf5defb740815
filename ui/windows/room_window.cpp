#include "ui/windows/room_window.h"
#include "base/text_limits.h"
#include "ui/windows/window_list.h"

namespace tamrivo::windows {

const WindowDefinition& roomWindow() {
    using enum EventKind;
    using namespace room_window;
    static const WindowDefinition definition{
        .caption = "",
        .width = 859,
        .height = 170,
        .events = {{Created, Handler::RoomWindowCreated}},
        .controls =
            {
                groupBox(kRoomGroup, "房屋信息", {8, 8, 832, 112}),
                label(kAddressLabel, "地    址:", {32, 40, 56, 24}).in(kRoomGroup),
                editBox(kAddressEdit, {96, 42, 336, 23}).in(kRoomGroup).limit(kAddressLimit),
                label(kConditionLabel, "房间状态:", {456, 40, 56, 24}).in(kRoomGroup),
                comboBox(kConditionCombo, {521, 42, 144, 23}, {"正常", "废弃"}, 0).in(kRoomGroup),
                button(kConfirmButton, "确定", {676, 43, 64, 24})
                    .in(kRoomGroup)
                    .on(Clicked, Handler::SaveRoom),
                button(kCancelButton, "取消", {744, 43, 64, 24})
                    .in(kRoomGroup)
                    .on(Clicked, Handler::CloseWindow),
            },
    };
    return definition;
}

}  // namespace tamrivo::windows
