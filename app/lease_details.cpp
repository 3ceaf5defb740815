#include "app/lease_details.h"

#include "base/value_text.h"
#include "records/database_queries.h"
#include "records/schema.h"
#include "records/statement_scope.h"

namespace tamrivo {
std::optional<LeaseRecord> findLeaseOfRoom(App& app, int roomId) {
    Database& database = app.state.database;
    StatementScope statement(database, leaseOfRoomSql(roomId));
    if (!statement.prepared()) {
        app.services.messageBox(toText(database.errorCode()) + "\r\n\r\n" + database.errorMessage(),
                                kMessageOk);
        return std::nullopt;
    }
    if (!statement.step()) {
        return std::nullopt;
    }
    return readLeaseRow(statement);
}

void showLeaseLines(App& app, WindowHandle window, const LeaseRecord* lease) {
    const auto line = [&](const char* label, const char* prefix, const Text& value) {
        app.services.setText(window, label, lease != nullptr ? prefix + value : Text{});
    };
    const LeaseRecord none;
    const LeaseRecord& shown = lease != nullptr ? *lease : none;
    line("标签_编号", "单    号：", shown.danhao);
    line("标签_房址", "入住房址：", shown.fangzhi);
    line("标签_姓名", "姓    名：", shown.xingming);
    line("标签_联系方式", "联系方式：", shown.lianxifangshi);
    line("标签_定金", "定    金：", toText(shown.dingjin));
    line("标签_租金", "租    金：", toText(shown.zujin));
    line("标签_日期", "入住日期：", shown.ruzhuriqi);
    line("标签_备注", "备    注：", shown.beizhu);
}

void showLeaseDetails(App& app, int selectedRow) {
    const WindowHandle window = app.state.mainWindow;
    showLeaseLines(app, window, nullptr);
    if (selectedRow < 0) {
        return;
    }
    const int roomId = app.services.listRowNumber(window, "超级列表框1", selectedRow);
    if (queryRoomState(app.state.database, roomId) != schema::kRoomLet) {
        return;
    }
    if (const auto lease = findLeaseOfRoom(app, roomId)) {
        showLeaseLines(app, window, &*lease);
    }
}

}  // namespace tamrivo
