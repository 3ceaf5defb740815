#include "app/room_window.h"

#include "app/command_messages.h"
#include "app/main_window.h"
#include "app/screen.h"
#include "records/room_writes.h"
#include "records/rooms.h"
#include "ui/windows/room_window.h"

namespace tamrivo {
namespace {

enum ConditionEntry { kNormalEntry = 0, kAbandonedEntry = 1 };

// The stored condition of a combo entry: "正常" 1, "废弃" 0; no entry selected stores -1,
// which every screen reads as abandoned.
int conditionOfEntry(int entry) {
    switch (entry) {
        case kNormalEntry:
            return schema::kRoomNormal;
        case kAbandonedEntry:
            return schema::kRoomAbandoned;
        default:
            return -1;
    }
}

class RoomWindow final : public FormScreen {
public:
    RoomWindow(App& app, RoomWindowMode mode, int roomId)
        : FormScreen(app), mode_(mode), roomId_(roomId) {}

private:
    bool adding() const { return mode_ == RoomWindowMode::Add; }

    void onCreated() override {
        services().setText(window(), {}, adding() ? "增加记录" : "修改记录");
        if (!adding()) {
            loadRoomIntoForm();
        }
    }

    void loadRoomIntoForm() {
        const auto room = findRoom(database(), roomId_);
        if (!room) {
            return;
        }
        services().setText(window(), room_window::kAddressEdit, room->address);
        services().setSelectedIndex(window(), room_window::kConditionCombo,
                                    room->normal() ? kNormalEntry : kAbandonedEntry);
    }

    void onConfirmed() override { saveRoom(); }

    void saveRoom() {
        const Text address = services().text(window(), room_window::kAddressEdit);
        if (address.empty()) {
            showMessage("房屋地址是必须要填写");
            return;
        }
        const int condition =
            conditionOfEntry(services().selectedIndex(window(), room_window::kConditionCombo));
        // A room let since this window opened is no longer idle and keeps its address.
        const RoomOutcome outcome = adding() ? addRoom(database(), address, condition)
                                             : editRoom(database(), roomId_, address, condition);
        if (outcome.result == RoomResult::Let) {
            showMessage(kOnlyIdleEditable, kMessageTitle);
        } else if (outcome.result == RoomResult::Failed) {
            showMessage(outcome.error, kErrorTitle);
        } else {
            refreshRoomList(app());
            close();
        }
    }

    // Kept from the moment the window opened: a later toolbar command must not redirect
    // this window's save to another room.
    const RoomWindowMode mode_;
    const int roomId_;
};

}  // namespace

void openRoomWindow(App& app, RoomWindowMode mode, int roomId) {
    app.services.loadWindow(WindowKind::Room, std::make_unique<RoomWindow>(app, mode, roomId),
                            app.state.mainWindow);
}

}  // namespace tamrivo
