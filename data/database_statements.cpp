#include <array>

#include "base/text_encoding.h"
#include "data/database.h"
#include "data/database_internal.h"

namespace tamrivo {
namespace {

// Compiles the first statement of the text; null (and nothing left behind) on failure.
StatementHandle compile(ConnectionHandle connection, const std::string& utf8Sql, int length) {
    SqliteApi& api = sqliteApi();
    sqlite3_stmt* statement = nullptr;
    if (api.sqlite3_prepare_v2(connection, utf8Sql.c_str(), length, &statement, nullptr) !=
        SQLITE_OK) {
        if (statement != nullptr) {
            api.sqlite3_finalize(statement);
        }
        return nullptr;
    }
    return statement;
}

// An empty block is bound as a zero-length blob, not as NULL, hence the non-null address.
bool bindBlobAt(StatementHandle statement, int index, std::span<const std::uint8_t> bytes) {
    static constexpr std::uint8_t kNoBytes = 0;
    const std::uint8_t* data = bytes.empty() ? &kNoBytes : bytes.data();
    return sqliteApi().sqlite3_bind_blob(statement, index, data, static_cast<int>(bytes.size()),
                                         SQLITE_TRANSIENT) == SQLITE_OK;
}

// Binds the given blocks to parameters 1, 2, ... up to the first one left out.
bool bindBlobs(StatementHandle statement, std::span<const BlobArgument> blobs) {
    int index = 1;
    for (const BlobArgument& blob : blobs) {
        if (!blob) {
            break;
        }
        if (!bindBlobAt(statement, index++, *blob)) {
            return false;
        }
    }
    return true;
}

StatementHandle prepareBound(ConnectionHandle connection, const Text& sql,
                             std::span<const BlobArgument> blobs) {
    if (connection == nullptr) {
        return nullptr;
    }
    const std::string utf8Sql = gbkToUtf8(sql);
    StatementHandle statement = compile(connection, utf8Sql, static_cast<int>(utf8Sql.size()));
    if (statement != nullptr && !bindBlobs(statement, blobs)) {
        sqliteApi().sqlite3_finalize(statement);
        return nullptr;
    }
    return statement;
}

// Steps once and hands the statement, standing on its first row, to read; the fallback
// when there is no row. The statement is finalized on every path.
template <typename Value, typename Read>
Value queryFirst(ConnectionHandle connection, const Text& sql, Value fallback, Read read) {
    StatementHandle statement = prepareBound(connection, sql, {});
    if (statement == nullptr) {
        return fallback;
    }
    SqliteApi& api = sqliteApi();
    Value value = api.sqlite3_step(statement) == SQLITE_ROW ? read(statement) : fallback;
    api.sqlite3_finalize(statement);
    return value;
}

}  // namespace

StatementHandle Database::prepare(const Text& sql) {
    if (handle_ == nullptr) {
        return nullptr;
    }
    return compile(handle_, gbkToUtf8(sql), -1);
}

bool Database::finalize(StatementHandle statement) {
    return statement != nullptr && sqliteApi().sqlite3_finalize(statement) == SQLITE_OK;
}

Text Database::statementSql(StatementHandle statement) const {
    return statement != nullptr ? detail::fromLibrary(sqliteApi().sqlite3_sql(statement)) : Text();
}

int Database::parameterIndex(StatementHandle statement, const Text& name) const {
    if (statement == nullptr) {
        return 0;
    }
    return sqliteApi().sqlite3_bind_parameter_index(statement, gbkToUtf8(name).c_str());
}

// A name the statement does not have gives index 0, which the library rejects with its
// own message.
bool Database::bindBlob(StatementHandle statement, const Text& name,
                        std::span<const std::uint8_t> bytes) {
    return statement != nullptr && bindBlobAt(statement, parameterIndex(statement, name), bytes);
}

bool Database::bindText(StatementHandle statement, const Text& name, const Text& value) {
    if (statement == nullptr) {
        return false;
    }
    const std::string utf8 = gbkToUtf8(value);
    return sqliteApi().sqlite3_bind_text(statement, parameterIndex(statement, name), utf8.c_str(),
                                         static_cast<int>(utf8.size()),
                                         SQLITE_TRANSIENT) == SQLITE_OK;
}

bool Database::bindInt(StatementHandle statement, const Text& name, int value) {
    return statement != nullptr &&
           sqliteApi().sqlite3_bind_int(statement, parameterIndex(statement, name), value) ==
               SQLITE_OK;
}

bool Database::bindInt64(StatementHandle statement, const Text& name, std::int64_t value) {
    return statement != nullptr &&
           sqliteApi().sqlite3_bind_int64(statement, parameterIndex(statement, name), value) ==
               SQLITE_OK;
}

bool Database::bindDouble(StatementHandle statement, const Text& name, double value) {
    return statement != nullptr &&
           sqliteApi().sqlite3_bind_double(statement, parameterIndex(statement, name), value) ==
               SQLITE_OK;
}

bool Database::clearBindings(StatementHandle statement) {
    return statement != nullptr && sqliteApi().sqlite3_clear_bindings(statement) == SQLITE_OK;
}

int Database::parameterCount(StatementHandle statement) const {
    return statement != nullptr ? sqliteApi().sqlite3_bind_parameter_count(statement) : 0;
}

Text Database::parameterName(StatementHandle statement, int index) const {
    if (statement == nullptr) {
        return {};
    }
    return detail::fromLibrary(sqliteApi().sqlite3_bind_parameter_name(statement, index));
}

bool Database::step(StatementHandle statement) {
    return statement != nullptr && sqliteApi().sqlite3_step(statement) == SQLITE_ROW;
}

bool Database::stepAndFinalize(StatementHandle statement) {
    if (statement == nullptr) {
        return false;
    }
    SqliteApi& api = sqliteApi();
    const int result = api.sqlite3_step(statement);
    api.sqlite3_finalize(statement);
    return result == SQLITE_DONE;
}

bool Database::reset(StatementHandle statement) {
    return statement != nullptr && sqliteApi().sqlite3_reset(statement) == SQLITE_OK;
}

bool Database::execute(const Text& sql, Text* errorText) {
    if (handle_ == nullptr) {
        if (errorText != nullptr) {
            *errorText = detail::kClosedErrorMessage;
        }
        return false;
    }
    SqliteApi& api = sqliteApi();
    char* message = nullptr;
    const int result =
        api.sqlite3_exec(handle_, gbkToUtf8(sql).c_str(), nullptr, nullptr, &message);
    if (errorText != nullptr) {
        *errorText = (result & 0xFF) == SQLITE_FULL ? Text(detail::kDiskFullMessage)
                                                    : detail::fromLibrary(message);
    }
    api.sqlite3_free(message);
    return result == SQLITE_OK;
}

bool Database::run(const Text& sql, BlobArgument blob1, BlobArgument blob2, BlobArgument blob3,
                   BlobArgument blob4, BlobArgument blob5) {
    const std::array blobs = {blob1, blob2, blob3, blob4, blob5};
    return stepAndFinalize(prepareBound(handle_, sql, blobs));
}

StatementHandle Database::prepareWithBlobs(const Text& sql, BlobArgument blob1, BlobArgument blob2,
                                           BlobArgument blob3, BlobArgument blob4,
                                           BlobArgument blob5) {
    const std::array blobs = {blob1, blob2, blob3, blob4, blob5};
    return prepareBound(handle_, sql, blobs);
}

Text Database::queryText(const Text& sql) {
    return queryFirst(handle_, sql, Text(),
                      [this](StatementHandle statement) { return columnText(statement, 0); });
}

int Database::queryInt(const Text& sql) {
    return queryFirst(handle_, sql, 0, [](StatementHandle statement) {
        return sqliteApi().sqlite3_column_int(statement, 0);
    });
}

bool Database::getTable(const Text& sql, TextTable* table, int& rowCount, int& columnCount,
                        Text& errorText) {
    rowCount = 0;
    columnCount = 0;
    if (handle_ == nullptr) {
        errorText = detail::kClosedErrorMessage;
        return false;
    }
    SqliteApi& api = sqliteApi();
    char** result = nullptr;
    char* message = nullptr;
    const int code = api.sqlite3_get_table(handle_, gbkToUtf8(sql).c_str(), &result, &rowCount,
                                           &columnCount, &message);
    errorText = detail::fromLibrary(message);
    api.sqlite3_free(message);
    if (code != SQLITE_OK) {
        api.sqlite3_free_table(result);
        return false;
    }
    if (table != nullptr) {
        table->assign(rowCount + 1, std::vector<Text>(columnCount));
        for (int row = 0; row <= rowCount; ++row) {
            for (int column = 0; column < columnCount; ++column) {
                (*table)[row][column] = detail::fromLibrary(result[row * columnCount + column]);
            }
        }
    }
    api.sqlite3_free_table(result);
    return true;
}

}  // namespace tamrivo
