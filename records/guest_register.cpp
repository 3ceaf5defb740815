#include "records/guest_register.h"

#include <array>

#include "records/bookings_table.h"
#include "records/guest_rows.h"
#include "records/register_access_log.h"
#include "records/schema.h"
#include "records/statement_scope.h"

namespace tamrivo {
namespace {

constexpr char kNeedsProtection[] =
    "未受保护的记录不能保存证件号码、住址、签发机关和有效期限。"
    "请先在“修改密码”窗口中打开“保护记录”，再登记证件。";

constexpr std::size_t kMaskedLead = 6;

Text documentTypeValue(DocumentType type) {
    return std::to_string(static_cast<int>(type));
}
constexpr std::size_t kMaskedTail = 4;

bool addGuestsTable(Database& database, Text* error) {
    using namespace schema::b_zhuke;
    static const std::array<FieldDefinition, 17> fields = {{
        {kId, kFieldInteger, 0, kFieldPrimaryKey, ""},
        {kZulinid, kFieldInteger, 0, kFieldNotNull, ""},
        {kXuhao, kFieldInteger, 0, kFieldNotNull, ""},
        {kXingming, kFieldText, 0, kFieldNotNull, ""},
        {kXingbie, kFieldText, 0, 0, "''"},
        {kMinzu, kFieldText, 0, 0, "''"},
        {kChushengriqi, kFieldText, 0, 0, "''"},
        {kZhengjianleixing, kFieldInteger, 0, 0, "1"},
        {kZhengjianhaoma, kFieldText, 0, 0, "''"},
        {kGuoji, kFieldText, 0, 0, "''"},
        {kZhuzhi, kFieldText, 0, 0, "''"},
        {kQianfajiguan, kFieldText, 0, 0, "''"},
        {kYouxiaoqixian, kFieldText, 0, 0, "''"},
        {kLianxidianhua, kFieldText, 0, 0, "''"},
        {kYishangbao, kFieldInteger, 0, 0, "0"},
        {kShangbaoshijian, kFieldText, 0, 0, "''"},
        {kQingchushijian, kFieldText, 0, 0, "''"},
    }};
    // A returning guest and the search find stays by their document number.
    return addTableOnce(database, kTable, fields,
                        {"i_zhuke_zulinid", Text("`") + kZulinid + "`, `" + kXuhao + "`"}, error) &&
           database.createIndex("i_zhuke_zhengjianhaoma", kTable, Text("`") + kZhengjianhaoma + "`",
                                error);
}

bool addAccessLogTable(Database& database, Text* error) {
    using namespace schema::b_dengjirizhi;
    static const std::array<FieldDefinition, 6> fields = {{
        {kId, kFieldInteger, 0, kFieldPrimaryKey, ""},
        {kShijian, kFieldText, 0, kFieldNotNull, ""},
        {kYonghu, kFieldText, 0, kFieldNotNull, ""},
        {kZhukeid, kFieldInteger, 0, kFieldNotNull, ""},
        {kDongzuo, kFieldInteger, 0, kFieldNotNull, ""},
        {kShuoming, kFieldText, 0, 0, "''"},
    }};
    return addTableOnce(database, kTable, fields, {}, error);
}

bool addSettingsTable(Database& database, Text* error) {
    using namespace schema::b_shezhi;
    static const std::array<FieldDefinition, 2> fields = {{
        {kMingcheng, kFieldText, 0, kFieldPrimaryKey, ""},
        {kZhi, kFieldText, 0, kFieldNotNull, ""},
    }};
    return addTableOnce(database, kTable, fields, {}, error);
}

std::optional<GuestRefusal> checkForKey(Guest& guest, RecordsKey key, std::int64_t arrival,
                                        std::int64_t today) {
    if (key == RecordsKey::Landlords) {
        return checkGuest(guest, arrival, today);
    }
    if (auto refusal = checkGuestName(guest)) {
        return refusal;
    }
    if (auto refusal = checkNationality(guest)) {
        return refusal;
    }
    return checkTextLengths(guest);
}

void bindGuest(StatementScope& statement, const Guest& guest) {
    statement.bindText(":name", guest.name);
    statement.bindText(":sex", guest.sex);
    statement.bindText(":nation", guest.nation);
    statement.bindText(":birth", guest.birthDate);
    statement.bindInt(":type", static_cast<int>(guest.documentType));
    statement.bindText(":number", guest.documentNumber);
    statement.bindText(":nationality", guest.nationality);
    statement.bindText(":address", guest.address);
    statement.bindText(":authority", guest.authority);
    statement.bindText(":until", guest.validUntil);
    statement.bindText(":phone", guest.phone);
    statement.bindInt(":reported", guest.reported ? 1 : 0);
    statement.bindText(":reportedAt", guest.reportedAt);
}

// Updates the guest when it is this stay's, adds it otherwise; false on failure.
bool writeGuest(Database& database, int leaseId, int place, Guest& guest) {
    const bool update = guest.id != 0;
    StatementScope statement(
        database,
        update ? "UPDATE `b_zhuke` SET `xuhao`=:place, `xingming`=:name, `xingbie`=:sex, "
                 "`minzu`=:nation, `chushengriqi`=:birth, `zhengjianleixing`=:type, "
                 "`zhengjianhaoma`=:number, `guoji`=:nationality, `zhuzhi`=:address, "
                 "`qianfajiguan`=:authority, `youxiaoqixian`=:until, `lianxidianhua`=:phone, "
                 "`yishangbao`=:reported, `shangbaoshijian`=:reportedAt "
                 "WHERE `id`=:id AND `zulinid`=:lease"
               : "INSERT INTO `b_zhuke` (`zulinid`, `xuhao`, `xingming`, `xingbie`, `minzu`, "
                 "`chushengriqi`, `zhengjianleixing`, `zhengjianhaoma`, `guoji`, `zhuzhi`, "
                 "`qianfajiguan`, `youxiaoqixian`, `lianxidianhua`, `yishangbao`, "
                 "`shangbaoshijian`) VALUES (:lease, :place, :name, :sex, :nation, :birth, "
                 ":type, :number, :nationality, :address, :authority, :until, :phone, "
                 ":reported, :reportedAt)");
    statement.bindInt(":lease", leaseId);
    statement.bindInt(":place", place);
    if (update) {
        statement.bindInt(":id", guest.id);
    }
    bindGuest(statement, guest);
    statement.step();
    if (!statement.finish() || (update && database.changes() != 1)) {
        return false;
    }
    if (!update) {
        guest.id = static_cast<int>(database.lastInsertRowid());
    }
    return true;
}

// Removes the stay's guests that are no longer among `kept`.
bool removeOthers(Database& database, int leaseId, const std::vector<Guest>& kept) {
    Text ids = "0";
    for (const Guest& guest : kept) {
        if (guest.id != 0) {
            ids += "," + std::to_string(guest.id);
        }
    }
    StatementScope statement(database,
                             "DELETE FROM `b_zhuke` WHERE `zulinid`=:lease AND `id` "
                             "NOT IN (" +
                                 ids + ")");
    statement.bindInt(":lease", leaseId);
    statement.step();
    return statement.finish();
}

bool writeStay(Database& database, int leaseId, std::vector<Guest>& guests,
               const RegisterUser& user) {
    if (!removeOthers(database, leaseId, guests)) {
        return false;
    }
    for (std::size_t i = 0; i < guests.size(); ++i) {
        if (!writeGuest(database, leaseId, static_cast<int>(i + 1), guests[i])) {
            return false;
        }
        if (holdsIdentity(guests[i]) &&
            !logRegisterAccess(
                database, {user.now, user.name, guests[i].id, {}, RegisterAction::Change, {}})) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool holdsIdentity(const Guest& guest) {
    return !guest.documentNumber.empty() || !guest.address.empty() || !guest.authority.empty() ||
           !guest.validUntil.empty();
}

bool addGuestRegisterTables(Database& database, Text* error) {
    return addGuestsTable(database, error) && addAccessLogTable(database, error) &&
           addSettingsTable(database, error);
}

RegisterOutcome checkStayGuests(std::vector<Guest>& guests, RecordsKey key, std::int64_t arrival,
                                std::int64_t today) {
    for (std::size_t i = 0; i < guests.size(); ++i) {
        if (key == RecordsKey::BuiltIn && holdsIdentity(guests[i])) {
            return {RegisterResult::NeedsProtection, kNeedsProtection};
        }
        if (const auto refusal = checkForKey(guests[i], key, arrival, today)) {
            return {RegisterResult::Refused, refusalForGuest(i, guests[i].name, *refusal)};
        }
    }
    return {RegisterResult::Saved, {}};
}

RegisterOutcome saveStayGuests(Database& database, int leaseId, std::vector<Guest>& guests,
                               RecordsKey key, const RegisterUser& user, std::int64_t arrival,
                               std::int64_t today) {
    if (RegisterOutcome checked = checkStayGuests(guests, key, arrival, today);
        checked.result != RegisterResult::Saved) {
        return checked;
    }
    const std::vector<Guest> asGiven = guests;
    if (!database.execute("BEGIN IMMEDIATE")) {
        return {RegisterResult::Failed, database.errorMessage()};
    }
    if (!writeStay(database, leaseId, guests, user) || !database.execute("COMMIT")) {
        const Text reason = database.errorMessage();
        database.execute("ROLLBACK");
        guests = asGiven;
        return {RegisterResult::Failed, reason};
    }
    return {RegisterResult::Saved, {}};
}

std::optional<std::vector<Guest>> stayGuests(Database& database, int leaseId) {
    StatementScope statement(database, Text("SELECT ") + kGuestColumns +
                                           " FROM `b_zhuke` g WHERE g.`zulinid`=:lease ORDER BY "
                                           "g.`xuhao`, g.`id`");
    statement.bindInt(":lease", leaseId);
    std::vector<Guest> guests;
    while (statement.step()) {
        Guest guest = readGuest(statement);
        guest.documentNumber = maskedDocumentNumber(guest.documentNumber);
        guests.push_back(std::move(guest));
    }
    if (!statement.finish()) {
        return std::nullopt;
    }
    return guests;
}

bool restoreMaskedNumbers(Database& database, int leaseId, std::vector<Guest>& guests) {
    StatementScope statement(database,
                             "SELECT `id`, `zhengjianhaoma` FROM `b_zhuke` WHERE `zulinid`=:lease");
    statement.bindInt(":lease", leaseId);
    while (statement.step()) {
        const int id = statement.columnInt(0);
        const Text stored = statement.columnText(1);
        for (Guest& guest : guests) {
            if (guest.id == id && !stored.empty() &&
                guest.documentNumber == maskedDocumentNumber(stored)) {
                guest.documentNumber = stored;
            }
        }
    }
    return statement.finish();
}

std::optional<Guest> viewGuest(Database& database, int guestId, const RegisterUser& user) {
    StatementScope statement(
        database, Text("SELECT ") + kGuestColumns + " FROM `b_zhuke` g WHERE g.`id`=:id");
    statement.bindInt(":id", guestId);
    if (!statement.step()) {
        return std::nullopt;
    }
    Guest guest = readGuest(statement);
    statement.finish();
    if (!logRegisterAccess(database,
                           {user.now, user.name, guest.id, {}, RegisterAction::View, {}})) {
        return std::nullopt;
    }
    return guest;
}

Text maskedDocumentNumber(const Text& number) {
    if (number.size() <= kMaskedLead + kMaskedTail) {
        return Text(number.size(), '*');
    }
    return number.substr(0, kMaskedLead) + Text(number.size() - kMaskedLead - kMaskedTail, '*') +
           number.substr(number.size() - kMaskedTail);
}

bool markReported(Database& database, int guestId, bool reported, const RegisterUser& user) {
    StatementScope statement(database,
                             "UPDATE `b_zhuke` SET `yishangbao`=:reported, "
                             "`shangbaoshijian`=:at WHERE `id`=:id");
    statement.bindInt(":reported", reported ? 1 : 0);
    statement.bindText(":at", reported ? user.now : Text());
    statement.bindInt(":id", guestId);
    statement.step();
    return statement.finish() && database.changes() == 1;
}

std::optional<Guest> lastRegistration(Database& database, DocumentType type, const Text& number,
                                      const RegisterUser& user) {
    if (number.empty()) {
        return std::nullopt;
    }
    StatementScope statement(database, Text("SELECT ") + kGuestColumns +
                                           " FROM `b_zhuke` g WHERE g.`zhengjianhaoma`=:number "
                                           "AND g.`zhengjianleixing`=:type ORDER BY g.`id` DESC "
                                           "LIMIT 1");
    statement.bindText(":number", number);
    statement.bindInt(":type", static_cast<int>(type));
    if (!statement.step()) {
        return std::nullopt;
    }
    Guest guest = readGuest(statement);
    statement.finish();
    logRegisterAccess(database, {user.now, user.name, guest.id, {}, RegisterAction::View, {}});
    guest.id = 0;
    guest.reported = false;
    guest.reportedAt.clear();
    return guest;
}

std::vector<int> leasesWithDocumentNumber(Database& database, const Text& number) {
    std::vector<int> leases;
    if (number.empty()) {
        return leases;
    }
    StatementScope statement(database,
                             "SELECT DISTINCT `zulinid` FROM `b_zhuke` WHERE "
                             "`zhengjianhaoma`=:number ORDER BY `zulinid` DESC");
    statement.bindText(":number", number);
    while (statement.step()) {
        leases.push_back(statement.columnInt(0));
    }
    return leases;
}

std::vector<OverdueReport> overdueForeignReports(Database& database, const Text& now) {
    StatementScope statement(
        database,
        Text("SELECT g.`id`, z.`id`, g.`xingming`, z.`fangzhi`, z.`ruzhuriqi` FROM `b_zhuke` g "
             "JOIN `b_zulin` z ON z.`id`=g.`zulinid` WHERE g.`yishangbao`=0 AND "
             "g.`zhengjianleixing` IN (") +
            documentTypeValue(DocumentType::ForeignPermanentResidentCard) + ", " +
            documentTypeValue(DocumentType::Passport) +
            ") AND g.`guoji`<>'中国' AND datetime(z.`ruzhuriqi`, '+1 day')<:now "
            "ORDER BY z.`ruzhuriqi`, g.`xuhao`");
    statement.bindText(":now", now);
    std::vector<OverdueReport> overdue;
    while (statement.step()) {
        overdue.push_back({statement.columnInt(0), statement.columnInt(1), statement.columnText(2),
                           statement.columnText(3), statement.columnText(4)});
    }
    return overdue;
}

}  // namespace tamrivo
