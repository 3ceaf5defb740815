#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "data/database.h"
#include "records/feed_events.h"
#include "records/stored_dates.h"

namespace tamrivo {

// A stay or block a platform's feed brought. Days are "yyyy-MM-dd", the departure the first
// free day.
struct OutsideBooking {
    int id = 0;
    int feedId = 0;
    int roomId = 0;
    Text feedName;
    Text uid;
    Text arrival;
    Text departure;
    schema::OutsideKind kind = schema::kOutsideBooking;
    Text summary;
    // A platform's guest on nights a stay, a booking or another platform's guest holds too.
    bool conflict = false;

    bool block() const { return kind == schema::kOutsideBlock; }
};

// What applying a feed changed.
struct FeedApplied {
    bool applied = false;  // false: the records refused, nothing changed
    int added = 0;
    int moved = 0;
    int removed = 0;
    int kept = 0;
    int conflicts = 0;  // of the feed's stays, after the change
    int skipped = 0;
    int cancelled = 0;
};

// Brings the records in line with a feed read whole, in one transaction: a new UID adds a
// stay, a changed one moves (or renames) it, a UID gone removes it; then every platform stay
// of the room is marked as a conflict or not. The landlord's own bookings and stays are
// never touched. The feed's last read time and result are set in the same transaction.
FeedApplied applyFeed(Database& database, int feedId, const ParsedFeed& feed,
                      std::int64_t currentDay = today());

// The result in words, as the feed's status and the sync's report show it.
Text appliedText(const FeedApplied& applied);

// Marks the conflicts of the room's platform stays anew: a platform's guest conflicts with a
// booked booking, an open stay or another feed's guest on one of its nights. A block (the
// platform closing nights, often for a stay it learnt from this program's own calendar)
// conflicts with nothing. Runs inside the caller's transaction; false when a statement fails.
bool markOutsideConflicts(Database& database, int roomId, std::int64_t currentDay);

// Marks the conflicts of every room with platform stays anew, in one transaction, as the
// landlord's own bookings and stays change (a cancelled booking frees a platform's guest, a
// guest staying on makes one a conflict). False when the records cannot be read or written.
bool refreshOutsideConflicts(Database& database, std::int64_t currentDay = today());

// Every platform stay with a night from firstDay to lastDay ("yyyy-MM-dd"), by room and
// arrival; nothing when they cannot be read (no stay at all where the table is missing).
std::optional<std::vector<OutsideBooking>> outsideBookingsBetween(Database& database,
                                                                  const Text& firstDay,
                                                                  const Text& lastDay);

// The conflicts not over yet by currentDay, by arrival.
std::optional<std::vector<OutsideBooking>> outsideConflicts(Database& database,
                                                            std::int64_t currentDay);

// The first platform stay or block of the room on one of the nights from arrival up to
// departure (day numbers). A block that lies over ownNights (the nights a booking being
// changed had, which the platform learnt from this program) is the booking's own echo and
// does not count.
struct DayRange {
    std::int64_t first = 0;
    std::int64_t end = 0;  // not included
};
std::optional<OutsideBooking> outsideBookingHolding(Database& database, int roomId,
                                                    std::int64_t arrival, std::int64_t departure,
                                                    std::optional<DayRange> ownNights = {});

// The stay as the landlord knows it: platform, summary and days.
Text describeOutsideBooking(const OutsideBooking& booking);

}  // namespace tamrivo
