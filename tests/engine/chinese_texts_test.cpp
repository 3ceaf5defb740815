#include <QCalendarWidget>
#include <QDateTimeEdit>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QToolButton>

#include <memory>

#include "engine/title_words.h"
#include "tests/support/engine_fixture.h"
#include "ui/windows/lease_window.h"
#include "ui/windows/login_window.h"
#include "ui/windows/main_window.h"

namespace tamrivo {
namespace {

using testing::EngineFixture;

// No Latin letter outside a keyboard mnemonic such as "(&U)" and a shortcut after a tab.
bool readsChinese(QString text) {
    text = text.section(u'\t', 0, 0);
    text.remove(QRegularExpression(QStringLiteral("\\(&.\\)")));
    return !text.isEmpty() && !text.contains(QRegularExpression(QStringLiteral("[A-Za-z]")));
}

// Whatever the locale the tests run under (C on the build machines), Qt must show Chinese.
using ChineseTexts = EngineFixture;

TEST_F(ChineseTexts, TheDatePickersCalendarNamesTheMonthInChinese) {
    const WindowHandle lease = open(WindowKind::Lease);
    auto* picker =
        qobject_cast<QDateTimeEdit*>(services.widget(lease, lease_window::kCheckInPicker));
    ASSERT_NE(picker, nullptr);
    ASSERT_NE(picker->calendarWidget(), nullptr);
    auto* month = picker->calendarWidget()->findChild<QToolButton*>(
        QStringLiteral("qt_calendar_monthbutton"));
    ASSERT_NE(month, nullptr);
    EXPECT_TRUE(readsChinese(month->text())) << month->text().toStdString();
    EXPECT_TRUE(month->text().endsWith(QStringLiteral("月")));
}

TEST_F(ChineseTexts, QtsOwnButtonsAndMenusSpeakChinese) {
    QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Ok)->text(), QStringLiteral("确定"));
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("取消"));

    const WindowHandle login = open(WindowKind::Login);
    auto* edit = qobject_cast<QLineEdit*>(services.widget(login, login_window::kUserNameEdit));
    ASSERT_NE(edit, nullptr);
    const std::unique_ptr<QMenu> menu(edit->createStandardContextMenu());
    ASSERT_FALSE(menu->actions().isEmpty());
    for (const QAction* action : menu->actions()) {
        if (!action->isSeparator()) {
            EXPECT_TRUE(readsChinese(action->text())) << action->text().toStdString();
        }
    }
}

// Expected titles are written with "|" where a word joiner goes.
QString joined(QString title) {
    return title.replace(u'|', QChar(0x2060));
}

TEST(TitleWords, ANumberKeepsTheChineseUnitsThatFollowIt) {
    EXPECT_EQ(keepTitleWordsTogether(QStringLiteral("幸福里小区12号楼1203室")),
              joined(QStringLiteral("幸福里小区12|号|楼1203|室")));
    EXPECT_EQ(keepTitleWordsTogether(QStringLiteral("A座-101")),
              joined(QStringLiteral("A|座-101")));
    // A blank or a sign ends the word; Chinese alone is left to Qt's own breaks.
    EXPECT_EQ(keepTitleWordsTogether(QStringLiteral("3 号-楼")), QStringLiteral("3 号-楼"));
    EXPECT_EQ(keepTitleWordsTogether(QStringLiteral("幸福里")), QStringLiteral("幸福里"));
    EXPECT_EQ(keepTitleWordsTogether(QString()), QString());
}

TEST_F(ChineseTexts, TheRoomListKeepsItsTitlesAsGiven) {
    const WindowHandle main = open(WindowKind::Main);
    ASSERT_GE(services.listInsertRow(main, main_window::kRoomList, -1, "幸福里3号楼101室", 0, 7),
              0);
    EXPECT_TEXT_EQ(services.listCellText(main, main_window::kRoomList, 0), "幸福里3号楼101室");
}

}  // namespace
}  // namespace tamrivo
