#pragma once

#include <string>

#include "data/database.h"
#include "tools/records/records_tool.h"

namespace tamrivo {

// "[#######.............]  35%" for a copy with `remaining` of `total` pages still to go.
std::string progressBar(int remaining, int total, int width = 30);

// Redraws the bar in place on the error stream when a person watches; draws nothing
// otherwise. The caller ends the line once the copy is over.
BackupProgress terminalProgress(Console& console);

}  // namespace tamrivo
