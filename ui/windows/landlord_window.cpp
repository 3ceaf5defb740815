#include "base/text_limits.h"
#include "ui/windows/window_list.h"

namespace tamrivo::windows {

const WindowDefinition& landlordWindow() {
    using enum EventKind;
    static const WindowDefinition definition{
        .caption = "房东信息",
        .width = 460,
        .height = 240,
        .events = {{Created, Handler::LandlordWindowCreated}},
        .controls =
            {
                groupBox("分组框1", "收据上的收款方", {8, 8, 436, 144}),
                label("标签_姓名", "姓    名:", {16, 32, 64, 24}).in("分组框1"),
                editBox("编辑框_姓名", {88, 32, 328, 23}).in("分组框1").limit(kNameLimit),
                label("标签_地址", "地    址:", {16, 68, 64, 24}).in("分组框1"),
                editBox("编辑框_地址", {88, 68, 328, 23}).in("分组框1").limit(kAddressLimit),
                label("标签_电话", "电    话:", {16, 104, 64, 24}).in("分组框1"),
                editBox("编辑框_电话", {88, 104, 328, 23}).in("分组框1").limit(kPhoneLimit),
                button("按钮_确定", "确定", {280, 164, 76, 28}).on(Clicked, Handler::SaveLandlord),
                button("按钮_取消", "取消", {368, 164, 76, 28}).on(Clicked, Handler::CloseWindow),
            },
    };
    return definition;
}

}  // namespace tamrivo::windows
