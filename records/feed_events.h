#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "base/value_types.h"
#include "records/schema.h"

namespace tamrivo {

// One event of a booking platform's calendar as the records keep it. Days are day numbers;
// the room is taken from the arrival up to, not including, the departure.
struct FeedEvent {
    Text uid;  // GBK, as every text of the records
    std::int64_t arrival = 0;
    std::int64_t departure = 0;
    schema::OutsideKind kind = schema::kOutsideBooking;
    Text summary;
    friend bool operator==(const FeedEvent&, const FeedEvent&) = default;
};

// A feed read whole. `error` is empty for an iCalendar text; otherwise nothing of it may be
// used. Skipped events (no end, an end not after the start, more than a year long, no UID,
// a UID seen before) are counted; cancelled ones are left out, so that their stays go.
struct ParsedFeed {
    Text error;
    std::vector<FeedEvent> events;
    int skipped = 0;
    int cancelled = 0;
};

// Reads an iCalendar text. An all-day event's DTEND is its departure day; a timed event's
// start and end are taken to the local dates they fall on (with their time zones, from the
// feed's own VTIMEZONEs or the system's), and one ending on its first day holds that night.
ParsedFeed parseFeed(std::string_view ics);

// Whether the platform closed the nights rather than let them, by the event's summary
// (UTF-8): "Not available", "CLOSED - Not available", "Blocked", 不可预订 and their like.
bool isBlockSummary(std::string_view summary);

// The UTF-8 text as GBK, each character GBK lacks (and each broken sequence) as "?" and each
// control character as a blank, cut after maxCharacters characters.
Text gbkApproximation(std::string_view utf8, std::size_t maxCharacters);

}  // namespace tamrivo
