#include "records/bookings.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "records/bookings_table.h"
#include "records/record_problems.h"
#include "records/records_copy.h"
#include "records/records_file.h"
#include "records/records_schema.h"
#include "tests/records/records_test_support.h"

namespace tamrivo {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using testing::recordsOf;

// The clock the bookings are made by: 2026-01-01, before every day these tests book.
constexpr std::int64_t kBookingDay = 46023;

class Bookings : public testing::RecordsTest {
protected:
    // Rooms 1 and 2 normal, room 3 abandoned.
    void SetUp() override {
        makeDatabase();
        execute(
            "INSERT INTO `b_fangjian` (`dizhi`, `zhuangtai`) VALUES ('101', 1), ('102', 1), "
            "('103', 0)");
    }

    static Booking booking(int room, const Text& arrival, const Text& departure,
                           const Text& guest = "Li") {
        Booking made;
        made.roomId = room;
        made.arrival = arrival;
        made.departure = departure;
        made.guest = guest;
        return made;
    }

    int book(int room, const Text& arrival, const Text& departure, const Text& guest = "Li") {
        const BookingOutcome outcome =
            saveBooking(db, booking(room, arrival, departure, guest), kBookingDay);
        EXPECT_EQ(outcome.result, BookingResult::Saved) << testing::readableGbk(db.errorMessage());
        return outcome.id;
    }

    BookingResult result(const Booking& tried) {
        return saveBooking(db, tried, kBookingDay).result;
    }

