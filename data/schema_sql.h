#pragma once

#include <span>

#include "base/value_types.h"

namespace tamrivo {

// Column type codes of a field definition; code 9 and unknown codes have no type name.
enum FieldType : int {
    kFieldByte = 1,
    kFieldSmallint = 2,
    kFieldInteger = 3,
    kFieldBigInt = 4,
    kFieldDecimal = 5,
    kFieldDouble = 6,
    kFieldBit = 7,
    kFieldDateTime = 8,
    kFieldVarChar = 10,
    kFieldBlob = 11,
    kFieldText = 12,
};

// Attribute bits of a field definition. kFieldWithDefault is read only by addColumn.
enum FieldAttribute : int {
    kFieldPrimaryKey = 1,
    kFieldAutoIncrement = 2,
    kFieldNotNull = 4,
    kFieldWithDefault = 8,
};

// One column of a table definition. Names and default texts go into the SQL unchanged: a
// text default carries its own quotes.
struct FieldDefinition {
    Text name;
    int type = 0;
    int length = 0;  // written in parentheses after the type name; 0 = none
    int attributes = 0;
    Text defaultValue;  // empty = none
};

// Trigger events and timings as createTrigger takes them; other codes write nothing.
enum TriggerEvent : int {
    kTriggerInsert = 0,
    kTriggerDelete = 1,
    kTriggerUpdate = 2,
    kTriggerUpdateOf = 3
};
enum TriggerTiming : int { kTriggerDefaultTiming = 0, kTriggerBefore = 1, kTriggerAfter = 2 };

Text typeName(int type);
Text attributeText(int attributes);

// The statements behind Database::createTable, addColumn and createTrigger.
Text createTableSql(const Text& table, std::span<const FieldDefinition> fields);
Text addColumnSql(const Text& table, const FieldDefinition& field);
Text createTriggerSql(const Text& table, const Text& trigger, const Text& body, int event,
                      const Text& columns, int timing, bool temporary);

}  // namespace tamrivo
