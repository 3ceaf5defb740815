#include "ui/windows/checkout_window.h"
#include "base/text_limits.h"
#include "ui/windows/window_list.h"

namespace tamrivo::windows {

const WindowDefinition& checkoutWindow() {
    using enum EventKind;
    using namespace checkout_window;
    static const WindowDefinition definition{
        .caption = "",
        .width = 684,
        .height = 454,
        .events = {{Created, Handler::FillCheckoutWindow}},
        .controls =
            {
                groupBox(kDetailsGroup, "", {8, 8, 656, 252}),
                label(kOrderNumberLabel, "编    号:", {16, 24, 242, 24}).in(kDetailsGroup),
                label(kAddressLabel, "入住房址:", {288, 24, 338, 24}).in(kDetailsGroup),
                label(kNameLabel, "姓    名:", {16, 61, 242, 24}).in(kDetailsGroup),
                label(kContactLabel, "联系方式:", {288, 61, 338, 24}).in(kDetailsGroup),
                label(kDepositLabel, "定    金:", {16, 101, 242, 24}).in(kDetailsGroup),
                label(kRentLabel, "租    金:", {288, 101, 338, 24}).in(kDetailsGroup),
                label(kCheckInLabel, "入住日期:", {16, 137, 242, 24}).in(kDetailsGroup),
                label(kDaysLabel, "入住天数：", {288, 137, 242, 24}).in(kDetailsGroup),
                label(kRemarkLabel, "备    注:", {16, 177, 624, 23}).in(kDetailsGroup),
                label(kNightsLabel, "计费晚数：", {16, 213, 150, 24}).in(kDetailsGroup),
                label(kRentTotalLabel, "租金合计：", {172, 213, 150, 24}).in(kDetailsGroup),
                label(kSettledDepositLabel, "定金：", {328, 213, 150, 24}).in(kDetailsGroup),
                label(kDueLabel, "应收：", {484, 213, 156, 24}).in(kDetailsGroup),
                label(kAmountLabel, "实收金额：", {24, 277, 72, 24}),
                editBox(kAmountEdit, {95, 276, 176, 24})
                    .mode(EditMode::Decimal)
                    .limit(kAmountLimit),

                label(kCheckOutLabel, "退房日期：", {280, 277, 72, 24}),
                datePicker(kCheckOutPicker, {360, 276, 208, 24})
                    .on(Changed, Handler::ShowCheckoutCharges),
                label(kSettlementRemarkLabel, "备    注：", {24, 317, 72, 24}),
                editBox(kSettlementRemarkEdit, {96, 317, 472, 24}).limit(kRemarkLimit),
                button(kConfirmButton, "确定", {240, 381, 72, 24})
                    .on(Clicked, Handler::SettleLease),
                button(kCancelButton, "取消", {352, 381, 72, 24}).on(Clicked, Handler::CloseWindow),
                button(kReceiptButton, "收据", {464, 381, 72, 24})
                    .disabledAtStart()
                    .on(Clicked, Handler::ShowReceipt),
            },
    };
    return definition;
}

}  // namespace tamrivo::windows
