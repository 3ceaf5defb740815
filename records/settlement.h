#pragma once

#include <cstdint>

#include "data/database.h"

namespace tamrivo {

// What the landlord settles a stay with.
struct Settlement {
    DateTime checkOut;
    std::int64_t fen = 0;  // the amount received; negative for money handed back
    Text remark;
};

enum class SettlementResult {
    Settled,
    NotOpen,  // the room's open lease is no longer this one: settled or replaced meanwhile
    Failed    // the database refused; `error` says why
};

struct SettlementOutcome {
    SettlementResult result = SettlementResult::Failed;
    Text error;
};

// Settles the room's open lease with the amount to the fen and frees the room, in one
// transaction that first makes sure the lease is still the room's open one.
SettlementOutcome settleLease(Database& database, int roomId, int leaseId,
                              const Settlement& settlement);

}  // namespace tamrivo
