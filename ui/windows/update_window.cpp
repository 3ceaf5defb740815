#include "ui/windows/window_list.h"

namespace tamrivo::windows {

const WindowDefinition& updateWindow() {
    using enum EventKind;
    static const WindowDefinition definition{
        .caption = "UpData",
        .width = 438,
        .height = 359,
        .events = {{Created, Handler::UpdateWindowCreated}},
        .controls =
            {
                editBox("编辑框1", {16, 8, 400, 280}).multiLineText().mode(EditMode::ReadOnly),
                progressBar("进度条_进度", {16, 296, 328, 24}, 100),
                button("按钮_升级", "升级", {352, 296, 56, 24})
                    .disabledAtStart()
                    .on(Clicked, Handler::StartUpdateDownload),
            },
    };
    return definition;
}

}  // namespace tamrivo::windows
