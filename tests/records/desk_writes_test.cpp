// The desk's writes without a window: check-in, lease edit, settlement, rooms, and the nights
// a stay holds against bookings.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "base/text_to_value.h"
#include "records/bookings.h"
#include "records/lease_writes.h"
#include "records/money_text.h"
#include "records/planned_departures.h"
#include "records/record_problems.h"
#include "records/records_copy.h"
#include "records/records_file.h"
#include "records/room_writes.h"
#include "records/settlement.h"
#include "tests/records/records_test_support.h"

namespace tamrivo {
namespace {

using testing::recordsOf;

constexpr std::int64_t k20261209 = 46365;

TEST(MoneyText, TypedDecimalsBecomeFenRoundedHalfAwayFromZeroFromTheDigits) {
    EXPECT_EQ(fenFromText("385.5"), 38550);
    EXPECT_EQ(fenFromText("385.505"), 38551);
    EXPECT_EQ(fenFromText("88.4"), 8840);
    EXPECT_EQ(fenFromText("1.005"), 101) << "binary 1.005 lies below the half";
    EXPECT_EQ(fenFromText("0.125"), 13);
    EXPECT_EQ(fenFromText("-2.505"), -251);
    EXPECT_EQ(fenFromText(" 0 "), 0);
    EXPECT_EQ(fenFromText(".5"), 50);
    EXPECT_EQ(fenFromText("7."), 700);
    EXPECT_EQ(fenFromText("+3.999"), 400);
    EXPECT_EQ(fenFromText("1000000000"), 100000000000);
    for (const char* unreadable :
         {"", "   ", "abc", "12abc", "1.2.3", "-", ".", "1e3", "1,5", "--1", "10000000000"}) {
        EXPECT_FALSE(fenFromText(unreadable)) << unreadable;
    }
    EXPECT_EQ(yuanOfFen(38551), 385.51);
}

class Desk : public testing::RecordsTest {
protected:
    // Room 1 idle, room 2 idle, room 3 abandoned.
    void SetUp() override {
        makeDatabase();
        execute(
            "INSERT INTO `b_fangjian` (`dizhi`, `zhuangtai`) VALUES ('101', 1), ('102', 1), "
            "('103', 0)");
    }

    static LeaseForm form(const Text& orderNumber, const Text& checkIn = "2026-12-09 14:00:00",
                          const Text& departure = "2026-12-11") {
        LeaseForm made;
        made.orderNumber = orderNumber;
        made.address = "101";
        made.guest = "李四";
        made.contact = "13800000000";
        made.deposit = "200";
        made.rent = "128.8";
        made.checkIn = toDateTime(checkIn);
        made.plannedDeparture = departure;
        made.remark = "备注";
        return made;
    }

    int letRoom(int room, const LeaseForm& with, int bookingId = 0) {
        const LeaseOutcome outcome = checkIn(db, room, bookingId, with);
        EXPECT_EQ(outcome.result, LeaseResult::Saved) << testing::readableGbk(outcome.error);
        return outcome.leaseId;
    }

    Text text(const Text& sql) { return db.queryText(sql); }
    int number(const Text& sql) { return db.queryInt(sql); }

