#include "ui/windows/window_list.h"

namespace tamrivo::windows {

const WindowDefinition& leaseRecordWindow() {
    using enum EventKind;
    static const WindowDefinition definition{
        .caption = "入住记录",
        .width = 520,
        .height = 480,
        .resizable = true,
        .events = {{Created, Handler::LeaseRecordCreated},
                   {Resized, Handler::RelayoutLeaseRecordWindow}},
        .controls =
            {
                groupBox("分组框1", "", {8, 8, 496, 384}),
                label("标签_编号", "单    号：", {16, 20, 464, 24}).in("分组框1"),
                label("标签_房址", "入住房址：", {16, 44, 464, 24}).in("分组框1"),
                label("标签_姓名", "姓    名：", {16, 68, 464, 24}).in("分组框1"),
                label("标签_联系方式", "联系方式：", {16, 92, 464, 24}).in("分组框1"),
                label("标签_定金", "定    金：", {16, 116, 464, 24}).in("分组框1"),
                label("标签_租金", "租    金：", {16, 140, 464, 24}).in("分组框1"),
                label("标签_日期", "入住日期：", {16, 164, 464, 24}).in("分组框1"),
                label("标签_退房日期", "退房日期：", {16, 188, 464, 24}).in("分组框1"),
                label("标签_天数", "入住天数：", {16, 212, 464, 24}).in("分组框1"),
                label("标签_金额", "实收金额：", {16, 236, 464, 24}).in("分组框1"),
                label("标签_状态", "状    态：", {16, 260, 464, 24}).in("分组框1"),
                label("标签_备注", "备    注：", {16, 284, 464, 44}).in("分组框1"),
                label("标签_结算备注", "结算备注：", {16, 330, 464, 44}).in("分组框1"),
                button("按钮_房东", "房东信息", {16, 404, 96, 28})
                    .on(Clicked, Handler::OpenLandlordWindow),
                button("按钮_打印", "打印", {200, 404, 88, 28}).on(Clicked, Handler::PrintReceipt),
                button("按钮_PDF", "保存PDF", {304, 404, 88, 28})
                    .on(Clicked, Handler::SaveReceiptPdf),
                button("按钮_关闭", "关闭", {408, 404, 88, 28}).on(Clicked, Handler::CloseWindow),
            },
    };
    return definition;
}

}  // namespace tamrivo::windows
