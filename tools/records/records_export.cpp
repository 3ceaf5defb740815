#include <array>
#include <fstream>
#include <ostream>
#include <span>
#include <system_error>
#include <vector>

#include "app/records_copy.h"
#include "app/schema.h"
#include "tools/records/csv.h"
#include "tools/records/records_access.h"
#include "tools/records/records_commands.h"
#include "tools/records/stored_rows.h"
#include "ui/text_encoding.h"

namespace tamrivo {
namespace {

struct ExportColumn {
    const char* name;
    const char* header;  // GBK, like every text of the program
};

struct ExportTable {
    const char* file;
    const char* table;
    std::span<const ExportColumn> columns;
    const char* what;  // for the person: "rooms"
};

namespace fj = schema::b_fangjian;
namespace zl = schema::b_zulin;

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

constexpr std::array<ExportTable, 2> kTables = {{
    {"rooms.csv", fj::kTable, kRoomColumns, "rooms"},
    {"leases.csv", zl::kTable, kLeaseColumns, "leases"},
}};

Text selectAll(const ExportTable& table) {
    Text columns;
    for (const ExportColumn& column : table.columns) {
        columns += (columns.empty() ? "`" : ", `") + Text(column.name) + "`";
    }
    return "SELECT " + columns + " FROM `" + table.table + "` ORDER BY `id`";
}

std::string headerRecord(const ExportTable& table) {
    std::vector<std::string> headers;
    for (const ExportColumn& column : table.columns) {
        headers.push_back(gbkToUtf8(column.header));
    }
    return csvRecord(headers);
}

struct Written {
    std::string error;
    int rows = 0;
};

// Writes the table beside the file and renames it into place once whole.
Written writeTable(Database& database, const ExportTable& table,
                   const std::filesystem::path& file) {
    std::filesystem::path partial = file;
    partial += ".partial";
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    out << kUtf8ByteOrderMark << headerRecord(table);
    Written written;
    std::vector<std::string> fields;
    const bool read = forEachRow(database, selectAll(table), [&](std::span<const StoredValue> row) {
        fields.clear();
        for (const StoredValue& value : row) {
            fields.push_back(value.isText() ? defuseFormula(value.text) : value.text);
        }
        out << csvRecord(fields);
        ++written.rows;
    });
    out.close();
    std::error_code error;
    if (!read) {
        written.error = "cannot read the " + std::string(table.what) + ": " +
                        gbkToUtf8(database.errorMessage());
    } else if (!out) {
        written.error = "cannot write " + partial.string();
    } else {
        std::filesystem::rename(partial, file, error);
        if (error) {
            written.error = "cannot write " + file.string() + ": " + error.message();
        }
    }
    if (!written.error.empty()) {
        std::filesystem::remove(partial, error);
    }
    return written;
}

}  // namespace

int runExport(const CommandInput& input) {
    const std::filesystem::path folder = input.arguments.operands.front();
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        return input.fail("cannot make " + folder.string() + ": " + error.message());
    }
    for (const ExportTable& table : kTables) {
        if (std::filesystem::exists(std::filesystem::symlink_status(folder / table.file, error))) {
            return input.fail((folder / table.file).string() +
                              " already exists; export into an empty or a new folder");
        }
    }
    const auto lock = shareRecords(input);
    Database database;
    if (!lock || !openForCommand(input, database)) {
        return kExitFailed;
    }
    for (const ExportTable& table : kTables) {
        const Written written = writeTable(database, table, folder / table.file);
        if (!written.error.empty()) {
            database.close();
            return input.fail(written.error);
        }
        input.console.out << "exported " << written.rows << ' ' << table.what << " into "
                          << (folder / table.file).string() << '\n';
    }
    database.close();
    syncFolder(folder);
    return kExitDone;
}

}  // namespace tamrivo
