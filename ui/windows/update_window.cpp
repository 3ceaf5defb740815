#include "ui/windows/update_window.h"
#include "ui/windows/window_list.h"

namespace tamrivo::windows {

const WindowDefinition& updateWindow() {
    using enum EventKind;
    using namespace update_window;
    static const WindowDefinition definition{
        .caption = "UpData",
        .width = 438,
        .height = 359,
        .events = {{Created, Handler::UpdateWindowCreated}},
        .controls =
            {
                editBox(kLogEdit, {16, 8, 400, 280}).multiLineText().mode(EditMode::ReadOnly),
                progressBar(kProgressBar, {16, 296, 328, 24}, 100),
                button(kUpgradeButton, "升级", {352, 296, 56, 24})
                    .disabledAtStart()
                    .on(Clicked, Handler::StartUpdateDownload),
            },
    };
    return definition;
}

}  // namespace tamrivo::windows
