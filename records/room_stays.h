#pragma once

#include <optional>
#include <vector>

#include "data/database.h"

namespace tamrivo {

// A normal room as the calendar lists it, with the order number of its open lease (empty
// when idle).
struct CalendarRoom {
    int id = 0;
    Text address;
    Text orderNumber;
};

// The normal rooms, abandoned ones left out, in the order of their ids.
std::optional<std::vector<CalendarRoom>> calendarRooms(Database& database);

// A lease as the calendar draws it. Days are "yyyy-MM-dd"; an open lease has no last day.
struct LeaseStay {
    Text orderNumber;
    Text address;
    Text guest;
    Text checkIn;
    Text checkOut;
    bool settled = false;
};

// The leases that were or are under way on some day from firstDay to lastDay: checked in by
// lastDay, and open or checked out on firstDay or later.
std::optional<std::vector<LeaseStay>> leaseStaysBetween(Database& database, const Text& firstDay,
                                                        const Text& lastDay);

}  // namespace tamrivo
