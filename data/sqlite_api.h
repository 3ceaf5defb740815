#pragma once

#include <sqlcipher/sqlite3.h>  // types and constants only: the library is bound at run time

#include "data/native_library.h"

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

namespace tamrivo {

// The shared libraries the entry points may come from, in order of preference: SQLCipher 4
// (Debian 13), then SQLCipher 3 (Debian 12). The records keep SQLCipher 3's format under
// either; every keyed connection says so (database.cpp).
#ifdef _WIN32
inline const std::vector<std::string> kSqliteLibraryFiles{"sqlite3.dll"};
#else
inline const std::vector<std::string> kSqliteLibraryFiles{"libsqlcipher.so.1", "libsqlcipher.so.0"};
#endif

// Said on every keyed connection right after its key, before it reads a page. The records keep
// SQLCipher 3's format, which SQLCipher 4 reads and writes only when told so, on each
// connection; the default is told too, for databases attached with a key of their own.
// SQLCipher 3 ignores these settings. A wrong key is reported through results, so SQLCipher
// 4's own line on the console for it ("hmac check failed") stays unwritten.
inline constexpr char kRecordFormatStatements[] =
    "PRAGMA cipher_compatibility = 3; PRAGMA cipher_default_compatibility = 3; "
    "PRAGMA cipher_log_level = NONE";

class SqliteApi;

// One entry point of the library, bound by its exported name on its first call; later
// calls go straight through the stored address.
template <typename Function>
class SqliteEntry;

template <typename Result, typename... Arguments>
class SqliteEntry<Result (*)(Arguments...)> {
public:
    using Function = Result (*)(Arguments...);

    SqliteEntry(SqliteApi& api, const char* name) : api_(api), name_(name) {}
    SqliteEntry(const SqliteEntry&) = delete;
    SqliteEntry& operator=(const SqliteEntry&) = delete;

    Result operator()(Arguments... arguments) const { return bound()(arguments...); }

private:
    Function bound() const;

    SqliteApi& api_;
    const char* name_;
    mutable std::atomic<Function> address_{nullptr};
};

// The entry points the data layer uses, named as the library exports them, from the first of
// the library files that loads. A library or an entry point that cannot be found is fatal:
// the message names both (the preferred file when none loaded), and the program ends.
class SqliteApi {
public:
    explicit SqliteApi(std::vector<std::string> libraryFiles);
    ~SqliteApi();
    SqliteApi(const SqliteApi&) = delete;
    SqliteApi& operator=(const SqliteApi&) = delete;

    // The address of the named export; does not return when there is none.
    void* resolve(const char* entryName);

// Declares the member `name`, typed after the library's own declaration.
#define TAMRIVO_SQLITE_ENTRY(name)        \
    SqliteEntry<decltype(&::name)> name { \
        *this, #name                      \
    }

