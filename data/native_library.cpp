#include "data/native_library.h"

#include <dlfcn.h>

#include "base/executable_directory.h"

namespace tamrivo {
namespace {

// The library's own references must resolve inside it: another SQLite already in the
// process (Qt's driver brings one) would otherwise take over its symbols and crash it.
// AddressSanitizer cannot run with deep binding, so sanitizer builds go without it.
#if defined(TAMRIVO_SANITIZED)
constexpr int kOpenFlags = RTLD_NOW | RTLD_LOCAL;
#else
constexpr int kOpenFlags = RTLD_NOW | RTLD_LOCAL | RTLD_DEEPBIND;
#endif

}  // namespace

NativeLibrary loadNativeLibrary(std::span<const std::string> files) {
    const std::filesystem::path directory = executableDirectory();
    if (!directory.empty()) {
        for (const std::string& file : files) {
            if (void* library = dlopen((directory / file).c_str(), kOpenFlags)) {
                return {library, file};
            }
        }
    }
    for (const std::string& file : files) {
        if (void* library = dlopen(file.c_str(), kOpenFlags)) {
            return {library, file};
        }
    }
    return {};
}

void* nativeSymbol(void* library, const char* name) {
    return dlsym(library, name);
}

void unloadNativeLibrary(void* library) {
    dlclose(library);
}

}  // namespace tamrivo
