#include <filesystem>
#include <fstream>
#include <optional>

#include "app/main_window.h"
#include "records/guest_register.h"
#include "records/identity_retention.h"
#include "records/protected_records.h"
#include "records/records_file.h"
#include "records/resident_id_number.h"
#include "records/stored_dates.h"
#include "tests/app/app_fixture.h"
#include "tests/id_card/simulated_reader.h"
#include "tests/support/file_contents.h"
#include "tests/support/pdf_text.h"
#include "ui/windows/guest_register_window.h"
#include "ui/windows/lease_window.h"
#include "ui/windows/main_window.h"
#include "ui/windows/register_log_window.h"
#include "ui/windows/search_window.h"

// After the records headers: Qt's "slots" would rename their members.
#include <QPalette>
#include <QPrinter>
#include <QWidget>

namespace tamrivo::testing {
namespace {

// Made up for the tests: the numbers' check characters fit, the people do not exist.
std::string withCheck(const std::string& first17) {
    return first17 + residentIdCheckCharacter(first17);
}

SimulatedCard card(const std::string& name, const std::string& sexCode,
                   const std::string& first17) {
    return SimulatedCard{.name = name,
                         .sexCode = sexCode,
                         .nationCode = "01",
                         .birthDate = first17.substr(6, 8),
                         .address = "北京市朝阳区测试路1号",
                         .number = withCheck(first17),
                         .authority = "北京市公安局朝阳分局",
                         .validFrom = "20200101",
                         .validUntil = "20400101"};
}

class GuestRegister : public AppTest {
protected:
    void SetUp() override {
        main = startAndLogIn();
        ASSERT_NE(main, 0);
        addRoom("一号房", 1);
        refreshRoomList(app);
        state.cardReaderFolder = folder.path() / "dev";
        std::filesystem::create_directories(state.cardReaderFolder);
    }

    // The records count as the landlord's once their key file stands beside them.
    void protectRecords() { std::ofstream(keySlotsFile(databaseFile())) << "slots"; }

    WindowHandle openCheckIn() {
        command(main, 0, "房屋入住");
        const WindowHandle lease = only(WindowKind::Lease);
        services.setText(lease, lease_window::kDepositEdit, "0");
        services.setText(lease, lease_window::kRentEdit, "120");
        return lease;
    }

    WindowHandle openRegister(WindowHandle lease) {
        clickControl(services, lease, lease_window::kGuestRegisterButton);
        processEvents();
        return only(WindowKind::GuestRegister);
    }

    // Puts the reader on the line the program looks for, reads and waits for the outcome.
    void readCard(WindowHandle guests, SimulatedReader& reader) {
        const auto line = state.cardReaderFolder / "ttyUSB0";
        std::filesystem::remove(line);
        std::filesystem::create_symlink(reader.device(), line);
        const std::size_t boxes = responder.boxes().size();
        const Text before = services.text(guests, guest_register_window::kDocumentNumberEdit);
        clickControl(services, guests, guest_register_window::kReadCardButton);
        ASSERT_TRUE(waitUntil([&] {
            return responder.boxes().size() > boxes ||
                   services.text(guests, guest_register_window::kDocumentNumberEdit) != before;
        }));
    }

    void typeGuest(WindowHandle guests, const Text& name, const Text& number) {
        services.setText(guests, guest_register_window::kNameEdit, name);
        services.setText(guests, guest_register_window::kDocumentNumberEdit, number);
    }

    WindowHandle openRegisterLog() {
        clickToolbarItem(services, main, main_window::kToolbar, "搜索数据");
        processEvents();
        clickControl(services, only(WindowKind::Search), search_window::kRegisterButton);
        processEvents();
        return only(WindowKind::RegisterLog);
    }

    int guestCount() { return queryInt("SELECT count(*) FROM b_zhuke"); }

