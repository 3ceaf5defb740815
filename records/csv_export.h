#pragma once

#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "base/replacement_file.h"
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
    enum class Failure { None, Reading, Writing };
    Failure failure = Failure::None;
    std::string error;  // native text; empty when written
    int rows = 0;
};

// Takes one row of fields, each in UTF-8.
using CsvRowSink = std::function<void(const std::vector<std::string>& fields)>;
// Hands every row to the sink; why reading stopped short, or the empty text when it did not.
using CsvRowSource = std::function<std::string(const CsvRowSink& sink)>;

// Writes the headers (UTF-8) and the rows as CSV: UTF-8 with a byte-order mark, texts that a
// spreadsheet would run as formulas defused, plain numbers as they are. The file is written
// beside `file` and renamed into place once whole; nothing is left behind on failure.
ExportOutcome exportRows(const std::filesystem::path& file, std::span<const std::string> headers,
                         const CsvRowSource& rows, ReplacementFile::Target target);

// Writes the table through exportRows, with Chinese headers and numbers as stored, into a
// file that must not exist yet.
ExportOutcome exportTable(Database& database, const ExportTable& table,
                          const std::filesystem::path& file);

}  // namespace tamrivo
