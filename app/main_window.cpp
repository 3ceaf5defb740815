#include "app/main_window.h"

#include "app/calendar_sync.h"
#include "app/lease_details.h"
#include "app/overdue_reports.h"
#include "app/screen.h"
#include "app/toolbar_commands.h"
#include "base/date_format.h"
#include "base/date_time.h"
#include "base/value_text.h"
#include "records/desk_totals.h"
#include "records/outside_bookings.h"
#include "records/rooms.h"
#include "records/stay_charges.h"
#include "ui/windows/main_window.h"

namespace tamrivo {
namespace {

enum RoomImage { kIdleImage = 0, kAbandonedImage = 1, kLetImage = 2 };

int roomImage(const Room& room) {
    if (!room.normal()) {
        return kAbandonedImage;
    }
    return room.let() ? kLetImage : kIdleImage;
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
                services().statusText(window(), main_window::kStatusBar, 1,
                                      formatDateTime(currentDateTime()));
                tickCalendarSync(app());
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
        app().state.updateCheckView.checkOnStartup(app().state.updateChecker, window());
        LayoutKeeper& layout = app().state.layoutKeeper;
        layout.attach(window());
        layout.add(services().windowHandle(window(), main_window::kRoomList), LayoutMode::Stretch);
        layout.add(services().windowHandle(window(), main_window::kDetailsGroup),
                   LayoutMode::FollowBottomStretchSideways);
        services().statusText(window(), main_window::kStatusBar, 0,
                              "版本号:" + app().state.runningVersion);
        refreshRoomList(app());
    }
};

}  // namespace

void openMainWindow(App& app) {
    app.services.loadWindow(WindowKind::Main, std::make_unique<MainWindow>(app));
}

void refreshRoomList(App& app) {
    const WindowHandle window = app.state.mainWindow;
    app.services.listClear(window, main_window::kRoomList);
    for (const Room& room : listRooms(app.state.database)) {
        app.services.listInsertRow(window, main_window::kRoomList, -1, room.address,
                                   roomImage(room), room.id);
    }
    // The reloaded list has nothing selected, so the details of the lease shown before go.
    showLeaseDetails(app, app.services.selectedIndex(window, main_window::kRoomList));
    refreshStatistics(app);
    // A change at the desk may free a platform's guest or put one in conflict; the platforms
    // learn of it from the exported calendars (a folder that cannot be written is told in the
    // sync window when the landlord saves it there).
    refreshOutsideConflicts(app.state.database);
    exportRoomCalendarsIfSet(app);
    // A handle is never reused, so a live one means the calendar behind the call is there.
    if (app.services.windowHandle(app.state.calendarWindow) != 0) {
        app.state.refreshCalendar();
    }
}

void refreshStatistics(App& app) {
    const WindowHandle window = app.state.mainWindow;
    const DeskTotals totals = readDeskTotals(app.state.database);
    app.services.statusText(
        window, main_window::kStatusBar, 2,
        "房间数量:" + toText(totals.normalRooms) + "/" + toText(totals.otherRooms));
    // Sums of amounts kept to the fen, shown to the fen: adding them up in binary must not
    // show as 385.50999999.
    app.services.statusText(window, main_window::kStatusBar, 3,
                            "已结算总额：" + toText(roundToFen(totals.settled)) + "元");
    app.services.statusText(window, main_window::kStatusBar, 4,
                            "未结算总额：" + toText(roundToFen(totals.unsettled)) + "元");
    app.services.setText(window, main_window::kOverdueReportsLabel,
                         overdueReportsText(app.state.database));
}

}  // namespace tamrivo
