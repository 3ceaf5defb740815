#pragma once

#include <filesystem>
#include <string>

namespace tamrivo {

struct SetupOutcome {
    bool created = false;
    std::string message;  // what was made, or why nothing was; native text
};

// Creates the program's encrypted database at `file` with its four tables and the user
// admin, plus demo rooms and leases when asked. An existing file is never touched; a
// failure removes the file it was making.
SetupOutcome createDatabase(const std::filesystem::path& file, bool withDemo);

}  // namespace tamrivo
