#include "data/database.h"

#include <openssl/crypto.h>

#include <array>

#include "base/text_encoding.h"
#include "base/text_search.h"
#include "data/database_internal.h"

namespace tamrivo {

namespace detail {

void applyKey(sqlite3* connection, const Text& key) {
    SqliteApi& api = sqliteApi();
    const std::string utf8Key = gbkToUtf8(key);
    api.sqlite3_key(connection, utf8Key.data(), static_cast<int>(utf8Key.size()));
    api.sqlite3_exec(connection, kRecordFormatStatements, nullptr, nullptr, nullptr);
}

// SQLCipher's x'...' form: the key's hex digits, then the salt's when one is given.
void applyRawKey(sqlite3* connection, RawKey key, std::optional<RawKeySalt> salt) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::array<char, 2 * (kRawKeyBytes + kRawKeySaltBytes) + 3> text{};
    std::size_t length = 0;
    text[length++] = 'x';
    text[length++] = '\'';
    const auto hex = [&](std::span<const std::uint8_t> bytes) {
        for (const std::uint8_t byte : bytes) {
            text[length++] = kDigits[byte >> 4];
            text[length++] = kDigits[byte & 0x0F];
        }
    };
    hex(key);
    if (salt) {
        hex(*salt);
    }
    text[length++] = '\'';
    SqliteApi& api = sqliteApi();
    api.sqlite3_key(connection, text.data(), static_cast<int>(length));
    OPENSSL_cleanse(text.data(), text.size());
    api.sqlite3_exec(connection, kRecordFormatStatements, nullptr, nullptr, nullptr);
}

Text fromLibrary(const char* utf8) {
    return utf8 != nullptr ? utf8ToGbk(utf8) : Text();
}

Text errorMessageOf(sqlite3* connection) {
    SqliteApi& api = sqliteApi();
    return (api.sqlite3_errcode(connection) & 0xFF) == SQLITE_FULL
               ? Text(kDiskFullMessage)
               : fromLibrary(api.sqlite3_errmsg(connection));
}

}  // namespace detail

namespace {

// The first statement on a keyed connection reads the schema, so a key that does not fit
// the file fails the open right here rather than at some later statement. It also states
// the durability the landlord's records need: every commit waits for the disk, so a power
// cut or a system crash cannot leave the file corrupt.
constexpr char kKeyedOpenStatement[] = "PRAGMA synchronous = FULL";

// Another connection's commit holds the file for a moment; the open's first read waits for it
// rather than failing as though the key did not fit. Afterwards the connection waits only as
// its owner says (setBusyTimeout).
constexpr int kKeyedOpenWaitMilliseconds = 5000;

}  // namespace

bool Database::open(const Text& path, const Text& key, bool create) {
    SqliteApi& api = sqliteApi();
    const std::string utf8Path = gbkToUtf8(path.empty() ? Text(":memory:") : path);
    const int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0);
    if (api.sqlite3_open_v2(utf8Path.c_str(), &handle_, flags, nullptr) != SQLITE_OK) {
        return false;  // the handle stays for errorMessage; close releases it
    }
    if (key.empty()) {
        return true;
    }
    detail::applyKey(handle_, key);
    return checkKeyedOpen();
}

bool Database::openWithRawKey(const Text& path, RawKey key, bool create) {
    SqliteApi& api = sqliteApi();
    const std::string utf8Path = gbkToUtf8(path);
    const int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0);
    if (api.sqlite3_open_v2(utf8Path.c_str(), &handle_, flags, nullptr) != SQLITE_OK) {
        return false;
    }
    detail::applyRawKey(handle_, key);
    return checkKeyedOpen();
}

bool Database::checkKeyedOpen() {
    SqliteApi& api = sqliteApi();
    api.sqlite3_busy_timeout(handle_, kKeyedOpenWaitMilliseconds);
    const bool opened = run(kKeyedOpenStatement);
    api.sqlite3_busy_timeout(handle_, 0);
    return opened;
}

bool Database::close() {
    if (handle_ == nullptr) {
        return false;
    }
    const int result = sqliteApi().sqlite3_close(handle_);
    handle_ = nullptr;
    return result == SQLITE_OK;
}

bool Database::rekey(const Text& newKey) {
    if (handle_ == nullptr) {
        return false;
    }
    const std::string utf8Key = gbkToUtf8(newKey);
    return sqliteApi().sqlite3_rekey(handle_, utf8Key.data(), static_cast<int>(utf8Key.size())) ==
           SQLITE_OK;
}

int Database::errorCode() const {
    return handle_ != nullptr ? sqliteApi().sqlite3_errcode(handle_) : detail::kClosedErrorCode;
}

Text Database::errorMessage() const {
    return handle_ != nullptr ? detail::errorMessageOf(handle_) : Text(detail::kClosedErrorMessage);
}

Text Database::libraryVersion() const {
    const char* version = sqliteApi().sqlite3_libversion();
    return version != nullptr ? Text(version) : Text();
}

int Database::libraryVersionNumber() const {
    return sqliteApi().sqlite3_libversion_number();
}

bool Database::setBusyTimeout(int milliseconds) {
    return handle_ != nullptr &&
           sqliteApi().sqlite3_busy_timeout(handle_, milliseconds) == SQLITE_OK;
}

void Database::interrupt() {
    if (handle_ != nullptr) {
        sqliteApi().sqlite3_interrupt(handle_);
    }
}

int Database::changes() const {
    return handle_ != nullptr ? sqliteApi().sqlite3_changes(handle_) : 0;
}

std::int64_t Database::lastInsertRowid() const {
    return handle_ != nullptr ? sqliteApi().sqlite3_last_insert_rowid(handle_) : 0;
}

bool Database::begin() {
    return run("BEGIN");
}

bool Database::commit() {
    return run("COMMIT");
}

bool Database::rollback() {
    return run("ROLLBACK");
}

bool Database::vacuum(Text* errorText) {
    return execute("VACUUM", errorText);
}

// The file goes in as a quoted literal: a path may hold an apostrophe (O'Brien's records), and
// unquoted it would end the literal and let the rest run as statements of their own. The alias
// is the caller's own SQL (a name, or a name and a KEY clause), as before.
bool Database::attach(const Text& file, const Text& alias, Text* errorText) {
    return execute("Attach Database '" + substitute(file, "'", "''") + "' as " + alias, errorText);
}

bool Database::detach(const Text& alias, Text* errorText) {
    return execute("Detach Database " + alias, errorText);
}

}  // namespace tamrivo
