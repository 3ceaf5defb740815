#include "records/bookings_table.h"

#include <vector>

#include "records/schema.h"

namespace tamrivo {
namespace {

const std::vector<FieldDefinition>& bookingFields() {
    using namespace schema::b_yuding;
    static const std::vector<FieldDefinition> fields = {
        {kId, kFieldInteger, 0, kFieldPrimaryKey | kFieldAutoIncrement, ""},
        {kFangjianid, kFieldInteger, 0, kFieldNotNull, ""},
        {kXingming, kFieldText, 0, 0, "''"},
        {kLianxifangshi, kFieldText, 0, 0, "''"},
        {kDaodariqi, kFieldText, 0, kFieldNotNull, ""},
        {kLikairiqi, kFieldText, 0, kFieldNotNull, ""},
        {kDingjin, kFieldDouble, 0, 0, "0"},
        {kBeizhu, kFieldText, 0, 0, "''"},
        {kZhuangtai, kFieldInteger, 0, 0, "0"},
        {kDanhao, kFieldText, 0, 0, "''"},
        {kChuangjianshijian, kFieldText, 0, 0, "''"},
    };
    return fields;
}

}  // namespace

bool addTableOnce(Database& database, const Text& table, std::span<const FieldDefinition> fields,
                  const OwnIndex& index, Text* error) {
    if (database.tableExists(table)) {
        return true;
    }
    // Another program may add it between the look and the creation; the transaction makes
    // the two steps one, and a table that appeared meanwhile is as good as one made here.
    if (!database.execute("BEGIN IMMEDIATE", error)) {
        return false;
    }
    const bool made =
        database.tableExists(table) ||
        (database.createTable(table, fields, error) &&
         (index.name.empty() || database.createIndex(index.name, table, index.columns, error)));
    if (made && database.commit()) {
        return true;
    }
    if (made && error != nullptr) {
        *error = database.errorMessage();
    }
    database.rollback();
    return false;
}

bool addBookingsTable(Database& database, Text* error) {
    using namespace schema::b_yuding;
    // A stay finds the booking it arrived on by its order number; tables made before that
    // look gain its index too.
    return addTableOnce(
               database, kTable, bookingFields(),
               {"i_yuding_fangjianid", Text("`") + kFangjianid + "`, `" + kDaodariqi + "`"},
               error) &&
           database.createIndex("i_yuding_danhao", kTable, Text("`") + kDanhao + "`", error);
}

}  // namespace tamrivo
