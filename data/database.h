#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "base/value_types.h"
#include "data/schema_sql.h"

struct sqlite3;
struct sqlite3_stmt;

namespace tamrivo {

// A SQLite connection; null when there is none.
using ConnectionHandle = sqlite3*;

// A prepared statement; null when there is none. Whoever receives one gives it back to
// finalize (or stepAndFinalize).
using StatementHandle = sqlite3_stmt*;

// A byte block for run / prepareWithBlobs; std::nullopt leaves it (and all after it) out.
using BlobArgument = std::optional<std::span<const std::uint8_t>>;

// A raw 32-byte SQLCipher key, used as it is: no passphrase, no derivation.
inline constexpr std::size_t kRawKeyBytes = 32;
using RawKey = std::span<const std::uint8_t, kRawKeyBytes>;
// The salt a file keyed by a raw key begins with; a copy given its source's salt begins with
// the same bytes, so whatever is bound to those bytes fits the copy too.
inline constexpr std::size_t kRawKeySaltBytes = 16;
using RawKeySalt = std::span<const std::uint8_t, kRawKeySaltBytes>;

// A whole result as texts: row 0 holds the column names, the rows after it the data.
using TextTable = std::vector<std::vector<Text>>;

// Told the remaining and the total page count after every step of a backup.
using BackupProgress = std::function<void(int remaining, int total)>;

// What ends a backup before it is whole: the source kept locked by another connection for
// longer than `longestBusyWait` in a row, or `stop` (when given) turning true, which is
// looked at between steps.
struct BackupLimits {
    std::chrono::milliseconds longestBusyWait = std::chrono::seconds(30);
    const std::atomic<bool>* stop = nullptr;
};

// One connection to a SQLite database, speaking GBK texts on every side; the conversion to
// and from the library's UTF-8 happens inside. Nothing here shows a message or throws:
// failure is the result (false, a null statement, 0, an empty text) and the reason is
// errorCode / errorMessage afterwards. A closed database and a null statement fail every
// operation without reaching the library.
//
// Copies share the connection; destruction leaves it open: only close closes it.
class Database {
public:
    // Connection
    ConnectionHandle handle() const { return handle_; }
    void setHandle(ConnectionHandle handle) { handle_ = handle; }
    // An empty path opens a private in-memory database. With a key the file is encrypted.
    bool open(const Text& path = {}, const Text& key = {}, bool create = false);
    // Opens as open does, the file encrypted with a raw key; the key's text form lives only in
    // a buffer that is wiped before this returns.
    bool openWithRawKey(const Text& path, RawKey key, bool create = false);
    bool close();
    bool rekey(const Text& newKey = {});
    int errorCode() const;
    Text errorMessage() const;
    Text libraryVersion() const;
    int libraryVersionNumber() const;
    bool setBusyTimeout(int milliseconds);
    void interrupt();
    int changes() const;
    std::int64_t lastInsertRowid() const;

    // Statements and binding; parameters are bound by name, prefix character included.
    StatementHandle prepare(const Text& sql);
    bool finalize(StatementHandle statement);
    Text statementSql(StatementHandle statement) const;
    bool bindBlob(StatementHandle statement, const Text& name, std::span<const std::uint8_t> bytes);
    bool bindText(StatementHandle statement, const Text& name, const Text& value);
    bool bindInt(StatementHandle statement, const Text& name, int value);
    bool bindInt64(StatementHandle statement, const Text& name, std::int64_t value);
    bool bindDouble(StatementHandle statement, const Text& name, double value);
    bool clearBindings(StatementHandle statement);
    int parameterCount(StatementHandle statement) const;
    int parameterIndex(StatementHandle statement, const Text& name) const;
    Text parameterName(StatementHandle statement, int index) const;
    // True only when a row came back.
    bool step(StatementHandle statement);
    // Steps once and finalizes; true only when the statement completed.
    bool stepAndFinalize(StatementHandle statement);
    bool reset(StatementHandle statement);

    // Whole statements
    bool execute(const Text& sql, Text* errorText = nullptr);
    // Runs the first statement of the text with the byte blocks bound to parameters 1 to 5;
    // true only when it completed (a statement that yields a row counts as a failure).
    bool run(const Text& sql, BlobArgument blob1 = {}, BlobArgument blob2 = {},
             BlobArgument blob3 = {}, BlobArgument blob4 = {}, BlobArgument blob5 = {});
    StatementHandle prepareWithBlobs(const Text& sql, BlobArgument blob1 = {},
                                     BlobArgument blob2 = {}, BlobArgument blob3 = {},
                                     BlobArgument blob4 = {}, BlobArgument blob5 = {});
    // Column 0 of the first row; the empty text or 0 when there is none.
    Text queryText(const Text& sql);
    int queryInt(const Text& sql);
    bool getTable(const Text& sql, TextTable* table, int& rowCount, int& columnCount,
                  Text& errorText);

