#pragma once

#include <string>
#include <vector>

#include "data/database.h"
#include "records/rent_report.h"

namespace tamrivo {

// What the rent report is made of: the rooms' addresses in the order of their ids, and every
// lease's facts, their texts as stored.
struct RentRecords {
    std::vector<std::string> rooms;
    std::vector<LeaseFacts> leases;
};

// False when they cannot be read; the reason is then the database's errorMessage.
bool readRentRecords(Database& database, RentRecords& records);

}  // namespace tamrivo
