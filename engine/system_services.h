#pragma once

#include <sys/types.h>

#include <span>
#include <vector>

#include "base/value_types.h"

namespace tamrivo {

// The system side of the services; safe to call from any thread. Paths and arguments are
// GBK and cross to the file system as UTF-8.

void sleepMilliseconds(int milliseconds);  // negative counts as 0

struct ProgramStart {
    bool created = false;
    // A process still running when the start returned, not yet reaped; 0 when none.
    pid_t running = 0;
};

// Starts arguments[0] with the arguments. With wait, until it ends; otherwise until it ends
// or 1000 ms pass.
ProgramStart startProgram(const std::vector<Text>& arguments, bool wait);

// Writes the blocks in order as the whole file, a landlord's file: beside it first and then
// renamed onto it, never through a link, with the permissions of userFileMode().
bool writeBlocks(const Text& path, std::span<const Bytes> blocks);

}  // namespace tamrivo
