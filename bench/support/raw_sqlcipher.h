#pragma once
// The SQLCipher library's C interface bound by hand, for the plain side of a comparison:
// no text conversion, no wrapper between the caller and the library.

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "data/sqlite_api.h"  // the library's declarations and file names only

namespace tamrivo::bench {

class RawSqlcipher {
public:
    RawSqlcipher() : library_(loadNativeLibrary(kSqliteLibraryFiles)) {
        if (library_.handle == nullptr) {
            std::fprintf(stderr, "cannot load %s: %s\n", kSqliteLibraryFiles.front().c_str(),
                         dlerror());
            std::exit(1);
        }
    }
    ~RawSqlcipher() { unloadNativeLibrary(library_.handle); }
    RawSqlcipher(const RawSqlcipher&) = delete;
    RawSqlcipher& operator=(const RawSqlcipher&) = delete;

private:
    template <typename Function>
    Function entry(const char* name) const {
        void* address = nativeSymbol(library_.handle, name);
        if (address == nullptr) {
            std::fprintf(stderr, "%s has no %s\n", library_.file.c_str(), name);
            std::exit(1);
        }
        return reinterpret_cast<Function>(address);
    }

    NativeLibrary library_;

public:
    decltype(&sqlite3_open_v2) open = entry<decltype(open)>("sqlite3_open_v2");
    int (*key)(sqlite3*, const void*, int) = entry<decltype(key)>("sqlite3_key");
    decltype(&sqlite3_close) close = entry<decltype(close)>("sqlite3_close");
    decltype(&sqlite3_exec) exec = entry<decltype(exec)>("sqlite3_exec");
    decltype(&sqlite3_prepare_v2) prepare = entry<decltype(prepare)>("sqlite3_prepare_v2");
    decltype(&sqlite3_step) step = entry<decltype(step)>("sqlite3_step");
    decltype(&sqlite3_finalize) finalize = entry<decltype(finalize)>("sqlite3_finalize");
    decltype(&sqlite3_reset) reset = entry<decltype(reset)>("sqlite3_reset");
    decltype(&sqlite3_bind_text) bindText = entry<decltype(bindText)>("sqlite3_bind_text");
    decltype(&sqlite3_column_int) columnInt = entry<decltype(columnInt)>("sqlite3_column_int");
    decltype(&sqlite3_column_int64) columnInt64 =
        entry<decltype(columnInt64)>("sqlite3_column_int64");
    decltype(&sqlite3_column_double) columnDouble =
        entry<decltype(columnDouble)>("sqlite3_column_double");
    decltype(&sqlite3_column_text) columnText = entry<decltype(columnText)>("sqlite3_column_text");
    decltype(&sqlite3_column_bytes) columnBytes =
        entry<decltype(columnBytes)>("sqlite3_column_bytes");

    // Opens and keys the records as the program does; false when the key does not fit.
    bool openRecords(const char* file, const char* passphrase, sqlite3** connection) const {
        return open(file, connection, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK &&
               key(*connection, passphrase, static_cast<int>(std::strlen(passphrase))) ==
                   SQLITE_OK &&
               exec(*connection, kRecordFormatStatements, nullptr, nullptr, nullptr) == SQLITE_OK &&
               exec(*connection, "PRAGMA synchronous = FULL", nullptr, nullptr, nullptr) ==
                   SQLITE_OK;
    }
};

}  // namespace tamrivo::bench
