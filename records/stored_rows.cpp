#include "records/stored_rows.h"

#include <vector>

namespace tamrivo {
namespace {

constexpr int kTextType = 3;

}  // namespace

bool StoredValue::isText() const {
    return type == kTextType;
}

bool forEachRow(Database& database, const Text& sql, const RowHandler& handler) {
    const StatementHandle statement = database.prepare(sql);
    if (statement == nullptr) {
        return false;
    }
    std::vector<StoredValue> row(static_cast<std::size_t>(database.columnCount(statement)));
    while (database.step(statement)) {
        for (std::size_t column = 0; column < row.size(); ++column) {
            const int index = static_cast<int>(column);
            // The type first: reading a value as another type may change it. The blob
            // reader hands back a text's stored bytes unconverted.
            const int type = database.columnType(statement, index);
            const Bytes bytes = database.columnBlob(statement, index);
            row[column] = {type, {bytes.begin(), bytes.end()}};
        }
        handler(row);
    }
    // A step that failed partway (a damaged page, say) makes finalize fail too.
    return database.finalize(statement);
}

}  // namespace tamrivo
