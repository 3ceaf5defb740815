#include "records/room_stays.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/records/records_test_support.h"

namespace tamrivo {
namespace {

using ::testing::ElementsAre;

class RoomStays : public testing::RecordsTest {
protected:
    void SetUp() override { makeDatabase(); }

    void lease(const Text& danhao, const Text& checkIn, int state, const Text& checkOut) {
        execute(
            "INSERT INTO `b_zulin` (`danhao`, `fangzhi`, `xingming`, `ruzhuriqi`, "
            "`zulinzhuangtai`, `jiesuanriqi`) VALUES ('" +
            danhao + "', '101', 'g', '" + checkIn + "', " + std::to_string(state) + ", '" +
            checkOut + "')");
    }

    std::vector<Text> found(const Text& first, const Text& last) {
        std::vector<Text> numbers;
        const auto stays = leaseStaysBetween(db, first, last);
        EXPECT_TRUE(stays);
        for (const LeaseStay& stay : stays.value_or(std::vector<LeaseStay>{})) {
            numbers.push_back(stay.orderNumber + (stay.settled ? "/" + stay.checkOut : "/open"));
        }
        return numbers;
    }
};

TEST_F(RoomStays, StaysUnderWayOnAnyDayOfTheRangeAreFoundAndNoOthers) {
    lease("before", "2026-11-01 10:00:00", 1, "2026-11-30 23:59:59");
    lease("into", "2026-11-20 10:00:00", 1, "2026-12-01 08:00:00");
    lease("open", "2026-10-01 10:00:00", 0, "");
    lease("lastDay", "2026-12-31 23:59:59", 1, "2027-01-02 10:00:00");
    lease("after", "2027-01-01 00:00:00", 0, "");
    lease("nullState", "2026-12-05 10:00:00", 0, "");
    execute("UPDATE `b_zulin` SET `zulinzhuangtai`=NULL WHERE `danhao`='nullState'");
    EXPECT_THAT(
        found("2026-12-01", "2026-12-31"),
        ElementsAre("into/2026-12-01", "open/open", "lastDay/2027-01-02", "nullState/open"));
}

TEST_F(RoomStays, OnlyNormalRoomsAreListedWithTheOrderNumberOfTheirOpenLease) {
    execute(
        "INSERT INTO `b_fangjian` (`dizhi`, `zhuangtai`, `chuzuzhuangtai`, `danhao`) VALUES "
        "('101', 1, 1, 'A-1'), ('102', 0, 0, ''), ('103', 1, 0, 'stale'), ('104', 1, NULL, "
        "NULL)");
    std::vector<Text> rooms;
    const auto listed = calendarRooms(db);
    ASSERT_TRUE(listed);
    for (const CalendarRoom& room : *listed) {
        rooms.push_back(room.address + ":" + room.orderNumber);
    }
    EXPECT_THAT(rooms, ElementsAre("101:A-1", "103:", "104:"));
}

}  // namespace
}  // namespace tamrivo
