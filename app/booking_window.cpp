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
#include "ui/windows/booking_window.h"

namespace tamrivo {
namespace {

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
        services().setDateTime(window(), booking_window::kArrivalPicker, now);
        services().setDateTime(window(), booking_window::kDeparturePicker, DateTime{now.days + 1});
        if (booking) {
            services().setText(window(), booking_window::kNameEdit, booking->guest);
            services().setText(window(), booking_window::kContactEdit, booking->contact);
            services().setText(window(), booking_window::kDepositEdit, toText(booking->deposit));
            services().setText(window(), booking_window::kRemarkEdit, booking->remark);
            setDay(booking_window::kArrivalPicker, booking->arrival);
            setDay(booking_window::kDeparturePicker, booking->departure);
        }
    }

    void fillRooms() {
        const auto rooms = calendarRooms(database());
        int chosen = 0;
        for (const CalendarRoom& room : rooms ? *rooms : std::vector<CalendarRoom>{}) {
            const int index =
                services().comboAdd(window(), booking_window::kRoomCombo, room.address, room.id);
            if (room.id == roomId_) {
                chosen = index;
            }
        }
        services().setSelectedIndex(window(), booking_window::kRoomCombo, chosen);
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
            services().comboNumber(window(), booking_window::kRoomCombo,
                                   services().selectedIndex(window(), booking_window::kRoomCombo));
        booking.guest = services().text(window(), booking_window::kNameEdit);
        booking.contact = services().text(window(), booking_window::kContactEdit);
        booking.arrival = day(booking_window::kArrivalPicker);
        booking.departure = day(booking_window::kDeparturePicker);
        booking.deposit = moneyFromText(services().text(window(), booking_window::kDepositEdit), 2);
        booking.remark = services().text(window(), booking_window::kRemarkEdit);
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