    BookingOutcome bookRoom(int room, const Text& arrival, const Text& departure,
                            std::int64_t today = k20261209) {
        Booking booking;
        booking.roomId = room;
        booking.guest = "王五";
        booking.arrival = arrival;
        booking.departure = departure;
        return saveBooking(db, booking, today);
    }
};

TEST_F(Desk, ACheckInWritesTheLeaseTheRoomAndThePlannedDepartureTogether) {
    const int lease = letRoom(1, form("A-1"));
    EXPECT_EQ(text("SELECT `danhao` || '/' || `chuzuzhuangtai` FROM `b_fangjian` WHERE `id`=1"),
              "A-1/1");
    EXPECT_EQ(text("SELECT `xingming` || '/' || `dingjin` || '/' || `zujin` || '/' || "
                   "`ruzhuriqi` || '/' || `zulinzhuangtai` FROM `b_zulin`"),
              "李四/200.0/128.8/2026-12-09 14:00:00/0");
    EXPECT_EQ(storedPlannedDeparture(db, lease), "2026-12-11");

    EXPECT_EQ(checkIn(db, 1, 0, form("A-2")).result, LeaseResult::RoomChanged) << "let already";
    EXPECT_EQ(checkIn(db, 3, 0, form("A-2")).result, LeaseResult::RoomChanged) << "abandoned";
    EXPECT_EQ(checkIn(db, 2, 0, form("A-1")).result, LeaseResult::OrderNumberTaken);
    EXPECT_EQ(number("SELECT count(*) FROM `b_zulin`"), 1);
    EXPECT_EQ(number("SELECT count(*) FROM `b_yujituifang`"), 1);
}

TEST_F(Desk, AFormThatRecordsNobodyOrNoMoneyIsRefusedAndNothingIsWritten) {
    db.close();
    const std::string before = recordsOf(databaseFile());
    ASSERT_EQ(openRecords(db, databaseFile()), "");
    const auto refused = [&](auto change) {
        LeaseForm tried = form("A-1");
        change(tried);
        return checkIn(db, 1, 0, tried).result;
    };
    EXPECT_EQ(refused([](LeaseForm& f) { f.guest = ""; }), LeaseResult::BlankGuest);
    EXPECT_EQ(refused([](LeaseForm& f) { f.guest = " \xA1\xA1 "; }), LeaseResult::BlankGuest)
        << "blanks, full-width ones too, are nobody";
    EXPECT_EQ(refused([](LeaseForm& f) { f.deposit = ""; }), LeaseResult::BadDeposit);
    EXPECT_EQ(refused([](LeaseForm& f) { f.deposit = "abc"; }), LeaseResult::BadDeposit);
    EXPECT_EQ(refused([](LeaseForm& f) { f.rent = ""; }), LeaseResult::BadRent);
    EXPECT_EQ(refused([](LeaseForm& f) { f.rent = "12x"; }), LeaseResult::BadRent);
    EXPECT_EQ(refused([](LeaseForm& f) { f.plannedDeparture = "2026-12-09"; }),
              LeaseResult::BadDeparture)
        << "leaving on the day of arrival is no night";
    EXPECT_EQ(refused([](LeaseForm& f) { f.plannedDeparture = "2026-02-30"; }),
              LeaseResult::BadDeparture);
    db.close();
    EXPECT_EQ(recordsOf(databaseFile()), before);
    ASSERT_EQ(openRecords(db, databaseFile()), "");

    LeaseForm free = form("A-1");
    free.deposit = "0";
    free.rent = "0";
    letRoom(1, free);
    EXPECT_EQ(text("SELECT `dingjin` || '/' || `zujin` FROM `b_zulin`"), "0.0/0.0")
        << "0 is a number";
}

TEST_F(Desk, AnEditRewritesTheLeaseByIdAndMovesAChangedNumberToTheRoom) {
    const int lease = letRoom(1, form("A-1"));
    LeaseForm edited = form("A-9", "2026-12-08 10:00:00", "2026-12-15");
    edited.guest = "赵六";
    EXPECT_EQ(editLease(db, 1, lease, "A-1", edited).result, LeaseResult::Saved);
    EXPECT_EQ(text("SELECT `danhao` || '/' || `xingming` || '/' || `ruzhuriqi` FROM `b_zulin`"),
              "A-9/赵六/2026-12-08 10:00:00");
    EXPECT_EQ(text("SELECT `danhao` FROM `b_fangjian` WHERE `id`=1"), "A-9");
    EXPECT_EQ(storedPlannedDeparture(db, lease), "2026-12-15");

    edited.guest = "";
    EXPECT_EQ(editLease(db, 1, lease, "A-9", edited).result, LeaseResult::BlankGuest);
    EXPECT_EQ(text("SELECT `xingming` FROM `b_zulin`"), "赵六");
    edited.guest = "赵六";
    EXPECT_EQ(editLease(db, 2, lease, "A-9", edited).result, LeaseResult::RoomChanged);
    letRoom(2, form("B-1"));
    edited.orderNumber = "B-1";
    EXPECT_EQ(editLease(db, 1, lease, "A-9", edited).result, LeaseResult::OrderNumberTaken);
    EXPECT_EQ(text("SELECT `danhao` FROM `b_fangjian` WHERE `id`=1"), "A-9");
}

TEST_F(Desk, ASettlementKeepsTheFenTypedAndFreesTheRoomOnce) {
    const int lease = letRoom(1, form("A-1"));
    const Settlement settlement{toDateTime("2026-12-11 11:00:00"), *fenFromText("385.505"), "ok"};
    EXPECT_EQ(settleLease(db, 1, lease, settlement).result, SettlementResult::Settled);
    EXPECT_EQ(text("SELECT `jiesuanjine` || '/' || `zulinzhuangtai` || '/' || `jiesuanriqi` || "
                   "'/' || `jiesuanbeizhu` FROM `b_zulin`"),
              "385.51/1/2026-12-11 11:00:00/ok");
    EXPECT_EQ(text("SELECT `chuzuzhuangtai` || '/' || `danhao` FROM `b_fangjian` WHERE `id`=1"),
              "0/");
    EXPECT_EQ(settleLease(db, 1, lease, settlement).result, SettlementResult::NotOpen)
        << "nothing is settled twice";
}

TEST_F(Desk, AFailedSettlementChangesNeitherLeaseNorRoom) {
    const int lease = letRoom(1, form("A-1"));
    execute(
        "CREATE TRIGGER refuse BEFORE UPDATE ON b_fangjian BEGIN SELECT RAISE(ABORT, 'locked'); "
        "END");
    const SettlementOutcome outcome =
        settleLease(db, 1, lease, {toDateTime("2026-12-11 11:00:00"), 100, {}});
    EXPECT_EQ(outcome.result, SettlementResult::Failed);
    EXPECT_EQ(outcome.error, "locked");
    EXPECT_EQ(number("SELECT `zulinzhuangtai` FROM `b_zulin`"), 0);
    EXPECT_EQ(number("SELECT `chuzuzhuangtai` FROM `b_fangjian` WHERE `id`=1"), 1);
}

TEST_F(Desk, RoomsAreEditedAndDeletedOnlyWhileNotLet) {
    EXPECT_EQ(addRoom(db, "104", 1).result, RoomResult::Saved);
    EXPECT_EQ(editRoom(db, 4, "104号", 0).result, RoomResult::Saved);
    EXPECT_EQ(text("SELECT `dizhi` || '/' || `zhuangtai` FROM `b_fangjian` WHERE `id`=4"),
              "104号/0");
    letRoom(1, form("A-1"));
    EXPECT_EQ(editRoom(db, 1, "x", 1).result, RoomResult::Let);
    EXPECT_EQ(deleteRoom(db, 1).result, RoomResult::Let);
    EXPECT_EQ(text("SELECT `dizhi` FROM `b_fangjian` WHERE `id`=1"), "101");
    EXPECT_EQ(deleteRoom(db, 4).result, RoomResult::Saved);
    EXPECT_EQ(number("SELECT count(*) FROM `b_fangjian`"), 3);
}

TEST_F(Desk, AStayHoldsItsNightsUpToThePlannedDepartureAgainstBookings) {
    letRoom(1, form("A-1", "2026-12-09 14:00:00", "2026-12-12"));
    const BookingOutcome refused = bookRoom(1, "2026-12-11", "2026-12-13");
    EXPECT_EQ(refused.result, BookingResult::HeldByStay);
    EXPECT_EQ(refused.stay.guest, "李四");
    EXPECT_EQ(refused.stay.room, "101");
    EXPECT_EQ(refused.stay.firstDay, k20261209);
    EXPECT_EQ(refused.stay.plannedDeparture, k20261209 + 3);
    EXPECT_EQ(bookRoom(1, "2026-12-12", "2026-12-14").result, BookingResult::Saved)
        << "the room is free from the planned departure on";
    EXPECT_EQ(bookRoom(2, "2026-12-10", "2026-12-11").result, BookingResult::Saved);
}

TEST_F(Desk, AnOverstayingGuestHoldsTonightAcrossMidnightAndMonthEnd) {
    letRoom(1, form("A-1", "2026-11-28 20:00:00", "2026-11-30"));
    // On the planned day the guest is due out: tonight is free to book.
    const std::int64_t november30 = k20261209 - 9;
    EXPECT_EQ(bookRoom(1, "2026-11-30", "2026-12-01", november30).result, BookingResult::Saved);
    ASSERT_TRUE(cancelBooking(db, 1).result == BookingResult::Saved);
    // After midnight, on 1 December, the guest is still there: tonight is theirs.
    EXPECT_EQ(bookRoom(1, "2026-12-01", "2026-12-02", november30 + 1).result,
              BookingResult::HeldByStay);
    EXPECT_EQ(bookRoom(1, "2026-12-02", "2026-12-03", november30 + 1).result, BookingResult::Saved);
}

TEST_F(Desk, AnArrivalsRemainingBookedNightsHoldUntilTheLeaseIsSettled) {
    const BookingOutcome booked = bookRoom(1, "2026-12-09", "2026-12-14");
    ASSERT_EQ(booked.result, BookingResult::Saved);
    // The guest arrives, and the planned departure is later set earlier than the booking.
    const int lease = letRoom(1, form("A-1", "2026-12-09 14:00:00", "2026-12-10"), booked.id);
    EXPECT_EQ(number("SELECT `zhuangtai` FROM `b_yuding`"), schema::kBookingArrived);
    EXPECT_EQ(bookRoom(1, "2026-12-12", "2026-12-13").result, BookingResult::HeldByStay);
    ASSERT_EQ(settleLease(db, 1, lease, {toDateTime("2026-12-10 10:00:00"), 100, {}}).result,
              SettlementResult::Settled);
    EXPECT_EQ(bookRoom(1, "2026-12-12", "2026-12-13").result, BookingResult::Saved);
}

TEST_F(Desk, ABookingOfNobodyOrInThePastIsRefused) {
    Booking nobody;
    nobody.roomId = 2;
    nobody.guest = "  ";
    nobody.arrival = "2026-12-10";
    nobody.departure = "2026-12-11";
    EXPECT_EQ(saveBooking(db, nobody, k20261209).result, BookingResult::BlankGuest);
    EXPECT_EQ(bookRoom(2, "2026-12-08", "2026-12-10").result, BookingResult::PastArrival);
    const BookingOutcome today = bookRoom(2, "2026-12-09", "2026-12-10");
    EXPECT_EQ(today.result, BookingResult::Saved);
    // A day later the stored arrival lies in the past; the booking may still be changed.
    Booking edited = *findBooking(db, today.id);
    edited.departure = "2026-12-12";
    EXPECT_EQ(saveBooking(db, edited, k20261209 + 1).result, BookingResult::Saved);
    edited.arrival = "2026-12-08";
    EXPECT_EQ(saveBooking(db, edited, k20261209 + 1).result, BookingResult::PastArrival);
    EXPECT_EQ(number("SELECT count(*) FROM `b_yuding`"), 1);
}

TEST_F(Desk, ABookingWaitsForAnotherConnectionsCheckInAndThenSeesTheStay) {
    db.close();
    Database desk;
    Database calendar;
    ASSERT_EQ(openRecords(desk, databaseFile()), "");
    ASSERT_EQ(openRecords(calendar, databaseFile()), "");
    // The other window is in the middle of letting the room.
    ASSERT_TRUE(desk.execute("BEGIN IMMEDIATE"));
    ASSERT_TRUE(
        desk.run("INSERT INTO `b_zulin` (`id`, `danhao`, `xingming`, `ruzhuriqi`, "
                 "`zulinzhuangtai`) VALUES (7, 'A-1', '李四', '2026-12-09 14:00:00', 0)"));
    ASSERT_TRUE(
        desk.run("UPDATE `b_fangjian` SET `chuzuzhuangtai`=1, `danhao`='A-1' WHERE `id`=1"));
    ASSERT_TRUE(writePlannedDeparture(desk, 7, "2026-12-12"));
    BookingResult racing = BookingResult::Saved;
    std::thread booking([&] {
        Booking tried;
        tried.roomId = 1;
        tried.guest = "王五";
        tried.arrival = "2026-12-11";
        tried.departure = "2026-12-13";
        racing = saveBooking(calendar, tried, k20261209).result;
    });
    // Long enough for the look to have run already, had it not waited for the writer.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    ASSERT_TRUE(desk.commit());
    booking.join();
    EXPECT_EQ(racing, BookingResult::HeldByStay);
    EXPECT_EQ(calendar.queryInt("SELECT count(*) FROM `b_yuding`"), 0);
    desk.close();
    calendar.close();
}

TEST_F(Desk, RecordsFromBeforeGainThePlannedDeparturesAndTheirLeasesLeaveTheDayAfter) {
    // A lease written by the previous release, in a file without the table.
    execute("DROP TABLE `b_yujituifang`");
    execute(
        "INSERT INTO `b_zulin` (`danhao`, `xingming`, `ruzhuriqi`, `zulinzhuangtai`, "
        "`jiesuanjine`) VALUES ('A-1', '张三', '2026-12-07 23:30:00', 0, 0)");
    execute("UPDATE `b_fangjian` SET `chuzuzhuangtai`=1, `danhao`='A-1' WHERE `id`=1");
    db.close();
    const std::string before = recordsOf(databaseFile());
    ASSERT_EQ(openRecords(db, databaseFile()), "");
    ASSERT_TRUE(addPlannedDeparturesTable(db));
    EXPECT_TRUE(addPlannedDeparturesTable(db)) << "a second opening finds it there";
    db.close();
    EXPECT_EQ(recordsOf(databaseFile()), before);
    ASSERT_EQ(openRecords(db, databaseFile()), "");

    const auto stays = openStays(db, k20261209);
    ASSERT_TRUE(stays);
    ASSERT_EQ(stays->size(), 1u);
    EXPECT_EQ(stays->front().plannedDeparture, k20261209 - 1);
    EXPECT_EQ(stays->front().heldUntil, k20261209 + 1) << "overstaying, so tonight is held";
    EXPECT_EQ(settleLease(db, 1, 1, {toDateTime("2026-12-09 10:00:00"), 38550, {}}).result,
              SettlementResult::Settled);
    EXPECT_EQ(text("SELECT `jiesuanjine` FROM `b_zulin`"), "385.5");
}

TEST_F(Desk, CheckNamesPlannedDeparturesThatAreNoDayOrOfNoLeaseAndABackupCarriesThem) {
    const int lease = letRoom(1, form("A-1"));
    EXPECT_THAT(recordProblems(db), ::testing::IsEmpty());
    execute(
        "INSERT INTO `b_yujituifang` (`zulinid`, `tuifangriqi`) VALUES (99, '2026-12-10'), "
        "(" +
        std::to_string(lease) + "0, 'soon')");
    execute("INSERT INTO `b_zulin` (`id`, `danhao`, `zulinzhuangtai`) VALUES (" +
            std::to_string(lease) + "0, 'x', 1)");
    EXPECT_THAT(recordProblems(db),
                ::testing::ElementsAre(
                    "planned departure 'soon' of lease " + std::to_string(lease) + "0 is no day",
                    "planned departure '2026-12-10' of lease 99 is for a "
                    "missing lease"));
    const std::filesystem::path copy = folder.path() / "copy.db";
    ASSERT_EQ(copyRecords(db, copy), "");
    Database copied;
    ASSERT_EQ(openRecords(copied, copy), "");
    EXPECT_EQ(storedPlannedDeparture(copied, lease), "2026-12-11");
    copied.close();
}

}  // namespace
}  // namespace tamrivo
