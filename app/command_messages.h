#pragma once

namespace tamrivo {

// What the main window's commands answer, and the windows they open when they save too late:
// the room is no longer in the state the command found it in.
inline constexpr char kSelectRoomFirst[] = "需要先选中房屋之后进行操作";
inline constexpr char kOnlyIdleEditable[] = "只有闲置的房间才可以修改";
inline constexpr char kOnlyIdleDeletable[] = "只有闲置的房间才可以删除";
inline constexpr char kConfirmDelete[] = "确定要删除\r\n";
inline constexpr char kSelectLetRoom[] = "请选择一个已经入住的房间进行操作";
inline constexpr char kCannotLet[] = "这个房间无法出租\r\n\r\n1.房间已放弃. 2.房间已租出去";
inline constexpr char kNotLet[] = "这个房间未入住";
// A check-in whose order number a lease already carries; the window offers a fresh one.
inline constexpr char kOrderNumberTaken[] =
    "这个流水号已经被使用,已换成新的流水号,请核对后再按确定保存";
// An arrival whose booking was cancelled, or let in, by another window meanwhile.
inline constexpr char kBookingGone[] = "这个预订已经取消或已经入住";
// A check-in on a room that someone has booked for today: the guest's name, then the days.
inline constexpr char kBookedTodayAsk[] = "这个房间今天已被预订：\r\n\r\n";
inline constexpr char kBookedTodayQuestion[] = "\r\n\r\n确定仍要入住吗？";
// A stay's nights up to its planned departure run over a booking of the room.
inline constexpr char kBookedDuringStayAsk[] = "这个房间在预计退房前已被预订：\r\n\r\n";
inline constexpr char kBookedDuringStayQuestion[] = "\r\n\r\n确定仍要保存吗？";
inline constexpr char kAntivirusWarning[] =
    "升级检测需要释放解压文件,部分杀软会阻断,如果发生升级失败,请关闭杀毒软件在尝试!";

}  // namespace tamrivo