    WindowHandle main = 0;
};

TEST_F(GuestRegister, AFamilyOfThreeIsRegisteredAtCheckInFromTwoCardsAndOneTypedChild) {
    protectRecords();
    const WindowHandle lease = openCheckIn();
    const WindowHandle guests = openRegister(lease);
    ASSERT_NE(guests, 0);

    SimulatedReader father(ReaderBehaviour::GoodCard, card("测试甲", "1", "11010519800307123"));
    readCard(guests, father);
    EXPECT_TEXT_EQ(services.text(guests, guest_register_window::kNameEdit), "测试甲");
    EXPECT_TEXT_EQ(services.text(guests, guest_register_window::kBirthDateEdit), "1980-03-07");
    EXPECT_EQ(services.selectedIndex(guests, guest_register_window::kSexCombo), 1);
    EXPECT_TEXT_EQ(services.text(guests, guest_register_window::kValidUntilEdit), "2040-01-01");
    services.setText(guests, guest_register_window::kPhoneEdit, "13800000000");
    clickControl(services, guests, guest_register_window::kAddButton);

    SimulatedReader mother(ReaderBehaviour::NoiseThenCard,
                           card("测试乙", "2", "11010519820512234"));
    readCard(guests, mother);
    EXPECT_TEXT_EQ(services.text(guests, guest_register_window::kNameEdit), "测试乙");
    clickControl(services, guests, guest_register_window::kAddButton);

    // The child's number typed with full-width digits; sex and birth date come from it.
    const std::string child = withCheck("11010520150601345");
    Text fullWidth;
    for (const char digit : child) {
        fullWidth += digit == 'X' ? Text("x") : Text("\xA3") + static_cast<char>(digit + 0x80);
    }
    typeGuest(guests, "测试丙", fullWidth);
    clickControl(services, guests, guest_register_window::kAddButton);
    processEvents();
    EXPECT_TRUE(responder.boxes().empty()) << responder.boxes().back().content;
    EXPECT_TEXT_EQ(services.listCellText(guests, guest_register_window::kGuestsTable, 0, 4),
                   "110105********" + withCheck("11010519800307123").substr(14));

    confirm(guests);
    EXPECT_EQ(only(WindowKind::GuestRegister), 0);
    EXPECT_TEXT_EQ(services.text(lease, lease_window::kNameEdit), "测试甲");  // the first guest
    confirm(lease);
    ASSERT_EQ(only(WindowKind::Lease), 0);

    EXPECT_TEXT_EQ(queryText("SELECT xingming FROM b_zulin"), "测试甲");
    EXPECT_EQ(guestCount(), 3);
    EXPECT_TEXT_EQ(queryText("SELECT group_concat(xingming, ',') FROM "
                             "(SELECT xingming FROM b_zhuke ORDER BY xuhao)"),
                   "测试甲,测试乙,测试丙");
    EXPECT_TEXT_EQ(queryText("SELECT zhengjianhaoma FROM b_zhuke WHERE xuhao=3"), child);
    EXPECT_TEXT_EQ(queryText("SELECT chushengriqi || xingbie FROM b_zhuke WHERE xuhao=3"),
                   "2015-06-01" + Text(child[16] % 2 == 1 ? "男" : "女"));
    EXPECT_EQ(queryInt("SELECT count(*) FROM b_dengjirizhi"), 3);  // each identity written
    EXPECT_EQ(queryInt("SELECT count(*) FROM b_zhuke z JOIN b_zulin l ON l.id=z.zulinid"), 3);

    // The day's register, as a CSV file and as the printed form.
    const WindowHandle log = openRegisterLog();
    TemporaryFolder out;
    const std::string csv = out.file("register.csv");
    services.setSaveDialogPresenter([&](const SaveDialogRequest&) { return utf8ToGbk(csv); });
    clickControl(services, log, register_log_window::kExportButton);
    processEvents();
    EXPECT_TEXT_EQ(lastBoxText(), "已导出 3 位住客");
    const std::string written = readFile(csv);
    EXPECT_NE(written.find(gbkToUtf8("测试乙")), std::string::npos) << written;
    EXPECT_NE(written.find(child), std::string::npos) << written;
    const std::string pdf = out.file("register.pdf");
    services.setPrintDialogPresenter([&](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(pdf));
        return true;
    });
    clickControl(services, log, register_log_window::kPrintButton);
    processEvents();
    EXPECT_EQ(readFile(pdf).substr(0, 5), "%PDF-");
    // The printed form reads back as the characters shown, never as Kangxi radicals
    // (U+2F00-U+2FDF, UTF-8 E2 BC 80 to E2 BF 9F) that share their glyphs.
    const PdfText printed = readPdf(pdf);
    ASSERT_TRUE(printed.read);
    EXPECT_NE(printed.text.find(gbkToUtf8("旅客登记表")), std::string::npos) << printed.text;
    EXPECT_NE(printed.text.find(gbkToUtf8("测试乙")), std::string::npos) << printed.text;
    for (std::size_t at = printed.text.find('\xE2'); at != std::string::npos;
         at = printed.text.find('\xE2', at + 1)) {
        const auto second = static_cast<unsigned char>(printed.text[at + 1]);
        EXPECT_FALSE(second >= 0xBC && second <= 0xBF) << "a Kangxi radical at " << at;
    }
    EXPECT_EQ(queryInt("SELECT count(*) FROM b_dengjirizhi WHERE dongzuo=3"), 2);  // both logged
    EXPECT_TEXT_EQ(services.listCellText(log, register_log_window::kLogTable, 0, 2), "导出");
}

TEST_F(GuestRegister, ARefusedGuestRefusesTheWholeCheckInNamingGuestAndField) {
    protectRecords();
    const WindowHandle lease = openCheckIn();
    WindowHandle guests = openRegister(lease);
    typeGuest(guests, "测试甲", withCheck("11010519800307123"));
    clickControl(services, guests, guest_register_window::kAddButton);
    Text wrong = withCheck("11010519900101123");
    wrong.back() = wrong.back() == '0' ? '1' : '0';
    typeGuest(guests, "测试乙", wrong);
    clickControl(services, guests, guest_register_window::kAddButton);
    confirm(guests);
    EXPECT_NE(only(WindowKind::GuestRegister), 0);  // stays open to be mended
    EXPECT_NE(lastBoxText().find("测试乙"), Text::npos) << lastBoxText();
    EXPECT_NE(lastBoxText().find("号码"), Text::npos);

    clickControl(services, guests, guest_register_window::kCancelButton);
    processEvents();

    // A document valid when the register took it but expired by the check-in day chosen
    // afterwards: the check-in is refused whole, before anything is written.
    guests = openRegister(lease);
    typeGuest(guests, "测试甲", withCheck("11010519800307123"));
    services.setText(guests, guest_register_window::kValidUntilEdit,
                     dayText(today() + 2, "yyyy-MM-dd"));
    clickControl(services, guests, guest_register_window::kAddButton);
    confirm(guests);
    ASSERT_EQ(only(WindowKind::GuestRegister), 0);
    services.setDateTime(lease, lease_window::kCheckInPicker,
                         DateTime{static_cast<double>(today() + 5)});
    services.setDateTime(lease, lease_window::kDeparturePicker,
                         DateTime{static_cast<double>(today() + 6)});
    confirm(lease);
    EXPECT_EQ(only(WindowKind::Lease), lease);
    EXPECT_NE(lastBoxText().find("测试甲"), Text::npos) << lastBoxText();
    EXPECT_NE(lastBoxText().find("有效期限"), Text::npos);
    EXPECT_EQ(queryInt("SELECT count(*) FROM b_zulin"), 0);
    EXPECT_EQ(guestCount(), 0);
}

TEST_F(GuestRegister, UnprotectedRecordsKeepNamesButRefuseIdentityAndSayHowToProtect) {
    const WindowHandle lease = openCheckIn();
    const WindowHandle guests = openRegister(lease);
    typeGuest(guests, "测试甲", withCheck("11010519800307123"));
    clickControl(services, guests, guest_register_window::kAddButton);
    EXPECT_NE(lastBoxText().find("保护记录"), Text::npos);
    EXPECT_NE(services.text(guests, guest_register_window::kHintLabel).find("保护记录"),
              Text::npos);

    typeGuest(guests, "测试甲", "");
    clickControl(services, guests, guest_register_window::kAddButton);
    confirm(guests);
    confirm(lease);
    EXPECT_EQ(only(WindowKind::Lease), 0);
    EXPECT_EQ(guestCount(), 1);
    EXPECT_TEXT_EQ(queryText("SELECT zhengjianhaoma FROM b_zhuke"), "");
}

TEST_F(GuestRegister, EditingAStayKeepsTheMaskedNumbersWholeAndLogsEachViewing) {
    protectRecords();
    WindowHandle lease = openCheckIn();
    WindowHandle guests = openRegister(lease);
    const std::string number = withCheck("11010519800307123");
    typeGuest(guests, "测试甲", number);
    clickControl(services, guests, guest_register_window::kAddButton);
    confirm(guests);
    confirm(lease);
    ASSERT_EQ(guestCount(), 1);

    command(main, 0, "修改入住");
    lease = only(WindowKind::Lease);
    guests = openRegister(lease);
    ASSERT_NE(guests, 0);
    services.setSelectedIndex(guests, guest_register_window::kGuestsTable, 0);
    processEvents();
    EXPECT_NE(services.text(guests, guest_register_window::kDocumentNumberEdit).find('*'),
              Text::npos);
    services.setText(guests, guest_register_window::kPhoneEdit, "13900000000");
    services.setChecked(guests, guest_register_window::kReportedCheck, true);
    clickControl(services, guests, guest_register_window::kChangeButton);
    clickControl(services, guests, guest_register_window::kViewButton);
    EXPECT_NE(lastBoxText().find(number), Text::npos);
    confirm(guests);
    EXPECT_EQ(only(WindowKind::GuestRegister), 0);
    EXPECT_TEXT_EQ(queryText("SELECT zhengjianhaoma FROM b_zhuke"), number);
    EXPECT_TEXT_EQ(queryText("SELECT lianxidianhua FROM b_zhuke"), "13900000000");
    EXPECT_EQ(queryInt("SELECT yishangbao FROM b_zhuke"), 1);
    EXPECT_EQ(queryInt("SELECT count(*) FROM b_dengjirizhi WHERE dongzuo=1"), 1);  // viewed
    EXPECT_EQ(queryInt("SELECT count(*) FROM b_dengjirizhi WHERE dongzuo=2"), 2);  // changed
    EXPECT_TEXT_EQ(queryText("SELECT yonghu FROM b_dengjirizhi WHERE dongzuo=1"), "admin");

    // A returning guest: the number typed again fills the rest from the last stay.
    const WindowHandle again = openRegister(lease);
    typeGuest(again, "", number);
    EXPECT_TEXT_EQ(services.text(again, guest_register_window::kNameEdit), "测试甲");
    EXPECT_TEXT_EQ(services.text(again, guest_register_window::kPhoneEdit), "13900000000");
}

TEST_F(GuestRegister, TheReaderSaysPlainlyWhenThereIsNoReaderNoCardOrABadFrame) {
    protectRecords();
    const WindowHandle lease = openCheckIn();
    const WindowHandle guests = openRegister(lease);
    clickControl(services, guests, guest_register_window::kReadCardButton);
    ASSERT_TRUE(waitUntil([&] { return !responder.boxes().empty(); }));
    EXPECT_NE(lastBoxText().find("未找到身份证阅读器"), Text::npos);

    SimulatedReader empty(ReaderBehaviour::NoCard, {});
    readCard(guests, empty);
    EXPECT_NE(lastBoxText().find("没有身份证"), Text::npos);

    SimulatedReader broken(ReaderBehaviour::BadCheckByte, card("测试甲", "1", "11010519800307123"));
    readCard(guests, broken);
    EXPECT_NE(lastBoxText().find("读卡出错"), Text::npos);
    EXPECT_TEXT_EQ(services.text(guests, guest_register_window::kNameEdit),
                   "");  // nothing half-filled
}

TEST_F(GuestRegister, TheSearchFindsStaysByAnExactDocumentNumberOnly) {
    protectRecords();
    const WindowHandle lease = openCheckIn();
    const WindowHandle guests = openRegister(lease);
    const std::string number = withCheck("11010519800307123");
    typeGuest(guests, "测试甲", number);
    clickControl(services, guests, guest_register_window::kAddButton);
    confirm(guests);
    confirm(lease);
    const Text orderNumber = queryText("SELECT danhao FROM b_zulin");

    clickToolbarItem(services, main, main_window::kToolbar, "搜索数据");
    processEvents();
    const WindowHandle search = only(WindowKind::Search);
    ASSERT_NE(search, 0);
    services.setText(search, search_window::kKeywordEdit, number);
    processEvents();
    EXPECT_TEXT_EQ(services.listCellText(search, search_window::kResultsTable, 0, 0), orderNumber);
    services.setText(search, search_window::kKeywordEdit,
                     number.substr(0, 17));  // a part finds nothing
    processEvents();
    EXPECT_TEXT_EQ(services.listCellText(search, search_window::kResultsTable, 0, 0), "");
}

TEST_F(GuestRegister, AForeignGuestUnreportedADayAfterArrivalShowsInRedUntilReported) {
    const int leaseRoom = addLetRoom("二号房", "D-1", "2020-01-01 12:00:00");
    (void)leaseRoom;
    const Text leaseId = queryText("SELECT id FROM b_zulin WHERE danhao='D-1'");
    ASSERT_TRUE(
        run("INSERT INTO b_zhuke (zulinid, xuhao, xingming, zhengjianleixing, guoji) "
            "VALUES(" +
            leaseId + ", 1, 'John Smith', 5, '美国')"));
    ASSERT_TRUE(
        run("INSERT INTO b_zhuke (zulinid, xuhao, xingming, zhengjianleixing, guoji) "
            "VALUES(" +
            leaseId + ", 2, '测试甲', 1, '中国')"));
    refreshRoomList(app);
    const Text shown = services.text(main, main_window::kOverdueReportsLabel);
    EXPECT_NE(shown.find("二号房 John Smith"), Text::npos);
    EXPECT_EQ(shown.find("测试甲"), Text::npos);
    const QWidget* label = services.widget(main, main_window::kOverdueReportsLabel);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(Qt::red));

