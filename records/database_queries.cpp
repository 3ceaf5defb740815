#include "records/database_queries.h"

#include <string>

#include "records/schema.h"
#include "records/statement_scope.h"

namespace tamrivo {

int queryRoomState(Database& database, int roomId, RoomState* state) {
    StatementScope statement(
        database, "SELECT  `chuzuzhuangtai`,`danhao`,`zhuangtai` FROM `b_fangjian` WHERE `id`=" +
                      std::to_string(roomId));
    if (!statement.step()) {
        return 0;
    }
    const int occupancy = statement.columnInt(0);
    if (state != nullptr) {
        state->condition = statement.columnInt(2);
        state->occupancy = occupancy;
        state->orderNumber = statement.columnText(1);
    }
    return occupancy;
}

bool roomIsLet(Database& database, int roomId) {
    return queryRoomState(database, roomId) == schema::kRoomLet;
}

bool roomIsLettable(Database& database, int roomId) {
    RoomState room;
    queryRoomState(database, roomId, &room);
    return room.condition == schema::kRoomNormal && room.occupancy == schema::kRoomIdle;
}

bool isOpenLeaseOfRoom(Database& database, int roomId, int leaseId) {
    if (!roomIsLet(database, roomId)) {
        return false;
    }
    StatementScope lease(database, leaseOfRoomSql(roomId));
    return lease.step() && lease.columnInt(schema::b_zulin::kIdPosition) == leaseId &&
           lease.columnInt(schema::b_zulin::kZulinzhuangtaiPosition) != schema::kLeaseSettled;
}

std::int64_t countRows(Database& database, const Text& table, const Text& condition) {
    Text sql = "SELECT COUNT(*) FROM `" + table + "`";
    if (!condition.empty()) {
        sql += " WHERE " + condition;
    }
    StatementScope statement(database, sql);
    if (!statement.prepared()) {
        return -1;
    }
    return statement.step() ? statement.columnInt64(0) : 0;
}

double sumColumn(Database& database, const Text& table, const Text& column, const Text& condition) {
    Text sql = "SELECT sum(" + column + ") FROM `" + table + "`";
    if (!condition.empty()) {
        sql += " WHERE " + condition;
    }
    StatementScope statement(database, sql);
    if (!statement.prepared()) {
        return -1;
    }
    return statement.step() ? statement.columnDouble(0) : 0;
}

std::int64_t maxId(Database& database, const Text& table, const Text& column) {
    StatementScope statement(database,
                             "select Max(" + column + ") as maxid_54ee715 from `" + table + "`;");
    if (!statement.prepared()) {
        return -1;
    }
    return statement.step() ? statement.columnInt64(0) : 0;
}

Text leaseOfRoomSql(int roomId) {
    return "SELECT  * FROM `b_zulin` WHERE `danhao`=(SELECT `danhao` FROM `b_fangjian` WHERE "
           "`id`=" +
           std::to_string(roomId) + ")";
}

}  // namespace tamrivo
