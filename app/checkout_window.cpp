#include "app/checkout_window.h"

#include <string>

#include "app/command_messages.h"
#include "app/database_queries.h"
#include "app/lease_details.h"
#include "app/lease_record_window.h"
#include "app/lease_window.h"
#include "app/main_window.h"
#include "app/screen.h"
#include "records/length_of_stay.h"
#include "ui/date_format.h"
#include "ui/date_time.h"
#include "ui/text_to_value.h"
#include "ui/value_text.h"

namespace tamrivo {
namespace {

constexpr char kDate[] = "日期框1";

class CheckoutWindow final : public FormScreen {
public:
    explicit CheckoutWindow(App& app) : FormScreen(app), roomId_(app.state.checkoutRoomId) {}

private:
    void onCreated() override {
        if (roomId_ > 0) {
            fillCheckoutWindow();
        }
    }
    void onConfirmed() override { settleLease(); }
    void onClicked(Handler handler) override {
        if (handler == Handler::ShowReceipt) {
            openLeaseRecordWindow(app(), leaseId_);
        } else {
            onConfirmed();
        }
    }

    void fillCheckoutWindow() {
        showLeaseLines(app(), window(), nullptr);
        const auto lease = findLeaseOfRoom(app(), roomId_);
        if (!lease) {
            return;
        }
        leaseId_ = lease->id;
        showLeaseLines(app(), window(), &*lease);
        services().setText(
            window(), "标签_天数",
            lengthOfStayText(toDateTime(lease->ruzhuriqi), services().dateTime(window(), kDate)));
    }

    void settleLease() {
        if (leaseId_ == 0) {
            // Settling needs the lease this window showed; without one there is nothing to
            // settle, and freeing the room alone would lose the guest's open lease.
            showMessage("没有找到这个房间的入住记录,无法退房", kMessageTitle);
            return;
        }
        // Settles only the open lease this window showed: another window may have checked
        // the room out, and let it again, meanwhile. The check and the writes share one
        // transaction, so nothing comes between them; they change together or not at all.
        database().begin();
        if (!isOpenLeaseOfRoom(database(), roomId_, leaseId_)) {
            rollBackAndRefuse(kNotLet);
            return;
        }
        if (!writeSettlement()) {
            rollBackAndShowError();
            return;
        }
        if (!commitOrReport()) {
            return;
        }
        showMessage("退房成功", {});
        refreshRoomList(app());
        offerReceipt();
    }

    // The window stays, settled, so its receipt can be printed; nothing can be settled twice.
    void offerReceipt() {
        services().setDisabled(window(), "按钮_确定", true);
        services().setDisabled(window(), "按钮_收据", false);
        services().setText(window(), "按钮_取消", "关闭");
    }

    // The settled lease and the freed room.
    bool writeSettlement() {
        QueryBuilder& builder = queryBuilder();
        builder.reset("b_zulin");
        builder.name("jiesuanriqi").textValue(formatDateTime(services().dateTime(window(), kDate)));
        builder.name("jiesuanjine")
            .doubleValue(moneyFromText(services().text(window(), "编辑框_金额"), 0));
        builder.name("zulinzhuangtai").intValue(1);
        builder.name("jiesuanbeizhu").textValue(services().text(window(), "编辑框_备注"));
        return database().run(builder.buildUpdate({}, "`id`=" + std::to_string(leaseId_))) &&
               database().run(
                   "UPDATE `b_fangjian` SET `chuzuzhuangtai`=0, `danhao`='' WHERE `id`=" +
                   std::to_string(roomId_));
    }

    // Kept from the moment the window opened (see RoomWindow).
    const int roomId_;
    int leaseId_ = 0;
};

}  // namespace

Text lengthOfStayText(DateTime checkIn, DateTime checkOut) {
    return "入住天数：" + toText(daysOfStay(checkIn, checkOut)) + "天";
}

void openCheckoutWindow(App& app) {
    app.services.loadWindow(WindowKind::Checkout, std::make_unique<CheckoutWindow>(app),
                            app.state.mainWindow);
}

}  // namespace tamrivo
