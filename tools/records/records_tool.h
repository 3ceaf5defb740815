#pragma once

#include <filesystem>
#include <iosfwd>
#include <span>

namespace tamrivo {

// Where the tool reads and writes, and whether a person watches (progress is drawn only for one).
struct Console {
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
    bool terminal = false;
};

enum ExitStatus : int {
    kExitDone = 0,
    kExitFailed = 1,
    kExitUsage = 2,
    kExitProblemsFound = 3,  // check found something wrong with the records
};

// The records tool: `tamrivo-records [--folder DIR] COMMAND ...` on DIR/Data/Data.db, DIR
// being the program folder unless given. Returns the exit status.
int runRecordsTool(std::span<const char* const> arguments,
                   const std::filesystem::path& programFolder, Console console);

}  // namespace tamrivo
