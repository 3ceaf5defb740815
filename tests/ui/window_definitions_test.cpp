#include "ui/window_definition.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <utility>
#include <vector>

#include "ui/windows/login_window.h"
#include "ui/windows/main_window.h"

namespace tamrivo {
namespace {

const std::vector<WindowKind> kAllKinds{
    WindowKind::Main,       WindowKind::Login,         WindowKind::Room,
    WindowKind::Lease,      WindowKind::Checkout,      WindowKind::Statistics,
    WindowKind::About,      WindowKind::Password,      WindowKind::Update,
    WindowKind::Search,     WindowKind::LeaseRecord,   WindowKind::Calendar,
    WindowKind::Booking,    WindowKind::Landlord,      WindowKind::Recovery,
    WindowKind::Protection, WindowKind::GuestRegister, WindowKind::RegisterLog};

TEST(WindowDefinitions, NamesAreUniqueAndContainersAreEarlierGroupBoxesThatHoldTheirControls) {
    for (const WindowKind kind : kAllKinds) {
        const WindowDefinition& window = windowDefinition(kind);
        SCOPED_TRACE(static_cast<int>(kind));
        std::set<Text> seen;
        for (const ControlDefinition& control : window.controls) {
            EXPECT_TRUE(seen.insert(control.name).second) << control.name;
            EXPECT_GT(control.bounds.width, 0);
            EXPECT_GT(control.bounds.height, 0);
            if (control.container.empty()) {
                continue;
            }
            const ControlDefinition* box = window.control(control.container);
            ASSERT_NE(box, nullptr) << control.name;
            EXPECT_EQ(box->type, ControlType::GroupBox);
            EXPECT_TRUE(seen.contains(box->name)) << "container defined after " << control.name;
            EXPECT_LE(control.bounds.left + control.bounds.width, box->bounds.width)
                << control.name;
            EXPECT_LE(control.bounds.top + control.bounds.height, box->bounds.height)
                << control.name;
        }
    }
}

// A 1366×768 screen less a 40-pixel panel holds every window as it opens, and the windows
// whose content grows can grow beyond it.
TEST(WindowDefinitions, EveryWindowFitsASmallScreenAndTheGrowingOnesResize) {
    for (const WindowKind kind : kAllKinds) {
        const WindowDefinition& window = windowDefinition(kind);
        EXPECT_LE(window.width, 1366) << static_cast<int>(kind);
        EXPECT_LE(window.height, 768 - 40) << static_cast<int>(kind);
    }
    for (const WindowKind kind : {WindowKind::Main, WindowKind::Search, WindowKind::Statistics,
                                  WindowKind::Calendar, WindowKind::LeaseRecord}) {
        EXPECT_TRUE(windowDefinition(kind).resizable) << static_cast<int>(kind);
    }
}

TEST(WindowDefinitions, TheMainToolbarCountsSeparatorsAndUsesEachImageOnce) {
    const ControlDefinition* bar =
        windowDefinition(WindowKind::Main).control(main_window::kToolbar);
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->toolbarItems.size(), 22u);
    std::vector<int> separators;
    std::vector<int> images;
    for (std::size_t i = 0; i < bar->toolbarItems.size(); ++i) {
        const ToolbarItem& item = bar->toolbarItems[i];
        if (item.isSeparator()) {
            separators.push_back(static_cast<int>(i));
        } else {
            images.push_back(item.image);
        }
    }
    // The calendar came after the first 18, and protection after it; all keep their places.
    EXPECT_EQ(separators, (std::vector<int>{0, 4, 8, 10, 12, 14, 16, 18, 20}));
    std::sort(images.begin(), images.end());
    EXPECT_EQ(images, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    EXPECT_TEXT_EQ(bar->toolbarItems[5].caption, "房屋入住");
    EXPECT_TEXT_EQ(bar->toolbarItems[15].caption, "升级检测");
    EXPECT_TEXT_EQ(bar->toolbarItems[17].caption, "关于软件");
    EXPECT_TEXT_EQ(bar->toolbarItems[19].caption, "房态预订");
    EXPECT_TEXT_EQ(bar->toolbarItems[21].caption, "保护记录");
}

// The toolbar's click reports the item's index: each command must land on its own button.
TEST(WindowDefinitions, EveryToolbarCommandIsTheButtonOfItsCaption) {
    using main_window::ToolbarCommand;
    const std::vector<std::pair<ToolbarCommand, Text>> commands{
        {ToolbarCommand::AddRoom, "增加房屋信息"},    {ToolbarCommand::EditRoom, "修改房屋信息"},
        {ToolbarCommand::DeleteRoom, "删除房屋信息"}, {ToolbarCommand::CheckIn, "房屋入住"},
        {ToolbarCommand::EditLease, "修改入住"},      {ToolbarCommand::CheckOut, "退房操作"},
        {ToolbarCommand::Statistics, "数据统计"},     {ToolbarCommand::Search, "搜索数据"},
        {ToolbarCommand::ChangePassword, "修改密码"}, {ToolbarCommand::CheckForUpdate, "升级检测"},
        {ToolbarCommand::About, "关于软件"},          {ToolbarCommand::Calendar, "房态预订"},
        {ToolbarCommand::ProtectRecords, "保护记录"},
    };
    const ControlDefinition* bar =
        windowDefinition(WindowKind::Main).control(main_window::kToolbar);
    ASSERT_NE(bar, nullptr);
    std::size_t buttons = 0;
    for (const ToolbarItem& item : bar->toolbarItems) {
        buttons += item.isSeparator() ? 0 : 1;
    }
    EXPECT_EQ(buttons, commands.size()) << "a button without a command";
    for (const auto& [command, caption] : commands) {
        const auto index = static_cast<std::size_t>(command);
        ASSERT_LT(index, bar->toolbarItems.size());
        EXPECT_FALSE(bar->toolbarItems[index].isSeparator()) << index;
        EXPECT_TEXT_EQ(bar->toolbarItems[index].caption, caption);
    }
}

TEST(WindowDefinitions, EveryBoxThePersonTypesIntoHasALengthLimit) {
    int limited = 0;
    for (const WindowKind kind : kAllKinds) {
        for (const ControlDefinition& control : windowDefinition(kind).controls) {
            if (control.type == ControlType::Edit && control.editMode != EditMode::ReadOnly) {
                EXPECT_GT(control.maxLength, 0) << testing::readableGbk(control.name);
                ++limited;
            }
        }
    }
    // login 2, room 1, lease 5, check-out 2, password 1, search 1, booking 4, landlord 3,
    // recovery 4, protection 1, guest register 9, register log 1
    EXPECT_EQ(limited, 34);
}

TEST(WindowDefinitions, OnlyTheStatusBarsLastPartTakesTheRest) {
    for (const WindowKind kind : {WindowKind::Main, WindowKind::Login}) {
        const ControlDefinition* bar = windowDefinition(kind).control(login_window::kStatusBar);
        ASSERT_NE(bar, nullptr);
        ASSERT_FALSE(bar->statusParts.empty());
        EXPECT_EQ(bar->statusParts.back().width, -1);
        for (std::size_t i = 0; i + 1 < bar->statusParts.size(); ++i) {
            EXPECT_GT(bar->statusParts[i].width, 0);
        }
    }
    EXPECT_EQ(
        windowDefinition(WindowKind::Main).control(main_window::kStatusBar)->statusParts.size(),
        6u);
}

}  // namespace
}  // namespace tamrivo
