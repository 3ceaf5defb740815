#pragma once
// The database the program runs on: where it lives, its key, and the tables, columns and
// status values every screen relies on. Columns marked with a position are read by number
// from "SELECT *" and must stay where they are.

namespace tamrivo::schema {

// "Data/Data.db" in the program's directory, encrypted with this key.
inline constexpr char kDatabaseFolder[] = "Data";
inline constexpr char kDatabaseFile[] = "Data.db";
inline constexpr char kDatabaseKey[] = "Qw482617.";

// Users.
namespace b_yh {
inline constexpr char kTable[] = "b_yh";
inline constexpr char kId[] = "id";    // position 0
inline constexpr char kYhm[] = "yhm";  // position 1: user name
inline constexpr char kMm[] = "mm";    // password digest, 32 upper-case hex digits
inline constexpr int kIdPosition = 0;
inline constexpr int kYhmPosition = 1;
}  // namespace b_yh

// Rooms.
namespace b_fangjian {
inline constexpr char kTable[] = "b_fangjian";
inline constexpr char kId[] = "id";                          // position 0
inline constexpr char kDizhi[] = "dizhi";                    // position 1: address
inline constexpr char kZhuangtai[] = "zhuangtai";            // position 2: RoomCondition
inline constexpr char kChuzuzhuangtai[] = "chuzuzhuangtai";  // position 3: Occupancy
inline constexpr char kDanhao[] = "danhao";  // order number of the current lease; empty when idle
inline constexpr int kIdPosition = 0;
inline constexpr int kDizhiPosition = 1;
inline constexpr int kZhuangtaiPosition = 2;
inline constexpr int kChuzuzhuangtaiPosition = 3;
}  // namespace b_fangjian

// Leases. A lease reaches its room only through the order number.
namespace b_zulin {
inline constexpr char kTable[] = "b_zulin";
inline constexpr char kId[] = "id";                          // position 0
inline constexpr char kDanhao[] = "danhao";                  // position 1: order number
inline constexpr char kFangzhi[] = "fangzhi";                // position 2: room address
inline constexpr char kXingming[] = "xingming";              // position 3: guest name
inline constexpr char kLianxifangshi[] = "lianxifangshi";    // position 4: guest contact
inline constexpr char kDingjin[] = "dingjin";                // position 5: deposit
inline constexpr char kZujin[] = "zujin";                    // position 6: rent
inline constexpr char kRuzhuriqi[] = "ruzhuriqi";            // position 7: check-in date-time
inline constexpr char kZulinzhuangtai[] = "zulinzhuangtai";  // position 8: LeaseState
inline constexpr char kJiesuanjine[] = "jiesuanjine";        // position 9: settlement amount
inline constexpr char kJiesuanriqi[] = "jiesuanriqi";        // position 10: settlement date-time
inline constexpr char kBeizhu[] = "beizhu";                  // position 11: check-in remark
inline constexpr char kJiesuanbeizhu[] = "jiesuanbeizhu";    // position 12: settlement remark
inline constexpr int kIdPosition = 0;
inline constexpr int kDanhaoPosition = 1;
inline constexpr int kFangzhiPosition = 2;
inline constexpr int kXingmingPosition = 3;
inline constexpr int kLianxifangshiPosition = 4;
inline constexpr int kDingjinPosition = 5;
inline constexpr int kZujinPosition = 6;
inline constexpr int kRuzhuriqiPosition = 7;
inline constexpr int kZulinzhuangtaiPosition = 8;
inline constexpr int kBeizhuPosition = 11;
}  // namespace b_zulin

// Bookings ahead. Added beside the three tables the program has always had, so that files
// written by earlier versions still open in them. Days are bare "yyyy-MM-dd"; the departure
// day is the first day the room is free again.
namespace b_yuding {
inline constexpr char kTable[] = "b_yuding";
inline constexpr char kId[] = "id";
inline constexpr char kFangjianid[] = "fangjianid";                // room id
inline constexpr char kXingming[] = "xingming";                    // guest name
inline constexpr char kLianxifangshi[] = "lianxifangshi";          // guest contact
inline constexpr char kDaodariqi[] = "daodariqi";                  // arrival day
inline constexpr char kLikairiqi[] = "likairiqi";                  // departure day
inline constexpr char kDingjin[] = "dingjin";                      // deposit
inline constexpr char kBeizhu[] = "beizhu";                        // remark
inline constexpr char kZhuangtai[] = "zhuangtai";                  // BookingState
inline constexpr char kDanhao[] = "danhao";                        // order number of its lease
inline constexpr char kChuangjianshijian[] = "chuangjianshijian";  // created, date-time
}  // namespace b_yuding

// The landlord's own details, printed on every receipt: one row, id 1.
namespace b_fangdong {
inline constexpr char kTable[] = "b_fangdong";
inline constexpr char kId[] = "id";
inline constexpr char kXingming[] = "xingming";  // name
inline constexpr char kDizhi[] = "dizhi";        // address
inline constexpr char kDianhua[] = "dianhua";    // phone
}  // namespace b_fangdong

// The day each lease's guest is expected to leave, beside the lease rather than in it, so the
// lease table keeps the columns earlier versions wrote. A lease without a row (one of theirs)
// is expected to leave the day after its check-in.
namespace b_yujituifang {
inline constexpr char kTable[] = "b_yujituifang";
inline constexpr char kZulinid[] = "zulinid";          // lease id
inline constexpr char kTuifangriqi[] = "tuifangriqi";  // planned departure day, "yyyy-MM-dd"
}  // namespace b_yujituifang

// The booking platforms' calendars (iCalendar feeds) each room follows, by address or as a
// local file.
namespace b_rilidingyue {
inline constexpr char kTable[] = "b_rilidingyue";
inline constexpr char kId[] = "id";
inline constexpr char kFangjianid[] = "fangjianid";    // room id
inline constexpr char kMingcheng[] = "mingcheng";      // the platform's name, as typed
inline constexpr char kDizhi[] = "dizhi";              // http(s) address or a local .ics path
inline constexpr char kDuqushijian[] = "duqushijian";  // last good read, date-time; '' never
inline constexpr char kCuowu[] = "cuowu";              // why the last read was refused; '' none
inline constexpr char kJieguo[] = "jieguo";            // what the last good read brought
}  // namespace b_rilidingyue

// The stays and blocks the feeds bring, one per event of a feed, found again by its UID.
// Days as in b_yuding; kept apart from the landlord's own bookings, never written over them.
namespace b_waibuyuding {
inline constexpr char kTable[] = "b_waibuyuding";
inline constexpr char kId[] = "id";
inline constexpr char kDingyueid[] = "dingyueid";    // feed id
inline constexpr char kFangjianid[] = "fangjianid";  // the feed's room, for the overlap looks
inline constexpr char kUid[] = "uid";
inline constexpr char kDaodariqi[] = "daodariqi";  // arrival day
inline constexpr char kLikairiqi[] = "likairiqi";  // departure day
inline constexpr char kLeixing[] = "leixing";      // OutsideKind
inline constexpr char kZhaiyao[] = "zhaiyao";      // the event's summary
inline constexpr char kChongtu[] = "chongtu";      // 1 while it overlaps another stay
}  // namespace b_waibuyuding

// The calendar sync's settings: one row, id 1.
namespace b_tongbushezhi {
inline constexpr char kTable[] = "b_tongbushezhi";
inline constexpr char kId[] = "id";
inline constexpr char kZidong[] = "zidong";                  // 1: pull every 30 minutes
inline constexpr char kDaochumulu[] = "daochumulu";          // export folder; '' for none
inline constexpr char kDaochuxingming[] = "daochuxingming";  // 1: guests' names in the export
}  // namespace b_tongbushezhi
// The guests registered for each stay (实名登记), the lease's own guest first. Identity fields
// are kept only in records under the landlord's key, and emptied once the retention time after
// check-out has passed (qingchushijian says when).
namespace b_zhuke {
inline constexpr char kTable[] = "b_zhuke";
inline constexpr char kId[] = "id";
inline constexpr char kZulinid[] = "zulinid";                    // lease id
inline constexpr char kXuhao[] = "xuhao";                        // place in the stay, from 1
inline constexpr char kXingming[] = "xingming";                  // name
inline constexpr char kXingbie[] = "xingbie";                    // sex
inline constexpr char kMinzu[] = "minzu";                        // nation
inline constexpr char kChushengriqi[] = "chushengriqi";          // birth date
inline constexpr char kZhengjianleixing[] = "zhengjianleixing";  // DocumentType
inline constexpr char kZhengjianhaoma[] = "zhengjianhaoma";      // document number
inline constexpr char kGuoji[] = "guoji";                        // nationality
inline constexpr char kZhuzhi[] = "zhuzhi";                      // address
inline constexpr char kQianfajiguan[] = "qianfajiguan";          // issuing authority
inline constexpr char kYouxiaoqixian[] = "youxiaoqixian";        // valid until
inline constexpr char kLianxidianhua[] = "lianxidianhua";        // phone
inline constexpr char kYishangbao[] = "yishangbao";              // reported to the police, 0/1
inline constexpr char kShangbaoshijian[] = "shangbaoshijian";    // when it was ticked
inline constexpr char kQingchushijian[] = "qingchushijian";      // when identity was purged
}  // namespace b_zhuke

// Every viewing, change, export and purge of guests' identity: who, when, which guest.
namespace b_dengjirizhi {
inline constexpr char kTable[] = "b_dengjirizhi";
inline constexpr char kId[] = "id";
inline constexpr char kShijian[] = "shijian";    // date-time
inline constexpr char kYonghu[] = "yonghu";      // user name
inline constexpr char kZhukeid[] = "zhukeid";    // guest id; 0 for a whole export
inline constexpr char kDongzuo[] = "dongzuo";    // RegisterAction
inline constexpr char kShuoming[] = "shuoming";  // what it concerned, e.g. the export's period
}  // namespace b_dengjirizhi

// Settings kept in the records, by name.
namespace b_shezhi {
inline constexpr char kTable[] = "b_shezhi";
inline constexpr char kMingcheng[] = "mingcheng";  // name
inline constexpr char kZhi[] = "zhi";              // value
}  // namespace b_shezhi

// b_fangjian.zhuangtai: every value other than kRoomNormal counts as abandoned.
enum RoomCondition : int { kRoomAbandoned = 0, kRoomNormal = 1 };

// b_fangjian.chuzuzhuangtai: every value other than kRoomLet counts as not let.
enum Occupancy : int { kRoomIdle = 0, kRoomLet = 1 };

// b_zulin.zulinzhuangtai: every value other than kLeaseSettled counts as open.
enum LeaseState : int { kLeaseOpen = 0, kLeaseSettled = 1 };

// b_yuding.zhuangtai: only a booked one holds its days against other bookings.
enum BookingState : int { kBookingBooked = 0, kBookingArrived = 1, kBookingCancelled = 2 };

// b_waibuyuding.leixing: a guest's stay, or nights the platform closed.
enum OutsideKind : int { kOutsideBooking = 0, kOutsideBlock = 1 };

// Dates are stored as local time in this picture, for example 2020-02-17 09:05:03.
inline constexpr char kDateTimePicture[] = "yyyy-MM-dd HH:mm:ss";

}  // namespace tamrivo::schema
