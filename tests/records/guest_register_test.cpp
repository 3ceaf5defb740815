#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "records/guest_checks.h"
#include "records/guest_register.h"
#include "records/identity_retention.h"
#include "records/register_access_log.h"
#include "records/register_export.h"
#include "records/resident_id_number.h"
#include "records/stored_dates.h"
#include "tests/records/records_test_support.h"

namespace tamrivo {
namespace {

const std::int64_t kToday = *typedDay("2026-12-09");

// Made-up numbers whose check characters fit; no such people exist.
Text madeUpNumber(const std::string& first17) {
    return first17 + residentIdCheckCharacter(first17);
}

Guest residentGuest(const Text& name, const std::string& first17) {
    Guest guest;
    guest.name = name;
    guest.documentNumber = madeUpNumber(first17);
    guest.address = "北京市朝阳区测试路1号";
    guest.authority = "北京市公安局朝阳分局";
    guest.validUntil = "2036-01-01";
    return guest;
}

Guest foreignGuest(const Text& nationality) {
    Guest guest;
    guest.name = "JOHN TEST";
    guest.documentType = DocumentType::Passport;
    guest.documentNumber = "e12345678";
    guest.nationality = nationality;
    return guest;
}

TEST(GuestChecks, AResidentNumberFillsBirthDateAndSexAndMustAgreeWithThem) {
    Guest guest = residentGuest("测试甲", "11010519900307123");
    EXPECT_FALSE(checkGuest(guest, kToday, kToday));
    EXPECT_EQ(guest.birthDate, "1990-03-07");
    EXPECT_EQ(guest.sex, "男");

    Guest wrongBirth = residentGuest("测试甲", "11010519900307123");
    wrongBirth.birthDate = "1990-03-08";
    EXPECT_EQ(checkGuest(wrongBirth, kToday, kToday)->field, GuestField::BirthDate);
    Guest wrongSex = residentGuest("测试甲", "11010519900307123");
    wrongSex.sex = "女";
    EXPECT_EQ(checkGuest(wrongSex, kToday, kToday)->field, GuestField::Sex);
}

TEST(GuestChecks, EachRefusalNamesItsField) {
    Guest badCheck = residentGuest("测试甲", "11010519900307123");
    badCheck.documentNumber.back() = badCheck.documentNumber.back() == '0' ? '1' : '0';
    const auto check = checkGuest(badCheck, kToday, kToday);
    ASSERT_TRUE(check);
    EXPECT_EQ(check->field, GuestField::DocumentNumber);
    EXPECT_EQ(refusalForGuest(1, "测试甲", *check),
              "第2位住客（测试甲）：居民身份证号码的校验位不对，请核对");
    EXPECT_EQ(refusalForGuest(0, "", *check), "第1位住客：居民身份证号码的校验位不对，请核对");

    Guest expired = residentGuest("测试甲", "11010519900307123");
    expired.validUntil = "2026-12-08";
    EXPECT_EQ(checkGuest(expired, kToday, kToday)->message, "证件已过有效期限，不能登记入住");
    expired.validUntil = "长期";
    EXPECT_FALSE(checkGuest(expired, kToday, kToday));
    expired.validUntil = "2026-13-01";
    EXPECT_EQ(checkGuest(expired, kToday, kToday)->field, GuestField::ValidUntil);

    Guest longName = residentGuest(Text(150, 'A'), "11010519900307123");
    EXPECT_EQ(checkGuest(longName, kToday, kToday)->field, GuestField::Name);
    Guest noName = residentGuest("　 ", "11010519900307123");
    EXPECT_EQ(checkGuest(noName, kToday, kToday)->field, GuestField::Name);

    Guest stateless = foreignGuest("");
    EXPECT_EQ(checkGuest(stateless, kToday, kToday)->field, GuestField::Nationality);
}

TEST(GuestChecks, OtherDocumentsTakeLettersDigitsAndHyphensOnly) {
    Guest passport = foreignGuest("美国");
    passport.documentNumber = " ｅ１２３４５６７８ ";
    EXPECT_FALSE(checkGuest(passport, kToday, kToday));
    EXPECT_EQ(passport.documentNumber, "E12345678");
    passport.documentNumber = "E1234'; DROP";
    EXPECT_EQ(checkGuest(passport, kToday, kToday)->field, GuestField::DocumentNumber);
    passport.documentNumber = Text(33, '1');
    EXPECT_EQ(checkGuest(passport, kToday, kToday)->field, GuestField::DocumentNumber);
}

class Register : public testing::RecordsTest {
protected:
    void SetUp() override {
        makeDatabase();
        Text error;
        ASSERT_TRUE(addGuestRegisterTables(db, &error)) << error;
        lease = addLease("2026-12-09 14:00:00");
    }

