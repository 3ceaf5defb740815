#include "records/demo_data.h"

#include <array>
#include <string>

#include "data/database.h"
#include "records/schema.h"

namespace tamrivo {
namespace {

using schema::kLeaseOpen;
using schema::kLeaseSettled;
using schema::kRoomAbandoned;
using schema::kRoomIdle;
using schema::kRoomLet;
using schema::kRoomNormal;

struct DemoRoom {
    const char* dizhi;
    int zhuangtai;
    int chuzuzhuangtai;
    const char* danhao;
};

struct DemoLease {
    const char* danhao;
    const char* fangzhi;
    const char* xingming;
    const char* lianxifangshi;
    double dingjin;
    double zujin;
    const char* ruzhuriqi;
    const char* beizhu;
    int zulinzhuangtai;
    double jiesuanjine;
    const char* jiesuanriqi;
    const char* jiesuanbeizhu;
};

// Order numbers follow the program's own rule: check-in time, "-", largest lease id + 1000.
constexpr std::array<DemoLease, 3> kLeases = {{
    {"20240301142000-00001000", "幸福里3号楼101室", "李明", "13800138000", 200.00, 120.00,
     "2024-03-01 14:20:00", "", kLeaseSettled, 360, "2024-03-04 11:00:00", "押金已退"},
    {"20240305093000-00001001", "幸福里3号楼102室", "王芳", "13900139000", 300.00, 150.00,
     "2024-03-05 09:30:00", "长住优惠", kLeaseOpen, 0, "", ""},
    {"20240306180500-00001002", "幸福里3号楼201室", "张伟", "13700137000", 100.00, 98.50,
     "2024-03-06 18:05:00", "", kLeaseOpen, 0, "", ""},
}};

constexpr std::array<DemoRoom, 5> kRooms = {{
    {"幸福里3号楼101室", kRoomNormal, kRoomIdle, ""},
    {"幸福里3号楼102室", kRoomNormal, kRoomLet, kLeases[1].danhao},
    {"幸福里3号楼201室", kRoomNormal, kRoomLet, kLeases[2].danhao},
    {"幸福里3号楼202室", kRoomNormal, kRoomIdle, ""},
    {"幸福里3号楼301室", kRoomAbandoned, kRoomIdle, ""},
}};

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
    const bool bound = db.bindText(statement, ":dizhi", room.dizhi) &&
                       db.bindInt(statement, ":zhuangtai", room.zhuangtai) &&
                       db.bindInt(statement, ":chuzuzhuangtai", room.chuzuzhuangtai) &&
                       db.bindText(statement, ":danhao", room.danhao);
    return finish(db, statement, bound);
}

bool insertLease(Database& db, const DemoLease& lease) {
    StatementHandle statement = db.prepare(
        "INSERT INTO `b_zulin` (`danhao`, `fangzhi`, `xingming`, `lianxifangshi`, `dingjin`, "
        "`zujin`, `ruzhuriqi`, `beizhu`, `zulinzhuangtai`, `jiesuanjine`, `jiesuanriqi`, "
        "`jiesuanbeizhu`) VALUES(:danhao, :fangzhi, :xingming, :lianxifangshi, :dingjin, "
        ":zujin, :ruzhuriqi, :beizhu, :zulinzhuangtai, :jiesuanjine, :jiesuanriqi, "
        ":jiesuanbeizhu)");
    const bool bound = db.bindText(statement, ":danhao", lease.danhao) &&
                       db.bindText(statement, ":fangzhi", lease.fangzhi) &&
                       db.bindText(statement, ":xingming", lease.xingming) &&
                       db.bindText(statement, ":lianxifangshi", lease.lianxifangshi) &&
                       db.bindDouble(statement, ":dingjin", lease.dingjin) &&
                       db.bindDouble(statement, ":zujin", lease.zujin) &&
                       db.bindText(statement, ":ruzhuriqi", lease.ruzhuriqi) &&
                       db.bindText(statement, ":beizhu", lease.beizhu) &&
                       db.bindInt(statement, ":zulinzhuangtai", lease.zulinzhuangtai) &&
                       db.bindDouble(statement, ":jiesuanjine", lease.jiesuanjine) &&
                       db.bindText(statement, ":jiesuanriqi", lease.jiesuanriqi) &&
                       db.bindText(statement, ":jiesuanbeizhu", lease.jiesuanbeizhu);
    return finish(db, statement, bound);
}

}  // namespace

bool addDemoData(Database& db) {
    for (const DemoLease& lease : kLeases) {
        if (!insertLease(db, lease)) {
            return false;
        }
    }
    for (const DemoRoom& room : kRooms) {
        if (!insertRoom(db, room)) {
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
        if (room.zhuangtai != kRoomNormal) {
            ++abandoned;
        } else if (room.chuzuzhuangtai == kRoomLet) {
            ++let;
        } else {
            ++idle;
        }
    }
    int settled = 0;
    for (const DemoLease& lease : kLeases) {
        settled += lease.zulinzhuangtai == kLeaseSettled ? 1 : 0;
    }
    return "demo rooms: " + std::to_string(idle) + " idle, " + std::to_string(let) +
           " let with their open leases, " + std::to_string(abandoned) + " abandoned; " +
           std::to_string(settled) + " settled lease";
}

}  // namespace tamrivo
