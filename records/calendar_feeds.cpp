#include "records/calendar_feeds.h"

#include <array>

#include "base/text_ops.h"
#include "records/bookings_table.h"
#include "records/schema.h"
#include "records/statement_scope.h"

namespace tamrivo {
namespace {

constexpr char kFeedColumns[] =
    "SELECT `id`, `fangjianid`, `mingcheng`, `dizhi`, `duqushijian`, `cuowu`, `jieguo` "
    "FROM `b_rilidingyue` ";

bool addFeedsTable(Database& database, Text* error) {
    using namespace schema::b_rilidingyue;
    static const std::array<FieldDefinition, 7> fields = {{
        {kId, kFieldInteger, 0, kFieldPrimaryKey | kFieldAutoIncrement, ""},
        {kFangjianid, kFieldInteger, 0, kFieldNotNull, ""},
        {kMingcheng, kFieldText, 0, 0, "''"},
        {kDizhi, kFieldText, 0, kFieldNotNull, ""},
        {kDuqushijian, kFieldText, 0, 0, "''"},
        {kCuowu, kFieldText, 0, 0, "''"},
        {kJieguo, kFieldText, 0, 0, "''"},
    }};
    return addTableOnce(database, kTable, fields, {"i_rilidingyue_fangjianid", "`fangjianid`"},
                        error);
}

bool addOutsideBookingsTable(Database& database, Text* error) {
    using namespace schema::b_waibuyuding;
    static const std::array<FieldDefinition, 9> fields = {{
        {kId, kFieldInteger, 0, kFieldPrimaryKey | kFieldAutoIncrement, ""},
        {kDingyueid, kFieldInteger, 0, kFieldNotNull, ""},
        {kFangjianid, kFieldInteger, 0, kFieldNotNull, ""},
        {kUid, kFieldText, 0, kFieldNotNull, ""},
        {kDaodariqi, kFieldText, 0, kFieldNotNull, ""},
        {kLikairiqi, kFieldText, 0, kFieldNotNull, ""},
        {kLeixing, kFieldInteger, 0, 0, "0"},
        {kZhaiyao, kFieldText, 0, 0, "''"},
        {kChongtu, kFieldInteger, 0, 0, "0"},
    }};
    // A feed's stays are found by their UIDs, a room's by their days.
    return addTableOnce(database, kTable, fields, {"i_waibuyuding_dingyueid", "`dingyueid`, `uid`"},
                        error) &&
           database.createIndex("i_waibuyuding_fangjianid", kTable, "`fangjianid`, `daodariqi`",
                                error);
}

bool addSettingsTable(Database& database, Text* error) {
    using namespace schema::b_tongbushezhi;
    static const std::array<FieldDefinition, 4> fields = {{
        {kId, kFieldInteger, 0, kFieldPrimaryKey, ""},
        {kZidong, kFieldInteger, 0, 0, "1"},
        {kDaochumulu, kFieldText, 0, 0, "''"},
        {kDaochuxingming, kFieldInteger, 0, 0, "0"},
    }};
    return addTableOnce(database, kTable, fields, {}, error);
}

CalendarFeed readFeed(StatementScope& row) {
    return {row.columnInt(0),  row.columnInt(1),  row.columnText(2), row.columnText(3),
            row.columnText(4), row.columnText(5), row.columnText(6)};
}

bool roomIsNormal(Database& database, int roomId) {
    return database.queryInt("SELECT count(*) FROM `b_fangjian` WHERE `zhuangtai`=1 AND `id`=" +
                             std::to_string(roomId)) == 1;
}

}  // namespace

bool addCalendarSyncTables(Database& database, Text* error) {
    return addFeedsTable(database, error) && addOutsideBookingsTable(database, error) &&
           addSettingsTable(database, error);
}

std::optional<std::vector<CalendarFeed>> calendarFeeds(Database& database) {
    StatementScope statement(database, Text(kFeedColumns) + "ORDER BY `fangjianid`, `id`");
    std::vector<CalendarFeed> feeds;
    while (statement.step()) {
        feeds.push_back(readFeed(statement));
    }
    if (!statement.finish()) {
        return std::nullopt;
    }
    return feeds;
}

std::optional<CalendarFeed> findCalendarFeed(Database& database, int feedId) {
    StatementScope statement(database, Text(kFeedColumns) + "WHERE `id`=" + std::to_string(feedId));
    if (!statement.step()) {
        return std::nullopt;
    }
    return readFeed(statement);
}

bool isWebAddress(const Text& address) {
    const Text lower = lowerText(address);
    return lower.starts_with("http://") || lower.starts_with("https://");
}

FeedSave addCalendarFeed(Database& database, int roomId, const Text& name, const Text& address) {
    const Text trimmedName = trimText(name);
    Text where = trimText(address);
    if (lowerText(where).starts_with("file://")) {
        where = where.substr(7);
    }
    if (trimmedName.empty()) {
        return FeedSave::BlankName;
    }
    const bool webAddress = isWebAddress(where);
    // Any other scheme ("ftp://", "webcal://" and the like) is no file either.
    if (where.empty() || (!webAddress && where.find("://") != Text::npos)) {
        return FeedSave::BadAddress;
    }
    if (!roomIsNormal(database, roomId)) {
        return FeedSave::NoRoom;
    }
    StatementScope statement(database,
                             "INSERT INTO `b_rilidingyue` (`fangjianid`, `mingcheng`, `dizhi`) "
                             "VALUES (:room, :name, :address)");
    statement.bindInt(":room", roomId);
    statement.bindText(":name", trimmedName);
    statement.bindText(":address", where);
    statement.step();
    return statement.finish() ? FeedSave::Saved : FeedSave::Failed;
}

bool removeCalendarFeed(Database& database, int feedId) {
    const std::string id = std::to_string(feedId);
    if (!database.begin()) {
        return false;
    }
    if (database.run("DELETE FROM `b_waibuyuding` WHERE `dingyueid`=" + id) &&
        database.run("DELETE FROM `b_rilidingyue` WHERE `id`=" + id) && database.commit()) {
        return true;
    }
    database.rollback();
    return false;
}

bool recordFeedRefusal(Database& database, int feedId, const Text& reason) {
    StatementScope statement(database, "UPDATE `b_rilidingyue` SET `cuowu`=:reason WHERE `id`=:id");
    statement.bindText(":reason", reason.empty() ? Text("读取失败") : reason);
    statement.bindInt(":id", feedId);
    statement.step();
    return statement.finish();
}

SyncSettings loadSyncSettings(Database& database) {
    StatementScope statement(database,
                             "SELECT `zidong`, `daochumulu`, `daochuxingming` FROM "
                             "`b_tongbushezhi` WHERE `id`=1");
    SyncSettings settings;
    if (statement.step()) {
        settings.automatic = statement.columnInt(0) != 0;
        settings.exportFolder = statement.columnText(1);
        settings.exportGuests = statement.columnInt(2) != 0;
    }
    return settings;
}

bool saveSyncSettings(Database& database, const SyncSettings& settings) {
    StatementScope statement(database,
                             "INSERT OR REPLACE INTO `b_tongbushezhi` (`id`, `zidong`, "
                             "`daochumulu`, `daochuxingming`) VALUES (1, :automatic, :folder, "
                             ":guests)");
    statement.bindInt(":automatic", settings.automatic ? 1 : 0);
    statement.bindText(":folder", settings.exportFolder);
    statement.bindInt(":guests", settings.exportGuests ? 1 : 0);
    statement.step();
    return statement.finish();
}

}  // namespace tamrivo
