#include "records/room_writes.h"

#include <string>

#include "data/query_builder.h"
#include "records/database_queries.h"
#include "records/schema.h"

namespace tamrivo {
namespace {

Text roomStatement(const Text& address, int condition, int roomId) {
    QueryBuilder builder;
    builder.reset("b_fangjian").name("dizhi").textValue(address);
    builder.name("zhuangtai").intValue(condition);
    return roomId == 0 ? builder.buildInsert()
                       : builder.buildUpdate({}, "`id`=" + std::to_string(roomId));
}

RoomOutcome undone(Database& database, RoomResult result) {
    RoomOutcome outcome{result, {}};
    if (result == RoomResult::Failed) {
        outcome.error = database.errorMessage();
    }
    database.rollback();
    return outcome;
}

// Runs the statement unless the room is let, the look and the write as one.
RoomOutcome writeUnlessLet(Database& database, int roomId, const Text& sql) {
    if (!database.begin()) {
        return {RoomResult::Failed, database.errorMessage()};
    }
    if (roomIsLet(database, roomId)) {
        return undone(database, RoomResult::Let);
    }
    if (!database.run(sql) || !database.commit()) {
        return undone(database, RoomResult::Failed);
    }
    return {RoomResult::Saved, {}};
}

}  // namespace

RoomOutcome addRoom(Database& database, const Text& address, int condition) {
    if (!database.run(roomStatement(address, condition, 0))) {
        return {RoomResult::Failed, database.errorMessage()};
    }
    return {RoomResult::Saved, {}};
}

RoomOutcome editRoom(Database& database, int roomId, const Text& address, int condition) {
    return writeUnlessLet(database, roomId, roomStatement(address, condition, roomId));
}

RoomOutcome deleteRoom(Database& database, int roomId) {
    QueryBuilder builder;
    return writeUnlessLet(database, roomId,
                          builder.buildDelete("b_fangjian", "`id`=" + std::to_string(roomId)));
}

}  // namespace tamrivo
