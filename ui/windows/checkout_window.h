#pragma once
// The names of the check-out window's controls, as its definition gives them: screens and
// tests reach the controls through these.

namespace tamrivo::checkout_window {

inline constexpr char kDetailsGroup[] = "分组框1";
inline constexpr char kOrderNumberLabel[] = "标签_编号";
inline constexpr char kAddressLabel[] = "标签_房址";
inline constexpr char kNameLabel[] = "标签_姓名";
inline constexpr char kContactLabel[] = "标签_联系方式";
inline constexpr char kDepositLabel[] = "标签_定金";
inline constexpr char kRentLabel[] = "标签_租金";
inline constexpr char kCheckInLabel[] = "标签_日期";
inline constexpr char kDaysLabel[] = "标签_天数";
inline constexpr char kRemarkLabel[] = "标签_备注";
inline constexpr char kNightsLabel[] = "标签_计费晚数";
inline constexpr char kRentTotalLabel[] = "标签_租金合计";
inline constexpr char kSettledDepositLabel[] = "标签_结算定金";
inline constexpr char kDueLabel[] = "标签_应收";
inline constexpr char kAmountLabel[] = "标签1";
inline constexpr char kAmountEdit[] = "编辑框_金额";
inline constexpr char kCheckOutLabel[] = "标签3";
inline constexpr char kCheckOutPicker[] = "日期框1";
inline constexpr char kSettlementRemarkLabel[] = "标签2";
inline constexpr char kSettlementRemarkEdit[] = "编辑框_备注";
inline constexpr char kConfirmButton[] = "按钮_确定";
inline constexpr char kCancelButton[] = "按钮_取消";
inline constexpr char kReceiptButton[] = "按钮_收据";

}  // namespace tamrivo::checkout_window
