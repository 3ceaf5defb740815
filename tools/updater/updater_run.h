#pragma once

#include <chrono>
#include <filesystem>
#include <span>
#include <string>

#include "base/value_types.h"

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

// The updater program. Its arguments (the program's own name not among them) are the
// package's path, the package's signature in hexadecimal and the publisher's public key in
// PEM. It waits for the program that started it to end, reads the package once, checks its
// signature over what it read and installs exactly that into its own directory, all or
// nothing, then says how that went; given nothing it does nothing. Returns the exit status:
// 0 when the package is in.
int runUpdater(std::span<const std::string> arguments, UpdaterHost& host);

}  // namespace tamrivo
