#include "app/lease_window.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "app/booking_texts.h"
#include "app/command_messages.h"
#include "app/guest_register_window.h"
#include "app/main_window.h"
#include "app/records_key.h"
#include "app/screen.h"
#include "base/date_format.h"
#include "base/date_time.h"
#include "base/text_to_value.h"
#include "base/value_text.h"
#include "records/guest_register.h"
#include "records/lease_search.h"
#include "records/lease_writes.h"
#include "records/order_number.h"
#include "records/planned_departures.h"
#include "records/rooms.h"
#include "records/stored_dates.h"
#include "ui/windows/lease_window.h"

namespace tamrivo {
namespace {

// Refusals of a form that would record nobody, or no money, each naming its box.
constexpr char kBlankGuest[] = "请填写姓名";
constexpr char kBadDeposit[] = "请正确填写定金(没有定金请填0)";
constexpr char kBadRent[] = "请正确填写租金";
constexpr char kBadDeparture[] = "预计退房必须在入住日期之后";
constexpr char kGuestsNotSaved[] = "入住已保存,但住客登记未能保存:";

class LeaseWindow final : public FormScreen {
public:
    // With a check-in, bookingId is the booking that arrives (0 a walk-in).
    LeaseWindow(App& app, LeaseWindowMode mode, int roomId, int bookingId, int acceptedBookingId)
        : FormScreen(app),
          mode_(mode),
          roomId_(roomId),
          bookingId_(checkingIn() ? bookingId : 0),
          acceptedBookingId_(checkingIn() ? acceptedBookingId : 0),
          stay_(std::make_shared<StayRegister>()) {}

private:
    bool checkingIn() const { return mode_ == LeaseWindowMode::CheckIn; }

    void onCreated() override {
        // The first guest registered is the lease's guest; a stale handle names nothing.
        stay_->confirmed = [&services = services(), window = window()](const Text& name) {
            services.setText(window, lease_window::kNameEdit, name);
        };
        if (checkingIn()) {
            services().setText(window(), {}, "增加记录");
            services().setText(window(), lease_window::kOrderNumberEdit,
                               newOrderNumber(database()));
            services().setText(window(), lease_window::kAddressEdit,
                               roomAddress(database(), roomId_));
            showDeparture(today() + 1);
            loadBookingIntoForm();
        } else {
            services().setText(window(), {}, "修改记录");
            loadLeaseIntoForm();
        }
    }

    void loadLeaseIntoForm() {
        const auto lease = leaseOfRoom(database(), roomId_).lease;
        if (!lease) {
            return;
        }
        leaseId_ = lease->id;
        loadedOrderNumber_ = lease->orderNumber;
        services().setText(window(), lease_window::kOrderNumberEdit, loadedOrderNumber_);
        services().setText(window(), lease_window::kAddressEdit, lease->address);
        services().setText(window(), lease_window::kNameEdit, lease->guest);
        services().setText(window(), lease_window::kContactEdit, lease->contact);
        services().setText(window(), lease_window::kDepositEdit, toText(lease->deposit));
        services().setText(window(), lease_window::kRentEdit, toText(lease->rent));
        services().setDateTime(window(), lease_window::kCheckInPicker, toDateTime(lease->checkIn));
        services().setText(window(), lease_window::kRemarkEdit, lease->remark);
        stay_->leaseId = leaseId_;
        stay_->arrival = storedDay(lease->checkIn).value_or(today());
        stay_->guests = stayGuests(database(), leaseId_).value_or(std::vector<Guest>{});
        // A lease of an earlier version has no planned departure: the day after its check-in.
        const auto planned = storedPlannedDeparture(database(), leaseId_);
        const auto day = planned ? typedDay(*planned) : std::nullopt;
        showDeparture(day ? *day : storedDay(lease->checkIn).value_or(today()) + 1);
    }

    void showDeparture(std::int64_t day) {
        services().setDateTime(window(), lease_window::kDeparturePicker,
                               DateTime{static_cast<double>(day)});
    }

    void loadBookingIntoForm() {
        const auto booking = bookingId_ != 0 ? findBooking(database(), bookingId_) : std::nullopt;
        if (!booking) {
            return;
        }
        services().setText(window(), lease_window::kNameEdit, booking->guest);
        services().setText(window(), lease_window::kContactEdit, booking->contact);
        services().setText(window(), lease_window::kDepositEdit, toText(booking->deposit));
        services().setText(window(), lease_window::kRemarkEdit, booking->remark);
        if (const auto departure = typedDay(booking->departure)) {
            showDeparture(*departure);
        }
    }

    LeaseForm typedForm() {
        LeaseForm form;
        form.orderNumber = services().text(window(), lease_window::kOrderNumberEdit);
        form.address = services().text(window(), lease_window::kAddressEdit);
        form.guest = services().text(window(), lease_window::kNameEdit);
        form.contact = services().text(window(), lease_window::kContactEdit);
        form.deposit = services().text(window(), lease_window::kDepositEdit);
        form.rent = services().text(window(), lease_window::kRentEdit);
        form.checkIn = services().dateTime(window(), lease_window::kCheckInPicker);
        form.plannedDeparture = formatDateTime(
            services().dateTime(window(), lease_window::kDeparturePicker), "yyyy-MM-dd");
        form.remark = services().text(window(), lease_window::kRemarkEdit);
        return form;
    }

    void onConfirmed() override { saveLease(); }

    void onClicked(Handler handler) override {
        if (handler == Handler::OpenGuestRegister) {
            openRegister();
        } else {
            onConfirmed();
        }
    }

