#pragma once

#include <cstdint>
#include <optional>

#include "base/text_map.h"
#include "base/value_types.h"

namespace tamrivo {

// Composes SQL texts from clause settings and field/value pairs; it never touches a database.
// Every build (except the early empty returns) resets the builder onto its stored table, so it
// is ready for the next statement. Table and column names are written between backquotes;
// clause texts, conditions and raw values are used exactly as given.
//
// Writes follow one pattern: reset(table), then for each column name(column) followed by one
// value setter, then buildInsert / buildUpdate / buildDelete.
class QueryBuilder {
public:
    // Clause setters: each replaces the whole clause and returns the builder for chaining.
    QueryBuilder& where(const Text& condition);
    QueryBuilder& join(const Text& text, bool append = false);
    QueryBuilder& table(const Text& name);
    QueryBuilder& field(const Text& list);
    QueryBuilder& order(const Text& text);
    QueryBuilder& limit(int first, std::optional<int> second = std::nullopt);
    QueryBuilder& page(int pageNumber, int pageSize);
    QueryBuilder& having(const Text& text);
    QueryBuilder& group(const Text& text);
    QueryBuilder& alias(const Text& text);

    // Clears every clause and value and prepares a statement on the table (fields "*").
    QueryBuilder& reset(const Text& tableName);

    // A field and its value. With a raw value the value is stored as given; without one the
    // field waits for the next value setter.
    QueryBuilder& name(const Text& fieldName, std::optional<Text> rawValue = std::nullopt);

    // Value setters give the waiting field its value and end a chain. With no field waiting
    // they do nothing.
    void textValue(const Text& text);  // quoted with quoteText
    void intValue(std::int32_t value);
    void int64Value(std::int64_t value);
    void doubleValue(double value);
    void floatValue(float value);
    void boolValue(int value);           // "1" for 1, "0" for anything else
    void dateTimeValue(DateTime value);  // 'yyyy-MM-dd HH:mm:ss'
    void nullValue();
    void rawValue(const Text& text);

    // A given table argument, even an empty one, is used instead of the stored table for that
    // statement only. Value-driven builds return the empty text, and leave the builder as it
    // was, when no field has a value.
    Text buildUpdate(std::optional<Text> tableName = std::nullopt,
                     std::optional<Text> condition = std::nullopt);
    // mode 1: only the values tuple "(...)", for callers that join several rows themselves.
    Text buildInsert(std::optional<Text> tableName = std::nullopt, int mode = 0);
    // One row as "SELECT v1,v2", followed by " UNION ALL " when moreRows is 1; header, when
    // given, receives "INSERT INTO `t` (`a`, `b`) " to put before the first row.
    Text buildInsertSelect(std::optional<Text> tableName = std::nullopt, Text* header = nullptr,
                           int moreRows = 0);
    // Without a condition the fields with values are the condition; without either the
    // statement deletes every row.
    Text buildDelete(std::optional<Text> tableName = std::nullopt,
                     std::optional<Text> condition = std::nullopt);
    Text buildSelect(std::optional<Text> tableName = std::nullopt,
                     std::optional<Text> condition = std::nullopt,
                     std::optional<Text> fieldList = std::nullopt);
    // The count comes back in the column CH_count.
    Text buildCount();
    // For engines that know TOP; SQLite does not.
    Text buildTop(int rowCount = 1, bool percent = false, const Text& fieldList = "*");

    // The text as a single-quoted SQL literal (wrap false: escaped but without the quotes).
    static Text quoteText(const Text& text, bool wrap = true);

private:
    Text clause(const char* key) const;
    void setClause(const char* key, const Text& value);
    void setWaitingValue(const Text& value);
    std::vector<TextMap::Pair> keptValues() const;
    Text tableAndAlias(const std::optional<Text>& tableName) const;
    Text conditionFromValues() const;
    Text finish(Text statement);

    TextMap clauses_;
    TextMap values_;
};

}  // namespace tamrivo
