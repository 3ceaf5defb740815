#include "app/toolbar_commands.h"

#include <string>

#include "app/booking_texts.h"
#include "app/calendar_window.h"
#include "app/checkout_window.h"
#include "app/command_messages.h"
#include "app/lease_window.h"
#include "app/main_window.h"
#include "app/password_window.h"
#include "app/protection_window.h"
#include "app/room_window.h"
#include "app/screen.h"
#include "app/search_window.h"
#include "app/simple_windows.h"
#include "app/statistics_window.h"
#include "app/update_window.h"
#include "base/date_format.h"
#include "base/date_time.h"
#include "records/database_queries.h"
#include "records/room_writes.h"

namespace tamrivo {
namespace {

constexpr char kRoomList[] = "超级列表框1";

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
            case 11:
                openSearchWindow(app_);
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
            case 19:
                openCalendarWindow(app_);
                break;
            case 21:
                openProtectionWindow(app_);
                break;
            default:
                break;  // separators
        }
    }

private:
    bool hasSelection() const { return selectedRow_ >= 0; }
    int selectedRoom() {
        return services_.listRowNumber(app_.state.mainWindow, kRoomList, selectedRow_);
    }
    bool selectedRoomIsLet() { return roomIsLet(app_.state.database, selectedRoom()); }
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
        // Let by another window since the question: the room stays.
        const RoomOutcome outcome = tamrivo::deleteRoom(app_.state.database, selectedRoom());
        if (outcome.result == RoomResult::Let) {
            message(kOnlyIdleDeletable, kMessageTitle);
            return;
        }
        if (outcome.result == RoomResult::Failed) {
            message(outcome.error, kErrorTitle);
            return;
        }
        refreshRoomList(app_);
    }

    void checkIn() {
        if (!hasSelection()) {
            message(kSelectLetRoom);
            return;
        }
        if (!roomIsLettable(app_.state.database, selectedRoom())) {
            message(kCannotLet);
            return;
        }
        if (!confirmBookedToday()) {
            return;
        }
        app_.state.leaseWindowMode = 1;
        app_.state.leaseWindowBookingId = 0;
        app_.state.leaseWindowRoomId = selectedRoom();
        openLeaseWindow(app_);
    }

    // Someone else's guest may stand at the door tonight: letting the room asks first, and the
    // lease window does not ask about that booking again.
    bool confirmBookedToday() {
        const Text today = formatDateTime(currentDateTime(), "yyyy-MM-dd");
        const auto booking = bookingOnDay(app_.state.database, selectedRoom(), today);
        app_.state.leaseWindowAcceptedBookingId = booking ? booking->id : 0;
        return !booking ||
               message(kBookedTodayAsk + describeBooking(*booking) + kBookedTodayQuestion,
                       kDefaultMessageTitle, kMessageYesNo) == kAnswerYes;
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
