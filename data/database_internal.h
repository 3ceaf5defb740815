#pragma once
// Shared by the files that implement Database; not part of its interface.

#include <optional>

#include "base/text_encoding.h"
#include "base/value_types.h"
#include "data/database.h"
#include "data/sqlite_api.h"

namespace tamrivo::detail {

// What a closed database reports: SQLite's own code and words for a call out of sequence.
inline constexpr int kClosedErrorCode = SQLITE_MISUSE;
inline constexpr char kClosedErrorMessage[] = "library routine called out of sequence";

// A full disk is the one failure the landlord can mend, so it is said in their words.
inline constexpr char kDiskFullMessage[] = "磁盘空间不足,数据无法写入";

// Why the connection's last call failed, as GBK: the library's words but for a full disk.
Text errorMessageOf(sqlite3* connection);

// Gives the connection the key of an encrypted file (UTF-8, as every text reaching the library).
void applyKey(sqlite3* connection, const Text& key);
// The same for a raw key, given to the library as "x'<64 hexadecimal digits>'", followed by
// the salt's 32 when one is given.
void applyRawKey(sqlite3* connection, RawKey key, std::optional<RawKeySalt> salt = {});

// A library text (UTF-8, possibly null) as GBK.
Text fromLibrary(const char* utf8);

// Inline: every column text read passes through here.
inline Text fromLibrary(const unsigned char* utf8, int length) {
    if (utf8 == nullptr || length <= 0) {
        return {};
    }
    return utf8ToGbk(std::string_view(reinterpret_cast<const char*>(utf8), length));
}

}  // namespace tamrivo::detail
