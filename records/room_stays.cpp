#include "records/room_stays.h"

#include "records/statement_scope.h"

namespace tamrivo {

std::optional<std::vector<CalendarRoom>> calendarRooms(Database& database) {
    StatementScope statement(database,
                             "SELECT `id`, `dizhi`, CASE WHEN `chuzuzhuangtai`=1 THEN "
                             "ifnull(`danhao`, '') ELSE '' END FROM `b_fangjian` WHERE "
                             "`zhuangtai`=1 ORDER BY `id`");
    std::vector<CalendarRoom> rooms;
    while (statement.step()) {
        rooms.push_back({statement.columnInt(0), statement.columnText(1), statement.columnText(2)});
    }
    if (!statement.finish()) {
        return std::nullopt;
    }
    return rooms;
}

std::optional<std::vector<LeaseStay>> leaseStaysBetween(Database& database, const Text& firstDay,
                                                        const Text& lastDay) {
    // The settled ones through the settlement day's index, the open ones through theirs: a
    // look by check-in day would read nearly every lease of the years before the page, so
    // "+" keeps the planner off that index.
    constexpr char kColumns[] =
        "SELECT `danhao`, `fangzhi`, `xingming`, substr(`ruzhuriqi`, 1, 10), "
        "substr(`jiesuanriqi`, 1, 10), ifnull(`zulinzhuangtai`, 0)=1, `id` FROM `b_zulin` ";
    StatementScope statement(
        database, Text(kColumns) +
                      "WHERE `zulinzhuangtai`=1 AND `jiesuanriqi`>=:first "
                      "AND +`ruzhuriqi`<:after UNION ALL " +
                      kColumns +
                      "WHERE `zulinzhuangtai` IS NOT 1 AND +`ruzhuriqi`<:after ORDER BY 7");
    // Stored date-times compare as texts: every one on lastDay sorts before the next day's.
    statement.bindText(":after", lastDay + "~");
    statement.bindText(":first", firstDay);
    std::vector<LeaseStay> stays;
    while (statement.step()) {
        stays.push_back({statement.columnText(0), statement.columnText(1), statement.columnText(2),
                         statement.columnText(3), statement.columnText(4),
                         statement.columnInt(5) == 1});
    }
    if (!statement.finish()) {
        return std::nullopt;
    }
    return stays;
}

}  // namespace tamrivo
