#include "records/identity_retention.h"

#include <vector>

#include "records/register_access_log.h"
#include "records/schema.h"
#include "records/statement_scope.h"
#include "records/stored_dates.h"

namespace tamrivo {
namespace {

constexpr char kRetentionSetting[] = "identity_retention_years";

// The guests whose stay was settled before the day the retention reaches back to, not yet
// purged.
std::optional<std::vector<int>> guestsPastRetention(Database& database, std::int64_t today,
                                                    int years) {
    StatementScope statement(
        database,
        "SELECT g.`id` FROM `b_zhuke` g JOIN `b_zulin` z ON z.`id`=g.`zulinid` "
        "WHERE z.`zulinzhuangtai`=:settled AND g.`qingchushijian`='' AND "
        "date(z.`jiesuanriqi`)<date(:today, :back) ORDER BY g.`id`");
    statement.bindInt(":settled", schema::kLeaseSettled);
    statement.bindText(":today", dayText(today));
    statement.bindText(":back", "-" + std::to_string(years) + " years");
    std::vector<int> guests;
    while (statement.step()) {
        guests.push_back(statement.columnInt(0));
    }
    if (!statement.finish()) {
        return std::nullopt;
    }
    return guests;
}

bool purgeGuest(Database& database, int guestId, const RegisterUser& user) {
    StatementScope statement(
        database,
        "UPDATE `b_zhuke` SET `xingbie`='', `minzu`='', `chushengriqi`='', "
        "`zhengjianhaoma`='', `guoji`='', `zhuzhi`='', `qianfajiguan`='', "
        "`youxiaoqixian`='', `lianxidianhua`='', `qingchushijian`=:now WHERE `id`=:id");
    statement.bindText(":now", user.now);
    statement.bindInt(":id", guestId);
    statement.step();
    return statement.finish() &&
           logRegisterAccess(database,
                             {user.now, user.name, guestId, {}, RegisterAction::Purge, {}});
}

}  // namespace

int identityRetentionYears(Database& database) {
    StatementScope statement(database, "SELECT `zhi` FROM `b_shezhi` WHERE `mingcheng`=:name");
    statement.bindText(":name", kRetentionSetting);
    if (!statement.step()) {
        return kDefaultRetentionYears;
    }
    const int years = statement.columnInt(0);
    return years >= 1 && years <= kLongestRetentionYears ? years : kDefaultRetentionYears;
}

bool setIdentityRetentionYears(Database& database, int years) {
    if (years < 1 || years > kLongestRetentionYears) {
        return false;
    }
    StatementScope statement(database,
                             "INSERT OR REPLACE INTO `b_shezhi` (`mingcheng`, `zhi`) "
                             "VALUES (:name, :years)");
    statement.bindText(":name", kRetentionSetting);
    statement.bindText(":years", std::to_string(years));
    statement.step();
    return statement.finish();
}

std::optional<int> purgeExpiredIdentity(Database& database, std::int64_t today,
                                        const RegisterUser& user) {
    // Freed pages are overwritten, so what was purged is not left in the file.
    if (!database.execute("PRAGMA secure_delete=ON") || !database.execute("BEGIN IMMEDIATE")) {
        return std::nullopt;
    }
    const auto guests = guestsPastRetention(database, today, identityRetentionYears(database));
    bool purged = guests.has_value();
    for (std::size_t i = 0; purged && i < guests->size(); ++i) {
        purged = purgeGuest(database, (*guests)[i], user);
    }
    if (!purged || !database.execute("COMMIT")) {
        database.execute("ROLLBACK");
        return std::nullopt;
    }
    return static_cast<int>(guests->size());
}

}  // namespace tamrivo
