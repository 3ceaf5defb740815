#pragma once

#include <optional>
#include <vector>

#include "data/database.h"

namespace tamrivo {

// Creates the calendar sync's tables (feeds, the stays they bring, the settings) when they
// are missing, touching nothing else; false, with the reason in `error`, when they cannot be
// made (a read-only file, say).
bool addCalendarSyncTables(Database& database, Text* error = nullptr);

// A booking platform's calendar a room follows.
struct CalendarFeed {
    int id = 0;
    int roomId = 0;
    Text name;        // "Airbnb", as the landlord typed it
    Text address;     // an http(s) address, or the path of a local .ics file
    Text lastRead;    // date-time of the last good read; empty before the first
    Text lastError;   // why the last read was refused; empty when it was taken
    Text lastResult;  // what the last good read brought, in words
};

// Every feed, by room and id; nothing when they cannot be read.
std::optional<std::vector<CalendarFeed>> calendarFeeds(Database& database);
std::optional<CalendarFeed> findCalendarFeed(Database& database, int feedId);

enum class FeedSave { Saved, BlankName, BadAddress, NoRoom, Failed };

// Adds a feed to a normal room. The address is an http:// or https:// address, or the path
// of a local file (a file:// address is taken as its path).
FeedSave addCalendarFeed(Database& database, int roomId, const Text& name, const Text& address);

// Whether the address is to be fetched rather than read from a file.
bool isWebAddress(const Text& address);

// Removes the feed and every stay it brought, in one transaction.
bool removeCalendarFeed(Database& database, int feedId);

// Notes why the feed's last read was refused; what it brought before stays as it was.
bool recordFeedRefusal(Database& database, int feedId, const Text& reason);

// How the calendar sync runs.
struct SyncSettings {
    bool automatic = true;      // pull every feed every 30 minutes while the program runs
    Text exportFolder;          // where each room's calendar is written; empty for nowhere
    bool exportGuests = false;  // the guests' names and phones in the exported calendars
    friend bool operator==(const SyncSettings&, const SyncSettings&) = default;
};

// The settings saved, or the defaults while none are.
SyncSettings loadSyncSettings(Database& database);
bool saveSyncSettings(Database& database, const SyncSettings& settings);

}  // namespace tamrivo
