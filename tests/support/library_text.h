#pragma once
// The SQLite library's own words for a result code, asked of the library the program loads.
// Tests compare what the program passes on, with the code that goes with it, rather than one
// SQLite version's wording ("file is encrypted or is not a database" became "file is not a
// database").

#include <string>

#include "data/native_library.h"
#include "data/sqlite_api.h"

namespace tamrivo::testing {

inline std::string libraryText(int code) {
    using ErrorText = const char* (*)(int);
    static const NativeLibrary library = loadNativeLibrary(kSqliteLibraryFiles);
    const auto text = reinterpret_cast<ErrorText>(nativeSymbol(library.handle, "sqlite3_errstr"));
    return text != nullptr ? text(code) : "(the library has no sqlite3_errstr)";
}

}  // namespace tamrivo::testing
