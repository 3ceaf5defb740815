#include "records/register_export.h"

#include <array>
#include <string>

#include "base/text_encoding.h"
#include "records/guest_rows.h"
#include "records/register_access_log.h"
#include "records/statement_scope.h"
#include "records/stored_dates.h"

namespace tamrivo {
namespace {

constexpr std::array<const char*, 15> kHeaders{
    "入住时间", "房间", "姓名",     "性别",     "民族",     "出生日期", "证件类型", "证件号码",
    "国籍",     "住址", "签发机关", "有效期限", "联系电话", "已上报",   "上报时间"};

std::vector<std::string> lineFields(const RegisterLine& line) {
    const Guest& guest = line.guest;
    const std::array<Text, 15> fields{line.arrival,
                                      line.room,
                                      guest.name,
                                      guest.sex,
                                      guest.nation,
                                      guest.birthDate,
                                      Text(documentTypeName(guest.documentType)),
                                      guest.documentNumber,
                                      guest.nationality,
                                      guest.address,
                                      guest.authority,
                                      guest.validUntil,
                                      guest.phone,
                                      guest.reported ? "是" : "否",
                                      guest.reportedAt};
    std::vector<std::string> utf8;
    for (const Text& field : fields) {
        utf8.push_back(gbkToUtf8(field));
    }
    return utf8;
}

}  // namespace

std::optional<std::vector<RegisterLine>> registerLines(Database& database, std::int64_t firstDay,
                                                       std::int64_t lastDay,
                                                       const RegisterUser& user) {
    StatementScope statement(
        database, Text("SELECT ") + kGuestColumns +
                      ", z.`ruzhuriqi`, z.`fangzhi` FROM `b_zhuke` g JOIN `b_zulin` z ON "
                      "z.`id`=g.`zulinid` WHERE date(z.`ruzhuriqi`) BETWEEN :first AND :last "
                      "ORDER BY z.`ruzhuriqi`, z.`id`, g.`xuhao`");
    statement.bindText(":first", dayText(firstDay));
    statement.bindText(":last", dayText(lastDay));
    std::vector<RegisterLine> lines;
    while (statement.step()) {
        RegisterLine line;
        line.guest = readGuest(statement);
        line.arrival = statement.columnText(kAfterGuestColumns);
        line.room = statement.columnText(kAfterGuestColumns + 1);
        lines.push_back(std::move(line));
    }
    if (!statement.finish() ||
        !logRegisterAccess(database, {user.now,
                                      user.name,
                                      0,
                                      {},
                                      RegisterAction::Export,
                                      dayText(firstDay) + " - " + dayText(lastDay)})) {
        return std::nullopt;
    }
    return lines;
}

ExportOutcome exportRegister(const std::vector<RegisterLine>& lines,
                             const std::filesystem::path& file, ReplacementFile::Target target) {
    std::vector<std::string> headers;
    for (const char* header : kHeaders) {
        headers.push_back(gbkToUtf8(header));
    }
    return exportRows(
        file, headers,
        [&](const CsvRowSink& sink) {
            for (const RegisterLine& line : lines) {
                sink(lineFields(line));
            }
            return std::string();
        },
        target);
}

}  // namespace tamrivo
