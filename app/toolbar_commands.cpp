#include "app/toolbar_commands.h"

#include <optional>
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
#include "records/schema.h"
#include "ui/windows/main_window.h"

namespace tamrivo {
namespace {

using main_window::ToolbarCommand;

class ToolbarCommands {
public:
    explicit ToolbarCommands(App& app)
        : app_(app),
          services_(app.services),
          selectedRow_(services_.selectedIndex(app.state.mainWindow, main_window::kRoomList)) {}

    void run(ToolbarCommand command) {
        switch (command) {
            case ToolbarCommand::AddRoom:
                openRoomWindow(app_, RoomWindowMode::Add);
                break;
            case ToolbarCommand::EditRoom:
                editRoom();
                break;
            case ToolbarCommand::DeleteRoom:
                deleteRoom();
                break;
            case ToolbarCommand::CheckIn:
                checkIn();
                break;
            case ToolbarCommand::EditLease:
                editLease();
                break;
            case ToolbarCommand::CheckOut:
                checkOut();
                break;
            case ToolbarCommand::Statistics:
                openStatisticsWindow(app_);
                break;
            case ToolbarCommand::Search:
                openSearchWindow(app_);
                break;
            case ToolbarCommand::ChangePassword:
                openPasswordWindow(app_);
                break;
            case ToolbarCommand::CheckForUpdate:
                message(kAntivirusWarning);
                openUpdateWindow(app_);
                break;
            case ToolbarCommand::About:
                openAboutWindow(app_);
                break;
            case ToolbarCommand::Calendar:
                openCalendarWindow(app_);
                break;
            case ToolbarCommand::ProtectRecords:
                openProtectionWindow(app_);
                break;
            default:
                break;  // a separator
        }
    }

private:
    bool hasSelection() const { return selectedRow_ >= 0; }
    int selectedRoom() {
        return services_.listRowNumber(app_.state.mainWindow, main_window::kRoomList, selectedRow_);
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
            openRoomWindow(app_, RoomWindowMode::Edit, selectedRoom());
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
        const Text address =
            services_.listCellText(app_.state.mainWindow, main_window::kRoomList, selectedRow_);
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
        const std::optional<int> acceptedBooking = confirmBookedToday();
        if (acceptedBooking) {
            openLeaseWindow(app_, LeaseWindowMode::CheckIn, selectedRoom(), *acceptedBooking);
        }
    }

    // Someone else's guest may stand at the door tonight: letting the room asks first. The
    // booking the person lets the room over (0 none), which the lease window does not ask
    // about again; nothing when the person says no.
    std::optional<int> confirmBookedToday() {
        const Text today = formatDateTime(currentDateTime(), "yyyy-MM-dd");
        const auto booking = bookingOnDay(app_.state.database, selectedRoom(), today);
        if (!booking) {
            return 0;
        }
        if (message(kBookedTodayAsk + describeBooking(*booking) + kBookedTodayQuestion,
                    kDefaultMessageTitle, kMessageYesNo) != kAnswerYes) {
            return std::nullopt;
        }
        return booking->id;
    }

    void editLease() {
        if (!hasSelection()) {
            message(kSelectLetRoom);
        } else if (!selectedRoomIsLet()) {
            message(kNotLet);
        } else {
            openLeaseWindow(app_, LeaseWindowMode::Edit, selectedRoom());
        }
    }

    void checkOut() {
        if (!hasSelection()) {
            message(kSelectLetRoom);
        } else if (!selectedRoomIsLet()) {
            message(kNotLet);
        } else {
            openCheckoutWindow(app_, selectedRoom());
        }
    }

    App& app_;
    WindowServices& services_;
    const int selectedRow_;
};

}  // namespace

void dispatchToolbar(App& app, int index) {
    ToolbarCommands(app).run(static_cast<ToolbarCommand>(index));
}

}  // namespace tamrivo
