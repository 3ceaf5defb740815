#include "records/register_access_log.h"

#include "records/statement_scope.h"

namespace tamrivo {

Text registerActionName(RegisterAction action) {
    switch (action) {
        case RegisterAction::View:
            return "查看";
        case RegisterAction::Change:
            return "修改";
        case RegisterAction::Export:
            return "导出";
        case RegisterAction::Purge:
            return "清除";
    }
    return "";
}

bool logRegisterAccess(Database& database, const RegisterAccess& access) {
    StatementScope statement(database,
                             "INSERT INTO `b_dengjirizhi` (`shijian`, `yonghu`, `zhukeid`, "
                             "`dongzuo`, `shuoming`) VALUES (:time, :user, :guest, :action, "
                             ":detail)");
    statement.bindText(":time", access.time);
    statement.bindText(":user", access.user);
    statement.bindInt(":guest", access.guestId);
    statement.bindInt(":action", static_cast<int>(access.action));
    statement.bindText(":detail", access.detail);
    statement.step();
    return statement.finish();
}

std::optional<std::vector<RegisterAccess>> registerAccessLog(Database& database, int limit) {
    StatementScope statement(database,
                             "SELECT l.`shijian`, l.`yonghu`, l.`zhukeid`, "
                             "ifnull(g.`xingming`, ''), l.`dongzuo`, l.`shuoming` "
                             "FROM `b_dengjirizhi` l LEFT JOIN `b_zhuke` g ON g.`id`=l.`zhukeid` "
                             "ORDER BY l.`id` DESC LIMIT :limit");
    statement.bindInt(":limit", limit);
    std::vector<RegisterAccess> entries;
    while (statement.step()) {
        entries.push_back({statement.columnText(0), statement.columnText(1), statement.columnInt(2),
                           statement.columnText(3),
                           static_cast<RegisterAction>(statement.columnInt(4)),
                           statement.columnText(5)});
    }
    if (!statement.finish()) {
        return std::nullopt;
    }
    return entries;
}

}  // namespace tamrivo
