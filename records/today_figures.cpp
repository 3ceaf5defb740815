#include "records/today_figures.h"

#include "base/date_format.h"
#include "records/length_of_stay.h"
#include "records/statement_scope.h"

namespace tamrivo {
namespace {

bool readRooms(Database& database, TodayFigures& figures) {
    StatementScope rooms(database,
                         "SELECT count(*), ifnull(sum(`zhuangtai`=1), 0), "
                         "ifnull(sum(`zhuangtai`=1 AND `chuzuzhuangtai`=1), 0) FROM `b_fangjian`");
    if (!rooms.step()) {
        return false;
    }
    const std::int64_t all = rooms.columnInt64(0);
    figures.normalRooms = rooms.columnInt64(1);
    figures.abandonedRooms = all - figures.normalRooms;
    figures.letRooms = rooms.columnInt64(2);
    figures.idleRooms = figures.normalRooms - figures.letRooms;
    return rooms.finish();
}

bool readMovements(Database& database, DateTime now, TodayFigures& figures) {
    StatementScope moves(database,
                         "SELECT (SELECT count(*) FROM `b_zulin` WHERE `ruzhuriqi`>=:today AND "
                         "`ruzhuriqi`<:tomorrow), (SELECT count(*) FROM `b_zulin` WHERE "
                         "`jiesuanriqi`>=:today AND `jiesuanriqi`<:tomorrow AND "
                         "`zulinzhuangtai`=1)");
    moves.bindText(":today", formatDateTime(now, "yyyy-MM-dd"));
    moves.bindText(":tomorrow", formatDateTime(DateTime{now.days + 1}, "yyyy-MM-dd"));
    if (!moves.step()) {
        return false;
    }
    figures.checkIns = moves.columnInt64(0);
    figures.checkOuts = moves.columnInt64(1);
    return moves.finish();
}

bool readOpenLeases(Database& database, DateTime now, TodayFigures& figures) {
    StatementScope open(database,
                        "SELECT CAST(ifnull(`dingjin`, 0) AS REAL), CAST(ifnull(`zujin`, 0) AS "
                        "REAL), `ruzhuriqi` FROM `b_zulin` WHERE `zulinzhuangtai` IS NOT 1");
    while (open.step()) {
        ++figures.openLeases;
        figures.depositsHeld += open.columnDouble(0);
        if (const auto checkIn = readStayDate(open.columnText(2))) {
            figures.rentAccrued += open.columnDouble(1) * daysOfStay(*checkIn, now);
        }
    }
    return open.finish();
}

}  // namespace

std::optional<TodayFigures> readTodayFigures(Database& database, DateTime now) {
    TodayFigures figures;
    if (!readRooms(database, figures) || !readMovements(database, now, figures) ||
        !readOpenLeases(database, now, figures)) {
        return std::nullopt;
    }
    return figures;
}

}  // namespace tamrivo
