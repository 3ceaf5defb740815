#include <string>

#include "app/booking_texts.h"
#include "app/calendar_window.h"
#include "app/lease_window.h"
#include "app/main_window.h"
#include "app/screen.h"
#include "base/date_format.h"
#include "base/date_time.h"
#include "base/value_text.h"
#include "records/database_queries.h"
#include "records/room_stays.h"
#include "records/schema.h"
#include "records/stored_dates.h"

namespace tamrivo {
namespace {

constexpr char kRoom[] = "组合框_房间";
constexpr char kName[] = "编辑框_姓名";
constexpr char kContact[] = "编辑框_联系方式";
constexpr char kArrival[] = "日期框_到达";
constexpr char kDeparture[] = "日期框_离开";
constexpr char kDeposit[] = "编辑框_定金";
constexpr char kRemark[] = "编辑框_备注";
constexpr char kLetOnArrival[] = "这个房间在到达日仍在出租中，确定仍要预订吗？";

class BookingWindow final : public FormScreen {
public:
    BookingWindow(App& app, int bookingId, int roomId)
        : FormScreen(app), bookingId_(bookingId), roomId_(roomId) {}

private:
    void onCreated() override {
        const auto booking = bookingId_ != 0 ? findBooking(database(), bookingId_) : std::nullopt;
        services().setText(window(), {}, booking ? "修改预订" : "预订");
        fillRooms();
        const DateTime now = currentDateTime();
        services().setDateTime(window(), kArrival, now);
        services().setDateTime(window(), kDeparture, DateTime{now.days + 1});
        if (booking) {
            services().setText(window(), kName, booking->guest);
            services().setText(window(), kContact, booking->contact);
            services().setText(window(), kDeposit, toText(booking->deposit));
            services().setText(window(), kRemark, booking->remark);
            setDay(kArrival, booking->arrival);
            setDay(kDeparture, booking->departure);
        }
    }

    void fillRooms() {
        const auto rooms = calendarRooms(database());
        int chosen = 0;
        for (const CalendarRoom& room : rooms ? *rooms : std::vector<CalendarRoom>{}) {
            const int index = services().comboAdd(window(), kRoom, room.address, room.id);
            if (room.id == roomId_) {
                chosen = index;
            }
        }
        services().setSelectedIndex(window(), kRoom, chosen);
    }

    void setDay(const char* picker, const Text& day) {
        if (const auto number = typedDay(day)) {
            services().setDateTime(window(), picker, DateTime{static_cast<double>(*number)});
        }
    }

    Text day(const char* picker) {
        return formatDateTime(services().dateTime(window(), picker), "yyyy-MM-dd");
    }

    Booking typed() {
        Booking booking;
        booking.id = bookingId_;
        booking.roomId =
            services().comboNumber(window(), kRoom, services().selectedIndex(window(), kRoom));
        booking.guest = services().text(window(), kName);
        booking.contact = services().text(window(), kContact);
        booking.arrival = day(kArrival);
        booking.departure = day(kDeparture);
        booking.deposit = moneyFromText(services().text(window(), kDeposit), 2);
        booking.remark = services().text(window(), kRemark);
        return booking;
    }

    // A room let now may still be let when the guest comes today; the person decides. An
    // arrival in the past is refused without asking.
    bool confirmIfLetOnArrival(const Booking& booking) {
        const auto arrival = typedDay(booking.arrival);
        if (!arrival || *arrival != today() || !roomIsLet(database(), booking.roomId)) {
            return true;
        }
        return services().messageBox(kLetOnArrival, kMessageYesNo, kDefaultMessageTitle) ==
               kAnswerYes;
    }

    void onConfirmed() override {
        const Booking booking = typed();
        if (!confirmIfLetOnArrival(booking)) {
            return;
        }
        const BookingOutcome outcome = saveBooking(database(), booking);
        if (outcome.result == BookingResult::Saved) {
            refreshRoomList(app());
            close();
            return;
        }
        showMessage(bookingRefusal(outcome, database().errorMessage()),
                    outcome.result == BookingResult::Failed ? kErrorTitle : kMessageTitle);
    }

    const int bookingId_;
    const int roomId_;
};

}  // namespace

void openBookingWindow(App& app, int bookingId, int roomId) {
    app.services.loadWindow(WindowKind::Booking,
                            std::make_unique<BookingWindow>(app, bookingId, roomId),
                            app.state.mainWindow);
}

}  // namespace tamrivo
