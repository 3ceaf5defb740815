#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "records/bookings.h"
#include "records/outside_bookings.h"
#include "records/planned_departures.h"
#include "records/room_stays.h"
#include "ui/window_services.h"

namespace tamrivo {

// What the room calendar shows of the days from firstDay (a day number), dayCount long.
struct CalendarRecords {
    std::vector<CalendarRoom> rooms;
    std::vector<LeaseStay> leases;
    std::vector<Booking> bookings;
    std::vector<OpenStay> stays;          // the open leases, with their planned departures
    std::vector<OutsideBooking> outside;  // the booking platforms' stays and blocks
};

// The page: a row per room, a column per day, and a bar per stay on the nights it covers,
// cut at the page's edges. A booking covers its arrival up to the night before departure; a
// settled lease its check-in up to the night before check-out (at least its first day); an
// open one its check-in up to the night before its planned departure, and a guest still in
// after that day an overstay bar up to today. A settled lease reaches its room through its
// address, the only link the leases keep. A booking platform's stay is a bar of its own kind,
// named by its platform, a conflicting one in the conflict's colour, a block in the closed
// one's. Bars sharing a day of a room lie in lanes.
CalendarPage calendarPage(const CalendarRecords& records, std::int64_t firstDay, int dayCount,
                          std::int64_t today);

// The bookings listed under the calendar, one row each, numbered by their ids.
std::vector<TableRow> bookingRows(const CalendarRecords& records);

// Who is expected today (bookings) and who is due to leave (open stays planned to leave
// today), each as "address guest" joined by "；", or "无" when nobody is; and who is still in
// after their planned departure, the same way but empty when nobody is; and the booking
// platforms' stays not over yet that conflict with another, empty when none does.
struct TodayBookings {
    Text arrivals;
    Text departures;
    Text overstays;
    Text conflicts;
};

// Today's bookings of the records; nothing when a statement fails (the reason is the
// database's error).
std::optional<TodayBookings> readTodayBookings(Database& database, std::int64_t today);

// The calendar's header: the day, who is expected and who is due to leave, who has overstayed
// when somebody has, and the platforms' conflicts when there are some.
Text todayText(const TodayBookings& bookings, std::int64_t today);

// Who has overstayed, as a part to follow the departures ("  已超期：…"), or nothing.
Text overstayText(const TodayBookings& bookings);

}  // namespace tamrivo
