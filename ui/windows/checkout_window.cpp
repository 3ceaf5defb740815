#include "base/text_limits.h"
#include "ui/windows/window_list.h"

namespace tamrivo::windows {

const WindowDefinition& checkoutWindow() {
    using enum EventKind;
    static const WindowDefinition definition{
        .caption = "",
        .width = 684,
        .height = 454,
        .events = {{Created, Handler::FillCheckoutWindow}},
        .controls =
            {
                groupBox("分组框1", "", {8, 8, 656, 252}),
                label("标签_编号", "编    号:", {16, 24, 242, 24}).in("分组框1"),
                label("标签_房址", "入住房址:", {288, 24, 338, 24}).in("分组框1"),
                label("标签_姓名", "姓    名:", {16, 61, 242, 24}).in("分组框1"),
                label("标签_联系方式", "联系方式:", {288, 61, 338, 24}).in("分组框1"),
                label("标签_定金", "定    金:", {16, 101, 242, 24}).in("分组框1"),
                label("标签_租金", "租    金:", {288, 101, 338, 24}).in("分组框1"),
                label("标签_日期", "入住日期:", {16, 137, 242, 24}).in("分组框1"),
                label("标签_天数", "入住天数：", {288, 137, 242, 24}).in("分组框1"),
                label("标签_备注", "备    注:", {16, 177, 624, 23}).in("分组框1"),
                label("标签_计费晚数", "计费晚数：", {16, 213, 150, 24}).in("分组框1"),
                label("标签_租金合计", "租金合计：", {172, 213, 150, 24}).in("分组框1"),
                label("标签_结算定金", "定金：", {328, 213, 150, 24}).in("分组框1"),
                label("标签_应收", "应收：", {484, 213, 156, 24}).in("分组框1"),
                label("标签1", "实收金额：", {24, 277, 72, 24}),
                editBox("编辑框_金额", {95, 276, 176, 24})
                    .mode(EditMode::Decimal)
                    .limit(kAmountLimit),

                label("标签3", "退房日期：", {280, 277, 72, 24}),
                datePicker("日期框1", {360, 276, 208, 24})
                    .on(Changed, Handler::ShowCheckoutCharges),
                label("标签2", "备    注：", {24, 317, 72, 24}),
                editBox("编辑框_备注", {96, 317, 472, 24}).limit(kRemarkLimit),
                button("按钮_确定", "确定", {240, 381, 72, 24}).on(Clicked, Handler::SettleLease),
                button("按钮_取消", "取消", {352, 381, 72, 24}).on(Clicked, Handler::CloseWindow),
                button("按钮_收据", "收据", {464, 381, 72, 24})
                    .disabledAtStart()
                    .on(Clicked, Handler::ShowReceipt),
            },
    };
    return definition;
}

}  // namespace tamrivo::windows
