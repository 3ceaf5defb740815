#pragma once

#include <cstdint>
#include <string_view>

#include "base/value_types.h"
#include "data/database.h"

namespace tamrivo {

// A prepared statement that is finalized when the scope ends, on every path.
class StatementScope {
public:
    StatementScope(Database& database, const Text& sql)
        : database_(database), statement_(database.prepare(sql)) {}
    ~StatementScope() {
        if (statement_) {
            database_.finalize(statement_);
        }
    }
    StatementScope(const StatementScope&) = delete;
    StatementScope& operator=(const StatementScope&) = delete;

    bool prepared() const { return static_cast<bool>(statement_); }
    bool step() { return statement_ && database_.step(statement_); }
    int columnInt(int column) { return database_.columnInt(statement_, column); }
    std::int64_t columnInt64(int column) { return database_.columnInt64(statement_, column); }
    double columnDouble(int column) { return database_.columnDouble(statement_, column); }
    Text columnText(int column) { return database_.columnText(statement_, column); }
    int columnType(int column) { return database_.columnType(statement_, column); }
    // A text's stored bytes, unconverted, valid until the next step.
    std::string_view columnView(int column) { return database_.columnView(statement_, column); }
    void bindText(const Text& name, const Text& value) {
        database_.bindText(statement_, name, value);
    }
    void bindInt(const Text& name, int value) { database_.bindInt(statement_, name, value); }
    void bindInt64(const Text& name, std::int64_t value) {
        database_.bindInt64(statement_, name, value);
    }
    // Makes the statement ready to run again with new bindings.
    bool reset() { return statement_ && database_.reset(statement_); }
    void bindDouble(const Text& name, double value) {
        database_.bindDouble(statement_, name, value);
    }
    // Finalizes now; false when the statement never prepared or a step failed on the way.
    bool finish() {
        const bool finished = statement_ && database_.finalize(statement_);
        statement_ = nullptr;
        return finished;
    }

private:
    Database& database_;
    StatementHandle statement_;
};

}  // namespace tamrivo
