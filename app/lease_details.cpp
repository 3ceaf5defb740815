#include "app/lease_details.h"

#include <utility>

#include "base/value_text.h"
#include "records/database_queries.h"

namespace tamrivo {

std::optional<LeaseRow> findLeaseOfRoom(App& app, int roomId) {
    Database& database = app.state.database;
    LeaseOfRoom found = leaseOfRoom(database, roomId);
    if (found.failed) {
        app.services.messageBox(toText(database.errorCode()) + "\r\n\r\n" + database.errorMessage(),
                                kMessageOk);
    }
    return std::move(found.lease);
}

void showLeaseLines(App& app, WindowHandle window, const LeaseRow* lease) {
    const auto line = [&](const char* label, const char* prefix, const Text& value) {
        app.services.setText(window, label, lease != nullptr ? prefix + value : Text{});
    };
    const LeaseRow none;
    const LeaseRow& shown = lease != nullptr ? *lease : none;
    line("标签_编号", "单    号：", shown.orderNumber);
    line("标签_房址", "入住房址：", shown.address);
    line("标签_姓名", "姓    名：", shown.guest);
    line("标签_联系方式", "联系方式：", shown.contact);
    line("标签_定金", "定    金：", toText(shown.deposit));
    line("标签_租金", "租    金：", toText(shown.rent));
    line("标签_日期", "入住日期：", shown.checkIn);
    line("标签_备注", "备    注：", shown.remark);
}

void showLeaseDetails(App& app, int selectedRow) {
    const WindowHandle window = app.state.mainWindow;
    showLeaseLines(app, window, nullptr);
    if (selectedRow < 0) {
        return;
    }
    const int roomId = app.services.listRowNumber(window, "超级列表框1", selectedRow);
    if (!roomIsLet(app.state.database, roomId)) {
        return;
    }
    if (const auto lease = findLeaseOfRoom(app, roomId)) {
        showLeaseLines(app, window, &*lease);
    }
}

}  // namespace tamrivo
