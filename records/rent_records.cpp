#include "records/rent_records.h"

#include <charconv>

#include "records/stored_rows.h"

namespace tamrivo {
namespace {

double number(const std::string& text) {
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

}  // namespace

bool readRentRecords(Database& database, RentRecords& records) {
    return forEachRow(
               database, "SELECT `dizhi` FROM `b_fangjian` ORDER BY `id`",
               [&](std::span<const StoredValue> row) { records.rooms.push_back(row[0].text); }) &&
           forEachRow(
               database,
               "SELECT `id`, `fangzhi`, `ruzhuriqi`, ifnull(`zulinzhuangtai`, 0)=1, "
               "CAST(ifnull(`jiesuanjine`, 0) AS REAL), `jiesuanriqi` FROM `b_zulin` "
               "ORDER BY `id`",
               [&](std::span<const StoredValue> row) {
                   records.leases.push_back({row[0].text, row[1].text, row[2].text,
                                             row[3].text == "1", number(row[4].text), row[5].text});
               });
}

}  // namespace tamrivo
