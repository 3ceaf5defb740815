#pragma once

#include "data/database.h"

namespace tamrivo {

enum class RoomResult {
    Saved,
    Let,    // the room was let meanwhile and keeps its row as it is
    Failed  // the database refused; `error` says why
};

struct RoomOutcome {
    RoomResult result = RoomResult::Failed;
    Text error;
};

// A new room with the address and condition (1 normal, anything else abandoned); idle.
RoomOutcome addRoom(Database& database, const Text& address, int condition);

// Rewrites the address and condition of a room that is not let, in one transaction with the
// look at its occupancy.
RoomOutcome editRoom(Database& database, int roomId, const Text& address, int condition);

// Deletes a room that is not let, in one transaction with the look; its leases stay.
RoomOutcome deleteRoom(Database& database, int roomId);

}  // namespace tamrivo
