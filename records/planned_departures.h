#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "data/database.h"

namespace tamrivo {

// Creates the planned departures' table when it is missing, touching nothing else; false, with
// the reason in `error`, when it cannot be made (a read-only file, say).
bool addPlannedDeparturesTable(Database& database, Text* error = nullptr);

// Sets the lease's planned departure day ("yyyy-MM-dd"); runs inside the caller's transaction.
bool writePlannedDeparture(Database& database, int leaseId, const Text& day);

// An open lease as a room's nights see it. Days are day numbers; a stay holds the room from
// `firstDay` up to, not including, `heldUntil`.
struct OpenStay {
    int leaseId = 0;
    int roomId = 0;
    Text guest;
    Text room;  // the room's address
    std::int64_t firstDay = 0;
    // The planned departure, or for a lease without one the day after check-in.
    std::int64_t plannedDeparture = 0;
    // The planned departure; later while the guest overstays (past the planned day the room
    // is theirs tonight too) or while the booking they arrived on still runs.
    std::int64_t heldUntil = 0;
};

// The planned departure a lease was given, "yyyy-MM-dd", or nothing when it has none.
std::optional<Text> storedPlannedDeparture(Database& database, int leaseId);

// The open lease of every let room (of one room, with roomId), by room. Nothing when the
// records cannot be read.
std::optional<std::vector<OpenStay>> openStays(Database& database, std::int64_t today,
                                               int roomId = 0);

// The open stay that holds one of the nights from `arrival` up to `departure`, if one does.
std::optional<OpenStay> stayHolding(const std::vector<OpenStay>& stays, std::int64_t arrival,
                                    std::int64_t departure);

}  // namespace tamrivo
