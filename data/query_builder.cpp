#include "data/query_builder.h"

#include <algorithm>

#include "base/date_format.h"
#include "base/text_search.h"
#include "base/value_text.h"

namespace tamrivo {
namespace {

// The value of a field named but not yet given a value.
constexpr char kNullMarker[] = "<{%NULL%}>";
// The bookkeeping entry naming the field that waits for its value.
constexpr char kLastKey[] = "<{%LAST%}>";
// Entries whose key or value starts so never reach a statement.
constexpr std::string_view kMarkerPrefix = "<{%";

bool isMarker(const Text& text) {
    return text.starts_with(kMarkerPrefix);
}

Text backquoted(const Text& name) {
    return "`" + name + "`";
}

template <typename Format>
Text joinPairs(const std::vector<TextMap::Pair>& pairs, std::string_view separator, Format format) {
    Text joined;
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        joined += (i == 0 ? Text() : Text(separator)) + format(pairs[i]);
    }
    return joined;
}

Text columnList(const std::vector<TextMap::Pair>& pairs) {
    return joinPairs(pairs, ", ", [](const TextMap::Pair& pair) { return backquoted(pair.key); });
}

Text valueList(const std::vector<TextMap::Pair>& pairs, std::string_view separator) {
    return joinPairs(pairs, separator, [](const TextMap::Pair& pair) { return pair.value; });
}

void appendPart(Text& statement, std::string_view keyword, const Text& part) {
    if (!part.empty()) {
        statement.append(keyword).append(part);
    }
}

}  // namespace

QueryBuilder& QueryBuilder::where(const Text& condition) {
    setClause("where", condition);
    return *this;
}

QueryBuilder& QueryBuilder::join(const Text& text, bool append) {
    setClause("join", append ? clause("join") + " " + text : text);
    return *this;
}

QueryBuilder& QueryBuilder::table(const Text& name) {
    setClause("table", name);
    return *this;
}

QueryBuilder& QueryBuilder::field(const Text& list) {
    setClause("field", list);
    return *this;
}

QueryBuilder& QueryBuilder::order(const Text& text) {
    setClause("order", text);
    return *this;
}

QueryBuilder& QueryBuilder::limit(int first, std::optional<int> second) {
    setClause("limit", second ? toText(first) + "," + toText(*second) : toText(first));
    return *this;
}

QueryBuilder& QueryBuilder::page(int pageNumber, int pageSize) {
    const std::int64_t offset = std::int64_t{std::max(pageNumber, 1) - 1} * pageSize;
    setClause("limit", toText(offset) + "," + toText(pageSize));
    return *this;
}

QueryBuilder& QueryBuilder::having(const Text& text) {
    setClause("having", text);
    return *this;
}

QueryBuilder& QueryBuilder::group(const Text& text) {
    setClause("group", text);
    return *this;
}

QueryBuilder& QueryBuilder::alias(const Text& text) {
    setClause("alias", text);
    return *this;
}

QueryBuilder& QueryBuilder::reset(const Text& tableName) {
    clauses_.clear();
    setClause("table", tableName);
    setClause("field", "*");
    values_.clear();
    return *this;
}

QueryBuilder& QueryBuilder::name(const Text& fieldName, std::optional<Text> rawValue) {
    Text key = fieldName;
    if (rawValue) {
        values_.set(key, *rawValue);
        return *this;
    }
    values_.set(key, kNullMarker);  // trims key
    Text last = kLastKey;
    values_.set(last, key);
    return *this;
}

void QueryBuilder::textValue(const Text& text) {
    setWaitingValue(quoteText(text));
}

void QueryBuilder::intValue(std::int32_t value) {
    setWaitingValue(toText(value));
}

void QueryBuilder::int64Value(std::int64_t value) {
    setWaitingValue(toText(value));
}

void QueryBuilder::doubleValue(double value) {
    setWaitingValue(toText(value));
}

void QueryBuilder::floatValue(float value) {
    setWaitingValue(toText(value));
}

// Only 1 counts as true: 2 or -1 are written as 0, as the stored flags have always been.
void QueryBuilder::boolValue(int value) {
    setWaitingValue(value == 1 ? "1" : "0");
}

void QueryBuilder::dateTimeValue(DateTime value) {
    setWaitingValue("'" + formatDateTime(value, kDefaultDateTimePicture) + "'");
}

void QueryBuilder::nullValue() {
    setWaitingValue("null");
}

void QueryBuilder::rawValue(const Text& text) {
    setWaitingValue(text);
}

Text QueryBuilder::buildUpdate(std::optional<Text> tableName, std::optional<Text> condition) {
    if (condition) {
        where(*condition);
    }
    const std::vector<TextMap::Pair> kept = keptValues();
    if (kept.empty()) {
        return {};
    }
    Text statement = "UPDATE " + tableAndAlias(tableName) + " SET " +
                     joinPairs(kept, ", ", [](const TextMap::Pair& pair) {
                         return backquoted(pair.key) + "=" + pair.value;
                     });
    appendPart(statement, " WHERE ", clause("where"));
    return finish(statement);
}

