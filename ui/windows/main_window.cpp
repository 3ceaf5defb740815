#include "ui/windows/main_window.h"
#include "ui/windows/window_list.h"

namespace tamrivo::windows {

const WindowDefinition& mainWindow() {
    using enum EventKind;
    using namespace main_window;
    static const WindowDefinition definition{
        .caption = "Tamrivo",
        .width = 1115,
        .height = 713,
        .resizable = true,
        .events = {{Created, Handler::MainWindowCreated}, {Resized, Handler::RelayoutMainWindow}},
        .controls =
            {
                timer(kClockTimer, {1072, 40, 24, 16}, 1000).on(Tick, Handler::ShowClock),
                // One item a line, as the toolbar shows them; the formatter would pack them.
                // clang-format off
                toolbar(kToolbar, {0, 0, 960, 28},
                        {
                            separator(),
                            {"增加房屋信息", 0},
                            {"修改房屋信息", 6},
                            {"删除房屋信息", 7},
                            separator(),
                            {"房屋入住", 1},
                            {"修改入住", 9},
                            {"退房操作", 8},
                            separator(),
                            {"数据统计", 2},
                            separator(),
                            {"搜索数据", 3},
                            separator(),
                            {"修改密码", 4},
                            separator(),
                            {"升级检测", 10},
                            separator(),
                            {"关于软件", 5},
                            separator(),
                            {"房态预订", 11},
                            separator(),
                            {"保护记录", 12},
                        })
                    .on(ToolbarClicked, Handler::DispatchToolbar),
                // clang-format on
                label(kOverdueReportsLabel, "", {8, 64, 1096, 20}).inRed(),
                listView(kRoomList, {8, 86, 1096, 442})
                    .on(CurrentItemChanged, Handler::ShowLeaseDetails),
                groupBox(kDetailsGroup, "", {6, 530, 1096, 134}),
                label(kOrderNumberLabel, "编    号:", {16, 24, 242, 24}).in(kDetailsGroup),
                label(kNameLabel, "姓    名:", {16, 61, 242, 24}).in(kDetailsGroup),
                label(kDepositLabel, "定    金:", {16, 101, 242, 24}).in(kDetailsGroup),
                label(kAddressLabel, "入住房址:", {288, 24, 338, 24}).in(kDetailsGroup),
                label(kContactLabel, "联系方式:", {288, 57, 338, 24}).in(kDetailsGroup),
                label(kRentLabel, "租    金:", {288, 97, 338, 24}).in(kDetailsGroup),
                label(kCheckInLabel, "入住日期:", {648, 25, 410, 24}).in(kDetailsGroup),
                label(kRemarkLabel, "备    注:", {648, 57, 410, 69}).in(kDetailsGroup),
                statusBar(kStatusBar, {0, 558, 857, 20},
                          {
                              {180, "版本号:1.0.0.0"},
                              {150, "时间"},
                              {160, "房间数:0"},
                              {200, "结算总额:0"},
                              {200, "未结算总额:0"},
                              {-1, "admin"},
                          }),
            },
    };
    return definition;
}

}  // namespace tamrivo::windows
