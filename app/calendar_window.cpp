#include "app/calendar_window.h"

#include <utility>

#include "app/booking_texts.h"
#include "app/calendar_page.h"
#include "app/command_messages.h"
#include "app/lease_window.h"
#include "app/main_window.h"
#include "app/overdue_reports.h"
#include "app/screen.h"
#include "records/database_queries.h"
#include "records/lease_search.h"
#include "records/stored_dates.h"
#include "ui/layout_keeper.h"

namespace tamrivo {
namespace {

constexpr char kToday[] = "标签_今日";
constexpr char kEarlier[] = "按钮_前一周";
constexpr char kLater[] = "按钮_后一周";
constexpr char kCalendar[] = "房态表_房态";
constexpr char kBookings[] = "表格_预订";
constexpr char kEdit[] = "按钮_修改";
constexpr char kCancel[] = "按钮_取消预订";
constexpr char kArrive[] = "按钮_入住";
constexpr int kWeek = 7;

// How the controls follow the window's size (the layout keeper's modes): the calendar takes
// what the window gains, the bookings below it widen, the week buttons keep to the right.
constexpr std::pair<const char*, int> kLayout[] = {
    {kToday, 6}, {"标签_今日未上报", 6}, {kEarlier, 1},  {"按钮_今天", 1},
    {kLater, 1}, {kCalendar, 0},         {kBookings, 5}, {"按钮_预订", 2},
    {kEdit, 2},  {kCancel, 2},           {kArrive, 2}};

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
            default:
                break;
        }
        return false;
    }

    void turnPage(const Text& button) {
        firstDay_ = button == kEarlier ? firstDay_ - kWeek
                    : button == kLater ? firstDay_ + kWeek
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
        const auto todays = readTodayBookings(database(), now);
        if (!rooms || !leases || !bookings || !stays || !todays) {
            services().setText(window(), kToday, "读取失败：" + database().errorMessage());
            return;
        }
        records_ = {std::move(*rooms), std::move(*leases), std::move(*bookings), std::move(*stays)};
        services().setText(window(), kToday, todayText(*todays, now));
        services().setText(window(), "标签_今日未上报", overdueReportsText(database()));
        services().calendarSetPage(window(), kCalendar,
                                   calendarPage(records_, firstDay_, kCalendarDays, now));
        services().tableSetRows(window(), kBookings, bookingRows(records_));
        showSelection();
    }

    std::optional<Booking> selected() {
        const int row = services().selectedIndex(window(), kBookings);
        if (row < 0) {
            return std::nullopt;
        }
        return findBooking(database(), services().listRowNumber(window(), kBookings, row));
    }

    void showSelection() {
        const auto booking = selected();
        const bool booked = booking && booking->booked();
        services().setDisabled(window(), kEdit, !booked);
        services().setDisabled(window(), kCancel, !booked);
        services().setDisabled(window(), kArrive, !booked);
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
        app().state.bookingWindowBookingId = 0;
        app().state.bookingWindowRoomId = booking ? booking->roomId : 0;
        openBookingWindow(app());
    }

    void edit(const Booking& booking) {
        app().state.bookingWindowBookingId = booking.id;
        app().state.bookingWindowRoomId = booking.roomId;
        openBookingWindow(app());
    }

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
    if (app.services.windowHandle(app.state.calendarWindow) != 0) {
        app.services.bringToFront(app.state.calendarWindow);
        return;
    }
    app.services.loadWindow(WindowKind::Calendar, std::make_unique<CalendarWindow>(app),
                            app.state.mainWindow);
}

}  // namespace tamrivo
