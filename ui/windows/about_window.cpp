#include "ui/windows/about_window.h"
#include "ui/windows/window_list.h"

namespace tamrivo::windows {

const WindowDefinition& aboutWindow() {
    static const WindowDefinition definition{
        .caption = "关于",
        .width = 380,
        .height = 250,
        .events = {},
        .controls =
            {
                label(about_window::kAuthorLabel, "By:Quenmar", {32, 80, 280, 32}),
            },
    };
    return definition;
}

}  // namespace tamrivo::windows
