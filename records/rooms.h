#pragma once

#include <optional>
#include <vector>

#include "base/value_types.h"
#include "data/database.h"
#include "records/schema.h"

namespace tamrivo {

// A room as the main window lists it and the room window edits it.
struct Room {
    int id = 0;
    Text address;
    int condition = schema::kRoomNormal;  // every value but kRoomNormal counts as abandoned
    int occupancy = schema::kRoomIdle;    // every value but kRoomLet counts as not let

    bool normal() const { return condition == schema::kRoomNormal; }
    bool let() const { return occupancy == schema::kRoomLet; }
};

// Every room, in the order the table gives them; none when the statement cannot be prepared.
std::vector<Room> listRooms(Database& database);

// The room with this id; nothing when it has no row or the statement fails.
std::optional<Room> findRoom(Database& database, int roomId);

// The address of the room, or the empty text when it has no row.
Text roomAddress(Database& database, int roomId);

}  // namespace tamrivo
