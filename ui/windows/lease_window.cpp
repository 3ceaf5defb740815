#include "ui/windows/lease_window.h"
#include "base/text_limits.h"
#include "ui/windows/window_list.h"

namespace tamrivo::windows {

const WindowDefinition& leaseWindow() {
    using enum EventKind;
    using namespace lease_window;
    static const WindowDefinition definition{
        .caption = "",
        .width = 386,
        .height = 511,
        .events = {{Created, Handler::LeaseWindowCreated}},
        .controls =
            {
                groupBox(kFormGroup, "", {6, 4, 362, 472}),
                label(kOrderNumberLabel, "流 水 号:", {24, 24, 59, 24}).in(kFormGroup),
                editBox(kOrderNumberEdit, {93, 26, 200, 24})
                    .in(kFormGroup)
                    .mode(EditMode::ReadOnly)
                    .tab(1),
                label(kAddressLabel, "入住房址:", {24, 56, 59, 24}).in(kFormGroup),
                editBox(kAddressEdit, {93, 58, 200, 24})
                    .in(kFormGroup)
                    .mode(EditMode::ReadOnly)
                    .tab(2),
                label(kNameLabel, "姓    名:", {24, 93, 59, 24}).in(kFormGroup),
                editBox(kNameEdit, {93, 95, 200, 24}).in(kFormGroup).limit(kNameLimit).tab(3),
                label(kContactLabel, "联系方式:", {24, 129, 59, 24}).in(kFormGroup),
                editBox(kContactEdit, {93, 131, 200, 24})
                    .in(kFormGroup)
                    .limit(kContactLimit)
                    .tab(4),
                label(kDepositLabel, "定    金:", {24, 165, 59, 24}).in(kFormGroup),
                editBox(kDepositEdit, {93, 167, 200, 24})
                    .in(kFormGroup)
                    .mode(EditMode::Decimal)
                    .limit(kAmountLimit)
                    .tab(5),
                label(kRentLabel, "租    金:", {24, 201, 59, 24}).in(kFormGroup),
                editBox(kRentEdit, {93, 203, 200, 24})
                    .in(kFormGroup)
                    .mode(EditMode::Decimal)
                    .limit(kAmountLimit)
                    .tab(6),
                label(kCheckInLabel, "入住日期:", {24, 241, 59, 24}).in(kFormGroup),
                datePicker(kCheckInPicker, {93, 243, 200, 24}).in(kFormGroup).tab(7),
                label(kDepartureLabel, "预计退房:", {24, 277, 59, 24}).in(kFormGroup),
                datePicker(kDeparturePicker, {93, 279, 200, 24}).in(kFormGroup).onlyDays().tab(8),
                label(kRemarkLabel, "备    注:", {24, 317, 59, 24}).in(kFormGroup),
                editBox(kRemarkEdit, {93, 317, 200, 60})
                    .in(kFormGroup)
                    .multiLineText()
                    .limit(kRemarkLimit)
                    .tab(9),
                button(kGuestRegisterButton, "住客登记", {24, 391, 84, 32})
                    .in(kFormGroup)
                    .on(Clicked, Handler::OpenGuestRegister)
                    .tab(10),
                button(kConfirmButton, "确定", {136, 391, 64, 32})
                    .in(kFormGroup)
                    .on(Clicked, Handler::SaveLease)
                    .tab(11),
                button(kCancelButton, "取消", {228, 391, 64, 32})
                    .in(kFormGroup)
                    .on(Clicked, Handler::CloseWindow)
                    .tab(12),
            },
    };
    return definition;
}

}  // namespace tamrivo::windows
