#pragma once

#include "data/database.h"

namespace tamrivo {

// Creates the bookings table and its index by room when they are missing, and touches
// nothing else: the three older tables and their rows stay exactly as they were. False when
// they cannot be made (a read-only file, say); the reason is then in `error`.
bool addBookingsTable(Database& database, Text* error = nullptr);

}  // namespace tamrivo
