#pragma once

#include <string>

namespace tamrivo {

// Loads a shared library by file name: from the program's own directory when it is there,
// otherwise through the system's library search. Null when neither finds it.
void* loadNativeLibrary(const std::string& file);

// The address of an exported name; null when the library has no such export.
void* nativeSymbol(void* library, const char* name);

void unloadNativeLibrary(void* library);

}  // namespace tamrivo
