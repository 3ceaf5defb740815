#include "records/statistics_indexes.h"

namespace tamrivo {

bool addStatisticsIndexes(Database& database) {
    return database.createIndex("`b_zulin_ruzhuriqi`", "`b_zulin`", "`ruzhuriqi`") &&
           database.createIndex("`b_zulin_jiesuanriqi`", "`b_zulin`", "`jiesuanriqi`") &&
           // Rooms reach their leases by the order number alone.
           database.createIndex("`b_zulin_danhao`", "`b_zulin`", "`danhao`") &&
           database.execute(
               "CREATE INDEX IF NOT EXISTS `b_zulin_open` ON `b_zulin`(`id`) "
               "WHERE `zulinzhuangtai` IS NOT 1");
}

}  // namespace tamrivo
