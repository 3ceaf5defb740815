#pragma once

#include <string>
#include <vector>

namespace tamrivo::launcher {

// Runs the program (arguments[0], a path) with the launcher's environment and standard
// streams and waits for it: its exit status, or -1 when it could not be started or did not
// end by itself.
int runAndWait(const std::vector<std::string>& arguments);

// Replaces the launcher with the program, so that the program's exit status is the
// launcher's; returns only when that failed, with the reason.
std::string replaceWith(const std::vector<std::string>& arguments);

}  // namespace tamrivo::launcher
