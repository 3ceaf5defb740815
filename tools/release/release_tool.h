#pragma once

#include <ostream>
#include <span>
#include <string>

namespace tamrivo::release {

// Exit statuses of the release tool.
inline constexpr int kReleaseDone = 0;
inline constexpr int kReleaseFailed = 1;  // the work could not be done; nothing half-written
inline constexpr int kReleaseUsage = 2;   // the command line is wrong

// The release tool tamrivo-release: arguments without the program's own name; what it has
// done goes to out, what went wrong to errors. Returns the exit status.
int runReleaseTool(std::span<const std::string> arguments, std::ostream& out, std::ostream& errors);

}  // namespace tamrivo::release
