#include "records/database_setup.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>
#include <vector>

#include "base/text_encoding.h"
#include "data/database.h"
#include "records/bookings_table.h"
#include "records/demo_data.h"
#include "records/planned_departures.h"
#include "records/schema.h"
#include "records/stored_dates.h"
#include "records/users.h"

namespace tamrivo {
namespace {

constexpr char kAdminName[] = "admin";
constexpr char kAdminPassword[] = "904817";

const std::vector<FieldDefinition>& usersTable() {
    using namespace schema::b_yh;
    static const std::vector<FieldDefinition> fields = {
        {kId, kFieldInteger, 0, kFieldPrimaryKey | kFieldAutoIncrement, ""},
        {kYhm, kFieldText, 0, kFieldNotNull, ""},
        {kMm, kFieldText, 0, kFieldNotNull, ""},
    };
    return fields;
}

const std::vector<FieldDefinition>& roomsTable() {
    using namespace schema::b_fangjian;
    static const std::vector<FieldDefinition> fields = {
        {kId, kFieldInteger, 0, kFieldPrimaryKey | kFieldAutoIncrement, ""},
        {kDizhi, kFieldText, 0, 0, ""},
        {kZhuangtai, kFieldInteger, 0, 0, "1"},
        {kChuzuzhuangtai, kFieldInteger, 0, 0, "0"},
        {kDanhao, kFieldText, 0, 0, "''"},
    };
    return fields;
}

const std::vector<FieldDefinition>& leasesTable() {
    using namespace schema::b_zulin;
    static const std::vector<FieldDefinition> fields = {
        {kId, kFieldInteger, 0, kFieldPrimaryKey | kFieldAutoIncrement, ""},
        {kDanhao, kFieldText, 0, 0, "''"},
        {kFangzhi, kFieldText, 0, 0, "''"},
        {kXingming, kFieldText, 0, 0, "''"},
        {kLianxifangshi, kFieldText, 0, 0, "''"},
        {kDingjin, kFieldDouble, 0, 0, "0"},
        {kZujin, kFieldDouble, 0, 0, "0"},
        {kRuzhuriqi, kFieldText, 0, 0, "''"},
        {kZulinzhuangtai, kFieldInteger, 0, 0, "0"},
        {kJiesuanjine, kFieldDouble, 0, 0, "0"},
        {kJiesuanriqi, kFieldText, 0, 0, "''"},
        {kBeizhu, kFieldText, 0, 0, "''"},
        {kJiesuanbeizhu, kFieldText, 0, 0, "''"},
    };
    return fields;
}

bool addAdmin(Database& db) {
    return db.run("INSERT INTO `b_yh` (`yhm`, `mm`) VALUES('" + Text(kAdminName) + "', '')") &&
           setPassword(db, static_cast<int>(db.lastInsertRowid()), kAdminPassword).result ==
               PasswordResult::Set;
}

bool fill(Database& db, Text& error) {
    return db.createTable(schema::b_yh::kTable, usersTable(), &error) &&
           db.createTable(schema::b_fangjian::kTable, roomsTable(), &error) &&
           db.createTable(schema::b_zulin::kTable, leasesTable(), &error) && addAdmin(db);
}

// The demo's stays carry planned departures, so they follow the program's own tables.
bool fillDemo(Database& db) {
    if (!db.begin()) {
        return false;
    }
    if (!addDemoData(db, today())) {
        db.rollback();
        return false;
    }
    return db.commit();
}

// Creates the file empty, failing if anything stands at the path: nothing that exists is
// ever opened, even when it appears between the check and the creation.
std::error_code createEmptyFile(const std::filesystem::path& file) {
    const int descriptor = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (descriptor < 0) {
        return {errno, std::generic_category()};
    }
    ::close(descriptor);
    return {};
}

std::string native(const Text& gbk) {
    return gbkToUtf8(gbk);
}

}  // namespace

SetupOutcome createDatabase(const std::filesystem::path& file, bool withDemo) {
    const std::string shown = file.string();
    const Text path = utf8ToGbk(shown);
    if (path.empty()) {
        return {false, "cannot use " + shown + ": the path has characters outside GBK"};
    }
    std::error_code error;
    if (std::filesystem::exists(std::filesystem::symlink_status(file, error))) {
        return {false, "refusing to touch " + shown + ": it already exists"};
    }
    std::filesystem::create_directories(file.parent_path(), error);
    if (!error) {
        error = createEmptyFile(file);
    }
    if (error) {
        return {false, "cannot create " + shown + ": " + error.message()};
    }

    Database db;
    Text reason;
    const bool opened = db.open(path, schema::kDatabaseKey);
    const bool filled = opened && db.begin() && fill(db, reason) && db.commit() &&
                        addBookingsTable(db, &reason) && addPlannedDeparturesTable(db, &reason) &&
                        (!withDemo || fillDemo(db));
    if (!filled && reason.empty()) {
        reason = db.errorMessage();
    }
    const bool closed = db.close();
    if (!filled || !closed) {
        std::filesystem::remove(file, error);
        return {false, "cannot create " + shown + ": " + native(reason)};
    }
    std::string made = "created " + shown +
                       " with tables b_yh, b_fangjian, b_zulin, b_yuding and b_yujituifang, user " +
                       kAdminName + " (password " + kAdminPassword + ")";
    if (withDemo) {
        made += ", " + demoDataSummary();
    }
    return {true, made};
}

}  // namespace tamrivo