    int addLease(const Text& checkIn, int state = schema::kLeaseOpen, const Text& settled = "") {
        execute(
            "INSERT INTO `b_zulin` (`danhao`, `fangzhi`, `xingming`, `ruzhuriqi`, "
            "`zulinzhuangtai`, `jiesuanriqi`) VALUES ('D" +
            std::to_string(++leases) + "', '101', '测试甲', '" + checkIn + "', " +
            std::to_string(state) + ", '" + settled + "')");
        return static_cast<int>(db.lastInsertRowid());
    }

    RegisterOutcome save(int leaseId, std::vector<Guest>& guests,
                         RecordsKey key = RecordsKey::Landlords) {
        return saveStayGuests(db, leaseId, guests, key, user, kToday, kToday);
    }

    std::vector<Guest> family() {
        std::vector<Guest> guests{residentGuest("测试甲", "11010519900307123"),
                                  residentGuest("测试乙", "11010519920511124")};
        Guest child;
        child.name = "测试丙";
        child.documentNumber = madeUpNumber("11010520180101123");
        guests.push_back(child);
        return guests;
    }

    int count(const Text& sql) { return db.queryInt(sql); }

    int lease = 0;
    int leases = 0;
    RegisterUser user{"admin", "2026-12-09 15:00:00"};
};

TEST_F(Register, AFamilyIsRegisteredInOrderAndListsShowTheirNumbersMasked) {
    auto guests = family();
    ASSERT_EQ(save(lease, guests).result, RegisterResult::Saved);
    const auto listed = stayGuests(db, lease);
    ASSERT_TRUE(listed);
    ASSERT_EQ(listed->size(), 3u);
    EXPECT_EQ((*listed)[0].name, "测试甲");
    EXPECT_EQ((*listed)[2].name, "测试丙");
    EXPECT_EQ((*listed)[2].birthDate, "2018-01-01");
    EXPECT_EQ((*listed)[0].documentNumber, "110105********1239");

    const auto whole = viewGuest(db, (*listed)[0].id, user);
    ASSERT_TRUE(whole);
    EXPECT_EQ(whole->documentNumber, "110105199003071239");
    const auto log = registerAccessLog(db);
    ASSERT_TRUE(log);
    ASSERT_EQ(log->size(), 4u);  // three changes and the viewing
    EXPECT_EQ(log->front().action, RegisterAction::View);
    EXPECT_EQ(log->front().guestName, "测试甲");
    EXPECT_EQ(log->front().user, "admin");
}

TEST_F(Register, UnprotectedRecordsKeepNamesButNeverNumbersOrAddresses) {
    auto guests = family();
    const auto refused = save(lease, guests, RecordsKey::BuiltIn);
    EXPECT_EQ(refused.result, RegisterResult::NeedsProtection);
    EXPECT_NE(refused.message.find("保护记录"), Text::npos);
    EXPECT_EQ(count("SELECT count(*) FROM `b_zhuke`"), 0);

    std::vector<Guest> namesOnly(1);
    namesOnly[0].name = "测试甲";
    namesOnly[0].phone = "13800000000";
    EXPECT_EQ(save(lease, namesOnly, RecordsKey::BuiltIn).result, RegisterResult::Saved);
    EXPECT_EQ(count("SELECT count(*) FROM `b_zhuke`"), 1);
}

TEST_F(Register, ARefusedOrFailedSaveLeavesTheStayAsItWas) {
    auto guests = family();
    ASSERT_EQ(save(lease, guests).result, RegisterResult::Saved);
    auto changed = guests;
    changed.pop_back();
    changed[1].validUntil = "2020-01-01";
    EXPECT_EQ(save(lease, changed).result, RegisterResult::Refused);
    EXPECT_EQ(count("SELECT count(*) FROM `b_zhuke`"), 3);

    // A guest id of another stay cannot be written through this one.
    const int other = addLease("2026-12-09 16:00:00");
    auto theirs = family();
    ASSERT_EQ(save(other, theirs).result, RegisterResult::Saved);
    auto forged = guests;
    forged[0].id = theirs[0].id;
    forged[0].name = "冒名";
    EXPECT_EQ(save(lease, forged).result, RegisterResult::Failed);
    EXPECT_EQ(count("SELECT count(*) FROM `b_zhuke` WHERE `xingming`='冒名'"), 0);
    EXPECT_EQ(count("SELECT count(*) FROM `b_zhuke`"), 6);
    EXPECT_EQ(forged[0].id, theirs[0].id);
}

TEST_F(Register, AnEditKeepsEachGuestsIdAndDropsWhoIsGone) {
    auto guests = family();
    ASSERT_EQ(save(lease, guests).result, RegisterResult::Saved);
    const int firstId = guests[0].id;
    std::vector<Guest> two{guests[0], guests[2]};
    two[0].phone = "13900000000";
    ASSERT_EQ(save(lease, two).result, RegisterResult::Saved);
    const auto listed = stayGuests(db, lease);
    ASSERT_EQ(listed->size(), 2u);
    EXPECT_EQ((*listed)[0].id, firstId);
    EXPECT_EQ((*listed)[0].phone, "13900000000");
    EXPECT_EQ((*listed)[1].name, "测试丙");
}

TEST_F(Register, AReturningGuestIsFoundByTheirNumberAndTheLookupLogged) {
    auto guests = family();
    ASSERT_EQ(save(lease, guests).result, RegisterResult::Saved);
    const auto found =
        lastRegistration(db, DocumentType::ResidentIdCard, guests[1].documentNumber, user);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->name, "测试乙");
    EXPECT_EQ(found->address, "北京市朝阳区测试路1号");
    EXPECT_EQ(found->id, 0);
    EXPECT_FALSE(lastRegistration(db, DocumentType::Passport, guests[1].documentNumber, user));
    EXPECT_EQ(leasesWithDocumentNumber(db, guests[1].documentNumber), std::vector<int>{lease});
    EXPECT_TRUE(leasesWithDocumentNumber(db, "").empty());
}

TEST_F(Register, ForeignGuestsUnreportedADayAfterArrivalAreListed) {
    std::vector<Guest> guests{foreignGuest("美国"), foreignGuest("中国")};
    ASSERT_EQ(save(lease, guests).result, RegisterResult::Saved);
    EXPECT_TRUE(overdueForeignReports(db, "2026-12-10 13:59:59").empty());
    const auto overdue = overdueForeignReports(db, "2026-12-10 14:00:01");
    ASSERT_EQ(overdue.size(), 1u);
    EXPECT_EQ(overdue[0].guestId, guests[0].id);
    EXPECT_EQ(overdue[0].room, "101");
    ASSERT_TRUE(markReported(db, guests[0].id, true, user));
    EXPECT_TRUE(overdueForeignReports(db, "2026-12-11 00:00:00").empty());
    EXPECT_FALSE(markReported(db, 9999, true, user));
}

TEST_F(Register, IdentityIsPurgedOnlyPastTheRetentionAfterCheckOutAndEachPurgeLogged) {
    const int old = addLease("2022-01-01 12:00:00", schema::kLeaseSettled, "2022-01-03 10:00:00");
    const int recent =
        addLease("2025-01-01 12:00:00", schema::kLeaseSettled, "2025-01-03 10:00:00");
    auto oldGuests = family();
    auto recentGuests = family();
    ASSERT_EQ(save(old, oldGuests).result, RegisterResult::Saved);
    ASSERT_EQ(save(recent, recentGuests).result, RegisterResult::Saved);
    auto openGuests = family();
    ASSERT_EQ(save(lease, openGuests).result, RegisterResult::Saved);

    EXPECT_EQ(identityRetentionYears(db), 3);
    EXPECT_EQ(purgeExpiredIdentity(db, kToday, user), 3);
    EXPECT_EQ(count("SELECT count(*) FROM `b_zhuke` WHERE `zhengjianhaoma`=''"), 3);
    EXPECT_EQ(count("SELECT count(*) FROM `b_zhuke` WHERE `zulinid`=" + std::to_string(old) +
                    " AND `xingming`<>'' AND `zhuzhi`='' AND `chushengriqi`=''"),
              3);
    EXPECT_EQ(count("SELECT count(*) FROM `b_dengjirizhi` WHERE `dongzuo`=4"), 3);
    EXPECT_EQ(purgeExpiredIdentity(db, kToday, user), 0);

    EXPECT_FALSE(setIdentityRetentionYears(db, 0));
    ASSERT_TRUE(setIdentityRetentionYears(db, 1));
    // Kept a year only, the stay settled in January 2025 goes too.
    EXPECT_EQ(purgeExpiredIdentity(db, kToday, user), 3);
    EXPECT_EQ(count("SELECT count(*) FROM `b_zhuke` WHERE `zhengjianhaoma`<>''"), 3);
}

TEST_F(Register, APurgeThatFailsHalfWayPurgesNobody) {
    const int old = addLease("2020-01-01 12:00:00", schema::kLeaseSettled, "2020-01-03 10:00:00");
    auto guests = family();
    ASSERT_EQ(save(old, guests).result, RegisterResult::Saved);
    // The second purge entry of the log fails, as a full disk would.
    execute(
        "CREATE TEMP TRIGGER t BEFORE INSERT ON `b_dengjirizhi` WHEN (SELECT count(*) FROM "
        "`b_dengjirizhi` WHERE `dongzuo`=4)=1 BEGIN SELECT RAISE(ABORT, 'full'); END");
    EXPECT_FALSE(purgeExpiredIdentity(db, kToday, user));
    EXPECT_EQ(count("SELECT count(*) FROM `b_zhuke` WHERE `zhengjianhaoma`=''"), 0);
    EXPECT_EQ(count("SELECT count(*) FROM `b_dengjirizhi` WHERE `dongzuo`=4"), 0);
}

TEST_F(Register, ADaysRegisterIsExportedWholeAndTheExportLogged) {
    auto guests = family();
    ASSERT_EQ(save(lease, guests).result, RegisterResult::Saved);
    const int earlier = addLease("2026-12-01 09:00:00");
    auto others = family();
    others.resize(1);
    ASSERT_EQ(save(earlier, others).result, RegisterResult::Saved);

    const auto lines = registerLines(db, kToday, kToday, user);
    ASSERT_TRUE(lines);
    ASSERT_EQ(lines->size(), 3u);
    EXPECT_EQ((*lines)[0].guest.documentNumber, "110105199003071239");
    const auto file = folder.path() / "register.csv";
    ASSERT_EQ(exportRegister(*lines, file, ReplacementFile::Target::MustBeNew).rows, 3);
    const std::string csv = testing::readFile(file);
    EXPECT_NE(csv.find(gbkToUtf8("入住时间,房间,姓名")), std::string::npos);
    EXPECT_NE(csv.find("110105199003071239"), std::string::npos);
    const auto log = registerAccessLog(db);
    EXPECT_EQ(log->front().action, RegisterAction::Export);
    EXPECT_EQ(log->front().detail, "2026-12-09 - 2026-12-09");
}

}  // namespace
}  // namespace tamrivo
