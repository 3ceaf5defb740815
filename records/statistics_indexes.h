#pragma once

#include "data/database.h"

namespace tamrivo {

// The indexes the statistics read the leases by (check-in day, settlement day, the open
// ones), and the order number rooms find their leases by, made where a file lacks them; nothing
// else in the file changes. False when one could not be made (a read-only file, say): the figures
// then come, only slower.
bool addStatisticsIndexes(Database& database);

}  // namespace tamrivo
