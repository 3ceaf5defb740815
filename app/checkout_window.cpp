#include "app/checkout_window.h"

#include <optional>
#include <string>

#include "app/command_messages.h"
#include "app/lease_details.h"
#include "app/lease_record_window.h"
#include "app/main_window.h"
#include "app/screen.h"
#include "base/date_time.h"
#include "base/text_ops.h"
#include "base/text_to_value.h"
#include "base/value_text.h"
#include "records/length_of_stay.h"
#include "records/money_text.h"
#include "records/rooms.h"
#include "records/settlement.h"
#include "records/stay_charges.h"
#include "ui/windows/checkout_window.h"

namespace tamrivo {
namespace {

constexpr char kNoAmount[] = "请填写实收金额";
constexpr char kBadAmount[] = "实收金额不是有效的金额,请重新填写";

class CheckoutWindow final : public FormScreen {
public:
    CheckoutWindow(App& app, int roomId) : FormScreen(app), roomId_(roomId) {}

private:
    void onCreated() override {
        if (roomId_ > 0) {
            fillCheckoutWindow();
        }
    }
    void onConfirmed() override { settle(); }
    void onClicked(Handler handler) override {
        if (handler == Handler::ShowReceipt) {
            openLeaseRecordWindow(app(), leaseId_);
        } else {
            onConfirmed();
        }
    }
    void onChanged(Handler handler) override {
        if (handler == Handler::ShowCheckoutCharges && lease_) {
            showCharges();
        }
    }

    void fillCheckoutWindow() {
        showLeaseLines(app(), window(), nullptr);
        lease_ = findLeaseOfRoom(app(), roomId_);
        if (!lease_) {
            return;
        }
        leaseId_ = lease_->id;
        showLeaseLines(app(), window(), &*lease_);
        showCharges();
    }

    // The length of stay and what the stay comes to up to the check-out moment chosen. The
    // amount received follows what is due until the landlord types another.
    void showCharges() {
        const DateTime checkIn = toDateTime(lease_->checkIn);
        const DateTime checkOut = services().dateTime(window(), checkout_window::kCheckOutPicker);
        services().setText(window(), checkout_window::kDaysLabel,
                           lengthOfStayText(checkIn, checkOut));
        const StayCharges charges = stayCharges(checkIn, checkOut, lease_->rent, lease_->deposit);
        services().setText(window(), checkout_window::kNightsLabel,
                           "计费晚数：" + toText(charges.nights) + "晚");
        services().setText(window(), checkout_window::kRentTotalLabel,
                           "租金合计：" + yuanText(charges.rentTotal));
        services().setText(window(), checkout_window::kSettledDepositLabel,
                           "定金：" + yuanText(charges.deposit));
        const double due = charges.due();
        services().setText(window(), checkout_window::kDueLabel,
                           due < 0 ? "应退：" + yuanText(-due) : "应收：" + yuanText(due));
        const Text typed = services().text(window(), checkout_window::kAmountEdit);
        if (typed.empty() || typed == shownDue_) {
            shownDue_ = toText(due);
            services().setText(window(), checkout_window::kAmountEdit, shownDue_);
        }
    }

    static Text yuanText(double yuan) { return toText(yuan) + "元"; }

    void settle() {
        if (leaseId_ == 0) {
            // Settling needs the lease this window showed; without one there is nothing to
            // settle, and freeing the room alone would lose the guest's open lease.
            showMessage("没有找到这个房间的入住记录,无法退房", kMessageTitle);
            return;
        }
        const Text typed = services().text(window(), checkout_window::kAmountEdit);
        const auto fen = fenFromText(typed);
        if (!fen) {
            showMessage(trimText(typed).empty() ? kNoAmount : kBadAmount, kMessageTitle);
            return;
        }
        if (!confirmed(*fen)) {
            return;
        }
        Settlement settlement{services().dateTime(window(), checkout_window::kCheckOutPicker), *fen,
                              services().text(window(), checkout_window::kSettlementRemarkEdit)};
        // Settles only the open lease this window showed: another window may have checked
        // the room out, and let it again, meanwhile.
        const SettlementOutcome outcome = settleLease(database(), roomId_, leaseId_, settlement);
        if (outcome.result == SettlementResult::NotOpen) {
            showMessage(kNotLet);
            return;
        }
        if (outcome.result == SettlementResult::Failed) {
            showMessage(outcome.error, kErrorTitle);
            return;
        }
        showMessage("退房成功", {});
        refreshRoomList(app());
        offerReceipt();
    }

    bool confirmed(std::int64_t fen) {
        const Text question = "确定为 " + lease_->guest + "（" + roomAddress(database(), roomId_) +
                              "）退房结算吗？\r\n\r\n实收金额：" + yuanText(yuanOfFen(fen));
        return services().messageBox(question, kMessageYesNo, kDefaultMessageTitle) == kAnswerYes;
    }

    // The window stays, settled, so its receipt can be printed; nothing can be settled twice.
    void offerReceipt() {
        services().setDisabled(window(), checkout_window::kConfirmButton, true);
        services().setDisabled(window(), checkout_window::kReceiptButton, false);
        services().setText(window(), checkout_window::kCancelButton, "关闭");
    }

    // Kept from the moment the window opened (see RoomWindow).
    const int roomId_;
    int leaseId_ = 0;
    std::optional<LeaseRow> lease_;
    Text shownDue_;  // the amount due last put into the amount box
};

}  // namespace

Text lengthOfStayText(DateTime checkIn, DateTime checkOut) {
    return "入住天数：" + toText(daysOfStay(checkIn, checkOut)) + "天";
}

void openCheckoutWindow(App& app, int roomId) {
    app.services.loadWindow(WindowKind::Checkout, std::make_unique<CheckoutWindow>(app, roomId),
                            app.state.mainWindow);
}

}  // namespace tamrivo
