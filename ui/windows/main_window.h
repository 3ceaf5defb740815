#pragma once
// The names of the main window's controls, as its definition gives them: screens and
// tests reach the controls through these.

namespace tamrivo::main_window {

inline constexpr char kClockTimer[] = "时钟1";
inline constexpr char kToolbar[] = "工具条1";
inline constexpr char kRoomList[] = "超级列表框1";
inline constexpr char kDetailsGroup[] = "分组框1";
inline constexpr char kOrderNumberLabel[] = "标签_编号";
inline constexpr char kNameLabel[] = "标签_姓名";
inline constexpr char kDepositLabel[] = "标签_定金";
inline constexpr char kAddressLabel[] = "标签_房址";
inline constexpr char kContactLabel[] = "标签_联系方式";
inline constexpr char kRentLabel[] = "标签_租金";
inline constexpr char kCheckInLabel[] = "标签_日期";
inline constexpr char kRemarkLabel[] = "标签_备注";
inline constexpr char kStatusBar[] = "状态条1";

// The commands of kToolbar, by the index of their item as its click reports it (separators
// counted, so the numbers have gaps).
enum class ToolbarCommand {
    AddRoom = 1,
    EditRoom = 2,
    DeleteRoom = 3,
    CheckIn = 5,
    EditLease = 6,
    CheckOut = 7,
    Statistics = 9,
    Search = 11,
    ChangePassword = 13,
    CheckForUpdate = 15,
    About = 17,
    Calendar = 19,
    ProtectRecords = 21,
};
inline constexpr char kOverdueReportsLabel[] = "标签_未上报";

}  // namespace tamrivo::main_window
