#include "ui/windows/window_list.h"

namespace tamrivo::windows {

const WindowDefinition& mainWindow() {
    using enum EventKind;
    static const WindowDefinition definition{
        .caption = "Tamrivo",
        .width = 1115,
        .height = 713,
        .resizable = true,
        .events = {{Created, Handler::MainWindowCreated}, {Resized, Handler::RelayoutMainWindow}},
        .controls =
            {
                timer("时钟1", {1072, 40, 24, 16}, 1000).on(Tick, Handler::ShowClock),
                // One item a line, as the toolbar shows them; the formatter would pack them.
                // clang-format off
                toolbar("工具条1", {0, 0, 857, 28},
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
                        })
                    .on(ToolbarClicked, Handler::DispatchToolbar),
                // clang-format on
                label("标签_未上报", "", {8, 36, 1050, 24}).inRed(),
                listView("超级列表框1", {8, 64, 1096, 464})
                    .on(CurrentItemChanged, Handler::ShowLeaseDetails),
                groupBox("分组框1", "", {6, 530, 1096, 134}),
                label("标签_编号", "编    号:", {16, 24, 242, 24}).in("分组框1"),
                label("标签_姓名", "姓    名:", {16, 61, 242, 24}).in("分组框1"),
                label("标签_定金", "定    金:", {16, 101, 242, 24}).in("分组框1"),
                label("标签_房址", "入住房址:", {288, 24, 338, 24}).in("分组框1"),
                label("标签_联系方式", "联系方式:", {288, 57, 338, 24}).in("分组框1"),
                label("标签_租金", "租    金:", {288, 97, 338, 24}).in("分组框1"),
                label("标签_日期", "入住日期:", {648, 25, 410, 24}).in("分组框1"),
                label("标签_备注", "备    注:", {648, 57, 410, 69}).in("分组框1"),
                statusBar("状态条1", {0, 558, 857, 20},
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
