#include "app/calendar_sync.h"

#include <map>

#include "app/program_state.h"
#include "base/date_format.h"
#include "base/date_time.h"
#include "base/text_encoding.h"
#include "records/calendar_feeds.h"
#include "records/ical_export.h"
#include "records/outside_bookings.h"
#include "records/room_stays.h"

namespace tamrivo {
namespace {

std::map<int, Text> roomAddresses(Database& database) {
    std::map<int, Text> addresses;
    for (const CalendarRoom& room : calendarRooms(database).value_or(std::vector<CalendarRoom>{})) {
        addresses[room.id] = room.address;
    }
    return addresses;
}

Text applyPull(Database& database, const FeedPull& pull, std::int64_t currentDay) {
    Text refusal = !pull.refusal.empty() ? pull.refusal : pull.parsed.error;
    if (refusal.empty()) {
        const FeedApplied applied = applyFeed(database, pull.feedId, pull.parsed, currentDay);
        if (applied.applied) {
            return appliedText(applied);
        }
        refusal = "记录无法写入：" + database.errorMessage();
    }
    recordFeedRefusal(database, pull.feedId, refusal);
    return "未更新（" + refusal + "）";
}

}  // namespace

Text applyPulls(Database& database, const std::vector<FeedPull>& pulls, std::int64_t currentDay) {
    const auto addresses = roomAddresses(database);
    Text report;
    for (const FeedPull& pull : pulls) {
        const auto feed = findCalendarFeed(database, pull.feedId);
        if (!feed) {
            continue;  // removed while it was read
        }
        const auto room = addresses.find(feed->roomId);
        const Text where = room != addresses.end() ? room->second : Text("房间");
        report += where + " " + feed->name + "：" + applyPull(database, pull, currentDay) + "\r\n";
    }
    return report + conflictLines(database, currentDay);
}

Text conflictLines(Database& database, std::int64_t currentDay) {
    const auto conflicts = outsideConflicts(database, currentDay);
    if (!conflicts || conflicts->empty()) {
        return {};
    }
    const auto addresses = roomAddresses(database);
    Text lines;
    for (const OutsideBooking& booking : *conflicts) {
        const auto room = addresses.find(booking.roomId);
        lines += "冲突：" + (room != addresses.end() ? room->second : Text("房间")) + " " +
                 describeOutsideBooking(booking) + "\r\n";
    }
    return lines;
}

bool startCalendarSync(App& app) {
    const auto feeds = calendarFeeds(app.state.database);
    if (!feeds || feeds->empty()) {
        return false;
    }
    std::vector<FeedSource> sources;
    for (const CalendarFeed& feed : *feeds) {
        sources.push_back({feed.id, feed.address});
    }
    app.state.lastFeedPull = std::chrono::steady_clock::now();
    return app.state.feedPuller.start(std::move(sources));
}

void tickCalendarSync(App& app) {
    ProgramState& state = app.state;
    if (auto pulls = state.feedPuller.takeResults()) {
        state.lastSyncReport = formatDateTime(currentDateTime(), "HH:mm") + " 同步：\r\n" +
                               applyPulls(state.database, *pulls, today());
        // A handle is never reused, so a live one means the window behind the call is there.
        if (app.services.windowHandle(state.calendarWindow) != 0) {
            state.refreshCalendar();
        }
        if (app.services.windowHandle(state.calendarSyncWindow) != 0) {
            state.refreshSyncWindow();
        }
        return;
    }
    const auto now = std::chrono::steady_clock::now();
    const bool due = !state.lastFeedPull || now - *state.lastFeedPull >= kAutomaticPullInterval;
    if (due && !state.feedPuller.busy()) {
        state.lastFeedPull = now;  // settings off or no feed: look again next interval
        if (loadSyncSettings(state.database).automatic) {
            startCalendarSync(app);
        }
    }
}

Text exportRoomCalendarsIfSet(App& app) {
    const SyncSettings settings = loadSyncSettings(app.state.database);
    if (settings.exportFolder.empty()) {
        return {};
    }
    const std::filesystem::path folder = gbkToUtf8(settings.exportFolder);
    const CalendarExport written =
        exportRoomCalendars(app.state.database, folder, settings.exportGuests);
    return utf8ToGbk(written.error);
}

}  // namespace tamrivo
