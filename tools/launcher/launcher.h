#pragma once

#include <filesystem>
#include <iosfwd>
#include <span>

namespace tamrivo::launcher {

// Where the package keeps the pristine program files (a build setting).
std::filesystem::path packageProgramFiles();

// The user's program folder from the environment, as userProgramFolder.
std::filesystem::path userProgramFolderFromEnvironment();

// Brings the user's folder up to the package, creates its first database when it never had
// records, and becomes the folder's program. Returns only when the program could not be
// started, with the exit status to end with.
int launchProgram(const std::filesystem::path& programFiles, const std::filesystem::path& folder,
                  std::ostream& err);

// Brings the user's folder up to the package and becomes the folder's own records tool with
// the arguments, so that it works on the user's records. Returns only on failure.
int launchRecordsTool(const std::filesystem::path& programFiles,
                      const std::filesystem::path& folder, std::span<const char* const> arguments,
                      std::ostream& err);

}  // namespace tamrivo::launcher