Text QueryBuilder::buildInsert(std::optional<Text> tableName, int mode) {
    const std::vector<TextMap::Pair> kept = keptValues();
    if (kept.empty()) {
        return {};
    }
    const Text values = valueList(kept, ", ");
    if (mode == 1) {
        return finish("(" + values + ")");
    }
    return finish("INSERT INTO " + tableAndAlias(tableName) + " (" + columnList(kept) +
                  ") VALUES(" + values + ")");
}

Text QueryBuilder::buildInsertSelect(std::optional<Text> tableName, Text* header, int moreRows) {
    const std::vector<TextMap::Pair> kept = keptValues();
    if (kept.empty()) {
        return {};
    }
    if (header != nullptr) {
        *header = "INSERT INTO " + tableAndAlias(tableName) + " (" + columnList(kept) + ") ";
    }
    Text row = "SELECT " + valueList(kept, ",");
    if (moreRows == 1) {
        row += " UNION ALL ";
    }
    return finish(row);
}

Text QueryBuilder::buildDelete(std::optional<Text> tableName, std::optional<Text> condition) {
    if (condition) {
        where(*condition);
    }
    Text effectiveCondition = clause("where");
    if (effectiveCondition.empty()) {
        effectiveCondition = conditionFromValues();
    }
    Text statement = "DELETE FROM " + tableAndAlias(tableName);
    appendPart(statement, " WHERE ", effectiveCondition);
    return finish(statement);
}

Text QueryBuilder::buildSelect(std::optional<Text> tableName, std::optional<Text> condition,
                               std::optional<Text> fieldList) {
    Text effectiveCondition = condition.value_or(clause("where"));
    if (effectiveCondition.empty()) {
        effectiveCondition = conditionFromValues();
    }
    Text statement =
        "SELECT " + fieldList.value_or(clause("field")) + " FROM " + tableAndAlias(tableName);
    appendPart(statement, " ", clause("join"));
    appendPart(statement, " WHERE ", effectiveCondition);
    appendPart(statement, " GROUP BY ", clause("group"));
    appendPart(statement, " HAVING ", clause("having"));
    appendPart(statement, " ORDER BY ", clause("order"));
    appendPart(statement, " LIMIT ", clause("limit"));
    return finish(statement);
}

Text QueryBuilder::buildCount() {
    field("count(*) as CH_count");
    return buildSelect();
}

Text QueryBuilder::buildTop(int rowCount, bool percent, const Text& fieldList) {
    field("TOP " + toText(rowCount) + (percent ? " PERCENT " : " ") + fieldList);
    return buildSelect();
}

// SQLite knows one escape inside a literal, the doubled single quote; every other character,
// a backslash, a double quote or a line break, stands for itself. So doubling the quotes is
// all it takes for the literal to hold exactly the text. A single quote is never the second
// byte of a GBK character, so it is doubled wherever it stands.
Text QueryBuilder::quoteText(const Text& text, bool wrap) {
    const Text escaped = substitute(text, "'", "''");
    return wrap ? "'" + escaped + "'" : escaped;
}

Text QueryBuilder::clause(const char* key) const {
    Text name = key;
    return clauses_.get(name);
}

void QueryBuilder::setClause(const char* key, const Text& value) {
    Text name = key;
    clauses_.set(name, value);
}

// A value with no field waiting for it has nowhere to go and is dropped.
void QueryBuilder::setWaitingValue(const Text& value) {
    Text last = kLastKey;
    Text waiting = values_.get(last, kNullMarker);
    if (waiting == kNullMarker) {
        return;
    }
    values_.set(waiting, value);
    values_.set(last, kNullMarker);
}

std::vector<TextMap::Pair> QueryBuilder::keptValues() const {
    std::vector<TextMap::Pair> kept;
    for (int position = 1; position <= values_.count(); ++position) {
        TextMap::Pair pair = values_.pairAt(position);
        if (!isMarker(pair.key) && !isMarker(pair.value)) {
            kept.push_back(std::move(pair));
        }
    }
    return kept;
}

Text QueryBuilder::tableAndAlias(const std::optional<Text>& tableName) const {
    Text text = backquoted(tableName.value_or(clause("table")));
    appendPart(text, " as ", clause("alias"));
    return text;
}

Text QueryBuilder::conditionFromValues() const {
    return joinPairs(keptValues(), " and ",
                     [](const TextMap::Pair& pair) { return pair.key + "=" + pair.value; });
}

// Every completed build leaves the builder prepared on its stored table, not on a table
// argument the build was given.
Text QueryBuilder::finish(Text statement) {
    reset(clause("table"));
    return statement;
}

}  // namespace tamrivo
