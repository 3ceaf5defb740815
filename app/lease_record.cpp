#include "app/lease_record.h"

#include <cmath>
#include <string>

#include "base/date_format.h"
#include "base/text_to_value.h"
#include "base/value_text.h"
#include "records/amount_in_capitals.h"
#include "records/figure_text.h"
#include "records/length_of_stay.h"
#include "records/stay_charges.h"
#include "ui/windows/lease_record_window.h"

namespace tamrivo {
namespace {

Text money(double amount) {
    return toText(amount) + "元";
}

}  // namespace

std::vector<RecordLine> recordLines(const LeaseRow& lease, DateTime now) {
    const bool settled = lease.settled();
    const auto days = daysOfStay(lease, now);
    return {
        {lease_record_window::kOrderNumberLabel, "单    号：", lease.orderNumber},
        {lease_record_window::kAddressLabel, "入住房址：", lease.address},
        {lease_record_window::kNameLabel, "姓    名：", lease.guest},
        {lease_record_window::kContactLabel, "联系方式：", lease.contact},
        {lease_record_window::kDepositLabel, "定    金：", money(lease.deposit)},
        {lease_record_window::kRentLabel, "租    金：", money(lease.rent)},
        {lease_record_window::kCheckInLabel, "入住日期：", lease.checkIn},
        {lease_record_window::kCheckOutLabel, "退房日期：", settled ? lease.checkOut : Text()},
        {lease_record_window::kDaysLabel, "入住天数：", days ? toText(*days) + "天" : Text()},
        {lease_record_window::kAmountLabel, "实收金额：",
         settled ? money(lease.amountReceived) : Text()},
        {lease_record_window::kStateLabel, "状    态：", settled ? "已结算" : "未结算"},
        {lease_record_window::kRemarkLabel, "备    注：", lease.remark},
        {lease_record_window::kSettlementRemarkLabel, "结算备注：", lease.settlementRemark},
    };
}

namespace {

// The nights and charges of the stay: up to its check-out, or up to now while it is open.
StayCharges chargesOf(const LeaseRow& lease, DateTime now) {
    const DateTime end = lease.settled() ? toDateTime(lease.checkOut) : now;
    return stayCharges(toDateTime(lease.checkIn), end, lease.rent, lease.deposit);
}

// What is still owed after the deposit: collected (补收) or handed back (退还).
PrintedForm::Line balanceLine(const StayCharges& charges) {
    const double due = charges.due();
    return due < 0 ? PrintedForm::Line{"退还金额：", "退还 " + moneyText(-due) + "元"}
                   : PrintedForm::Line{"补收金额：", "补收 " + moneyText(due) + "元"};
}

PrintedForm::Line receivedLine(const LeaseRow& lease) {
    if (!lease.settled()) {
        return {"实收金额：", "未结算"};
    }
    // A negative amount received records money handed back: its capitals say so.
    const double received = lease.amountReceived;
    const Text capitals = (received < 0 ? "退还" : "") +
                          amountInCapitals(std::abs(received)).value_or(moneyText(received));
    return {"实收金额：", "￥" + moneyText(received) + "元  人民币大写：" + capitals};
}

}  // namespace

PrintedForm receiptOf(const LeaseRow& lease, const Landlord& landlord, DateTime now) {
    const StayCharges charges = chargesOf(lease, now);
    const Text nights = std::to_string(charges.nights) + "晚" + (lease.settled() ? "" : "（至今）");
    return {
        .title = "收据",
        .lines =
            {
                {"单    号：", lease.orderNumber},
                {"打印日期：", formatDateTime(now)},
                {"今 收 到：", lease.guest},
                {"联系方式：", lease.contact},
                {"房    间：", lease.address},
                {"入住日期：", lease.checkIn},
                {"退房日期：", lease.settled() ? lease.checkOut : Text("未退房")},
                {"入住晚数：", nights},
                {"每晚租金：", moneyText(lease.rent) + "元"},
                {"租金合计：", moneyText(charges.rentTotal) + "元"},
                {"已收定金：", moneyText(charges.deposit) + "元"},
                balanceLine(charges),
                receivedLine(lease),
                {"备    注：", lease.remark},
                {"结算备注：", lease.settlementRemark},
                {"房    东：", landlord.name},
                {"地    址：", landlord.address},
                {"电    话：", landlord.phone},
                {"收 款 人：", "____________________（签字）"},
            },
    };
}

}  // namespace tamrivo
