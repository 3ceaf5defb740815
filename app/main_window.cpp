#include "app/main_window.h"

#include "app/lease_details.h"
#include "app/overdue_reports.h"
#include "app/screen.h"
#include "app/toolbar_commands.h"
#include "base/date_format.h"
#include "base/date_time.h"
#include "base/value_text.h"
#include "records/database_queries.h"
#include "records/statement_scope.h"
#include "records/stay_charges.h"

namespace tamrivo {
namespace {

constexpr char kRoomList[] = "超级列表框1";
constexpr char kStatusBar[] = "状态条1";

enum RoomImage { kIdleImage = 0, kAbandonedImage = 1, kLetImage = 2 };

int roomImage(int zhuangtai, int chuzuzhuangtai) {
    if (zhuangtai != 1) {
        return kAbandonedImage;
    }
    return chuzuzhuangtai == 1 ? kLetImage : kIdleImage;
}

class MainWindow final : public Screen {
public:
    using Screen::Screen;

private:
    bool onEvent(const WindowEvent& event) override {
        switch (event.handler) {
            case Handler::MainWindowCreated:
                onCreated();
                break;
            case Handler::RelayoutMainWindow:
                app().state.layoutKeeper.relayout();
                break;
            case Handler::ShowClock:
                services().statusText(window(), kStatusBar, 1, formatDateTime(currentDateTime()));
                break;
            case Handler::DispatchToolbar:
                dispatchToolbar(app(), event.argument);
                break;
            case Handler::ShowLeaseDetails:
                showLeaseDetails(app(), event.argument);
                break;
            default:
                break;
        }
        return false;
    }

    void onCreated() {
        app().state.mainWindow = window();
        app().state.updateChecker.checkOnStartup(window());
        LayoutKeeper& layout = app().state.layoutKeeper;
        layout.attach(window());
        layout.add(services().windowHandle(window(), kRoomList), 0);
        layout.add(services().windowHandle(window(), "分组框1"), 5);
        services().statusText(window(), kStatusBar, 0, "版本号:" + app().state.runningVersion);
        refreshRoomList(app());
    }
};

}  // namespace

void openMainWindow(App& app) {
    app.services.loadWindow(WindowKind::Main, std::make_unique<MainWindow>(app));
}

void refreshRoomList(App& app) {
    const WindowHandle window = app.state.mainWindow;
    app.services.listClear(window, kRoomList);
    {
        StatementScope statement(app.state.database, "SELECT  * FROM `b_fangjian`");
        while (statement.step()) {
            const int id = statement.columnInt(0);
            const Text dizhi = statement.columnText(1);
            const int image = roomImage(statement.columnInt(2), statement.columnInt(3));
            app.services.listInsertRow(window, kRoomList, -1, dizhi, image, id);
        }
    }
    // The reloaded list has nothing selected, so the details of the lease shown before go.
    showLeaseDetails(app, app.services.selectedIndex(window, kRoomList));
    refreshStatistics(app);
    // A handle is never reused, so a live one means the calendar behind the call is there.
    if (app.services.windowHandle(app.state.calendarWindow) != 0) {
        app.state.refreshCalendar();
    }
}

void refreshStatistics(App& app) {
    Database& database = app.state.database;
    const WindowHandle window = app.state.mainWindow;
    const auto normal = countRows(database, "b_fangjian", "`zhuangtai`=1");
    const auto other = countRows(database, "b_fangjian", "`zhuangtai`!=1");
    app.services.statusText(window, kStatusBar, 2,
                            "房间数量:" + toText(normal) + "/" + toText(other));
    // Sums of amounts kept to the fen, shown to the fen: adding them up in binary must not
    // show as 385.50999999.
    const double settled =
        roundToFen(sumColumn(database, "b_zulin", "jiesuanjine", "`zulinzhuangtai`=1"));
    app.services.statusText(window, kStatusBar, 3, "已结算总额：" + toText(settled) + "元");
    const double open =
        roundToFen(sumColumn(database, "b_zulin", "jiesuanjine", "`zulinzhuangtai`!= 1"));
    app.services.statusText(window, kStatusBar, 4, "未结算总额：" + toText(open) + "元");
    app.services.setText(window, "标签_未上报", overdueReportsText(database));
}

}  // namespace tamrivo
