#include "data/database.h"
#include "data/database_internal.h"

namespace tamrivo {

int Database::dataCount(StatementHandle statement) const {
    return statement != nullptr ? sqliteApi().sqlite3_data_count(statement) : 0;
}

int Database::columnCount(StatementHandle statement) const {
    return statement != nullptr ? sqliteApi().sqlite3_column_count(statement) : 0;
}

int Database::columnBytes(StatementHandle statement, int column) const {
    return statement != nullptr ? sqliteApi().sqlite3_column_bytes(statement, column) : 0;
}

Text Database::columnName(StatementHandle statement, int column) const {
    if (statement == nullptr) {
        return {};
    }
    return detail::fromLibrary(sqliteApi().sqlite3_column_name(statement, column));
}

Text Database::columnTableName(StatementHandle statement, int column) const {
    if (statement == nullptr) {
        return {};
    }
    return detail::fromLibrary(sqliteApi().sqlite3_column_table_name(statement, column));
}

Text Database::columnDatabaseName(StatementHandle statement, int column) const {
    if (statement == nullptr) {
        return {};
    }
    return detail::fromLibrary(sqliteApi().sqlite3_column_database_name(statement, column));
}

int Database::columnIndex(StatementHandle statement, const Text& name) const {
    const int count = columnCount(statement);
    for (int column = 0; column < count; ++column) {
        if (columnName(statement, column) == name) {
            return column;
        }
    }
    return -1;
}

Text Database::columnDeclaredType(StatementHandle statement, int column) const {
    if (statement == nullptr) {
        return {};
    }
    return detail::fromLibrary(sqliteApi().sqlite3_column_decltype(statement, column));
}

Text Database::columnOriginName(StatementHandle statement, int column) const {
    if (statement == nullptr) {
        return {};
    }
    return detail::fromLibrary(sqliteApi().sqlite3_column_origin_name(statement, column));
}

int Database::columnType(StatementHandle statement, int column) const {
    return statement != nullptr ? sqliteApi().sqlite3_column_type(statement, column) : SQLITE_NULL;
}

Text Database::columnText(StatementHandle statement, int column) const {
    if (statement == nullptr) {
        return {};
    }
    SqliteApi& api = sqliteApi();
    // The text first, then its length: asking in this order converts the value only once.
    const unsigned char* text = api.sqlite3_column_text(statement, column);
    return detail::fromLibrary(text, api.sqlite3_column_bytes(statement, column));
}

int Database::columnInt(StatementHandle statement, int column) const {
    return statement != nullptr ? sqliteApi().sqlite3_column_int(statement, column) : 0;
}

std::int64_t Database::columnInt64(StatementHandle statement, int column) const {
    return statement != nullptr ? sqliteApi().sqlite3_column_int64(statement, column) : 0;
}

double Database::columnDouble(StatementHandle statement, int column) const {
    return statement != nullptr ? sqliteApi().sqlite3_column_double(statement, column) : 0.0;
}

Bytes Database::columnBlob(StatementHandle statement, int column) const {
    const std::string_view bytes = columnView(statement, column);
    return Bytes(bytes.begin(), bytes.end());
}

std::string_view Database::columnView(StatementHandle statement, int column) const {
    if (statement == nullptr) {
        return {};
    }
    SqliteApi& api = sqliteApi();
    const auto* data = static_cast<const char*>(api.sqlite3_column_blob(statement, column));
    if (data == nullptr) {
        return {};
    }
    return {data, static_cast<std::size_t>(api.sqlite3_column_bytes(statement, column))};
}

}  // namespace tamrivo
