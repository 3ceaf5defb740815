#include "ui/windows/landlord_window.h"
#include "base/text_limits.h"
#include "ui/windows/window_list.h"

namespace tamrivo::windows {

const WindowDefinition& landlordWindow() {
    using enum EventKind;
    using namespace landlord_window;
    static const WindowDefinition definition{
        .caption = "房东信息",
        .width = 460,
        .height = 240,
        .events = {{Created, Handler::LandlordWindowCreated}},
        .controls =
            {
                groupBox(kPayeeGroup, "收据上的收款方", {8, 8, 436, 144}),
                label(kNameLabel, "姓    名:", {16, 32, 64, 24}).in(kPayeeGroup),
                editBox(kNameEdit, {88, 32, 328, 23}).in(kPayeeGroup).limit(kNameLimit),
                label(kAddressLabel, "地    址:", {16, 68, 64, 24}).in(kPayeeGroup),
                editBox(kAddressEdit, {88, 68, 328, 23}).in(kPayeeGroup).limit(kAddressLimit),
                label(kPhoneLabel, "电    话:", {16, 104, 64, 24}).in(kPayeeGroup),
                editBox(kPhoneEdit, {88, 104, 328, 23}).in(kPayeeGroup).limit(kPhoneLimit),
                button(kConfirmButton, "确定", {280, 164, 76, 28})
                    .on(Clicked, Handler::SaveLandlord),
                button(kCancelButton, "取消", {368, 164, 76, 28}).on(Clicked, Handler::CloseWindow),
            },
    };
    return definition;
}

}  // namespace tamrivo::windows
