#pragma once
// A throw-away program directory for the benchmarks: a fresh folder under the system's
// temporary directory holding Data/Data.db as the set-up tool makes it, removed with
// everything in it when the object goes.

#include <filesystem>

namespace tamrivo::bench {

class ProgramFolder {
public:
    // Ends the process with a message when the database cannot be made: no benchmark
    // means anything without it.
    ProgramFolder();
    ~ProgramFolder();
    ProgramFolder(const ProgramFolder&) = delete;
    ProgramFolder& operator=(const ProgramFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path databaseFile() const;

private:
    std::filesystem::path path_;
};

}  // namespace tamrivo::bench
