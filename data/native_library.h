#pragma once

#include <span>
#include <string>

namespace tamrivo {

struct NativeLibrary {
    void* handle = nullptr;  // null when none of the files was found
    std::string file;        // the name it was loaded by
};

// Loads the first of the shared libraries `files` (by file name, in order of preference) that
// the program's own directory holds; when it holds none, the first the system's library search
// finds. A library placed beside the program thus always wins over the system's.
NativeLibrary loadNativeLibrary(std::span<const std::string> files);

// The address of an exported name; null when the library has no such export.
void* nativeSymbol(void* library, const char* name);

void unloadNativeLibrary(void* library);

}  // namespace tamrivo
