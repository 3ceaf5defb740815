#pragma once
// The names of the lease record window's controls, as its definition gives them: screens and
// tests reach the controls through these.

namespace tamrivo::lease_record_window {

inline constexpr char kDetailsGroup[] = "分组框1";
inline constexpr char kOrderNumberLabel[] = "标签_编号";
inline constexpr char kAddressLabel[] = "标签_房址";
inline constexpr char kNameLabel[] = "标签_姓名";
inline constexpr char kContactLabel[] = "标签_联系方式";
inline constexpr char kDepositLabel[] = "标签_定金";
inline constexpr char kRentLabel[] = "标签_租金";
inline constexpr char kCheckInLabel[] = "标签_日期";
inline constexpr char kCheckOutLabel[] = "标签_退房日期";
inline constexpr char kDaysLabel[] = "标签_天数";
inline constexpr char kAmountLabel[] = "标签_金额";
inline constexpr char kStateLabel[] = "标签_状态";
inline constexpr char kRemarkLabel[] = "标签_备注";
inline constexpr char kSettlementRemarkLabel[] = "标签_结算备注";
inline constexpr char kLandlordButton[] = "按钮_房东";
inline constexpr char kPrintButton[] = "按钮_打印";
inline constexpr char kPdfButton[] = "按钮_PDF";
inline constexpr char kCloseButton[] = "按钮_关闭";

}  // namespace tamrivo::lease_record_window
