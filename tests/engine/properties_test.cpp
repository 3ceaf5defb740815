#include <QComboBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>

#include <string>
#include <vector>

#include "base/text_encoding.h"
#include "engine/unknown_control.h"
#include "tests/support/engine_fixture.h"
#include "ui/windows/checkout_window.h"
#include "ui/windows/login_window.h"
#include "ui/windows/main_window.h"
#include "ui/windows/password_window.h"
#include "ui/windows/update_window.h"

namespace tamrivo {
namespace {

using testing::EngineFixture;

class Properties : public EngineFixture {};

TEST_F(Properties, TextsGoThroughEveryKindOfControlAndKeepWindowsLineBreaks) {
    const WindowHandle update = open(WindowKind::Update);
    services.setText(update, "", "正在下载...");
    EXPECT_TEXT_EQ(services.text(update, ""), "正在下载...");

    services.setText(update, update_window::kLogEdit, "2.0.0.0\r\n修复若干问题");
    services.editAppend(update, update_window::kLogEdit, "正在发送升级请求信息\r\n");
    EXPECT_TEXT_EQ(services.text(update, update_window::kLogEdit),
                   "2.0.0.0\r\n修复若干问题正在发送升级请求信息\r\n");

    const WindowHandle main = open(WindowKind::Main);
    services.setText(main, main_window::kNameLabel, "姓    名:张三");
    EXPECT_TEXT_EQ(services.text(main, main_window::kNameLabel), "姓    名:张三");
    EXPECT_EQ(qobject_cast<QLabel*>(services.widget(main, main_window::kNameLabel))->text(),
              QStringLiteral("姓    名:张三"));

    const WindowHandle login = open(WindowKind::Login);
    services.setText(login, login_window::kUserNameEdit, "admin");
    services.editAppend(login, login_window::kUserNameEdit, "2");
    EXPECT_TEXT_EQ(services.text(login, login_window::kUserNameEdit), "admin2");
    services.setText(login, login_window::kConfirmButton, "好");
    EXPECT_TEXT_EQ(services.text(login, login_window::kConfirmButton), "好");
}

TEST_F(Properties, VisibleAndDisabledApplyToWindowsAndControls) {
    const WindowHandle login = open(WindowKind::Login);
    services.setVisible(login, "", false);
    EXPECT_FALSE(services.widget(login)->isVisible());
    EXPECT_NE(services.windowHandle(login), 0);  // hidden is not gone

    const WindowHandle update = open(WindowKind::Update);
    EXPECT_FALSE(services.widget(update, update_window::kUpgradeButton)->isEnabled());
    services.setDisabled(update, update_window::kUpgradeButton, false);
    EXPECT_TRUE(services.widget(update, update_window::kUpgradeButton)->isEnabled());
    services.setVisible(update, update_window::kProgressBar, false);
    EXPECT_FALSE(services.widget(update, update_window::kProgressBar)->isVisible());
}

TEST_F(Properties, ComboBoxesAddWithNumbersWithoutSelectingAndClear) {
    const WindowHandle password = open(WindowKind::Password);
    EXPECT_EQ(services.comboAdd(password, password_window::kUserCombo, "admin", 1), 0);
    EXPECT_EQ(services.comboAdd(password, password_window::kUserCombo, "张三", 7), 1);
    EXPECT_EQ(services.selectedIndex(password, password_window::kUserCombo),
              -1);  // nothing chosen yet
    EXPECT_EQ(services.comboNumber(password, password_window::kUserCombo, 1), 7);
    EXPECT_EQ(services.comboNumber(password, password_window::kUserCombo, 2), -1);
    EXPECT_EQ(services.comboNumber(password, password_window::kUserCombo, -1), -1);

    services.setSelectedIndex(password, password_window::kUserCombo, 1);
    EXPECT_TEXT_EQ(services.text(password, password_window::kUserCombo), "张三");
    services.setSelectedIndex(password, password_window::kUserCombo, 5);
    EXPECT_EQ(services.selectedIndex(password, password_window::kUserCombo), -1);

    services.comboClear(password, password_window::kUserCombo);
    EXPECT_EQ(
        qobject_cast<QComboBox*>(services.widget(password, password_window::kUserCombo))->count(),
        0);
    EXPECT_EQ(services.comboAdd(password, password_window::kUserCombo, "李四", 3), 0);
    EXPECT_EQ(services.comboAdd(password, password_window::kPasswordEdit, "x", 3),
              -1);  // not a combo box
}

TEST_F(Properties, ListRowsAreInsertedWhereAskedWithTheirNumbers) {
    const WindowHandle main = open(WindowKind::Main);
    const Text list = main_window::kRoomList;
    EXPECT_EQ(services.listInsertRow(main, list, -1, "101室", 0, 11), 0);
    EXPECT_EQ(services.listInsertRow(main, list, -1, "102室", 2, 12), 1);
    EXPECT_EQ(services.listInsertRow(main, list, 0, "100室", 1, 10), 0);
    EXPECT_EQ(services.listInsertRow(main, list, 99, "103室", 5, 13), 3);  // past the end: appended

    EXPECT_TEXT_EQ(services.listCellText(main, list, 0), "100室");
    EXPECT_TEXT_EQ(services.listCellText(main, list, 2), "102室");
    EXPECT_TEXT_EQ(services.listCellText(main, list, 2, 1), "");  // no further columns
    EXPECT_TEXT_EQ(services.listCellText(main, list, 4), "");
    EXPECT_EQ(services.listRowNumber(main, list, 1), 11);
    EXPECT_EQ(services.listRowNumber(main, list, 3), 13);
    EXPECT_EQ(services.listRowNumber(main, list, 4), -1);

    const Text longTitle(5000, 'x');
    services.listInsertRow(main, list, -1, longTitle, 0, 14);
    EXPECT_TEXT_EQ(services.listCellText(main, list, 4), longTitle);

    services.setSelectedIndex(main, list, 1);
    EXPECT_EQ(services.selectedIndex(main, list), 1);
    services.listClear(main, list);
    EXPECT_TEXT_EQ(services.listCellText(main, list, 0), "");
}

TEST_F(Properties, ProgressBarsKeepTheirPositionInsideTheRange) {
    const WindowHandle update = open(WindowKind::Update);
    auto* bar = qobject_cast<QProgressBar*>(services.widget(update, update_window::kProgressBar));
    services.setProgressPosition(update, update_window::kProgressBar, 45);
    EXPECT_EQ(bar->value(), 45);
    services.setProgressPosition(update, update_window::kProgressBar, 250);
    EXPECT_EQ(bar->value(), 100);
    services.setProgressBusy(update, update_window::kProgressBar, true);
    EXPECT_EQ(bar->maximum(), 0);
    EXPECT_EQ(services.progressMaximum(update, update_window::kProgressBar), 100);
    services.setProgressBusy(update, update_window::kProgressBar, false);
    EXPECT_EQ(bar->maximum(), 100);
}

TEST_F(Properties, DatePickersHoldOleDatesBeforeAndAfterTheEpoch) {
    const WindowHandle checkout = open(WindowKind::Checkout);
    for (const double days : {43878.37850694445, 0.5, -1.25, 2.0}) {
        services.setDateTime(checkout, checkout_window::kCheckOutPicker, {days});
        EXPECT_NEAR(services.dateTime(checkout, checkout_window::kCheckOutPicker).days, days, 1e-8)
            << days;
    }
    services.setDateTime(checkout, checkout_window::kCheckOutPicker,
                         {43878.37850694445});  // 2020-02-17 09:05:03
    EXPECT_EQ(
        qobject_cast<QDateTimeEdit*>(services.widget(checkout, checkout_window::kCheckOutPicker))
            ->dateTime(),
        QDateTime(QDate(2020, 2, 17), QTime(9, 5, 3)));
    services.setDateTime(checkout, checkout_window::kCheckOutPicker, {-1.25});
    EXPECT_EQ(
        qobject_cast<QDateTimeEdit*>(services.widget(checkout, checkout_window::kCheckOutPicker))
            ->dateTime(),
        QDateTime(QDate(1899, 12, 29), QTime(6, 0)));
}

TEST_F(Properties, StatusTextIgnoresPartsTheBarDoesNotHave) {
    const WindowHandle main = open(WindowKind::Main);
    services.statusText(main, main_window::kStatusBar, 5, "有新版本可以升级");
    services.statusText(main, main_window::kStatusBar, 6, "不存在");
    services.statusText(main, main_window::kStatusBar, -1, "不存在");
    const QList<QLabel*> parts =
        services.widget(main, main_window::kStatusBar)->findChildren<QLabel*>();
    ASSERT_EQ(parts.size(), 6);
    EXPECT_EQ(parts[0]->text(), QStringLiteral("版本号:1.0.0.0"));
    EXPECT_EQ(parts[5]->text(), QStringLiteral("有新版本可以升级"));
}

TEST_F(Properties, StaleHandlesReadEmptyAndWriteNothing) {
    const WindowHandle login = open(WindowKind::Login);
    services.destroyWindow(login);
    ASSERT_TRUE(testing::waitUntil([&] { return services.windowHandle(login) == 0; }));
    services.setText(login, login_window::kUserNameEdit, "x");
    services.statusText(login, login_window::kStatusBar, 0, "x");
    EXPECT_TEXT_EQ(services.text(login, login_window::kUserNameEdit), "");
    EXPECT_EQ(services.windowHandle(login, login_window::kUserNameEdit), 0);
    EXPECT_EQ(services.frameRect(login), Rect{});
}

// A name the window lacks is the program's fault: reported, and the call still only reads as
// empty, so the landlord's window stays up.
TEST_F(Properties, NamesTheWindowLacksAreReportedAndReadEmpty) {
    const WindowHandle main = open(WindowKind::Main);
    testing::UnknownControlCounter unknown;
    EXPECT_EQ(services.windowHandle(main, "没有"), 0);
    EXPECT_TEXT_EQ(services.text(main, "没有"), "");
    EXPECT_EQ(services.selectedIndex(main, "没有"), -1);
    EXPECT_EQ(services.listInsertRow(main, "没有", -1, "x", 0, 1), -1);
    services.setText(main, "没有", "x");
    testing::processEvents();
    EXPECT_EQ(services.widget(main, "没有"), nullptr);
    EXPECT_FALSE(testing::clickControl(services, main, "没有"));
    EXPECT_EQ(unknown.count(), 7);
    EXPECT_NE(unknown.lastReport().find(gbkToUtf8("没有")), std::string::npos)
        << unknown.lastReport();

    services.setText(main, {}, "Tamrivo");  // the window itself: no fault
    testing::processEvents();
    EXPECT_EQ(unknown.count(), 7);
}

std::vector<std::string> loggedWarnings;

void keepWarning(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtWarningMsg) {
        loggedWarnings.push_back(message.toStdString());
    }
}

// The landlord's program has no test to fail: the fault goes to the log.
TEST_F(Properties, WithoutAReporterANameTheWindowLacksIsLogged) {
    const WindowHandle main = open(WindowKind::Main);
    loggedWarnings.clear();
    const testing::UnknownControlCounter counter;  // puts the tests' reporter back at the end
    setUnknownControlReporter({});
    const QtMessageHandler previous = qInstallMessageHandler(keepWarning);
    const Text read = services.text(main, "标签_没有");
    qInstallMessageHandler(previous);
    EXPECT_EQ(counter.count(), 0);
    EXPECT_TEXT_EQ(read, "");
    ASSERT_EQ(loggedWarnings.size(), 1u);
    EXPECT_NE(loggedWarnings[0].find(gbkToUtf8("标签_没有")), std::string::npos);
}

TEST_F(Properties, TextsGbkCannotHoldReadAsQuestionMarks) {
    const WindowHandle login = open(WindowKind::Login);
    qobject_cast<QLineEdit*>(services.widget(login, login_window::kUserNameEdit))
        ->setText(QStringLiteral(u"a\U0001F600房"));
    EXPECT_TEXT_EQ(services.text(login, login_window::kUserNameEdit), "a?房");
}

}  // namespace
}  // namespace tamrivo
