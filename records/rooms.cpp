#include "records/rooms.h"

#include <string>

#include "records/statement_scope.h"

namespace tamrivo {
namespace {

Room readRoom(StatementScope& row) {
    using namespace schema::b_fangjian;
    return {row.columnInt(kIdPosition), row.columnText(kDizhiPosition),
            row.columnInt(kZhuangtaiPosition), row.columnInt(kChuzuzhuangtaiPosition)};
}

}  // namespace

std::vector<Room> listRooms(Database& database) {
    StatementScope rows(database, "SELECT  * FROM `b_fangjian`");
    std::vector<Room> rooms;
    while (rows.step()) {
        rooms.push_back(readRoom(rows));
    }
    return rooms;
}

std::optional<Room> findRoom(Database& database, int roomId) {
    StatementScope row(database,
                       "SELECT  * FROM `b_fangjian` WHERE `id`=" + std::to_string(roomId));
    if (!row.step()) {
        return std::nullopt;
    }
    return readRoom(row);
}

Text roomAddress(Database& database, int roomId) {
    const auto room = findRoom(database, roomId);
    return room ? room->address : Text{};
}

}  // namespace tamrivo
