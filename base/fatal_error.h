#pragma once

#include <functional>

#include "base/value_types.h"

namespace tamrivo {

// Errors the program cannot go on after (a missing library entry point). The window engine
// installs a handler that shows the message to the person; until then it goes to standard
// error. Either way the program then ends.
using FatalErrorHandler = std::function<void(const Text& message)>;

void setFatalErrorHandler(FatalErrorHandler handler);
[[noreturn]] void fatalError(const Text& message);

}  // namespace tamrivo