    ASSERT_TRUE(run("UPDATE b_zhuke SET yishangbao=1"));
    refreshRoomList(app);
    EXPECT_TEXT_EQ(services.text(main, main_window::kOverdueReportsLabel), "");
}

TEST_F(GuestRegister, TheRetentionIsSetInYearsWithinItsBounds) {
    const WindowHandle log = openRegisterLog();
    ASSERT_NE(log, 0);
    EXPECT_TEXT_EQ(services.text(log, register_log_window::kRetentionEdit), "3");
    services.setText(log, register_log_window::kRetentionEdit, "0");
    clickControl(services, log, register_log_window::kSaveRetentionButton);
    EXPECT_NE(lastBoxText().find("1 到 30"), Text::npos);
    services.setText(log, register_log_window::kRetentionEdit, "5");
    clickControl(services, log, register_log_window::kSaveRetentionButton);
    EXPECT_EQ(identityRetentionYears(state.database), 5);
}

// The records as a stay settled four years before today left them, then the program started.
class ExpiredRegister : public AppTest {};

TEST_F(ExpiredRegister, StartingTheProgramPurgesIdentityKeptPastTheRetentionAndLogsIt) {
    makeDatabase();
    {
        Database records;
        ASSERT_TRUE(openRecords(records, databaseFile()).empty());
        ASSERT_TRUE(addGuestRegisterTables(records));
        const Text settled = dayText(today() - 4 * 366, "yyyy-MM-dd") + " 10:00:00";
        const Text recent = dayText(today() - 30, "yyyy-MM-dd") + " 10:00:00";
        for (const Text& day : {settled, recent}) {
            ASSERT_TRUE(records.run(
                "INSERT INTO b_zulin (danhao, fangzhi, xingming, lianxifangshi, dingjin, zujin, "
                "ruzhuriqi, zulinzhuangtai, jiesuanjine, jiesuanriqi) VALUES('" +
                day + "', '一号房', '测试甲', '', 0, 100, '" + day + "', 1, 300, '" + day + "')"));
            ASSERT_TRUE(records.run(
                "INSERT INTO b_zhuke (zulinid, xuhao, xingming, zhengjianhaoma, zhuzhi) VALUES(" +
                std::to_string(records.lastInsertRowid()) + ", 1, '测试甲', '" +
                withCheck("11010519800307123") + "', '北京市')"));
        }
        records.close();
    }
    ASSERT_TRUE(startProgram(app));
    EXPECT_EQ(queryInt("SELECT count(*) FROM b_zhuke WHERE zhengjianhaoma=''"), 1);
    EXPECT_TEXT_EQ(queryText("SELECT z.xingming || z.zhuzhi FROM b_zhuke z JOIN b_zulin l ON "
                             "l.id=z.zulinid ORDER BY l.ruzhuriqi LIMIT 1"),
                   "测试甲");  // the name stays, the address goes
    EXPECT_EQ(queryInt("SELECT sum(jiesuanjine) FROM b_zulin"), 600);  // the money stays
    EXPECT_EQ(queryInt("SELECT count(*) FROM b_dengjirizhi WHERE dongzuo=4"), 1);
}

}  // namespace
}  // namespace tamrivo::testing
