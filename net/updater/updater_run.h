#pragma once

#include <chrono>
#include <filesystem>
#include <span>
#include <string>

#include "ui/value_types.h"

namespace tamrivo {

// What the updater needs from around it: the real program sleeps and shows message boxes,
// tests record.
class UpdaterHost {
public:
    virtual ~UpdaterHost() = default;
    virtual void wait(std::chrono::milliseconds time) = 0;
    // A message box with an OK button; returns once it is closed.
    virtual void showMessage(const Text& text, const Text& title) = 0;
    virtual std::filesystem::path ownDirectory() = 0;
};

// The updater program. Given the package path (the first of arguments, which do not include
// the program's own name) it waits for the program that started it to end, installs the
// package into its own directory, all or nothing, and says how that went; given nothing it
// does nothing. Returns the exit status: 0 when the package is in.
int runUpdater(std::span<const std::string> arguments, UpdaterHost& host);

}  // namespace tamrivo
