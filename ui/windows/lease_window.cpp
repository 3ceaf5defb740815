#include "base/text_limits.h"
#include "ui/windows/window_list.h"

namespace tamrivo::windows {

const WindowDefinition& leaseWindow() {
    using enum EventKind;
    static const WindowDefinition definition{
        .caption = "",
        .width = 386,
        .height = 511,
        .events = {{Created, Handler::LeaseWindowCreated}},
        .controls =
            {
                groupBox("分组框1", "", {6, 4, 362, 472}),
                label("标签1", "流 水 号:", {24, 24, 59, 24}).in("分组框1"),
                editBox("编辑框_单号", {93, 26, 200, 24})
                    .in("分组框1")
                    .mode(EditMode::ReadOnly)
                    .tab(1),
                label("标签8", "入住房址:", {24, 56, 59, 24}).in("分组框1"),
                editBox("编辑框_地址", {93, 58, 200, 24})
                    .in("分组框1")
                    .mode(EditMode::ReadOnly)
                    .tab(2),
                label("标签2", "姓    名:", {24, 93, 59, 24}).in("分组框1"),
                editBox("编辑框_姓名", {93, 95, 200, 24}).in("分组框1").limit(kNameLimit).tab(3),
                label("标签3", "联系方式:", {24, 129, 59, 24}).in("分组框1"),
                editBox("编辑框_联系方式", {93, 131, 200, 24})
                    .in("分组框1")
                    .limit(kContactLimit)
                    .tab(4),
                label("标签4", "定    金:", {24, 165, 59, 24}).in("分组框1"),
                editBox("编辑框_定金", {93, 167, 200, 24})
                    .in("分组框1")
                    .mode(EditMode::Decimal)
                    .limit(kAmountLimit)
                    .tab(5),
                label("标签6", "租    金:", {24, 201, 59, 24}).in("分组框1"),
                editBox("编辑框_租金", {93, 203, 200, 24})
                    .in("分组框1")
                    .mode(EditMode::Decimal)
                    .limit(kAmountLimit)
                    .tab(6),
                label("标签5", "入住日期:", {24, 241, 59, 24}).in("分组框1"),
                datePicker("日期框1", {93, 243, 200, 24}).in("分组框1").tab(7),
                label("标签9", "预计退房:", {24, 277, 59, 24}).in("分组框1"),
                datePicker("日期框_预计退房", {93, 279, 200, 24}).in("分组框1").onlyDays().tab(8),
                label("标签7", "备    注:", {24, 317, 59, 24}).in("分组框1"),
                editBox("编辑框_备注", {93, 317, 200, 60})
                    .in("分组框1")
                    .multiLineText()
                    .limit(kRemarkLimit)
                    .tab(9),
                button("按钮_住客登记", "住客登记", {24, 391, 84, 32})
                    .in("分组框1")
                    .on(Clicked, Handler::OpenGuestRegister)
                    .tab(10),
                button("按钮_确定", "确定", {136, 391, 64, 32})
                    .in("分组框1")
                    .on(Clicked, Handler::SaveLease)
                    .tab(11),
                button("按钮_取消", "取消", {228, 391, 64, 32})
                    .in("分组框1")
                    .on(Clicked, Handler::CloseWindow)
                    .tab(12),
            },
    };
    return definition;
}

}  // namespace tamrivo::windows
