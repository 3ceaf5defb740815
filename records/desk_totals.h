#pragma once

#include <cstdint>

#include "data/database.h"

namespace tamrivo {

// The running figures the main window's status bar shows. A count or sum whose statement
// cannot be prepared is -1.
struct DeskTotals {
    std::int64_t normalRooms = 0;
    std::int64_t otherRooms = 0;  // every room whose condition is not normal
    double settled = 0;           // the amounts received on settled leases
    // The settlement amounts of leases not settled: 0 while open leases carry none.
    double unsettled = 0;
};

DeskTotals readDeskTotals(Database& database);

}  // namespace tamrivo
