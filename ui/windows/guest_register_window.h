#pragma once
// The names of the guest register window's controls, as its definition gives them: screens and
// tests reach the controls through these.

namespace tamrivo::guest_register_window {

inline constexpr char kGuestsTable[] = "表格_住客";
inline constexpr char kGuestGroup[] = "分组框1";
inline constexpr char kNameLabel[] = "标签_姓名";
inline constexpr char kNameEdit[] = "编辑框_姓名";
inline constexpr char kSexLabel[] = "标签_性别";
inline constexpr char kSexCombo[] = "组合框_性别";
inline constexpr char kNationLabel[] = "标签_民族";
inline constexpr char kNationEdit[] = "编辑框_民族";
inline constexpr char kBirthDateLabel[] = "标签_出生日期";
inline constexpr char kBirthDateEdit[] = "编辑框_出生日期";
inline constexpr char kDocumentTypeLabel[] = "标签_证件类型";
inline constexpr char kDocumentTypeCombo[] = "组合框_证件类型";
inline constexpr char kDocumentNumberLabel[] = "标签_证件号码";
inline constexpr char kDocumentNumberEdit[] = "编辑框_证件号码";
inline constexpr char kNationalityLabel[] = "标签_国籍";
inline constexpr char kNationalityEdit[] = "编辑框_国籍";
inline constexpr char kAddressLabel[] = "标签_住址";
inline constexpr char kAddressEdit[] = "编辑框_住址";
inline constexpr char kAuthorityLabel[] = "标签_签发机关";
inline constexpr char kAuthorityEdit[] = "编辑框_签发机关";
inline constexpr char kValidUntilLabel[] = "标签_有效期限";
inline constexpr char kValidUntilEdit[] = "编辑框_有效期限";
inline constexpr char kPhoneLabel[] = "标签_联系电话";
inline constexpr char kPhoneEdit[] = "编辑框_联系电话";
inline constexpr char kDateFormatLabel[] = "标签_格式";
inline constexpr char kReportedCheck[] = "选择框_已上报";
inline constexpr char kHintLabel[] = "标签_提示";
inline constexpr char kReadCardButton[] = "按钮_读卡";
inline constexpr char kReadCardTimer[] = "时钟_读卡";
inline constexpr char kAddButton[] = "按钮_添加";
inline constexpr char kChangeButton[] = "按钮_修改";
inline constexpr char kRemoveButton[] = "按钮_删除";
inline constexpr char kViewButton[] = "按钮_查看";
inline constexpr char kConfirmButton[] = "按钮_确定";
inline constexpr char kCancelButton[] = "按钮_取消";

}  // namespace tamrivo::guest_register_window
