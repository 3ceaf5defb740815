#include <QTest>

#include "app/main_window.h"
#include "tests/app/app_fixture.h"
#include "ui/windows/main_window.h"

namespace tamrivo::testing {
namespace {

class MainWindow : public AppTest {
protected:
    void SetUp() override {
        main = startAndLogIn();
        ASSERT_NE(main, 0);
        idle = addRoom("一号房", 1);
        let = addLetRoom("二号房", "20200217090503-00001000", "2020-02-17 09:05:03");
        abandoned = addRoom("三号房", 0);
        refreshRoomList(app);
    }

    // The eight detail labels under the room list.
    std::vector<Text> details() {
        std::vector<Text> texts;
        for (const char* label :
             {main_window::kOrderNumberLabel, main_window::kAddressLabel, main_window::kNameLabel,
              main_window::kContactLabel, main_window::kDepositLabel, main_window::kRentLabel,
              main_window::kCheckInLabel, main_window::kRemarkLabel}) {
            texts.push_back(services.text(main, label));
        }
        return texts;
    }
    const std::vector<Text> noDetails = std::vector<Text>(8);

    WindowHandle main = 0;
    int idle = 0;
    int let = 0;
    int abandoned = 0;
};

TEST_F(MainWindow, ListsEveryRoomWithItsStateImageAndCountsThem) {
    EXPECT_EQ(roomList(main), (std::vector<Row>{{"一号房", 0}, {"二号房", 2}, {"三号房", 1}}));
    EXPECT_TEXT_EQ(statusPart(main, 2), "房间数量:2/1");
    EXPECT_TEXT_EQ(statusPart(main, 3), "已结算总额：0元");
    EXPECT_TEXT_EQ(statusPart(main, 4), "未结算总额：0元");
}

TEST_F(MainWindow, AnyConditionOtherThanOneCountsAsAbandoned) {
    addRoom("四号房", -1);
    refreshRoomList(app);
    EXPECT_EQ(roomList(main).back(), (Row{"四号房", 1}));
    EXPECT_TEXT_EQ(statusPart(main, 2), "房间数量:2/2");
}

TEST_F(MainWindow, SelectingALetRoomShowsItsLeaseAndAnIdleRoomNothing) {
    selectListRow(services, main, main_window::kRoomList, 1);
    EXPECT_TEXT_EQ(services.text(main, main_window::kOrderNumberLabel),
                   "单    号：20200217090503-00001000");
    EXPECT_TEXT_EQ(services.text(main, main_window::kNameLabel), "姓    名：张三");
    EXPECT_TEXT_EQ(services.text(main, main_window::kDepositLabel), "定    金：100.5");
    EXPECT_TEXT_EQ(services.text(main, main_window::kRentLabel), "租    金：80");
    EXPECT_TEXT_EQ(services.text(main, main_window::kCheckInLabel),
                   "入住日期：2020-02-17 09:05:03");
    EXPECT_TEXT_EQ(services.text(main, main_window::kRemarkLabel), "备    注：备注");
    selectListRow(services, main, main_window::kRoomList, 0);
    EXPECT_TEXT_EQ(services.text(main, main_window::kOrderNumberLabel), "");
    EXPECT_TEXT_EQ(services.text(main, main_window::kAddressLabel), "");
}

// Qt makes the first row of a reloaded list current without selecting it; the details and
// the commands both go by the selection, so with none they show nothing and ask for a room.
TEST_F(MainWindow, AfterARefreshNothingIsSelectedAndNoLeaseIsShown) {
    ASSERT_TRUE(run("DELETE FROM b_fangjian WHERE id=" + std::to_string(idle)));
    refreshRoomList(app);  // the let room is the first row now
    EXPECT_EQ(details(), noDetails);

    selectListRow(services, main, main_window::kRoomList, 0);
    ASSERT_TEXT_EQ(services.text(main, main_window::kNameLabel), "姓    名：张三");
    refreshRoomList(app);
    EXPECT_EQ(details(), noDetails);
    command(main, -1, "退房操作");
    EXPECT_TEXT_EQ(lastBoxText(), "请选择一个已经入住的房间进行操作");
}

TEST_F(MainWindow, AClickOnEmptySpaceInTheListEmptiesTheDetails) {
    selectListRow(services, main, main_window::kRoomList, 1);
    ASSERT_TEXT_EQ(services.text(main, main_window::kNameLabel), "姓    名：张三");
    auto* list = qobject_cast<QListWidget*>(services.widget(main, main_window::kRoomList));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->viewport()->rect().bottomRight() - QPoint(5, 5));
    EXPECT_EQ(details(), noDetails);
    command(main, -1, "退房操作");
    EXPECT_TEXT_EQ(lastBoxText(), "请选择一个已经入住的房间进行操作");
}

TEST_F(MainWindow, CommandsWithoutASelectionAskForOne) {
    command(main, -1, "修改房屋信息");
    EXPECT_TEXT_EQ(lastBoxText(), "需要先选中房屋之后进行操作");
    EXPECT_TEXT_EQ(responder.boxes().back().title, "Msg");
    command(main, -1, "删除房屋信息");
    EXPECT_TEXT_EQ(lastBoxText(), "需要先选中房屋之后进行操作");
    for (const char* caption : {"房屋入住", "修改入住", "退房操作"}) {
        command(main, -1, caption);
        EXPECT_TEXT_EQ(lastBoxText(), "请选择一个已经入住的房间进行操作");
        EXPECT_TEXT_EQ(responder.boxes().back().title, "信息：");
    }
    EXPECT_EQ(responder.count(), 5u);
}

TEST_F(MainWindow, LetRoomsCanBeNeitherEditedNorDeletedNorLetAgain) {
    command(main, 1, "修改房屋信息");
    EXPECT_TEXT_EQ(lastBoxText(), "只有闲置的房间才可以修改");
    command(main, 1, "删除房屋信息");
    EXPECT_TEXT_EQ(lastBoxText(), "只有闲置的房间才可以删除");
    command(main, 1, "房屋入住");
    EXPECT_TEXT_EQ(lastBoxText(), "这个房间无法出租\r\n\r\n1.房间已放弃. 2.房间已租出去");
    EXPECT_TRUE(services.openWindows(WindowKind::Room).empty());
    EXPECT_TRUE(services.openWindows(WindowKind::Lease).empty());
}

TEST_F(MainWindow, AbandonedAndIdleRoomsHaveNoLeaseToEditOrSettle) {
    command(main, 2, "房屋入住");
    EXPECT_TEXT_EQ(lastBoxText(), "这个房间无法出租\r\n\r\n1.房间已放弃. 2.房间已租出去");
    for (int row : {0, 2}) {
        command(main, row, "修改入住");
        EXPECT_TEXT_EQ(lastBoxText(), "这个房间未入住");
        command(main, row, "退房操作");
        EXPECT_TEXT_EQ(lastBoxText(), "这个房间未入住");
    }
}

TEST_F(MainWindow, ARoomThatVanishedCountsAsNotLet) {
    ASSERT_TRUE(run("DELETE FROM b_fangjian WHERE id=" + std::to_string(let)));
    command(main, 1, "退房操作");
    EXPECT_TEXT_EQ(lastBoxText(), "这个房间未入住");
    command(main, 1, "房屋入住");
    EXPECT_TEXT_EQ(lastBoxText(), "这个房间无法出租\r\n\r\n1.房间已放弃. 2.房间已租出去");
}

TEST_F(MainWindow, DeletingAsksFirstAndNoKeepsTheRoom) {
    responder.answer(kAnswerNo);
    command(main, 0, "删除房屋信息");
    EXPECT_TEXT_EQ(lastBoxText(), "确定要删除\r\n一号房");
    EXPECT_EQ(responder.boxes().back().flags & 0xF, kMessageYesNo);
    EXPECT_EQ(roomList(main).size(), 3u);

    responder.answer(kAnswerYes);
    command(main, 0, "删除房屋信息");
    EXPECT_EQ(roomList(main), (std::vector<Row>{{"二号房", 2}, {"三号房", 1}}));
    EXPECT_EQ(queryInt("SELECT count(*) FROM b_zulin"), 1);  // leases are not touched
}

TEST_F(MainWindow, CommandsOpenTheirWindows) {
    command(main, -1, "数据统计");
    EXPECT_NE(only(WindowKind::Statistics), 0);
    command(main, -1, "关于软件");
    EXPECT_NE(only(WindowKind::About), 0);
    const auto before = responder.count();
    command(main, -1, "搜索数据");
    EXPECT_EQ(responder.count(), before);
    EXPECT_NE(only(WindowKind::Search), 0);
    command(main, -1, "升级检测");
    EXPECT_TEXT_EQ(lastBoxText(),
                   "升级检测需要释放解压文件,部分杀软会阻断,如果发生升级失败,"
                   "请关闭杀毒软件在尝试!");
    EXPECT_NE(only(WindowKind::Update), 0);
}

}  // namespace
}  // namespace tamrivo::testing
