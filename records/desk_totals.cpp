#include "records/desk_totals.h"

#include "records/database_queries.h"

namespace tamrivo {

DeskTotals readDeskTotals(Database& database) {
    DeskTotals totals;
    totals.normalRooms = countRows(database, "b_fangjian", "`zhuangtai`=1");
    totals.otherRooms = countRows(database, "b_fangjian", "`zhuangtai`!=1");
    totals.settled = sumColumn(database, "b_zulin", "jiesuanjine", "`zulinzhuangtai`=1");
    totals.unsettled = sumColumn(database, "b_zulin", "jiesuanjine", "`zulinzhuangtai`!= 1");
    return totals;
}

}  // namespace tamrivo
