#pragma once

#include <filesystem>
#include <span>
#include <string>

#include "data/database.h"

namespace tamrivo {

struct ExportColumn {
    const char* name;
    const char* header;  // GBK, like every text of the program
};

// A table of the records as the export writes it: every row, in the order of its ids.
struct ExportTable {
    const char* file;  // "rooms.csv"
    const char* table;
    std::span<const ExportColumn> columns;
    const char* what;  // for the person: "rooms"
    bool mayBeAbsent;  // records from before the table was added give only the header
};

// The rooms, the leases and the reservations.
std::span<const ExportTable> exportTables();

struct ExportOutcome {
    std::string error;  // native text; empty when written
    int rows = 0;
};

// Writes the table as CSV (UTF-8 with a byte-order mark, Chinese headers, texts that a
// spreadsheet would run as formulas defused, numbers as stored) beside `file` and renames it
// into place once whole; nothing is left behind on failure.
ExportOutcome exportTable(Database& database, const ExportTable& table,
                          const std::filesystem::path& file);

}  // namespace tamrivo