    TAMRIVO_SQLITE_ENTRY(sqlite3_open_v2);
    // The encryption entries are declared by the header only for codec builds.
    SqliteEntry<int (*)(sqlite3*, const void*, int)> sqlite3_key{*this, "sqlite3_key"};
    TAMRIVO_SQLITE_ENTRY(sqlite3_close);
    SqliteEntry<int (*)(sqlite3*, const void*, int)> sqlite3_rekey{*this, "sqlite3_rekey"};
    TAMRIVO_SQLITE_ENTRY(sqlite3_errcode);
    TAMRIVO_SQLITE_ENTRY(sqlite3_errmsg);
    TAMRIVO_SQLITE_ENTRY(sqlite3_libversion);
    TAMRIVO_SQLITE_ENTRY(sqlite3_libversion_number);
    TAMRIVO_SQLITE_ENTRY(sqlite3_busy_timeout);
    TAMRIVO_SQLITE_ENTRY(sqlite3_prepare_v2);
    TAMRIVO_SQLITE_ENTRY(sqlite3_finalize);
    TAMRIVO_SQLITE_ENTRY(sqlite3_sql);
    TAMRIVO_SQLITE_ENTRY(sqlite3_bind_parameter_index);
    TAMRIVO_SQLITE_ENTRY(sqlite3_bind_blob);
    TAMRIVO_SQLITE_ENTRY(sqlite3_bind_text);
    TAMRIVO_SQLITE_ENTRY(sqlite3_bind_int);
    TAMRIVO_SQLITE_ENTRY(sqlite3_bind_int64);
    TAMRIVO_SQLITE_ENTRY(sqlite3_bind_double);
    TAMRIVO_SQLITE_ENTRY(sqlite3_clear_bindings);
    TAMRIVO_SQLITE_ENTRY(sqlite3_bind_parameter_count);
    TAMRIVO_SQLITE_ENTRY(sqlite3_bind_parameter_name);
    TAMRIVO_SQLITE_ENTRY(sqlite3_step);
    TAMRIVO_SQLITE_ENTRY(sqlite3_exec);
    TAMRIVO_SQLITE_ENTRY(sqlite3_free);
    TAMRIVO_SQLITE_ENTRY(sqlite3_column_int);
    TAMRIVO_SQLITE_ENTRY(sqlite3_get_table);
    TAMRIVO_SQLITE_ENTRY(sqlite3_free_table);
    TAMRIVO_SQLITE_ENTRY(sqlite3_reset);
    TAMRIVO_SQLITE_ENTRY(sqlite3_data_count);
    TAMRIVO_SQLITE_ENTRY(sqlite3_column_count);
    TAMRIVO_SQLITE_ENTRY(sqlite3_column_bytes);
    TAMRIVO_SQLITE_ENTRY(sqlite3_column_name);
    TAMRIVO_SQLITE_ENTRY(sqlite3_column_table_name);
    TAMRIVO_SQLITE_ENTRY(sqlite3_column_database_name);
    TAMRIVO_SQLITE_ENTRY(sqlite3_column_decltype);
    TAMRIVO_SQLITE_ENTRY(sqlite3_column_origin_name);
    TAMRIVO_SQLITE_ENTRY(sqlite3_column_type);
    TAMRIVO_SQLITE_ENTRY(sqlite3_column_text);
    TAMRIVO_SQLITE_ENTRY(sqlite3_column_int64);
    TAMRIVO_SQLITE_ENTRY(sqlite3_column_double);
    TAMRIVO_SQLITE_ENTRY(sqlite3_column_blob);
    TAMRIVO_SQLITE_ENTRY(sqlite3_interrupt);
    TAMRIVO_SQLITE_ENTRY(sqlite3_changes);
    TAMRIVO_SQLITE_ENTRY(sqlite3_open);
    TAMRIVO_SQLITE_ENTRY(sqlite3_backup_init);
    TAMRIVO_SQLITE_ENTRY(sqlite3_backup_step);
    TAMRIVO_SQLITE_ENTRY(sqlite3_backup_remaining);
    TAMRIVO_SQLITE_ENTRY(sqlite3_backup_pagecount);
    TAMRIVO_SQLITE_ENTRY(sqlite3_sleep);
    TAMRIVO_SQLITE_ENTRY(sqlite3_backup_finish);
    TAMRIVO_SQLITE_ENTRY(sqlite3_last_insert_rowid);

#undef TAMRIVO_SQLITE_ENTRY

private:
    std::vector<std::string> libraryFiles_;
    std::once_flag loadOnce_;
    NativeLibrary library_;
};

// The program-wide table, bound to the first of kSqliteLibraryFiles found; it lives until the
// program ends.
SqliteApi& sqliteApi();

template <typename Result, typename... Arguments>
auto SqliteEntry<Result (*)(Arguments...)>::bound() const -> Function {
    Function address = address_.load(std::memory_order_acquire);
    if (address == nullptr) {
        address = reinterpret_cast<Function>(api_.resolve(name_));
        address_.store(address, std::memory_order_release);
    }
    return address;
}

}  // namespace tamrivo
