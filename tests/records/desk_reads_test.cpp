// What the desk's screens read without a window: the room list, one room, the status bar's
// totals and a room's open lease.
#include <gtest/gtest.h>

#include "records/database_queries.h"
#include "records/desk_totals.h"
#include "records/lease_search.h"
#include "records/rooms.h"
#include "tests/records/records_test_support.h"

namespace tamrivo {
namespace {

class DeskReads : public testing::RecordsTest {
protected:
    // Room 1 idle, room 2 let with lease 1, room 3 abandoned, room 4 of a condition no
    // window offers (the room window's "nothing chosen") and let in name only.
    void SetUp() override {
        makeDatabase();
        execute(
            "INSERT INTO `b_fangjian` (`dizhi`, `zhuangtai`, `chuzuzhuangtai`, `danhao`) VALUES "
            "('101', 1, 0, ''), ('102', 1, 1, 'A-1'), ('103', 0, 0, ''), ('104', -1, 1, 'X');"
            "INSERT INTO `b_zulin` (`danhao`, `fangzhi`, `xingming`, `lianxifangshi`, `dingjin`, "
            "`zujin`, `ruzhuriqi`, `zulinzhuangtai`, `jiesuanjine`, `jiesuanriqi`, `beizhu`, "
            "`jiesuanbeizhu`) VALUES ('A-1', '102号', '李四', '139', 200, 128.8, "
            "'2026-12-09 14:00:00', 0, 0, '', '靠窗', '')");
    }
};

TEST_F(DeskReads, RoomsAreListedWithTheirConditionAndOccupancy) {
    const std::vector<Room> rooms = listRooms(db);
    ASSERT_EQ(rooms.size(), 4u);
    Text shown;
    for (const Room& room : rooms) {
        shown += std::to_string(room.id) + ":" + room.address + ":" + (room.normal() ? "N" : "A") +
                 (room.let() ? "L" : "I") + " ";
    }
    EXPECT_TEXT_EQ(shown, "1:101:NI 2:102:NL 3:103:AI 4:104:AL ");

    EXPECT_TRUE(roomIsLet(db, 2));
    EXPECT_FALSE(roomIsLet(db, 1));
    EXPECT_FALSE(roomIsLet(db, 99)) << "a room without a row is not let";
    ASSERT_TRUE(findRoom(db, 4));
    EXPECT_EQ(findRoom(db, 4)->condition, -1);
    EXPECT_FALSE(findRoom(db, 99));
    EXPECT_TEXT_EQ(roomAddress(db, 3), "103");
    EXPECT_TEXT_EQ(roomAddress(db, 99), "");

    execute("DROP TABLE `b_fangjian`");
    EXPECT_TRUE(listRooms(db).empty()) << "a list that cannot be read is empty";
}

TEST_F(DeskReads, TheTotalsCountRoomsBySettledAndUnsettledMoney) {
    execute(
        "INSERT INTO `b_zulin` (`danhao`, `zulinzhuangtai`, `jiesuanjine`) VALUES "
        "('S-1', 1, 100.5), ('S-2', 1, 200), ('O-1', 0, 7)");
    const DeskTotals totals = readDeskTotals(db);
    EXPECT_EQ(totals.normalRooms, 2);
    EXPECT_EQ(totals.otherRooms, 2) << "abandoned, whatever the condition reads";
    EXPECT_DOUBLE_EQ(totals.settled, 300.5);
    EXPECT_DOUBLE_EQ(totals.unsettled, 7) << "a lease not settled carries what it carries";

    execute("DROP TABLE `b_zulin`; DROP TABLE `b_fangjian`");
    const DeskTotals failed = readDeskTotals(db);
    EXPECT_EQ(failed.normalRooms, -1);
    EXPECT_EQ(failed.otherRooms, -1);
    EXPECT_EQ(failed.settled, -1);
    EXPECT_EQ(failed.unsettled, -1);
}

TEST_F(DeskReads, ALetRoomLeadsToItsLeaseAndAnIdleOneToNone) {
    const LeaseOfRoom let = leaseOfRoom(db, 2);
    EXPECT_FALSE(let.failed);
    ASSERT_TRUE(let.lease);
    const LeaseRow& lease = *let.lease;
    EXPECT_EQ(lease.id, 1);
    EXPECT_TEXT_EQ(lease.orderNumber + "|" + lease.address + "|" + lease.guest + "|" +
                       lease.contact + "|" + lease.checkIn + "|" + lease.remark,
                   "A-1|102号|李四|139|2026-12-09 14:00:00|靠窗");
    EXPECT_EQ(lease.deposit, 200);
    EXPECT_EQ(lease.rent, 128.8);
    EXPECT_FALSE(lease.settled());

    const LeaseOfRoom idle = leaseOfRoom(db, 1);
    EXPECT_FALSE(idle.failed);
    EXPECT_FALSE(idle.lease);
    EXPECT_FALSE(leaseOfRoom(db, 4).lease) << "an order number no lease carries";

    execute("DROP TABLE `b_zulin`");
    const LeaseOfRoom unread = leaseOfRoom(db, 2);
    EXPECT_TRUE(unread.failed);
    EXPECT_FALSE(unread.lease);
}

}  // namespace
}  // namespace tamrivo