    void openRegister() {
        if (services().windowHandle(registerWindow_) != 0) {
            services().bringToFront(registerWindow_);
            return;
        }
        if (checkingIn()) {
            stay_->arrival = dayNumber(services().dateTime(window(), lease_window::kCheckInPicker));
        }
        registerWindow_ = openGuestRegisterWindow(app(), window(), stay_);
    }

    // A check-in's guests are checked before anything is written, so a refused guest refuses
    // the whole check-in; they are written once the lease has its id.
    bool checkInGuestsAcceptable(const LeaseForm& form) {
        if (stay_->guests.empty()) {
            return true;
        }
        std::vector<Guest> guests = stay_->guests;
        const RegisterOutcome outcome =
            checkStayGuests(guests, recordsKeyOf(app()), dayNumber(form.checkIn), today());
        if (outcome.result != RegisterResult::Saved) {
            showMessage(outcome.message);
            return false;
        }
        return true;
    }

    // False, having said so, when the lease was saved but its guests were not.
    bool saveCheckInGuests(int leaseId, const LeaseForm& form) {
        if (stay_->guests.empty()) {
            return true;
        }
        const RegisterOutcome outcome =
            saveStayGuests(database(), leaseId, stay_->guests, recordsKeyOf(app()),
                           registerUser(app()), dayNumber(form.checkIn), today());
        if (outcome.result != RegisterResult::Saved) {
            showMessage(kGuestsNotSaved + outcome.message, kErrorTitle);
            return false;
        }
        return true;
    }

    // Saves only while the room is as the command that opened this window found it: another
    // window may have let the room, or settled the lease, meanwhile (see lease_writes.h).
    void saveLease() {
        LeaseForm form = typedForm();
        if (!stay_->guests.empty()) {
            form.guest = stay_->guests.front().name;
        }
        if (checkingIn() && !checkInGuestsAcceptable(form)) {
            return;
        }
        if (checkLeaseForm(form) == LeaseResult::Saved && !confirmIfBooked(form)) {
            return;
        }
        const LeaseOutcome outcome =
            checkingIn() ? checkIn(database(), roomId_, bookingId_, form)
                         : editLease(database(), roomId_, leaseId_, loadedOrderNumber_, form);
        if (outcome.result == LeaseResult::Saved) {
            if (checkingIn()) {
                saveCheckInGuests(outcome.leaseId, form);
            }
            refreshRoomList(app());
            close();
            return;
        }
        if (outcome.result == LeaseResult::OrderNumberTaken) {
            services().setText(window(), lease_window::kOrderNumberEdit,
                               newOrderNumber(database()));
            showMessage(kOrderNumberTaken, kMessageTitle);
            return;
        }
        outsideHolder_ = outcome.result == LeaseResult::HeldOutside ? outcome.error : Text();
        showMessage(
            outcome.result == LeaseResult::Failed ? outcome.error : refusalText(outcome.result),
            outcome.result == LeaseResult::Failed ? kErrorTitle : kDefaultMessageTitle);
    }

    // The guest's nights still to come, up to the planned departure, may run over another
    // guest's booking of the room; the person decides, as on a room booked today. The booking
    // arriving, and the one already let over when the window opened, are not asked about.
    bool confirmIfBooked(const LeaseForm& form) {
        Booking nights;
        nights.roomId = roomId_;
        nights.id = bookingId_ != 0 ? bookingId_ : acceptedBookingId_;
        nights.arrival = dayText(std::max(dayNumber(form.checkIn), today()));
        nights.departure = form.plannedDeparture;
        const auto booking =
            nights.arrival < nights.departure ? clashingBooking(database(), nights) : std::nullopt;
        return !booking || services().messageBox(kBookedDuringStayAsk + describeBooking(*booking) +
                                                     kBookedDuringStayQuestion,
                                                 kMessageYesNo, kDefaultMessageTitle) == kAnswerYes;
    }

    Text refusalText(LeaseResult result) const {
        switch (result) {
            case LeaseResult::BlankGuest:
                return kBlankGuest;
            case LeaseResult::BadDeposit:
                return kBadDeposit;
            case LeaseResult::BadRent:
                return kBadRent;
            case LeaseResult::BadDeparture:
                return kBadDeparture;
            case LeaseResult::BookingGone:
                return kBookingGone;
            case LeaseResult::HeldOutside:
                return "这些日期已被预订平台占用：\r\n" + outsideHolder_;
            default:
                return checkingIn() ? kCannotLet : kNotLet;
        }
    }

    // Kept from the moment the window opened (see RoomWindow).
    const LeaseWindowMode mode_;
    const int roomId_;
    const int bookingId_;
    const int acceptedBookingId_;
    int leaseId_ = 0;  // the lease an edit loaded, and its order number
    Text loadedOrderNumber_;
    Text outsideHolder_;  // the platform's stay a check-in was refused for
    std::shared_ptr<StayRegister> stay_;
    WindowHandle registerWindow_ = 0;
};

}  // namespace

void openArrivalWindow(App& app, const Booking& booking) {
    app.services.loadWindow(
        WindowKind::Lease,
        std::make_unique<LeaseWindow>(app, LeaseWindowMode::CheckIn, booking.roomId, booking.id, 0),
        app.state.mainWindow);
}

void openLeaseWindow(App& app, LeaseWindowMode mode, int roomId, int acceptedBookingId) {
    app.services.loadWindow(WindowKind::Lease,
                            std::make_unique<LeaseWindow>(app, mode, roomId, 0, acceptedBookingId),
                            app.state.mainWindow);
}

}  // namespace tamrivo
