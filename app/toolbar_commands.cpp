#include "app/toolbar_commands.h"

#include <string>

#include "app/checkout_window.h"
#include "app/database_queries.h"
#include "app/lease_window.h"
#include "app/main_window.h"
#include "app/password_window.h"
#include "app/room_window.h"
#include "app/screen.h"
#include "app/simple_windows.h"
#include "app/update_window.h"

namespace tamrivo {
namespace {

constexpr char kRoomList[] = "超级列表框1";

// Messages of the toolbar commands.
constexpr char kSelectRoomFirst[] = "需要先选中房屋之后进行操作";
constexpr char kOnlyIdleEditable[] = "只有闲置的房间才可以修改";
constexpr char kOnlyIdleDeletable[] = "只有闲置的房间才可以删除";
constexpr char kConfirmDelete[] = "确定要删除\r\n";
constexpr char kSelectLetRoom[] = "请选择一个已经入住的房间进行操作";
constexpr char kCannotLet[] = "这个房间无法出租\r\n\r\n1.房间已放弃. 2.房间已租出去";
constexpr char kNotLet[] = "这个房间未入住";
constexpr char kAntivirusWarning[] =
    "升级检测需要释放解压文件,部分杀软会阻断,如果发生升级失败,请关闭杀毒软件在尝试!";

class ToolbarCommands {
public:
    explicit ToolbarCommands(App& app)
        : app_(app),
          services_(app.services),
          selectedRow_(services_.selectedIndex(app.state.mainWindow, kRoomList)) {}

    void run(int index) {
        switch (index) {
            case 1:
                app_.state.roomWindowMode = 1;
                openRoomWindow(app_);
                break;
            case 2:
                editRoom();
                break;
            case 3:
                deleteRoom();
                break;
            case 5:
                checkIn();
                break;
            case 6:
                editLease();
                break;
            case 7:
                checkOut();
                break;
            case 9:
                openStatisticsWindow(app_);
                break;
            case 13:
                openPasswordWindow(app_);
                break;
            case 15:
                message(kAntivirusWarning);
                openUpdateWindow(app_);
                break;
            case 17:
                openAboutWindow(app_);
                break;
            default:
                break;  // separators, and search, which does nothing yet
        }
    }

private:
    bool hasSelection() const { return selectedRow_ >= 0; }
    int selectedRoom() {
        return services_.listRowNumber(app_.state.mainWindow, kRoomList, selectedRow_);
    }
    bool selectedRoomIsLet() { return queryRoomState(app_.state.database, selectedRoom()) == 1; }
    int message(const Text& text, const Text& title = kDefaultMessageTitle,
                int flags = kMessageOk) {
        return services_.messageBox(text, flags, title);
    }

    void editRoom() {
        if (!hasSelection()) {
            message(kSelectRoomFirst, kMessageTitle);
        } else if (selectedRoomIsLet()) {
            message(kOnlyIdleEditable, kMessageTitle);
        } else {
            app_.state.roomWindowMode = 2;
            app_.state.roomWindowRoomId = selectedRoom();
            openRoomWindow(app_);
        }
    }

    void deleteRoom() {
        if (!hasSelection()) {
            message(kSelectRoomFirst, kMessageTitle);
            return;
        }
        if (selectedRoomIsLet()) {
            message(kOnlyIdleDeletable, kMessageTitle);
            return;
        }
        const Text address = services_.listCellText(app_.state.mainWindow, kRoomList, selectedRow_);
        if (message(kConfirmDelete + address, kDefaultMessageTitle, kMessageYesNo) != kAnswerYes) {
            return;
        }
        QueryBuilder& builder = app_.state.queryBuilder;
        const Text sql =
            builder.buildDelete("b_fangjian", "`id`=" + std::to_string(selectedRoom()));
        if (!app_.state.database.run(sql)) {
            message(app_.state.database.errorMessage(), kErrorTitle);
            return;
        }
        refreshRoomList(app_);
    }

    void checkIn() {
        if (!hasSelection()) {
            message(kSelectLetRoom);
            return;
        }
        RoomState room;
        queryRoomState(app_.state.database, selectedRoom(), &room);
        if (room.zhuangtai != 1 || room.chuzuzhuangtai != 0) {
            message(kCannotLet);
            return;
        }
        app_.state.leaseWindowMode = 1;
        app_.state.leaseWindowRoomId = selectedRoom();
        openLeaseWindow(app_);
    }

    void editLease() {
        if (!hasSelection()) {
            message(kSelectLetRoom);
        } else if (!selectedRoomIsLet()) {
            message(kNotLet);
        } else {
            app_.state.leaseWindowMode = 2;
            app_.state.leaseWindowRoomId = selectedRoom();
            openLeaseWindow(app_);
        }
    }

    void checkOut() {
        if (!hasSelection()) {
            message(kSelectLetRoom);
        } else if (!selectedRoomIsLet()) {
            message(kNotLet);
        } else {
            app_.state.checkoutRoomId = selectedRoom();
            openCheckoutWindow(app_);
        }
    }

    App& app_;
    WindowServices& services_;
    const int selectedRow_;
};

}  // namespace

void dispatchToolbar(App& app, int index) {
    ToolbarCommands(app).run(index);
}

}  // namespace tamrivo
