#include "app/calendar_window.h"

#include <utility>

#include "app/booking_texts.h"
#include "app/calendar_page.h"
#include "app/calendar_sync.h"
#include "app/calendar_sync_window.h"
#include "app/command_messages.h"
#include "app/lease_window.h"
#include "app/main_window.h"
#include "app/overdue_reports.h"
#include "app/screen.h"
#include "app/single_window.h"
#include "records/database_queries.h"
#include "records/lease_search.h"
#include "records/stored_dates.h"
#include "ui/layout_keeper.h"
#include "ui/windows/calendar_window.h"

namespace tamrivo {
namespace {

constexpr int kWeek = 7;

// How the controls follow the window's size (the layout keeper's modes): the calendar takes
// what the window gains, the bookings below it widen, the week buttons keep to the right.
constexpr std::pair<const char*, LayoutMode> kLayout[] = {
    {calendar_window::kTodayLabel, LayoutMode::StretchSideways},
    {calendar_window::kOverdueReportsLabel, LayoutMode::StretchSideways},
    {calendar_window::kEarlierButton, LayoutMode::FollowRight},
    {calendar_window::kTodayButton, LayoutMode::FollowRight},
    {calendar_window::kLaterButton, LayoutMode::FollowRight},
    {calendar_window::kRoomCalendar, LayoutMode::Stretch},
    {calendar_window::kBookingsTable, LayoutMode::FollowBottomStretchSideways},
    {calendar_window::kBookButton, LayoutMode::FollowBottom},
    {calendar_window::kEditButton, LayoutMode::FollowBottom},
    {calendar_window::kCancelBookingButton, LayoutMode::FollowBottom},
    {calendar_window::kArriveButton, LayoutMode::FollowBottom},
    {calendar_window::kSyncButton, LayoutMode::FollowBottom},
    {calendar_window::kSyncSettingsButton, LayoutMode::FollowBottom},
    {calendar_window::kSyncResultLabel, LayoutMode::FollowBottomStretchSideways}};

// The sync's report on the line under the calendar; the sync window shows it whole.
Text oneLine(Text report) {
    for (std::size_t at = report.find("\r\n"); at != Text::npos; at = report.find("\r\n", at)) {
        report.replace(at, 2, "  ");
    }
    return report;
}

class CalendarWindow final : public Screen {
public:
    explicit CalendarWindow(App& app) : Screen(app), layout_(app.services) {}

private:
    bool onEvent(const WindowEvent& event) override {
        switch (event.handler) {
            case Handler::CalendarWindowCreated:
                app().state.calendarWindow = window();
                layout_.attach(window());
                for (const auto& [control, mode] : kLayout) {
                    layout_.add(services().windowHandle(window(), control), mode);
                }
                // Every page reads through the leases; held in memory, a week's move costs
                // no decryption.
                keepLeasesInMemory(database());
                app().state.refreshCalendar = [this] { refresh(); };
                refresh();
                break;
            case Handler::RelayoutCalendarWindow:
                layout_.relayout();
                break;
            case Handler::MoveCalendar:
                turnPage(event.control);
                break;
            case Handler::ShowBookingSelection:
                showSelection();
                break;
            case Handler::BookRoom:
                book();
                break;
            case Handler::EditBooking:
                withSelected([this](const Booking& booking) { edit(booking); });
                break;
            case Handler::CancelBooking:
                withSelected([this](const Booking& booking) { cancel(booking); });
                break;
            case Handler::ArriveBooking:
                withSelected([this](const Booking& booking) { arrive(booking); });
                break;
            case Handler::SyncCalendars:
                sync();
                break;
            case Handler::OpenCalendarSync:
                openCalendarSyncWindow(app());
                break;
            default:
                break;
        }
        return false;
    }

    void turnPage(const Text& button) {
        firstDay_ = button == calendar_window::kEarlierButton ? firstDay_ - kWeek
                    : button == calendar_window::kLaterButton ? firstDay_ + kWeek
                                                              : today() - kCalendarDaysBefore;
        refresh();
    }

