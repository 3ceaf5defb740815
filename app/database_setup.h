#pragma once

#include <filesystem>
#include <iosfwd>
#include <span>
#include <string>

namespace tamrivo {

struct SetupOutcome {
    bool created = false;
    std::string message;  // what was made, or why nothing was; native text
};

// Creates the program's encrypted database at `file` with its three tables and the user
// admin, plus demo rooms and leases when asked. An existing file is never touched; a
// failure removes the file it was making.
SetupOutcome createDatabase(const std::filesystem::path& file, bool withDemo);

// The set-up tool: creates Data/Data.db in `programDirectory`, or in the folder given with
// --folder DIR, with demo records when given --demo.
// Returns the process's exit status.
int runDatabaseSetup(std::span<const char* const> arguments,
                     const std::filesystem::path& programDirectory, std::ostream& out,
                     std::ostream& err);

}  // namespace tamrivo
