#pragma once

#include <functional>
#include <span>
#include <string>

#include "data/database.h"

namespace tamrivo {

// A value as the database holds it: a text as its UTF-8 bytes, left out of the program's
// conversion to GBK so that texts the program could not show come through too; a number
// as the library writes it (98.5, 200.0); NULL as the empty text.
struct StoredValue {
    int type = 0;  // the library's column type: 1 integer, 2 float, 3 text, 4 blob, 5 null
    std::string text;

    bool isText() const;
};

using RowHandler = std::function<void(std::span<const StoredValue> row)>;

// Runs the query and hands every row to the handler. False when it cannot be prepared or
// fails partway; the reason is then the database's errorMessage.
bool forEachRow(Database& database, const Text& sql, const RowHandler& handler);

}  // namespace tamrivo
