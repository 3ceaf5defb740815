#include "app/calendar_sync_window.h"

#include <map>

#include "app/calendar_sync.h"
#include "app/screen.h"
#include "records/calendar_feeds.h"
#include "records/room_stays.h"
#include "ui/windows/calendar_sync_window.h"

namespace tamrivo {
namespace {

constexpr int kEnter = 13;

Text feedRefusal(FeedSave result) {
    switch (result) {
        case FeedSave::BlankName:
            return "请填写名称，例如 Airbnb";
        case FeedSave::BadAddress:
            return "请填写http或https地址，或本机.ics文件的路径";
        case FeedSave::NoRoom:
            return "请选择房间";
        case FeedSave::Saved:
        case FeedSave::Failed:
            break;
    }
    return {};
}

class CalendarSyncWindow final : public Screen {
public:
    using Screen::Screen;

private:
    bool onEvent(const WindowEvent& event) override {
        switch (event.handler) {
            case Handler::CalendarSyncCreated:
                created();
                break;
            case Handler::ShowFeedSelection:
                services().setDisabled(window(), calendar_sync_window::kRemoveButton,
                                       selectedFeed() == 0);
                break;
            case Handler::AddFeed:
                if (event.kind == EventKind::KeyPressed && event.argument != kEnter) {
                    return false;
                }
                addFeed();
                return event.kind == EventKind::KeyPressed;
            case Handler::RemoveFeed:
                removeFeed();
                break;
            case Handler::ChooseExportFolder:
                chooseFolder();
                break;
            case Handler::SyncCalendars:
                sync();
                break;
            case Handler::SaveSyncSettings:
                save();
                break;
            case Handler::CloseWindow:
                close();
                break;
            default:
                break;
        }
        return false;
    }

    void created() {
        app().state.calendarSyncWindow = window();
        app().state.refreshSyncWindow = [this] { refresh(); };
        for (const CalendarRoom& room :
             calendarRooms(database()).value_or(std::vector<CalendarRoom>{})) {
            services().comboAdd(window(), calendar_sync_window::kRoomCombo, room.address, room.id);
        }
        services().setSelectedIndex(window(), calendar_sync_window::kRoomCombo, 0);
        const SyncSettings settings = loadSyncSettings(database());
        services().setChecked(window(), calendar_sync_window::kAutomaticCheck, settings.automatic);
        services().setText(window(), calendar_sync_window::kExportEdit, settings.exportFolder);
        services().setChecked(window(), calendar_sync_window::kGuestDetailsCheck,
                              settings.exportGuests);
        refresh();
    }

    // The feeds with what their last reads gave, and the last sync's report.
    void refresh() {
        const auto feeds = calendarFeeds(database());
        if (!feeds) {
            services().setText(window(), calendar_sync_window::kResultEdit,
                               "读取失败：" + database().errorMessage());
            return;
        }
        std::map<int, Text> addresses;
        for (const CalendarRoom& room :
             calendarRooms(database()).value_or(std::vector<CalendarRoom>{})) {
            addresses[room.id] = room.address;
        }
        std::vector<TableRow> rows;
        for (const CalendarFeed& feed : *feeds) {
            const Text result =
                feed.lastError.empty() ? feed.lastResult : "失败：" + feed.lastError;
            rows.push_back({feed.id,
                            {addresses[feed.roomId], feed.name, feed.address,
                             feed.lastRead.empty() ? Text("未读取") : feed.lastRead, result}});
        }
        services().tableSetRows(window(), calendar_sync_window::kFeedsTable, std::move(rows));
        services().setDisabled(window(), calendar_sync_window::kRemoveButton, true);
        services().setText(
            window(), calendar_sync_window::kResultEdit,
            app().state.feedPuller.busy() ? Text("正在同步…") : app().state.lastSyncReport);
    }

    int selectedFeed() {
        const int row = services().selectedIndex(window(), calendar_sync_window::kFeedsTable);
        return row < 0 ? 0
                       : services().listRowNumber(window(), calendar_sync_window::kFeedsTable, row);
    }

    void addFeed() {
        const int room = services().comboNumber(
            window(), calendar_sync_window::kRoomCombo,
            services().selectedIndex(window(), calendar_sync_window::kRoomCombo));
        const FeedSave saved = addCalendarFeed(
            database(), room, services().text(window(), calendar_sync_window::kNameEdit),
            services().text(window(), calendar_sync_window::kAddressEdit));
        if (saved == FeedSave::Failed) {
            showDatabaseError();
            return;
        }
        if (saved != FeedSave::Saved) {
            showMessage(feedRefusal(saved));
            return;
        }
        services().setText(window(), calendar_sync_window::kNameEdit, {});
        services().setText(window(), calendar_sync_window::kAddressEdit, {});
        refresh();
    }

    void removeFeed() {
        const auto feed = findCalendarFeed(database(), selectedFeed());
        if (!feed || services().messageBox("确定要删除日历“" + feed->name + "”和它带来的预订吗？",
                                           kMessageYesNo, kDefaultMessageTitle) != kAnswerYes) {
            return;
        }
        if (!removeCalendarFeed(database(), feed->id)) {
            showDatabaseError();
        }
        refresh();
        refreshCalendar();
    }

    void chooseFolder() {
        const Text folder = services().askFolder(window(), "导出日历到文件夹");
        if (!folder.empty()) {
            services().setText(window(), calendar_sync_window::kExportEdit, folder);
        }
    }

    void sync() {
        if (app().state.feedPuller.busy()) {
            return;
        }
        services().setText(window(), calendar_sync_window::kResultEdit,
                           startCalendarSync(app()) ? Text("正在同步…") : Text("没有要同步的日历"));
    }

    // Keeps the settings and writes the room calendars at once, so the landlord sees the
    // files before leaving the window.
    void save() {
        SyncSettings settings;
        settings.automatic = services().isChecked(window(), calendar_sync_window::kAutomaticCheck);
        settings.exportFolder = services().text(window(), calendar_sync_window::kExportEdit);
        settings.exportGuests =
            services().isChecked(window(), calendar_sync_window::kGuestDetailsCheck);
        if (!saveSyncSettings(database(), settings)) {
            showDatabaseError();
            return;
        }
        const Text problem = exportRoomCalendarsIfSet(app());
        if (!problem.empty()) {
            showMessage("日历无法导出：" + problem, kErrorTitle);
            return;
        }
        close();
    }

    void refreshCalendar() {
        if (services().windowHandle(app().state.calendarWindow) != 0) {
            app().state.refreshCalendar();
        }
    }
};

}  // namespace

void openCalendarSyncWindow(App& app) {
    if (app.services.windowHandle(app.state.calendarSyncWindow) != 0) {
        app.services.bringToFront(app.state.calendarSyncWindow);
        return;
    }
    app.services.loadWindow(
        WindowKind::CalendarSync, std::make_unique<CalendarSyncWindow>(app),
        app.state.calendarWindow != 0 ? app.state.calendarWindow : app.state.mainWindow);
}

}  // namespace tamrivo
