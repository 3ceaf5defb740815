#include "data/schema_sql.h"

#include <array>
#include <string>

namespace tamrivo {

Text typeName(int type) {
    static constexpr std::array<const char*, 13> kNames = {
        "",    "Byte",     "Smallint", "Integer", "BigInt", "Decimal", "Double",
        "Bit", "DateTime", "",         "VarChar", "Blob",   "Text",
    };
    if (type < 0 || type >= static_cast<int>(kNames.size())) {
        return {};
    }
    return kNames[type];
}

Text attributeText(int attributes) {
    Text text;
    if (attributes & kFieldPrimaryKey) {
        text += "Primary Key";
    }
    if (attributes & kFieldAutoIncrement) {
        text += " AutoIncrement";
    }
    if (attributes & kFieldNotNull) {
        text += " Not Null";
    }
    return text;
}

Text createTableSql(const Text& table, std::span<const FieldDefinition> fields) {
    Text sql = "create table " + table;
    if (fields.empty()) {
        return sql;
    }
    sql += " (";
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const FieldDefinition& field = fields[i];
        sql += field.name + " " + typeName(field.type);
        if (field.length != 0) {
            sql += "(" + std::to_string(field.length) + ")";
        }
        if (field.attributes != 0) {
            sql += " " + attributeText(field.attributes);
        }
        if (!field.defaultValue.empty()) {
            sql += " Default " + field.defaultValue;
        }
        if (i + 1 < fields.size()) {
            sql += ",";
        }
    }
    return sql + ")";
}

Text addColumnSql(const Text& table, const FieldDefinition& field) {
    Text sql = "alter table " + table + " add column " + field.name + " " + typeName(field.type);
    if (field.type == kFieldVarChar && field.length != 0) {
        sql += "(" + std::to_string(field.length) + ")";
    }
    if (field.attributes != 0) {
        sql += " " + attributeText(field.attributes);
        if (field.attributes & kFieldWithDefault) {
            sql += " " + field.defaultValue;
        }
    }
    return sql;
}

Text createTriggerSql(const Text& table, const Text& trigger, const Text& body, int event,
                      const Text& columns, int timing, bool temporary) {
    Text sql = temporary ? "CREATE TEMPORARY TRIGGER " : "CREATE TRIGGER ";
    sql += trigger + " ";
    if (timing == kTriggerBefore) {
        sql += "BEFORE ";
    } else if (timing == kTriggerAfter) {
        sql += "AFTER ";
    }
    switch (event) {
        case kTriggerInsert:
            sql += "INSERT ";
            break;
        case kTriggerDelete:
            sql += "DELETE ";
            break;
        case kTriggerUpdate:
            sql += "UPDATE ";
            break;
        case kTriggerUpdateOf:
            sql += "UPDATE OF " + columns + " ";
            break;
        default:
            break;
    }
    return sql + "ON " + table + " BEGIN " + body + " END";
}

}  // namespace tamrivo
