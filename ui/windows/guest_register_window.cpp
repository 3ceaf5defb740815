#include "base/text_limits.h"
#include "ui/windows/window_list.h"

namespace tamrivo::windows {

const WindowDefinition& guestRegisterWindow() {
    using enum EventKind;
    static const WindowDefinition definition{
        .caption = "住客登记",
        .width = 780,
        .height = 640,
        .events = {{Created, Handler::GuestRegisterCreated}},
        .controls =
            {
                table("表格_住客", {12, 12, 740, 170},
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
                groupBox("分组框1", "住客信息", {12, 190, 740, 300}),
                label("标签_姓名", "姓    名:", {16, 26, 72, 24}).in("分组框1"),
                editBox("编辑框_姓名", {96, 26, 250, 24}).in("分组框1").limit(kNameLimit).tab(1),
                label("标签_性别", "性    别:", {16, 62, 72, 24}).in("分组框1"),
                comboBox("组合框_性别", {96, 62, 250, 24}, {"", "男", "女"}, 0)
                    .in("分组框1")
                    .tab(3),
                label("标签_民族", "民    族:", {16, 98, 72, 24}).in("分组框1"),
                editBox("编辑框_民族", {96, 98, 250, 24}).in("分组框1").limit(20).tab(5),
                label("标签_出生日期", "出生日期:", {16, 134, 72, 24}).in("分组框1"),
                editBox("编辑框_出生日期", {96, 134, 250, 24}).in("分组框1").limit(10).tab(7),
                label("标签_证件类型", "证件类型:", {16, 170, 72, 24}).in("分组框1"),
                comboBox("组合框_证件类型", {96, 170, 250, 24},
                         {"居民身份证", "港澳居民来往内地通行证", "台湾居民来往大陆通行证",
                          "外国人永久居留身份证", "护照", "其他"},
                         0)
                    .in("分组框1")
                    .tab(9),
                label("标签_证件号码", "证件号码:", {16, 206, 72, 24}).in("分组框1"),
                editBox("编辑框_证件号码", {96, 206, 250, 24})
                    .in("分组框1")
                    .limit(40)
                    .on(Changed, Handler::LookUpGuestDocument)
                    .tab(11),
                label("标签_国籍", "国    籍:", {380, 26, 72, 24}).in("分组框1"),
                editBox("编辑框_国籍", {460, 26, 260, 24}).in("分组框1").limit(40).tab(2),
                label("标签_住址", "住    址:", {380, 62, 72, 24}).in("分组框1"),
                editBox("编辑框_住址", {460, 62, 260, 24})
                    .in("分组框1")
                    .limit(kAddressLimit)
                    .tab(4),
                label("标签_签发机关", "签发机关:", {380, 98, 72, 24}).in("分组框1"),
                editBox("编辑框_签发机关", {460, 98, 260, 24})
                    .in("分组框1")
                    .limit(kNameLimit)
                    .tab(6),
                label("标签_有效期限", "有效期限:", {380, 134, 72, 24}).in("分组框1"),
                editBox("编辑框_有效期限", {460, 134, 260, 24}).in("分组框1").limit(10).tab(8),
                label("标签_联系电话", "联系电话:", {380, 170, 72, 24}).in("分组框1"),
                editBox("编辑框_联系电话", {460, 170, 260, 24})
                    .in("分组框1")
                    .limit(kPhoneLimit)
                    .tab(10),
                checkBox("选择框_已上报", "已上报(已录入公安系统)", {460, 206, 260, 24})
                    .in("分组框1")
                    .tab(12),
                label("标签_格式", "日期写作 2024-05-01;有效期限可写\"长期\"", {16, 250, 700, 24})
                    .in("分组框1"),
                label("标签_提示", "", {12, 498, 740, 48}),
                button("按钮_读卡", "读卡", {12, 556, 76, 30})
                    .on(Clicked, Handler::ReadIdCard)
                    .tab(13),
                button("按钮_添加", "添加", {100, 556, 76, 30})
                    .on(Clicked, Handler::AddGuest)
                    .tab(14),
                button("按钮_修改", "修改", {188, 556, 76, 30})
                    .on(Clicked, Handler::ChangeGuest)
                    .tab(15),
                button("按钮_删除", "删除", {276, 556, 76, 30})
                    .on(Clicked, Handler::RemoveGuest)
                    .tab(16),
                button("按钮_查看", "查看", {364, 556, 76, 30})
                    .on(Clicked, Handler::ViewGuestNumber)
                    .tab(17),
                button("按钮_确定", "确定", {588, 556, 76, 30})
                    .on(Clicked, Handler::SaveGuests)
                    .tab(18),
                button("按钮_取消", "取消", {676, 556, 76, 30})
                    .on(Clicked, Handler::CloseWindow)
                    .tab(19),
                timer("时钟_读卡", {740, 600, 16, 16}, 0).on(Tick, Handler::PollCardRead),
            },
    };
    return definition;
}

}  // namespace tamrivo::windows
