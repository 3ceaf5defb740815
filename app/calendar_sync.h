#pragma once

#include <chrono>
#include <cstdint>
#include <vector>

#include "app/feed_puller.h"
#include "data/database.h"

namespace tamrivo {

struct App;

// How often the feeds are pulled while the program runs, when the landlord wants them to be.
inline constexpr std::chrono::minutes kAutomaticPullInterval{30};

// Takes the pulls into the records, each feed in its own transaction (a refused one keeps
// what its last good read gave and notes why), and says what happened: a line a feed, then
// the conflicts not over yet.
Text applyPulls(Database& database, const std::vector<FeedPull>& pulls, std::int64_t currentDay);

// The conflicts not over yet, a line each with the room; empty when there are none.
Text conflictLines(Database& database, std::int64_t currentDay);

// Starts pulling every feed on the worker; false when there is none or a pull runs.
bool startCalendarSync(App& app);

// The main window's clock calls this every second: a finished pull goes into the records and
// the windows showing them; the automatic pull starts when it is due.
void tickCalendarSync(App& app);

// Writes every room's calendar into the export folder, when one is set; the reason when a
// file could not be written, else empty.
Text exportRoomCalendarsIfSet(App& app);

}  // namespace tamrivo
