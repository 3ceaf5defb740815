#include <QPrinter>

#include <filesystem>

#include "app/lease_record.h"
#include "app/lease_record_window.h"
#include "app/main_window.h"
#include "base/date_format.h"
#include "base/date_time.h"
#include "base/text_to_value.h"
#include "tests/app/search_fixture.h"
#include "tests/support/pdf_text.h"
#include "ui/windows/checkout_window.h"
#include "ui/windows/landlord_window.h"
#include "ui/windows/lease_record_window.h"
#include "ui/windows/search_window.h"

namespace tamrivo::testing {
namespace {

class LeaseRecord : public SearchTest {
protected:
    // Opens the record of the search's first row by a double click.
    WindowHandle openFirstFound() {
        doubleClickTableRow(services, openSearch(), kResults, 0, 2);
        processEvents();
        const auto records = services.openWindows(WindowKind::LeaseRecord);
        return records.empty() ? 0 : records.back();
    }

    Text line(WindowHandle record, const Text& label) { return services.text(record, label); }

    StoredLease settled{.danhao = "20200217120000-00001000",
                        .fangzhi = "幸福小区3号楼1203室",
                        .xingming = "王五",
                        .lianxifangshi = "13912345678",
                        .dingjin = 200,
                        .zujin = 88.5,
                        .ruzhuriqi = "2020-02-17 12:00:00",
                        .zulinzhuangtai = 1,
                        .jiesuanjine = 177,
                        .jiesuanriqi = "2020-02-19 00:00:00",
                        .beizhu = "靠窗",
                        .jiesuanbeizhu = "押金已退"};
};

TEST_F(LeaseRecord, ASettledLeaseShowsEveryFieldAndItsLengthToTheCheckOut) {
    addLease(settled);
    const WindowHandle record = openFirstFound();
    ASSERT_NE(record, 0);
    EXPECT_TEXT_EQ(line(record, lease_record_window::kOrderNumberLabel),
                   "单    号：20200217120000-00001000");
    EXPECT_TEXT_EQ(line(record, lease_record_window::kAddressLabel),
                   "入住房址：幸福小区3号楼1203室");
    EXPECT_TEXT_EQ(line(record, lease_record_window::kNameLabel), "姓    名：王五");
    EXPECT_TEXT_EQ(line(record, lease_record_window::kContactLabel), "联系方式：13912345678");
    EXPECT_TEXT_EQ(line(record, lease_record_window::kDepositLabel), "定    金：200元");
    EXPECT_TEXT_EQ(line(record, lease_record_window::kRentLabel), "租    金：88.5元");
    EXPECT_TEXT_EQ(line(record, lease_record_window::kCheckInLabel),
                   "入住日期：2020-02-17 12:00:00");
    EXPECT_TEXT_EQ(line(record, lease_record_window::kCheckOutLabel),
                   "退房日期：2020-02-19 00:00:00");
    EXPECT_TEXT_EQ(line(record, lease_record_window::kDaysLabel), "入住天数：1.5天");
    EXPECT_TEXT_EQ(line(record, lease_record_window::kAmountLabel), "实收金额：177元");
    EXPECT_TEXT_EQ(line(record, lease_record_window::kStateLabel), "状    态：已结算");
    EXPECT_TEXT_EQ(line(record, lease_record_window::kRemarkLabel), "备    注：靠窗");
    EXPECT_TEXT_EQ(line(record, lease_record_window::kSettlementRemarkLabel), "结算备注：押金已退");
}

TEST_F(LeaseRecord, AnOpenLeaseRunsToNowAndHasNoCheckOutYet) {
    const DateTime twoDaysAgo{currentDateTime().days - 2};
    addLease({.danhao = "OPEN", .ruzhuriqi = formatDateTime(twoDaysAgo)});
    services.setText(openSearch(), search_window::kKeywordEdit, "OPEN");
    processEvents();
    services.setSelectedIndex(only(WindowKind::Search), kResults, 0);
    clickControl(services, only(WindowKind::Search), search_window::kOpenButton);
    processEvents();
    const WindowHandle record = only(WindowKind::LeaseRecord);
    ASSERT_NE(record, 0);
    EXPECT_TEXT_EQ(line(record, lease_record_window::kCheckOutLabel), "退房日期：");
    EXPECT_TEXT_EQ(line(record, lease_record_window::kAmountLabel), "实收金额：");
    EXPECT_TEXT_EQ(line(record, lease_record_window::kStateLabel), "状    态：未结算");
    EXPECT_TEXT_EQ(line(record, lease_record_window::kDaysLabel), "入住天数：2天");
}

TEST_F(LeaseRecord, ALeaseWithoutItsSettlementDateShowsNoLength) {
    settled.jiesuanriqi = "";
    addLease(settled);
    const WindowHandle record = openFirstFound();
    EXPECT_TEXT_EQ(line(record, lease_record_window::kCheckOutLabel), "退房日期：");
    EXPECT_TEXT_EQ(line(record, lease_record_window::kDaysLabel), "入住天数：");
    EXPECT_TEXT_EQ(line(record, lease_record_window::kStateLabel), "状    态：已结算");
}

TEST_F(LeaseRecord, ALeaseThatIsGoneIsSaidToBeAndItsWindowCloses) {
    openLeaseRecordWindow(app, 999);
    processEvents();
    EXPECT_TEXT_EQ(lastBoxText(), "没有找到这条入住记录");
    EXPECT_EQ(only(WindowKind::LeaseRecord), 0);
}

TEST_F(LeaseRecord, TheReceiptSavedAsPdfHoldsEveryFieldOnOnePage) {
    addLease(settled);
    const WindowHandle record = openFirstFound();
    TemporaryFolder out;
    const std::string file = out.file(gbkToUtf8("收据.pdf"));
    Text suggested;
    services.setSaveDialogPresenter([&](const SaveDialogRequest& request) {
        suggested = request.suggestedName;
        return utf8ToGbk(file);
    });
    clickControl(services, record, lease_record_window::kPdfButton);
    processEvents();
    EXPECT_TEXT_EQ(suggested, "收据-20200217120000-00001000.pdf");
    const PdfText pdf = readPdf(file);
    ASSERT_TRUE(pdf.read) << pdf.text;
    EXPECT_EQ(pdf.pages, 1);
    const Text today = formatDateTime(currentDateTime(), "yyyy-MM-dd");
    for (const Text& field :
         {Text("收据"), Text("幸福小区3号楼1203室"), Text("20200217120000-00001000"), Text("王五"),
          Text("13912345678"), Text("2020-02-17 12:00:00"), Text("2020-02-19 00:00:00"),
          Text("2晚"), Text("200.00元"), Text("88.50元"), Text("177.00元"), Text("靠窗"),
          Text("退还 23.00元"), Text("壹佰柒拾柒元整"), Text("押金已退"), Text("打印日期"),
          Text("收 款 人"), today}) {
        EXPECT_NE(pdf.text.find(gbkToUtf8(field)), std::string::npos) << gbkToUtf8(field) << "\n"
                                                                      << pdf.text;
    }
    EXPECT_EQ(responder.count(), 0u);
}

TEST_F(LeaseRecord, TheLandlordsDetailsAreKeptAndPrintedOnEveryReceipt) {
    addLease(settled);
    const WindowHandle record = openFirstFound();
    clickControl(services, record, lease_record_window::kLandlordButton);
    processEvents();
    const WindowHandle landlord = only(WindowKind::Landlord);
    ASSERT_NE(landlord, 0);
    EXPECT_TEXT_EQ(services.text(landlord, landlord_window::kNameEdit), "");
    services.setText(landlord, landlord_window::kNameEdit, "李房东");
    services.setText(landlord, landlord_window::kAddressEdit, "幸福路8号");
    services.setText(landlord, landlord_window::kPhoneEdit,
                     Text(51, '1'));  // over the limit: refused
    clickControl(services, landlord, landlord_window::kConfirmButton);
    processEvents();
    EXPECT_TEXT_EQ(lastBoxText(), "房东信息过长:姓名最多100字,地址最多300字,电话最多50字");
    EXPECT_EQ(only(WindowKind::Landlord), landlord);
    services.setText(landlord, landlord_window::kPhoneEdit, "0571-1234");
    clickControl(services, landlord, landlord_window::kConfirmButton);
    processEvents();
    EXPECT_EQ(only(WindowKind::Landlord), 0);

    TemporaryFolder out;
    const std::string file = out.file("r.pdf");
    services.setSaveDialogPresenter([&](const SaveDialogRequest&) { return utf8ToGbk(file); });
    clickControl(services, record, lease_record_window::kPdfButton);
    processEvents();
    const PdfText pdf = readPdf(file);
    for (const char* field : {"李房东", "幸福路8号", "0571-1234"}) {
        EXPECT_NE(pdf.text.find(gbkToUtf8(field)), std::string::npos) << gbkToUtf8(field) << "\n"
                                                                      << pdf.text;
    }
    // Opened again, the window shows what was kept.
    clickControl(services, record, lease_record_window::kLandlordButton);
    processEvents();
    EXPECT_TEXT_EQ(services.text(only(WindowKind::Landlord), landlord_window::kAddressEdit),
                   "幸福路8号");
}

TEST_F(LeaseRecord, GrowingTheRecordWidensItsLinesAndKeepsTheButtonsAtTheBottom) {
    addLease(settled);
    const WindowHandle record = openFirstFound();
    const auto rect = [&](const Text& control) {
        const Rect frame = services.frameRect(record);
        const Rect placed = services.frameRect(services.windowHandle(record, control));
        return Rect{placed.left - frame.left, placed.top - frame.top, placed.right - frame.left,
                    placed.bottom - frame.top};
    };
    const Rect frame = services.frameRect(record);
    const Rect remark = rect(lease_record_window::kRemarkLabel);
    const Rect close = rect(lease_record_window::kCloseButton);
    services.placeControl(record, {frame.left, frame.top, frame.right + 200, frame.bottom + 100},
                          kPlaceNoMove);
    ASSERT_TRUE(
        waitUntil([&] { return services.frameRect(record).width() == frame.width() + 200; }));
    processEvents();
    EXPECT_EQ(rect(lease_record_window::kRemarkLabel),
              (Rect{remark.left, remark.top, remark.right + 200, remark.bottom}));
    EXPECT_EQ(rect(lease_record_window::kCloseButton),
              (Rect{close.left + 200, close.top + 100, close.right + 200, close.bottom + 100}));
}

TEST_F(LeaseRecord, ACancelledSaveWritesNothingAndAFailedOneSaysSo) {
    addLease(settled);
    const WindowHandle record = openFirstFound();
    services.setSaveDialogPresenter([](const SaveDialogRequest&) { return Text(); });
    clickControl(services, record, lease_record_window::kPdfButton);
    processEvents();
    EXPECT_EQ(responder.count(), 0u);
    services.setSaveDialogPresenter(
        [](const SaveDialogRequest&) { return Text("/nonexistent-folder/收据.pdf"); });
    clickControl(services, record, lease_record_window::kPdfButton);
    processEvents();
    EXPECT_TEXT_EQ(lastBoxText(), "无法写入文件：/nonexistent-folder/收据.pdf");
}

TEST_F(LeaseRecord, PrintingGoesThroughThePrintDialog) {
    addLease(settled);
    const WindowHandle record = openFirstFound();
    TemporaryFolder out;
    const std::string file = out.file("printed.pdf");
    services.setPrintDialogPresenter([&](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(file));
        return true;
    });
    clickControl(services, record, lease_record_window::kPrintButton);
    processEvents();
    const PdfText pdf = readPdf(file);
    EXPECT_EQ(pdf.pages, 1);
    EXPECT_NE(pdf.text.find(gbkToUtf8("靠窗")), std::string::npos);
    EXPECT_NE(pdf.text.find(gbkToUtf8("王五")), std::string::npos);
}

TEST_F(LeaseRecord, TheCheckOutWindowOffersTheReceiptOnceSettled) {
    addLetRoom("二号房", "A-1", "2020-02-17 12:00:00");
    refreshRoomList(app);
    command(main, 0, "退房操作");
    const WindowHandle checkout = only(WindowKind::Checkout);
    clickControl(services, checkout,
                 checkout_window::kReceiptButton);  // disabled: nothing to show yet
    processEvents();
    EXPECT_EQ(only(WindowKind::LeaseRecord), 0);
    services.setDateTime(checkout, checkout_window::kCheckOutPicker,
                         toDateTime("2020-02-19 00:00:00"));
    services.setText(checkout, checkout_window::kAmountEdit, "150");
    responder.answer(kAnswerYes);
    confirm(checkout);
    EXPECT_TEXT_EQ(lastBoxText(), "退房成功");
    ASSERT_TRUE(isOpen(checkout));
    EXPECT_FALSE(services.widget(checkout, checkout_window::kConfirmButton)->isEnabled());
    EXPECT_TEXT_EQ(services.text(checkout, checkout_window::kCancelButton), "关闭");
    clickControl(services, checkout, checkout_window::kReceiptButton);
    processEvents();
    const WindowHandle record = only(WindowKind::LeaseRecord);
    ASSERT_NE(record, 0);
    EXPECT_TEXT_EQ(line(record, lease_record_window::kOrderNumberLabel), "单    号：A-1");
    EXPECT_TEXT_EQ(line(record, lease_record_window::kAmountLabel), "实收金额：150元");
    EXPECT_TEXT_EQ(line(record, lease_record_window::kDaysLabel), "入住天数：1.5天");
}

// The receipt's lines as "label value", one a line, for comparing whole.
std::string linesOf(const PrintedForm& form) {
    std::string lines;
    for (const PrintedForm::Line& l : form.lines) {
        lines += gbkToUtf8(l.label + l.value) + "\n";
    }
    return lines;
}

TEST(Receipt, ASettledStayGivesNightsChargesDepositBalanceAndTheAmountInCapitals) {
    const LeaseRow lease{.id = 1,
                         .orderNumber = "D-1",
                         .address = "幸福小区3号楼1203室",
                         .guest = "王五",
                         .contact = "139",
                         .deposit = 200,
                         .rent = 88.5,
                         .checkIn = "2020-02-17 12:00:00",
                         .state = 1,
                         .amountReceived = 385.5,
                         .checkOut = "2020-02-19 00:00:00",
                         .remark = "靠窗",
                         .settlementRemark = "押金已退"};
    const Landlord landlord{"李房东", "幸福路8号", "0571-1234"};
    const PrintedForm form = receiptOf(lease, landlord, toDateTime("2020-02-20 09:30:00"));
    EXPECT_TEXT_EQ(form.title, "收据");
    EXPECT_EQ(linesOf(form), gbkToUtf8("单    号：D-1\n"
                                       "打印日期：2020-02-20 09:30:00\n"
                                       "今 收 到：王五\n"
                                       "联系方式：139\n"
                                       "房    间：幸福小区3号楼1203室\n"
                                       "入住日期：2020-02-17 12:00:00\n"
                                       "退房日期：2020-02-19 00:00:00\n"
                                       "入住晚数：2晚\n"
                                       "每晚租金：88.50元\n"
                                       "租金合计：177.00元\n"
                                       "已收定金：200.00元\n"
                                       "退还金额：退还 23.00元\n"
                                       "实收金额：￥385.50元  人民币大写：叁佰捌拾伍元伍角整\n"
                                       "备    注：靠窗\n"
                                       "结算备注：押金已退\n"
                                       "房    东：李房东\n"
                                       "地    址：幸福路8号\n"
                                       "电    话：0571-1234\n"
                                       "收 款 人：____________________（签字）\n"));
}

TEST(Receipt, AnOpenStayCountsNightsToNowAndAShortOneCollectsTheRest) {
    LeaseRow lease{.id = 1,
                   .orderNumber = "D",
                   .deposit = 50,
                   .rent = 100,
                   .checkIn = "2020-02-17 12:00:00",
                   .state = 0};
    const PrintedForm open = receiptOf(lease, {}, toDateTime("2020-02-17 20:00:00"));
    const std::string lines = linesOf(open);
    EXPECT_NE(lines.find(gbkToUtf8("退房日期：未退房\n入住晚数：1晚（至今）\n")), std::string::npos)
        << lines;
    EXPECT_NE(lines.find(gbkToUtf8("补收金额：补收 50.00元\n实收金额：未结算\n")),
              std::string::npos)
        << lines;
    // Money handed back is recorded as a negative amount received: its capitals say so.
    lease.state = 1;
    lease.checkOut = "2020-02-18 10:00:00";
    lease.amountReceived = -30;
    const std::string refunded = linesOf(receiptOf(lease, {}, toDateTime("2020-02-20 00:00:00")));
    EXPECT_NE(refunded.find(gbkToUtf8("实收金额：￥-30.00元  人民币大写：退还叁拾元整")),
              std::string::npos)
        << refunded;
}

}  // namespace
}  // namespace tamrivo::testing
