#include "ui/windows/lease_record_window.h"
#include "ui/windows/window_list.h"

namespace tamrivo::windows {

const WindowDefinition& leaseRecordWindow() {
    using enum EventKind;
    using namespace lease_record_window;
    static const WindowDefinition definition{
        .caption = "入住记录",
        .width = 520,
        .height = 480,
        .resizable = true,
        .events = {{Created, Handler::LeaseRecordCreated},
                   {Resized, Handler::RelayoutLeaseRecordWindow}},
        .controls =
            {
                groupBox(kDetailsGroup, "", {8, 8, 496, 384}),
                label(kOrderNumberLabel, "单    号：", {16, 20, 464, 24}).in(kDetailsGroup),
                label(kAddressLabel, "入住房址：", {16, 44, 464, 24}).in(kDetailsGroup),
                label(kNameLabel, "姓    名：", {16, 68, 464, 24}).in(kDetailsGroup),
                label(kContactLabel, "联系方式：", {16, 92, 464, 24}).in(kDetailsGroup),
                label(kDepositLabel, "定    金：", {16, 116, 464, 24}).in(kDetailsGroup),
                label(kRentLabel, "租    金：", {16, 140, 464, 24}).in(kDetailsGroup),
                label(kCheckInLabel, "入住日期：", {16, 164, 464, 24}).in(kDetailsGroup),
                label(kCheckOutLabel, "退房日期：", {16, 188, 464, 24}).in(kDetailsGroup),
                label(kDaysLabel, "入住天数：", {16, 212, 464, 24}).in(kDetailsGroup),
                label(kAmountLabel, "实收金额：", {16, 236, 464, 24}).in(kDetailsGroup),
                label(kStateLabel, "状    态：", {16, 260, 464, 24}).in(kDetailsGroup),
                label(kRemarkLabel, "备    注：", {16, 284, 464, 44}).in(kDetailsGroup),
                label(kSettlementRemarkLabel, "结算备注：", {16, 330, 464, 44}).in(kDetailsGroup),
                button(kLandlordButton, "房东信息", {16, 404, 96, 28})
                    .on(Clicked, Handler::OpenLandlordWindow),
                button(kPrintButton, "打印", {200, 404, 88, 28}).on(Clicked, Handler::PrintReceipt),
                button(kPdfButton, "保存PDF", {304, 404, 88, 28})
                    .on(Clicked, Handler::SaveReceiptPdf),
                button(kCloseButton, "关闭", {408, 404, 88, 28}).on(Clicked, Handler::CloseWindow),
            },
    };
    return definition;
}

}  // namespace tamrivo::windows
