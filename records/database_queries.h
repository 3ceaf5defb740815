#pragma once

#include <cstdint>

#include "base/value_types.h"
#include "data/database.h"

namespace tamrivo {

// A room's condition, occupancy and current order number; all zero or empty when the room
// has no row.
struct RoomState {
    int condition = 0;  // schema::RoomCondition
    int occupancy = 0;  // schema::Occupancy
    Text orderNumber;
};

// The room's occupancy (1 let); 0 when the room has no row or the query fails. With fill,
// a found row is copied into state.
int queryRoomState(Database& database, int roomId, RoomState* state = nullptr);

// True when the room is let; false too when it has no row or the query fails.
bool roomIsLet(Database& database, int roomId);

// True when the room is normal and idle, so it can be let.
bool roomIsLettable(Database& database, int roomId);

// True when the room is let and its order number still leads to the open lease with this id:
// nothing has settled or replaced the lease meanwhile.
bool isOpenLeaseOfRoom(Database& database, int roomId, int leaseId);

// COUNT(*) of the table under the condition; -1 when the statement cannot be prepared.
std::int64_t countRows(Database& database, const Text& table, const Text& condition = {});

// sum(column) under the condition (0 over no rows); -1 when the statement cannot be prepared.
double sumColumn(Database& database, const Text& table, const Text& column, const Text& condition);

// The largest value of the column (0 for an empty table); -1 when the statement fails.
std::int64_t maxId(Database& database, const Text& table, const Text& column);

// The statement that finds the open lease of a room through its order number.
Text leaseOfRoomSql(int roomId);

}  // namespace tamrivo
