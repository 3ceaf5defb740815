#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "data/database.h"
#include "records/stored_dates.h"

namespace tamrivo {

// A stay or booking of a room as its calendar tells the platforms.
struct ExportedStay {
    Text uid;  // stable for as long as the stay or booking lasts
    std::int64_t arrival = 0;
    std::int64_t departure = 0;  // the first free day
    Text guest;
    Text contact;
    bool booking = true;  // false for a guest already in
};

// The iCalendar text (UTF-8, CRLF) of one room: every stay an all-day event, named "已预订"
// or "已入住", with the guest's name and contact only when withGuests is set.
std::string roomCalendarText(const Text& roomAddress, const std::vector<ExportedStay>& stays,
                             bool withGuests);

// The file a room's calendar is written to in the export folder.
std::filesystem::path roomCalendarFile(const std::filesystem::path& folder, int roomId);

struct CalendarExport {
    int files = 0;
    std::string error;  // empty when every file was written
};

// Writes the calendar of every normal room, its open stay and its booked bookings not over
// yet (never the platforms' own stays), each file rewritten whole beside and renamed in.
CalendarExport exportRoomCalendars(Database& database, const std::filesystem::path& folder,
                                   bool withGuests, std::int64_t currentDay = today());

}  // namespace tamrivo
