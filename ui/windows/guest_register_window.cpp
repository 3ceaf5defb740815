#include "ui/windows/guest_register_window.h"
#include "base/text_limits.h"
#include "ui/windows/window_list.h"

namespace tamrivo::windows {

const WindowDefinition& guestRegisterWindow() {
    using enum EventKind;
    using namespace guest_register_window;
    static const WindowDefinition definition{
        .caption = "住客登记",
        .width = 780,
        .height = 640,
        .events = {{Created, Handler::GuestRegisterCreated}},
        .controls =
            {
                table(kGuestsTable, {12, 12, 740, 170},
                      {
                          {"姓名", 100},
                          {"性别", 44},
                          {"民族", 56},
                          {"证件类型", 160},
                          {"证件号码", 176},
                          {"国籍", 70},
                          {"已上报", 130},
                      })
                    .on(CurrentItemChanged, Handler::ShowGuestSelection),
                groupBox(kGuestGroup, "住客信息", {12, 190, 740, 300}),
                label(kNameLabel, "姓    名:", {16, 26, 72, 24}).in(kGuestGroup),
                editBox(kNameEdit, {96, 26, 250, 24}).in(kGuestGroup).limit(kNameLimit).tab(1),
                label(kSexLabel, "性    别:", {16, 62, 72, 24}).in(kGuestGroup),
                comboBox(kSexCombo, {96, 62, 250, 24}, {"", "男", "女"}, 0).in(kGuestGroup).tab(3),
                label(kNationLabel, "民    族:", {16, 98, 72, 24}).in(kGuestGroup),
                editBox(kNationEdit, {96, 98, 250, 24}).in(kGuestGroup).limit(20).tab(5),
                label(kBirthDateLabel, "出生日期:", {16, 134, 72, 24}).in(kGuestGroup),
                editBox(kBirthDateEdit, {96, 134, 250, 24}).in(kGuestGroup).limit(10).tab(7),
                label(kDocumentTypeLabel, "证件类型:", {16, 170, 72, 24}).in(kGuestGroup),
                comboBox(kDocumentTypeCombo, {96, 170, 250, 24},
                         {"居民身份证", "港澳居民来往内地通行证", "台湾居民来往大陆通行证",
                          "外国人永久居留身份证", "护照", "其他"},
                         0)
                    .in(kGuestGroup)
                    .tab(9),
                label(kDocumentNumberLabel, "证件号码:", {16, 206, 72, 24}).in(kGuestGroup),
                editBox(kDocumentNumberEdit, {96, 206, 250, 24})
                    .in(kGuestGroup)
                    .limit(40)
                    .on(Changed, Handler::LookUpGuestDocument)
                    .tab(11),
                label(kNationalityLabel, "国    籍:", {380, 26, 72, 24}).in(kGuestGroup),
                editBox(kNationalityEdit, {460, 26, 260, 24}).in(kGuestGroup).limit(40).tab(2),
                label(kAddressLabel, "住    址:", {380, 62, 72, 24}).in(kGuestGroup),
                editBox(kAddressEdit, {460, 62, 260, 24})
                    .in(kGuestGroup)
                    .limit(kAddressLimit)
                    .tab(4),
                label(kAuthorityLabel, "签发机关:", {380, 98, 72, 24}).in(kGuestGroup),
                editBox(kAuthorityEdit, {460, 98, 260, 24})
                    .in(kGuestGroup)
                    .limit(kNameLimit)
                    .tab(6),
                label(kValidUntilLabel, "有效期限:", {380, 134, 72, 24}).in(kGuestGroup),
                editBox(kValidUntilEdit, {460, 134, 260, 24}).in(kGuestGroup).limit(10).tab(8),
                label(kPhoneLabel, "联系电话:", {380, 170, 72, 24}).in(kGuestGroup),
                editBox(kPhoneEdit, {460, 170, 260, 24}).in(kGuestGroup).limit(kPhoneLimit).tab(10),
                checkBox(kReportedCheck, "已上报(已录入公安系统)", {460, 206, 260, 24})
                    .in(kGuestGroup)
                    .tab(12),
                label(kDateFormatLabel, "日期写作 2024-05-01;有效期限可写\"长期\"",
                      {16, 250, 700, 24})
                    .in(kGuestGroup),
                label(kHintLabel, "", {12, 498, 740, 48}),
                button(kReadCardButton, "读卡", {12, 556, 76, 30})
                    .on(Clicked, Handler::ReadIdCard)
                    .tab(13),
                button(kAddButton, "添加", {100, 556, 76, 30})
                    .on(Clicked, Handler::AddGuest)
                    .tab(14),
                button(kChangeButton, "修改", {188, 556, 76, 30})
                    .on(Clicked, Handler::ChangeGuest)
                    .tab(15),
                button(kRemoveButton, "删除", {276, 556, 76, 30})
                    .on(Clicked, Handler::RemoveGuest)
                    .tab(16),
                button(kViewButton, "查看", {364, 556, 76, 30})
                    .on(Clicked, Handler::ViewGuestNumber)
                    .tab(17),
                button(kConfirmButton, "确定", {588, 556, 76, 30})
                    .on(Clicked, Handler::SaveGuests)
                    .tab(18),
                button(kCancelButton, "取消", {676, 556, 76, 30})
                    .on(Clicked, Handler::CloseWindow)
                    .tab(19),
                timer(kReadCardTimer, {740, 600, 16, 16}, 0).on(Tick, Handler::PollCardRead),
            },
    };
    return definition;
}

}  // namespace tamrivo::windows
