#include "data/database.h"

namespace tamrivo {

StatementHandle Database::listTables() {
    return prepare(
        "select tbl_name,sql from sqlite_master where type='table' and "
        "tbl_name!='sqlite_sequence'");
}

StatementHandle Database::listIndexes(const Text& table) {
    return prepare("select name,sql from sqlite_master where type='index' and tbl_name='" + table +
                   "'");
}

StatementHandle Database::listViews() {
    return prepare("select name,sql from sqlite_master where type='view'");
}

StatementHandle Database::listTriggers(const Text& table) {
    return prepare("select name,sql from sqlite_master where type='trigger' and tbl_name='" +
                   table + "'");
}

bool Database::tableExists(const Text& table) {
    return queryInt("select count(*) from sqlite_master where type='table' and tbl_name='" + table +
                    "'") != 0;
}

bool Database::createTable(const Text& table, std::span<const FieldDefinition> fields,
                           Text* errorText) {
    return execute(createTableSql(table, fields), errorText);
}

bool Database::dropTable(const Text& table, Text* errorText) {
    return execute("drop table if exists " + table, errorText);
}

bool Database::clearTable(const Text& table) {
    return run("Delete From `" + table + "`");
}

bool Database::renameTable(const Text& table, const Text& newName, Text* errorText) {
    return execute("alter table " + table + " rename to " + newName, errorText);
}

bool Database::addColumn(const Text& table, const FieldDefinition& field, Text* errorText) {
    return execute(addColumnSql(table, field), errorText);
}

bool Database::createIndex(const Text& index, const Text& table, const Text& columns,
                           Text* errorText) {
    return execute("create index if not exists " + index + " on " + table + "(" + columns + ")",
                   errorText);
}

bool Database::dropIndex(const Text& index, Text* errorText) {
    return execute("drop index if exists " + index, errorText);
}

bool Database::createView(const Text& view, const Text& select, bool temporary, Text* errorText) {
    return execute(
        Text(temporary ? "CREATE TEMPORARY VIEW " : "CREATE VIEW ") + view + " AS " + select,
        errorText);
}

bool Database::dropView(const Text& view, Text* errorText) {
    return execute("DROP VIEW " + view, errorText);
}

bool Database::createTrigger(const Text& table, const Text& trigger, const Text& body, int event,
                             const Text& columns, int timing, bool temporary, Text* errorText) {
    return execute(createTriggerSql(table, trigger, body, event, columns, timing, temporary),
                   errorText);
}

bool Database::dropTrigger(const Text& trigger, Text* errorText) {
    return execute("DROP TRIGGER " + trigger, errorText);
}

}  // namespace tamrivo
