#include "ui/windows/window_list.h"

namespace tamrivo::windows {

const WindowDefinition& statisticsWindow() {
    static const WindowDefinition definition{
        .caption = "",
        .width = 846,
        .height = 470,
        .events = {},
        .controls =
            {
                label("标签1", "本功能下个版本开发....请等待...", {152, 184, 472, 32}).font(20),
            },
    };
    return definition;
}

}  // namespace tamrivo::windows
