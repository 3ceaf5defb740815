#include "app/lease_record.h"

#include <algorithm>

#include "records/length_of_stay.h"
#include "ui/date_format.h"
#include "ui/value_text.h"

namespace tamrivo {
namespace {

Text money(double amount) {
    return toText(amount) + "元";
}

// The receipt's lines, by the label controls of the record window, in the receipt's order.
constexpr const char* kReceiptLines[] = {
    "标签_房址", "标签_编号", "标签_姓名", "标签_联系方式", "标签_日期", "标签_退房日期",
    "标签_天数", "标签_定金", "标签_租金", "标签_金额",     "标签_备注",
};

}  // namespace

std::vector<RecordLine> recordLines(const LeaseRow& lease, DateTime now) {
    const bool settled = lease.settled();
    const auto days = daysOfStay(lease, now);
    return {
        {"标签_编号", "单    号：", lease.danhao},
        {"标签_房址", "入住房址：", lease.fangzhi},
        {"标签_姓名", "姓    名：", lease.xingming},
        {"标签_联系方式", "联系方式：", lease.lianxifangshi},
        {"标签_定金", "定    金：", money(lease.dingjin)},
        {"标签_租金", "租    金：", money(lease.zujin)},
        {"标签_日期", "入住日期：", lease.ruzhuriqi},
        {"标签_退房日期", "退房日期：", settled ? lease.jiesuanriqi : Text()},
        {"标签_天数", "入住天数：", days ? toText(*days) + "天" : Text()},
        {"标签_金额", "实收金额：", settled ? money(lease.jiesuanjine) : Text()},
        {"标签_状态", "状    态：", settled ? "已结算" : "未结算"},
        {"标签_备注", "备    注：", lease.beizhu},
        {"标签_结算备注", "结算备注：", lease.jiesuanbeizhu},
    };
}

PrintedForm receiptOf(const LeaseRow& lease, DateTime now) {
    const std::vector<RecordLine> lines = recordLines(lease, now);
    PrintedForm receipt{.title = "收据", .lines = {}};
    for (const char* wanted : kReceiptLines) {
        const auto line = std::find_if(lines.begin(), lines.end(), [&](const RecordLine& l) {
            return Text(l.label) == wanted;
        });
        receipt.lines.push_back({line->caption, line->value});
    }
    receipt.lines.push_back({"打印日期：", formatDateTime(now)});
    return receipt;
}

}  // namespace tamrivo
