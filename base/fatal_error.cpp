#include "base/fatal_error.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>

#include "base/text_encoding.h"

namespace tamrivo {
namespace {

std::mutex handlerMutex;
FatalErrorHandler installedHandler;

}  // namespace

void setFatalErrorHandler(FatalErrorHandler handler) {
    const std::lock_guard lock(handlerMutex);
    installedHandler = std::move(handler);
}

void fatalError(const Text& message) {
    FatalErrorHandler handler;
    {
        const std::lock_guard lock(handlerMutex);
        handler = installedHandler;
    }
    if (handler) {
        handler(message);
    } else {
        std::fprintf(stderr, "%s\n", gbkToUtf8(message).c_str());
    }
    std::exit(EXIT_FAILURE);
}

}  // namespace tamrivo
