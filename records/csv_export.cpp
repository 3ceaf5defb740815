#include "records/csv_export.h"

#include <array>
#include <cstdint>
#include <system_error>
#include <vector>

#include "base/replacement_file.h"
#include "base/text_encoding.h"
#include "records/csv.h"
#include "records/schema.h"
#include "records/stored_rows.h"

namespace tamrivo {
namespace {

namespace fj = schema::b_fangjian;
namespace zl = schema::b_zulin;
namespace yd = schema::b_yuding;

constexpr std::array<ExportColumn, 5> kRoomColumns = {{
    {fj::kId, "编号"},
    {fj::kDizhi, "房屋地址"},
    {fj::kZhuangtai, "房屋状态"},
    {fj::kChuzuzhuangtai, "出租状态"},
    {fj::kDanhao, "单号"},
}};

constexpr std::array<ExportColumn, 13> kLeaseColumns = {{
    {zl::kId, "编号"},
    {zl::kDanhao, "单号"},
    {zl::kFangzhi, "房屋地址"},
    {zl::kXingming, "姓名"},
    {zl::kLianxifangshi, "联系方式"},
    {zl::kDingjin, "定金"},
    {zl::kZujin, "租金"},
    {zl::kRuzhuriqi, "入住日期"},
    {zl::kZulinzhuangtai, "租赁状态"},
    {zl::kJiesuanjine, "结算金额"},
    {zl::kJiesuanriqi, "结算日期"},
    {zl::kBeizhu, "备注"},
    {zl::kJiesuanbeizhu, "结算备注"},
}};

constexpr std::array<ExportColumn, 11> kBookingColumns = {{
    {yd::kId, "编号"},
    {yd::kFangjianid, "房屋编号"},
    {yd::kXingming, "姓名"},
    {yd::kLianxifangshi, "联系方式"},
    {yd::kDaodariqi, "到达日期"},
    {yd::kLikairiqi, "离开日期"},
    {yd::kDingjin, "定金"},
    {yd::kBeizhu, "备注"},
    {yd::kZhuangtai, "预订状态"},
    {yd::kDanhao, "单号"},
    {yd::kChuangjianshijian, "创建时间"},
}};

constexpr std::array<ExportTable, 3> kTables = {{
    {"rooms.csv", fj::kTable, kRoomColumns, "rooms", false},
    {"leases.csv", zl::kTable, kLeaseColumns, "leases", false},
    {"reservations.csv", yd::kTable, kBookingColumns, "reservations", true},
}};

Text selectAll(const ExportTable& table) {
    Text columns;
    for (const ExportColumn& column : table.columns) {
        columns += (columns.empty() ? "`" : ", `") + Text(column.name) + "`";
    }
    return "SELECT " + columns + " FROM `" + table.table + "` ORDER BY `id`";
}

std::vector<std::string> headers(const ExportTable& table) {
    std::vector<std::string> headers;
    for (const ExportColumn& column : table.columns) {
        headers.push_back(gbkToUtf8(column.header));
    }
    return headers;
}

}  // namespace

std::span<const ExportTable> exportTables() {
    return kTables;
}

ExportOutcome exportRows(const std::filesystem::path& file, std::span<const std::string> headers,
                         const CsvRowSource& rows, ReplacementFile::Target target) {
    ExportOutcome written;
    const auto failWriting = [&](const std::string& what, std::error_code error) {
        written.failure = ExportOutcome::Failure::Writing;
        written.error = what + file.string() + ": " + error.message();
        return written;
    };
    ReplacementFile out;
    if (const std::error_code error = out.create(file)) {
        return failWriting("cannot write beside ", error);
    }
    std::string pending = std::string(kUtf8ByteOrderMark) + csvRecord(headers);
    std::error_code error;
    // Rows go out in blocks, so a large table neither waits in memory nor writes line by line.
    const auto flush = [&](std::size_t atLeast) {
        if (!error && pending.size() >= atLeast) {
            error =
                out.write({reinterpret_cast<const std::uint8_t*>(pending.data()), pending.size()});
            pending.clear();
        }
    };
    const std::string unread = rows([&](const std::vector<std::string>& fields) {
        pending += csvRecord(fields);
        ++written.rows;
        flush(1 << 16);
    });
    flush(0);
    if (!unread.empty()) {
        written.failure = ExportOutcome::Failure::Reading;
        written.error = unread;
    } else if (error || (error = out.commit(target))) {
        return failWriting("cannot write ", error);
    }
    return written;
}

ExportOutcome exportTable(Database& database, const ExportTable& table,
                          const std::filesystem::path& file) {
    const auto readTable = [&](const CsvRowSink& sink) {
        if (table.mayBeAbsent && !database.tableExists(table.table)) {
            return std::string();  // records from before the table: its header alone
        }
        std::vector<std::string> fields;
        const bool read =
            forEachRow(database, selectAll(table), [&](std::span<const StoredValue> row) {
                fields.clear();
                for (const StoredValue& value : row) {
                    fields.push_back(value.text);
                }
                sink(fields);
            });
        return read ? std::string()
                    : "cannot read the " + std::string(table.what) + ": " +
                          gbkToUtf8(database.errorMessage());
    };
    return exportRows(file, headers(table), readTable, ReplacementFile::Target::MustBeNew);
}

}  // namespace tamrivo