    // Reads the page's rooms, stays and bookings again and shows them.
    void refresh() {
        const std::int64_t now = today();
        const Text first = dayText(firstDay_);
        const Text last = dayText(firstDay_ + kCalendarDays - 1);
        auto rooms = calendarRooms(database());
        auto leases = leaseStaysBetween(database(), first, last);
        auto bookings = bookingsBetween(database(), first, last);
        auto stays = openStays(database(), now);
        auto outside = outsideBookingsBetween(database(), first, last);
        const auto todays = readTodayBookings(database(), now);
        if (!rooms || !leases || !bookings || !stays || !outside || !todays) {
            services().setText(window(), calendar_window::kTodayLabel,
                               "读取失败：" + database().errorMessage());
            return;
        }
        records_ = {std::move(*rooms), std::move(*leases), std::move(*bookings), std::move(*stays),
                    std::move(*outside)};
        services().setText(window(), calendar_window::kSyncResultLabel,
                           oneLine(app().state.lastSyncReport));
        services().setText(window(), calendar_window::kTodayLabel, todayText(*todays, now));
        services().setText(window(), calendar_window::kOverdueReportsLabel,
                           overdueReportsText(database()));
        services().calendarSetPage(window(), calendar_window::kRoomCalendar,
                                   calendarPage(records_, firstDay_, kCalendarDays, now));
        services().tableSetRows(window(), calendar_window::kBookingsTable, bookingRows(records_));
        showSelection();
    }

    std::optional<Booking> selected() {
        const int row = services().selectedIndex(window(), calendar_window::kBookingsTable);
        if (row < 0) {
            return std::nullopt;
        }
        return findBooking(
            database(), services().listRowNumber(window(), calendar_window::kBookingsTable, row));
    }

    void showSelection() {
        const auto booking = selected();
        const bool booked = booking && booking->booked();
        services().setDisabled(window(), calendar_window::kEditButton, !booked);
        services().setDisabled(window(), calendar_window::kCancelBookingButton, !booked);
        services().setDisabled(window(), calendar_window::kArriveButton, !booked);
    }

    template <class Action>
    void withSelected(Action action) {
        const auto booking = selected();
        if (!booking || !booking->booked()) {
            showMessage(kBookingGone);
            refresh();
            return;
        }
        action(*booking);
    }

    void book() {
        const auto booking = selected();
        openBookingWindow(app(), 0, booking ? booking->roomId : 0);
    }

    void edit(const Booking& booking) { openBookingWindow(app(), booking.id, booking.roomId); }

    void cancel(const Booking& booking) {
        if (services().messageBox("确定要取消\r\n" + describeBooking(booking), kMessageYesNo,
                                  kDefaultMessageTitle) != kAnswerYes) {
            return;
        }
        const BookingOutcome outcome = cancelBooking(database(), booking.id);
        if (outcome.result != BookingResult::Saved) {
            showMessage(bookingRefusal(outcome, database().errorMessage()), kErrorTitle);
        }
        refreshRoomList(app());
    }

    // The pull runs on its own threads; the main window's clock takes its result in and
    // redraws this window then.
    void sync() {
        if (app().state.feedPuller.busy()) {
            services().setText(window(), calendar_window::kSyncResultLabel, "正在同步…");
        } else if (startCalendarSync(app())) {
            services().setText(window(), calendar_window::kSyncResultLabel, "正在同步…");
        } else {
            services().setText(window(), calendar_window::kSyncResultLabel,
                               "没有要同步的日历：请在“同步设置”中添加");
        }
    }

    void arrive(const Booking& booking) {
        if (!roomIsLettable(database(), booking.roomId)) {
            showMessage(kCannotLet);
            return;
        }
        openArrivalWindow(app(), booking);
    }

    std::int64_t firstDay_ = today() - kCalendarDaysBefore;
    CalendarRecords records_;
    LayoutKeeper layout_;
};

}  // namespace

void openCalendarWindow(App& app) {
    openOrRaise<CalendarWindow>(app, WindowKind::Calendar, app.state.calendarWindow);
}

}  // namespace tamrivo