    // The rows of sqlite_master other than the bookings' own.
    std::string olderSchema() {
        TextTable rows;
        int rowCount = 0;
        int columnCount = 0;
        Text error;
        db.getTable(
            "SELECT type, name, sql FROM sqlite_master WHERE tbl_name<>'b_yuding' ORDER "
            "BY name",
            &rows, rowCount, columnCount, error);
        std::string dump = error;
        for (const auto& row : rows) {
            for (const Text& cell : row) {
                dump += cell + "|";
            }
        }
        return dump;
    }
};

TEST_F(Bookings, RecordsFromBeforeGainTheTableAndNothingElseChanges) {
    execute("DROP TABLE `b_yuding`");
    execute("INSERT INTO `b_zulin` (`danhao`, `xingming`) VALUES ('20260101000000-00001000', 'A')");
    const std::string schemaBefore = olderSchema();
    db.close();
    const std::string rowsBefore = recordsOf(databaseFile());

    ASSERT_EQ(openRecords(db, databaseFile()), "");
    ASSERT_TRUE(addBookingsTable(db));
    EXPECT_TRUE(db.tableExists("b_yuding"));
    EXPECT_TRUE(addBookingsTable(db)) << "a second opening finds it there";
    EXPECT_EQ(olderSchema(), schemaBefore);
    // The earlier release reads the file as it always did.
    EXPECT_THAT(schemaProblems(db), ::testing::IsEmpty());
    db.close();
    EXPECT_EQ(recordsOf(databaseFile()), rowsBefore);
}

TEST_F(Bookings, ABookingIsMadeEditedAndCancelledAndTheCancelledOneStays) {
    Booking made = booking(1, "2026-12-10", "2026-12-12", "张三");
    made.contact = "13800000000";
    made.deposit = 50.5;
    made.remark = "late";
    const BookingOutcome saved = saveBooking(db, made, kBookingDay);
    ASSERT_EQ(saved.result, BookingResult::Saved);

    Booking edited = *findBooking(db, saved.id);
    EXPECT_EQ(edited.guest, "张三");
    EXPECT_EQ(edited.contact, "13800000000");
    EXPECT_EQ(edited.deposit, 50.5);
    EXPECT_EQ(edited.remark, "late");
    EXPECT_TRUE(edited.booked());
    EXPECT_EQ(edited.created.size(), 19u);

    edited.departure = "2026-12-14";
    edited.roomId = 2;
    EXPECT_EQ(result(edited), BookingResult::Saved);
    EXPECT_EQ(findBooking(db, saved.id)->departure, "2026-12-14");
    EXPECT_EQ(findBooking(db, saved.id)->roomId, 2);

    EXPECT_EQ(cancelBooking(db, saved.id).result, BookingResult::Saved);
    EXPECT_EQ(findBooking(db, saved.id)->state, schema::kBookingCancelled);
    EXPECT_EQ(cancelBooking(db, saved.id).result, BookingResult::NotBooked);
    EXPECT_EQ(result(edited), BookingResult::NotBooked) << "a cancelled booking stays cancelled";
    EXPECT_EQ(cancelBooking(db, 999).result, BookingResult::NotBooked);
    // Its days are free again.
    book(2, "2026-12-10", "2026-12-14", "Wang");
}

TEST_F(Bookings, AnOverlapIsRefusedNamingTheBookingInTheWay) {
    const int first = book(1, "2026-12-10", "2026-12-12", "张三");
    for (const auto& [arrival, departure] : {std::pair{"2026-12-11", "2026-12-13"},
                                             {"2026-12-09", "2026-12-11"},
                                             {"2026-12-08", "2026-12-20"},
                                             {"2026-12-10", "2026-12-11"}}) {
        const BookingOutcome refused = saveBooking(db, booking(1, arrival, departure), kBookingDay);
        EXPECT_EQ(refused.result, BookingResult::Overlaps) << arrival << " to " << departure;
        EXPECT_EQ(refused.other.id, first);
        EXPECT_EQ(refused.other.guest, "张三");
    }
    // One leaves on the morning the next arrives; another room is another matter.
    book(1, "2026-12-12", "2026-12-13");
    book(1, "2026-12-01", "2026-12-10");
    book(2, "2026-12-10", "2026-12-12");
    // A booking moved within its own days does not clash with itself.
    Booking moved = *findBooking(db, first);
    moved.departure = "2026-12-11";
    EXPECT_EQ(result(moved), BookingResult::Saved);
    EXPECT_EQ(db.queryInt("SELECT count(*) FROM `b_yuding`"), 4);
}

TEST_F(Bookings, DaysThatDoNotExistOrRunBackwardsAndRoomsThatCannotBeBookedAreRefused) {
    for (const auto& [arrival, departure] : {std::pair{"2026-02-29", "2026-03-02"},
                                             {"2026-1-5", "2026-01-07"},
                                             {"2026-01-07", "2026-01-07"},
                                             {"2026-01-08", "2026-01-07"},
                                             {"2026-01-05' OR '1'='1", "2026-01-07"},
                                             {"", ""}}) {
        EXPECT_EQ(result(booking(1, arrival, departure)), BookingResult::BadDays) << arrival;
    }
    EXPECT_EQ(result(booking(3, "2026-01-05", "2026-01-07")), BookingResult::NoRoom);
    EXPECT_EQ(result(booking(42, "2026-01-05", "2026-01-07")), BookingResult::NoRoom);
    EXPECT_EQ(db.queryInt("SELECT count(*) FROM `b_yuding`"), 0);
    // Hostile texts are kept as typed.
    const Text hostile = "O'Brien'); DROP TABLE `b_zulin`; --";
    const int id = book(1, "2028-02-28", "2028-03-01", hostile);
    EXPECT_EQ(findBooking(db, id)->guest, hostile);
    EXPECT_TRUE(db.tableExists("b_zulin"));
}

TEST_F(Bookings, ABookingWaitsForAnotherConnectionsBookingAndThenSeesIt) {
    db.close();
    Database first;
    Database second;
    ASSERT_EQ(openRecords(first, databaseFile()), "");
    ASSERT_EQ(openRecords(second, databaseFile()), "");
    // Another program is in the middle of writing a booking for the same days.
    ASSERT_TRUE(second.execute("BEGIN IMMEDIATE"));
    ASSERT_TRUE(
        second.run("INSERT INTO `b_yuding` (`fangjianid`, `xingming`, `daodariqi`, "
                   "`likairiqi`) VALUES (1, 'other', '2027-01-10', '2027-01-12')"));
    BookingResult racing = BookingResult::Saved;
    std::thread booking([&] {
        racing =
            saveBooking(first, this->booking(1, "2027-01-11", "2027-01-13"), kBookingDay).result;
    });
    // Long enough for the look to have run already, had it not waited for the writer.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    ASSERT_TRUE(second.commit());
    booking.join();
    EXPECT_EQ(racing, BookingResult::Overlaps);
    EXPECT_EQ(first.queryInt("SELECT count(*) FROM `b_yuding`"), 1);
    first.close();
    second.close();
}

TEST_F(Bookings, ArrivalTakesOnlyABookedBookingAndRollsBackWithItsTransaction) {
    const int id = book(1, "2026-12-10", "2026-12-12");
    ASSERT_TRUE(db.begin());
    EXPECT_TRUE(markBookingArrived(db, id, "20261210120000-00001000"));
    ASSERT_TRUE(db.rollback());
    EXPECT_TRUE(findBooking(db, id)->booked()) << "a failed check-in leaves it booked";

    ASSERT_TRUE(db.begin());
    EXPECT_TRUE(markBookingArrived(db, id, "20261210120000-00001000"));
    ASSERT_TRUE(db.commit());
    const Booking arrived = *findBooking(db, id);
    EXPECT_EQ(arrived.state, schema::kBookingArrived);
    EXPECT_EQ(arrived.orderNumber, "20261210120000-00001000");
    EXPECT_FALSE(markBookingArrived(db, id, "again")) << "no booking arrives twice";
    EXPECT_EQ(cancelBooking(db, id).result, BookingResult::NotBooked);
}

TEST_F(Bookings, TheGridReadsTheBookingsThatTouchItsDaysAndTheDaysHolder) {
    book(1, "2026-11-20", "2026-12-01");  // leaves on the first day shown
    const int across = book(2, "2026-11-28", "2026-12-03");
    EXPECT_EQ(result(booking(2, "2026-11-28", "2026-12-03")), BookingResult::Overlaps);
    cancelBooking(db, across);
    const int crossing = book(2, "2026-11-30", "2026-12-05");
    const int inside = book(1, "2026-12-10", "2026-12-11");
    const int after = book(2, "2026-12-31", "2027-01-05");
    book(2, "2027-01-05", "2027-01-06");  // after the last day
    const auto shown = bookingsBetween(db, "2026-12-01", "2026-12-31");
    ASSERT_TRUE(shown);
    std::vector<int> ids;
    for (const Booking& found : *shown) {
        ids.push_back(found.id);
    }
    EXPECT_THAT(ids, ElementsAre(inside, across, crossing, after));

    EXPECT_EQ(bookingOnDay(db, 2, "2026-12-04")->id, crossing);
    EXPECT_FALSE(bookingOnDay(db, 2, "2026-12-05")) << "its departure day is free";
    EXPECT_FALSE(bookingOnDay(db, 2, "2026-11-29")) << "a cancelled booking holds nothing";
}

TEST_F(Bookings, CheckNamesOverlapsBookingsForMissingRoomsAndBadStates) {
    book(1, "2026-12-10", "2026-12-12");
    EXPECT_THAT(recordProblems(db), ::testing::IsEmpty());
    // Written past the program, as another tool or a damaged copy might.
    execute(
        "INSERT INTO `b_yuding` (`fangjianid`, `daodariqi`, `likairiqi`, `zhuangtai`) VALUES "
        "(1, '2026-12-11', '2026-12-15', 0), (1, '2026-12-11', '2026-12-15', 2), "
        "(9, '2026-12-01', '2026-12-02', 0), (2, '2026-12-05', '2026-12-04', 0), "
        "(2, '2026-12-20', '2026-12-22', 7)");
    EXPECT_THAT(
        recordProblems(db),
        ElementsAre("booking 1 of room 1 (2026-12-10 to 2026-12-12) overlaps booking 2 "
                    "(2026-12-11 to 2026-12-15)",
                    "booking 4 of room 9 (2026-12-01 to 2026-12-02) is for a missing room",
                    HasSubstr("booking 5 of room 2 (2026-12-05 to 2026-12-04) has state 0"),
                    HasSubstr("booking 6 of room 2 (2026-12-20 to 2026-12-22) has state 7")));
    execute("DROP TABLE `b_yuding`");
    EXPECT_THAT(recordProblems(db), ::testing::IsEmpty()) << "records from before are sound";
}

TEST_F(Bookings, ABackupCarriesTheBookings) {
    book(1, "2026-12-10", "2026-12-12", "张三");
    const std::filesystem::path copy = folder.path() / "copy.db";
    ASSERT_EQ(copyRecords(db, copy), "");
    Database copied;
    ASSERT_EQ(openRecords(copied, copy), "");
    EXPECT_EQ(copied.queryText("SELECT `xingming` FROM `b_yuding`"), "张三");
    copied.close();
}

}  // namespace
}  // namespace tamrivo
