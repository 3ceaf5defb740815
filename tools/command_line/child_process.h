#pragma once

#include <string>
#include <vector>

namespace tamrivo {

// Runs the program (arguments[0], a path, or a name looked up in PATH) with this process's
// environment and standard streams and waits for it: its exit status, or -1 when it could
// not be started or did not end by itself.
int runAndWait(const std::vector<std::string>& arguments);

// Replaces this process with the program (arguments[0], a path), so that the program's exit
// status is this one's; returns only when that failed, with the reason.
std::string replaceWith(const std::vector<std::string>& arguments);

}  // namespace tamrivo