    // Columns of the row the statement stands on; numbers are 0-based.
    int dataCount(StatementHandle statement) const;
    int columnCount(StatementHandle statement) const;
    int columnBytes(StatementHandle statement, int column) const;
    Text columnName(StatementHandle statement, int column) const;
    Text columnTableName(StatementHandle statement, int column) const;
    Text columnDatabaseName(StatementHandle statement, int column) const;
    // The first column with exactly this name (case-sensitive), or -1.
    int columnIndex(StatementHandle statement, const Text& name) const;
    Text columnDeclaredType(StatementHandle statement, int column) const;
    Text columnOriginName(StatementHandle statement, int column) const;
    int columnType(StatementHandle statement, int column) const;
    Text columnText(StatementHandle statement, int column) const;
    int columnInt(StatementHandle statement, int column) const;
    std::int64_t columnInt64(StatementHandle statement, int column) const;
    double columnDouble(StatementHandle statement, int column) const;
    Bytes columnBlob(StatementHandle statement, int column) const;
    // The same bytes without a copy, valid until the statement steps, resets or ends.
    std::string_view columnView(StatementHandle statement, int column) const;

    // Schema. Names go into the SQL unchanged; listings give rows of (name, sql).
    StatementHandle listTables();
    StatementHandle listIndexes(const Text& table);
    StatementHandle listViews();
    StatementHandle listTriggers(const Text& table);
    bool tableExists(const Text& table);
    bool createTable(const Text& table, std::span<const FieldDefinition> fields,
                     Text* errorText = nullptr);
    bool dropTable(const Text& table, Text* errorText = nullptr);
    bool clearTable(const Text& table);
    bool renameTable(const Text& table, const Text& newName, Text* errorText = nullptr);
    bool addColumn(const Text& table, const FieldDefinition& field, Text* errorText = nullptr);
    bool createIndex(const Text& index, const Text& table, const Text& columns,
                     Text* errorText = nullptr);
    bool dropIndex(const Text& index, Text* errorText = nullptr);
    bool createView(const Text& view, const Text& select, bool temporary = false,
                    Text* errorText = nullptr);
    bool dropView(const Text& view, Text* errorText = nullptr);
    bool createTrigger(const Text& table, const Text& trigger, const Text& body, int event,
                       const Text& columns = {}, int timing = kTriggerDefaultTiming,
                       bool temporary = false, Text* errorText = nullptr);
    bool dropTrigger(const Text& trigger, Text* errorText = nullptr);

    // Transactions (deferred; no nesting is tracked) and maintenance
    bool begin();
    bool commit();
    bool rollback();
    bool vacuum(Text* errorText = nullptr);
    // The file may hold any character; the alias goes into the SQL as it is.
    bool attach(const Text& file, const Text& alias, Text* errorText = nullptr);
    bool detach(const Text& alias, Text* errorText = nullptr);
    // Copies the schema (default "main") into the destination file, five pages a step,
    // waiting while the source is busy or locked, within the limits. The copy is encrypted
    // with the key; without one it is written in plain text, however the source is
    // encrypted. On failure the reason goes into errorText, when given.
    bool backup(const Text& destination, const BackupProgress& progress = {},
                const Text& schema = {}, const Text& key = {}, const BackupLimits& limits = {},
                Text* errorText = nullptr);
    // The same copy of "main", encrypted with a raw key.
    bool backup(const Text& destination, RawKey key, const BackupLimits& limits = {},
                Text* errorText = nullptr);
    // The same copy, encrypted with a raw key and beginning with the salt given.
    bool backup(const Text& destination, RawKey key, RawKeySalt salt,
                const BackupProgress& progress = {}, const BackupLimits& limits = {},
                Text* errorText = nullptr);

private:
    bool backupInto(const Text& destination, const std::function<void(sqlite3*)>& keyTarget,
                    const BackupProgress& progress, const Text& schema, const BackupLimits& limits,
                    Text* errorText);
    bool checkKeyedOpen();

    ConnectionHandle handle_ = nullptr;
};

}  // namespace tamrivo
