#include "app/room_window.h"

#include <string>

#include "app/command_messages.h"
#include "app/database_queries.h"
#include "app/main_window.h"
#include "app/screen.h"
#include "records/schema.h"
#include "records/statement_scope.h"

namespace tamrivo {
namespace {

constexpr char kAddress[] = "编辑框_地址";
constexpr char kCondition[] = "组合框1";
enum ConditionEntry { kNormalEntry = 0, kAbandonedEntry = 1 };

// The stored condition of a combo entry: "正常" 1, "废弃" 0; no entry selected stores -1,
// which every screen reads as abandoned.
int conditionOfEntry(int entry) {
    switch (entry) {
        case kNormalEntry:
            return 1;
        case kAbandonedEntry:
            return 0;
        default:
            return -1;
    }
}

class RoomWindow final : public FormScreen {
public:
    explicit RoomWindow(App& app)
        : FormScreen(app), mode_(app.state.roomWindowMode), roomId_(app.state.roomWindowRoomId) {}

private:
    bool adding() const { return mode_ == 1; }

    void onCreated() override {
        services().setText(window(), {}, adding() ? "增加记录" : "修改记录");
        if (!adding()) {
            loadRoomIntoForm();
        }
    }

    void loadRoomIntoForm() {
        StatementScope statement(
            database(), "SELECT  * FROM `b_fangjian` WHERE `id`=" + std::to_string(roomId_));
        if (!statement.step()) {
            return;
        }
        services().setText(window(), kAddress, statement.columnText(1));
        services().setSelectedIndex(window(), kCondition,
                                    statement.columnInt(2) == 1 ? kNormalEntry : kAbandonedEntry);
    }

    void onConfirmed() override { saveRoom(); }

    void saveRoom() {
        const Text address = services().text(window(), kAddress);
        if (address.empty()) {
            showMessage("房屋地址是必须要填写");
            return;
        }
        const Text sql = roomStatement(address);
        // A room let since this window opened is no longer idle and keeps its address: the
        // check and the write share one transaction, so nothing comes between them.
        database().begin();
        if (!adding() && queryRoomState(database(), roomId_) == schema::kRoomLet) {
            rollBackAndRefuse(kOnlyIdleEditable, kMessageTitle);
            return;
        }
        if (!database().run(sql)) {
            rollBackAndShowError();
            return;
        }
        if (commitOrReport()) {
            refreshRoomList(app());
            close();
        }
    }

    Text roomStatement(const Text& address) {
        const int condition = conditionOfEntry(services().selectedIndex(window(), kCondition));
        QueryBuilder& builder = queryBuilder();
        builder.reset("b_fangjian").name("dizhi").textValue(address);
        builder.name("zhuangtai").intValue(condition);
        return adding() ? builder.buildInsert()
                        : builder.buildUpdate({}, "`id`=" + std::to_string(roomId_));
    }

    // Kept from the moment the window opened: a later toolbar command must not redirect
    // this window's save to another room.
    const int mode_;
    const int roomId_;
};

}  // namespace

void openRoomWindow(App& app) {
    app.services.loadWindow(WindowKind::Room, std::make_unique<RoomWindow>(app),
                            app.state.mainWindow);
}

}  // namespace tamrivo
