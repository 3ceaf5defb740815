#pragma once

#include <cstdint>
#include <string>

namespace tamrivo {

class Database;

// Rooms in every state, each let room with its open lease and planned departure, and one
// settled lease, so a first run has something to show; the open stays are dated around
// `today` (a day number), one of them due to leave that day. Needs the planned departures'
// table. False (with the reason in errorMessage) on failure.
bool addDemoData(Database& db, std::int64_t today);

// What addDemoData adds, in a few words.
std::string demoDataSummary();

}  // namespace tamrivo
