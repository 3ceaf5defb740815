#pragma once

#include <cstdint>
#include <optional>

#include "base/value_types.h"
#include "data/database.h"

namespace tamrivo {

// The situation now, as a landlord asks after it in the morning.
struct TodayFigures {
    std::int64_t normalRooms = 0;
    std::int64_t abandonedRooms = 0;
    std::int64_t letRooms = 0;   // normal rooms let now
    std::int64_t idleRooms = 0;  // normal rooms free to let
    std::int64_t checkIns = 0;   // leases checked in today
    std::int64_t checkOuts = 0;  // leases settled today
    std::int64_t openLeases = 0;
    double depositsHeld = 0;  // the deposits of the open leases
    // Each open lease's rent times its length of stay up to now, as the check-out counts it.
    double rentAccrued = 0;
};

// Nothing when the records cannot be read (the reason is then the database's errorMessage).
std::optional<TodayFigures> readTodayFigures(Database& database, DateTime now);

}  // namespace tamrivo
