#include "records/demo_data.h"

#include <array>
#include <string>

#include "data/database.h"
#include "records/planned_departures.h"
#include "records/schema.h"
#include "records/stored_dates.h"

namespace tamrivo {
namespace {

using schema::kLeaseOpen;
using schema::kLeaseSettled;
using schema::kRoomAbandoned;
using schema::kRoomIdle;
using schema::kRoomLet;
using schema::kRoomNormal;

struct DemoRoom {
    const char* address;
    int condition;
    int occupancy;
    const char* orderNumber;
};

struct DemoLease {
    const char* orderNumber;
    const char* address;
    const char* guest;
    const char* contact;
    double deposit;
    double rent;
    const char* checkIn;
    const char* remark;
    int state;
    double amountReceived;
    const char* checkOut;
    const char* settlementRemark;
};

// The settled stay lies in the past; the open ones are dated from the day the records are
// made, so a first calendar shows guests in, one of them due to leave that day.
struct DemoStay {
    const char* room;
    const char* guest;
    const char* contact;
    double deposit;
    double rent;
    const char* remark;
    const char* time;  // of the check-in
    int daysAgo;       // the check-in's day, before the day the records are made
    int nights;        // up to the planned departure
};

constexpr std::array<DemoStay, 2> kStays = {{
    {"幸福里3号楼102室", "王芳", "13900139000", 300.00, 150.00, "长住优惠", "09:30:00", 7, 7},
    {"幸福里3号楼201室", "张伟", "13700137000", 100.00, 98.50, "", "18:05:00", 1, 3},
}};

constexpr DemoLease kSettled = {"20240301142000-00001000",
                                "幸福里3号楼101室",
                                "李明",
                                "13800138000",
                                200.00,
                                120.00,
                                "2024-03-01 14:20:00",
                                "",
                                kLeaseSettled,
                                360,
                                "2024-03-04 11:00:00",
                                "押金已退"};

constexpr std::array<DemoRoom, 5> kRooms = {{
    {"幸福里3号楼101室", kRoomNormal, kRoomIdle, ""},
    {"幸福里3号楼102室", kRoomNormal, kRoomLet, ""},  // its order number comes with its stay
    {"幸福里3号楼201室", kRoomNormal, kRoomLet, ""},
    {"幸福里3号楼202室", kRoomNormal, kRoomIdle, ""},
    {"幸福里3号楼301室", kRoomAbandoned, kRoomIdle, ""},
}};

// An open stay as a lease. Order numbers follow the program's own rule: check-in time, "-",
// largest lease id + 1000 (the settled lease is id 1).
struct OpenLease {
    std::string orderNumber;
    std::string checkIn;
    std::string plannedDeparture;
};

OpenLease openLease(const DemoStay& stay, std::size_t index, std::int64_t today) {
    const std::int64_t day = today - stay.daysAgo;
    const std::string checkIn = dayText(day) + " " + stay.time;
    std::string number = std::to_string(1001 + index);
    number.insert(0, 8 - number.size(), '0');
    const std::string digits = dayText(day, "yyyyMMdd") + std::string(stay.time).substr(0, 2) +
                               std::string(stay.time).substr(3, 2) +
                               std::string(stay.time).substr(6, 2);
    return {digits + "-" + number, checkIn, dayText(day + stay.nights)};
}

// Runs a prepared insert once all its values are bound; finalizes it on every path.
bool finish(Database& db, StatementHandle statement, bool bound) {
    if (!bound) {
        db.finalize(statement);
        return false;
    }
    return db.stepAndFinalize(statement);
}

bool insertRoom(Database& db, const DemoRoom& room) {
    StatementHandle statement = db.prepare(
        "INSERT INTO `b_fangjian` (`dizhi`, `zhuangtai`, `chuzuzhuangtai`, `danhao`) "
        "VALUES(:dizhi, :zhuangtai, :chuzuzhuangtai, :danhao)");
    const bool bound = db.bindText(statement, ":dizhi", room.address) &&
                       db.bindInt(statement, ":zhuangtai", room.condition) &&
                       db.bindInt(statement, ":chuzuzhuangtai", room.occupancy) &&
                       db.bindText(statement, ":danhao", room.orderNumber);
    return finish(db, statement, bound);
}

bool insertLease(Database& db, const DemoLease& lease) {
    StatementHandle statement = db.prepare(
        "INSERT INTO `b_zulin` (`danhao`, `fangzhi`, `xingming`, `lianxifangshi`, `dingjin`, "
        "`zujin`, `ruzhuriqi`, `beizhu`, `zulinzhuangtai`, `jiesuanjine`, `jiesuanriqi`, "
        "`jiesuanbeizhu`) VALUES(:danhao, :fangzhi, :xingming, :lianxifangshi, :dingjin, "
        ":zujin, :ruzhuriqi, :beizhu, :zulinzhuangtai, :jiesuanjine, :jiesuanriqi, "
        ":jiesuanbeizhu)");
    const bool bound = db.bindText(statement, ":danhao", lease.orderNumber) &&
                       db.bindText(statement, ":fangzhi", lease.address) &&
                       db.bindText(statement, ":xingming", lease.guest) &&
                       db.bindText(statement, ":lianxifangshi", lease.contact) &&
                       db.bindDouble(statement, ":dingjin", lease.deposit) &&
                       db.bindDouble(statement, ":zujin", lease.rent) &&
                       db.bindText(statement, ":ruzhuriqi", lease.checkIn) &&
                       db.bindText(statement, ":beizhu", lease.remark) &&
                       db.bindInt(statement, ":zulinzhuangtai", lease.state) &&
                       db.bindDouble(statement, ":jiesuanjine", lease.amountReceived) &&
                       db.bindText(statement, ":jiesuanriqi", lease.checkOut) &&
                       db.bindText(statement, ":jiesuanbeizhu", lease.settlementRemark);
    return finish(db, statement, bound);
}

// Adds an open stay's lease with its planned departure, and lets its room by its order number.
bool addOpenStay(Database& db, const DemoStay& stay, std::size_t index, std::int64_t today) {
    const OpenLease open = openLease(stay, index, today);
    const DemoLease lease = {open.orderNumber.c_str(),
                             stay.room,
                             stay.guest,
                             stay.contact,
                             stay.deposit,
                             stay.rent,
                             open.checkIn.c_str(),
                             stay.remark,
                             kLeaseOpen,
                             0,
                             "",
                             ""};
    if (!insertLease(db, lease) ||
        !writePlannedDeparture(db, static_cast<int>(db.lastInsertRowid()), open.plannedDeparture)) {
        return false;
    }
    StatementHandle statement =
        db.prepare("UPDATE `b_fangjian` SET `danhao`=:danhao WHERE `dizhi`=:dizhi");
    const bool bound = db.bindText(statement, ":danhao", open.orderNumber) &&
                       db.bindText(statement, ":dizhi", stay.room);
    return finish(db, statement, bound);
}

}  // namespace

bool addDemoData(Database& db, std::int64_t today) {
    if (!insertLease(db, kSettled)) {
        return false;
    }
    for (const DemoRoom& room : kRooms) {
        if (!insertRoom(db, room)) {
            return false;
        }
    }
    for (std::size_t i = 0; i < kStays.size(); ++i) {
        if (!addOpenStay(db, kStays[i], i, today)) {
            return false;
        }
    }
    return true;
}

std::string demoDataSummary() {
    int idle = 0;
    int let = 0;
    int abandoned = 0;
    for (const DemoRoom& room : kRooms) {
        if (room.condition != kRoomNormal) {
            ++abandoned;
        } else if (room.occupancy == kRoomLet) {
            ++let;
        } else {
            ++idle;
        }
    }
    return "demo rooms: " + std::to_string(idle) + " idle, " + std::to_string(let) +
           " let with their open leases, " + std::to_string(abandoned) +
           " abandoned; 1 settled lease";
}

}  // namespace tamrivo
