#pragma once

#include <cstdint>
#include <filesystem>

#include "base/replacement_file.h"
#include "data/database.h"
#include "records/csv_export.h"
#include "records/guest_register.h"

namespace tamrivo {

// One line of the 旅客登记表: a guest of a stay that began in the period, whole.
struct RegisterLine {
    Text arrival;  // the stay's check-in, "yyyy-MM-dd HH:mm:ss"
    Text room;
    Guest guest;
};

// The guests of every stay that began from `firstDay` to `lastDay` (day numbers, both
// included), by arrival; nothing when the register cannot be read. The export is logged once,
// naming the period.
std::optional<std::vector<RegisterLine>> registerLines(Database& database, std::int64_t firstDay,
                                                       std::int64_t lastDay,
                                                       const RegisterUser& user);

// The lines as a CSV file (UTF-8 with a byte-order mark, formulas defused), written whole.
ExportOutcome exportRegister(const std::vector<RegisterLine>& lines,
                             const std::filesystem::path& file, ReplacementFile::Target target);

}  // namespace tamrivo
