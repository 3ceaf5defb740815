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

bool addBookingsTable(Database& database, Text* error) {
    using namespace schema::b_yuding;
    if (database.tableExists(kTable)) {
        return true;
    }
    // Another program may add it between the look and the creation; the transaction makes
    // the two steps one, and a table that appeared meanwhile is as good as one made here.
    if (!database.execute("BEGIN IMMEDIATE", error)) {
        return false;
    }
    const bool made =
        database.tableExists(kTable) ||
        (database.createTable(kTable, bookingFields(), error) &&
         database.createIndex("i_yuding_fangjianid", kTable,
                              Text("`") + kFangjianid + "`, `" + kDaodariqi + "`", error));
    if (made && database.commit()) {
        return true;
    }
    if (made && error != nullptr) {
        *error = database.errorMessage();
    }
    database.rollback();
    return false;
}

}  // namespace tamrivo
