#include "app/lease_details.h"

#include <utility>

#include "base/value_text.h"
#include "records/database_queries.h"
#include "ui/windows/main_window.h"

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
    line(main_window::kOrderNumberLabel, "单    号：", shown.orderNumber);
    line(main_window::kAddressLabel, "入住房址：", shown.address);
    line(main_window::kNameLabel, "姓    名：", shown.guest);
    line(main_window::kContactLabel, "联系方式：", shown.contact);
    line(main_window::kDepositLabel, "定    金：", toText(shown.deposit));
    line(main_window::kRentLabel, "租    金：", toText(shown.rent));
    line(main_window::kCheckInLabel, "入住日期：", shown.checkIn);
    line(main_window::kRemarkLabel, "备    注：", shown.remark);
}

void showLeaseDetails(App& app, int selectedRow) {
    const WindowHandle window = app.state.mainWindow;
    showLeaseLines(app, window, nullptr);
    if (selectedRow < 0) {
        return;
    }
    const int roomId = app.services.listRowNumber(window, main_window::kRoomList, selectedRow);
    if (!roomIsLet(app.state.database, roomId)) {
        return;
    }
    if (const auto lease = findLeaseOfRoom(app, roomId)) {
        showLeaseLines(app, window, &*lease);
    }
}

}  // namespace tamrivo
