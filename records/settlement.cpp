#include "records/settlement.h"

#include <string>

#include "base/date_format.h"
#include "data/query_builder.h"
#include "records/database_queries.h"
#include "records/money_text.h"
#include "records/schema.h"

namespace tamrivo {
namespace {

Text settlementStatement(int leaseId, const Settlement& settlement) {
    QueryBuilder builder;
    builder.reset("b_zulin");
    builder.name("jiesuanriqi").textValue(formatDateTime(settlement.checkOut));
    builder.name("jiesuanjine").doubleValue(yuanOfFen(settlement.fen));
    builder.name("zulinzhuangtai").intValue(schema::kLeaseSettled);
    builder.name("jiesuanbeizhu").textValue(settlement.remark);
    return builder.buildUpdate({}, "`id`=" + std::to_string(leaseId));
}

SettlementOutcome undone(Database& database, SettlementResult result) {
    SettlementOutcome outcome{result, {}};
    if (result == SettlementResult::Failed) {
        outcome.error = database.errorMessage();
    }
    database.rollback();
    return outcome;
}

}  // namespace

SettlementOutcome settleLease(Database& database, int roomId, int leaseId,
                              const Settlement& settlement) {
    if (!database.begin()) {
        return {SettlementResult::Failed, database.errorMessage()};
    }
    if (!isOpenLeaseOfRoom(database, roomId, leaseId)) {
        return undone(database, SettlementResult::NotOpen);
    }
    if (!database.run(settlementStatement(leaseId, settlement)) ||
        !database.run("UPDATE `b_fangjian` SET `chuzuzhuangtai`=0, `danhao`='' WHERE `id`=" +
                      std::to_string(roomId))) {
        return undone(database, SettlementResult::Failed);
    }
    if (!database.commit()) {
        return undone(database, SettlementResult::Failed);
    }
    return {SettlementResult::Settled, {}};
}

}  // namespace tamrivo
