#include "records/bookings.h"

#include <string>

#include "base/date_format.h"
#include "base/date_time.h"
#include "base/text_ops.h"
#include "records/statement_scope.h"
#include "records/stored_dates.h"

namespace tamrivo {
namespace {

constexpr char kColumns[] =
    "SELECT `id`, `fangjianid`, `xingming`, `lianxifangshi`, `daodariqi`, `likairiqi`, "
    "`dingjin`, `beizhu`, `zhuangtai`, `danhao`, `chuangjianshijian` FROM `b_yuding` ";

Booking readBooking(StatementScope& row) {
    Booking booking;
    booking.id = row.columnInt(0);
    booking.roomId = row.columnInt(1);
    booking.guest = row.columnText(2);
    booking.contact = row.columnText(3);
    booking.arrival = row.columnText(4);
    booking.departure = row.columnText(5);
    booking.deposit = row.columnDouble(6);
    booking.remark = row.columnText(7);
    booking.state = row.columnInt(8);
    booking.orderNumber = row.columnText(9);
    booking.created = row.columnText(10);
    return booking;
}

bool hasSoundDays(const Booking& booking) {
    const auto arrival = typedDay(booking.arrival);
    const auto departure = typedDay(booking.departure);
    return arrival && departure && *arrival < *departure;
}

bool roomTakesBookings(Database& database, int roomId) {
    return database.queryInt("SELECT count(*) FROM `b_fangjian` WHERE `zhuangtai`=1 AND `id`=" +
                             std::to_string(roomId)) == 1;
}

// A new arrival must not lie in the past; an edit may keep the one it had.
bool arrivesInThePast(const Booking& booking, const std::optional<Booking>& stored,
                      std::int64_t currentDay) {
    const auto arrival = typedDay(booking.arrival);
    return arrival && *arrival < currentDay && (!stored || stored->arrival != booking.arrival);
}

bool writeBooking(Database& database, const Booking& booking) {
    const Text sql =
        booking.id == 0
            ? "INSERT INTO `b_yuding` (`fangjianid`, `xingming`, `lianxifangshi`, `daodariqi`, "
              "`likairiqi`, `dingjin`, `beizhu`, `zhuangtai`, `danhao`, `chuangjianshijian`) "
              "VALUES (:room, :guest, :contact, :arrival, :departure, :deposit, :remark, 0, '', "
              ":created)"
            : "UPDATE `b_yuding` SET `fangjianid`=:room, `xingming`=:guest, "
              "`lianxifangshi`=:contact, `daodariqi`=:arrival, `likairiqi`=:departure, "
              "`dingjin`=:deposit, `beizhu`=:remark WHERE `id`=:id AND `zhuangtai`=0";
    StatementScope statement(database, sql);
    statement.bindInt(":room", booking.roomId);
    statement.bindText(":guest", booking.guest);
    statement.bindText(":contact", booking.contact);
    statement.bindText(":arrival", booking.arrival);
    statement.bindText(":departure", booking.departure);
    statement.bindDouble(":deposit", booking.deposit);
    statement.bindText(":remark", booking.remark);
    if (booking.id == 0) {
        statement.bindText(":created", formatDateTime(currentDateTime()));
    } else {
        statement.bindInt(":id", booking.id);
    }
    statement.step();
    return statement.finish();
}

// Ends the transaction that a refusal or a failure cuts short.
BookingOutcome undone(Database& database, BookingResult result) {
    database.rollback();
    return {result, 0, {}, {}, {}};
}

// The nights a booking being changed had: a platform's block over them is its own echo.
std::optional<DayRange> storedNights(const std::optional<Booking>& stored) {
    if (!stored) {
        return std::nullopt;
    }
    const auto arrival = typedDay(stored->arrival);
    const auto departure = typedDay(stored->departure);
    if (!arrival || !departure) {
        return std::nullopt;
    }
    return DayRange{*arrival, *departure};
}

}  // namespace

std::optional<Booking> clashingBooking(Database& database, const Booking& booking) {
    StatementScope statement(database, Text(kColumns) +
                                           "WHERE `fangjianid`=:room AND `zhuangtai`=0 AND "
                                           "`id`<>:id AND `daodariqi`<:departure AND "
                                           ":arrival<`likairiqi` ORDER BY `daodariqi` LIMIT 1");
    statement.bindInt(":room", booking.roomId);
    statement.bindInt(":id", booking.id);
    statement.bindText(":arrival", booking.arrival);
    statement.bindText(":departure", booking.departure);
    if (!statement.step()) {
        return std::nullopt;
    }
    return readBooking(statement);
}

BookingOutcome saveBooking(Database& database, const Booking& booking, std::int64_t currentDay) {
    if (trimText(booking.guest).empty()) {
        return {BookingResult::BlankGuest, 0, {}, {}, {}};
    }
    if (!hasSoundDays(booking)) {
        return {BookingResult::BadDays, 0, {}, {}, {}};
    }
    // IMMEDIATE takes the write lock before the look: a second writer waits for the first to
    // commit and then sees its booking, or its check-in.
    if (!database.execute("BEGIN IMMEDIATE")) {
        return {BookingResult::Failed, 0, {}, {}, {}};
    }
    if (!roomTakesBookings(database, booking.roomId)) {
        return undone(database, BookingResult::NoRoom);
    }
    const auto stored = booking.id != 0 ? findBooking(database, booking.id) : std::nullopt;
    if (booking.id != 0 && !(stored && stored->booked())) {
        return undone(database, BookingResult::NotBooked);
    }
    if (arrivesInThePast(booking, stored, currentDay)) {
        return undone(database, BookingResult::PastArrival);
    }
    if (auto other = clashingBooking(database, booking)) {
        BookingOutcome outcome = undone(database, BookingResult::Overlaps);
        outcome.other = std::move(*other);
        return outcome;
    }
    const auto stays = openStays(database, currentDay, booking.roomId);
    if (!stays) {
        return undone(database, BookingResult::Failed);
    }
    if (auto stay = stayHolding(*stays, *typedDay(booking.arrival), *typedDay(booking.departure))) {
        BookingOutcome outcome = undone(database, BookingResult::HeldByStay);
        outcome.stay = std::move(*stay);
        return outcome;
    }
    if (auto outside = outsideBookingHolding(database, booking.roomId, *typedDay(booking.arrival),
                                             *typedDay(booking.departure), storedNights(stored))) {
        BookingOutcome outcome = undone(database, BookingResult::HeldOutside);
        outcome.outside = std::move(*outside);
        return outcome;
    }
    if (!writeBooking(database, booking)) {
        return undone(database, BookingResult::Failed);
    }
    const int id = booking.id != 0 ? booking.id : static_cast<int>(database.lastInsertRowid());
    if (!database.commit()) {
        return undone(database, BookingResult::Failed);
    }
    return {BookingResult::Saved, id, {}, {}, {}};
}

BookingOutcome cancelBooking(Database& database, int bookingId) {
    if (!database.run("UPDATE `b_yuding` SET `zhuangtai`=2 WHERE `zhuangtai`=0 AND `id`=" +
                      std::to_string(bookingId))) {
        return {BookingResult::Failed, bookingId, {}, {}, {}};
    }
    return {database.changes() == 1 ? BookingResult::Saved : BookingResult::NotBooked,
            bookingId,
            {},
            {},
            {}};
}

bool markBookingArrived(Database& database, int bookingId, const Text& orderNumber) {
    StatementScope statement(database,
                             "UPDATE `b_yuding` SET `zhuangtai`=1, `danhao`=:order WHERE "
                             "`zhuangtai`=0 AND `id`=:id");
    statement.bindText(":order", orderNumber);
    statement.bindInt(":id", bookingId);
    statement.step();
    return statement.finish() && database.changes() == 1;
}

std::optional<Booking> findBooking(Database& database, int bookingId) {
    StatementScope statement(database, Text(kColumns) + "WHERE `id`=" + std::to_string(bookingId));
    if (!statement.step()) {
        return std::nullopt;
    }
    return readBooking(statement);
}

std::optional<std::vector<Booking>> bookingsBetween(Database& database, const Text& firstDay,
                                                    const Text& lastDay) {
    StatementScope statement(database, Text(kColumns) +
                                           "WHERE `daodariqi`<=:last AND `likairiqi`>:first "
                                           "ORDER BY `fangjianid`, `daodariqi`, `id`");
    statement.bindText(":first", firstDay);
    statement.bindText(":last", lastDay);
    std::vector<Booking> bookings;
    while (statement.step()) {
        bookings.push_back(readBooking(statement));
    }
    if (!statement.finish()) {
        return std::nullopt;
    }
    return bookings;
}

std::optional<Booking> bookingOnDay(Database& database, int roomId, const Text& day) {
    StatementScope statement(database,
                             Text(kColumns) +
                                 "WHERE `fangjianid`=:room AND `zhuangtai`=0 AND "
                                 "`daodariqi`<=:day AND `likairiqi`>:day ORDER BY `daodariqi`");
    statement.bindInt(":room", roomId);
    statement.bindText(":day", day);
    if (!statement.step()) {
        return std::nullopt;
    }
    return readBooking(statement);
}

}  // namespace tamrivo
