#include "records/landlord.h"

#include <array>

#include "records/schema.h"
#include "records/statement_scope.h"

namespace tamrivo {
namespace {

// Characters of a GBK text: a byte from 0x81 on leads a two-byte character.
int characters(const Text& text) {
    int count = 0;
    for (std::size_t at = 0; at < text.size(); ++count) {
        at += static_cast<unsigned char>(text[at]) >= 0x81 ? 2 : 1;
    }
    return count;
}

bool withinLimits(const Landlord& landlord) {
    return characters(landlord.name) <= kLandlordNameLimit &&
           characters(landlord.address) <= kLandlordAddressLimit &&
           characters(landlord.phone) <= kLandlordPhoneLimit;
}

}  // namespace

bool addLandlordTable(Database& database, Text* error) {
    using namespace schema::b_fangdong;
    if (database.tableExists(kTable)) {
        return true;
    }
    static const std::array<FieldDefinition, 4> fields = {{
        {kId, kFieldInteger, 0, kFieldPrimaryKey, ""},
        {kXingming, kFieldText, 0, 0, "''"},
        {kDizhi, kFieldText, 0, 0, "''"},
        {kDianhua, kFieldText, 0, 0, "''"},
    }};
    // Another program may add it between the look and the creation: one made meanwhile is as
    // good as one made here.
    return database.createTable(kTable, fields, error) || database.tableExists(kTable);
}

Landlord loadLandlord(Database& database) {
    if (!database.tableExists(schema::b_fangdong::kTable)) {
        return {};
    }
    StatementScope row(database,
                       "SELECT `xingming`, `dizhi`, `dianhua` FROM `b_fangdong` WHERE `id`=1");
    if (!row.step()) {
        return {};
    }
    return {row.columnText(0), row.columnText(1), row.columnText(2)};
}

LandlordSave saveLandlord(Database& database, const Landlord& landlord) {
    if (!withinLimits(landlord)) {
        return LandlordSave::TooLong;
    }
    if (!addLandlordTable(database)) {
        return LandlordSave::Failed;
    }
    StatementScope statement(database,
                             "INSERT OR REPLACE INTO `b_fangdong` (`id`, `xingming`, `dizhi`, "
                             "`dianhua`) VALUES (1, :name, :address, :phone)");
    statement.bindText(":name", landlord.name);
    statement.bindText(":address", landlord.address);
    statement.bindText(":phone", landlord.phone);
    statement.step();
    return statement.finish() ? LandlordSave::Saved : LandlordSave::Failed;
}

}  // namespace tamrivo
