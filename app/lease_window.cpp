#include "app/lease_window.h"

#include <cstdint>
#include <string>

#include "app/command_messages.h"
#include "app/database_queries.h"
#include "app/main_window.h"
#include "app/screen.h"
#include "records/statement_scope.h"
#include "ui/date_format.h"
#include "ui/date_time.h"
#include "ui/number_ops.h"
#include "ui/text_ops.h"
#include "ui/text_to_value.h"
#include "ui/value_text.h"

namespace tamrivo {
namespace {

constexpr char kOrderNumber[] = "编辑框_单号";
constexpr char kAddress[] = "编辑框_地址";
constexpr char kName[] = "编辑框_姓名";
constexpr char kContact[] = "编辑框_联系方式";
constexpr char kDeposit[] = "编辑框_定金";
constexpr char kRent[] = "编辑框_租金";
constexpr char kDate[] = "日期框1";
constexpr char kRemark[] = "编辑框_备注";

class LeaseWindow final : public FormScreen {
public:
    explicit LeaseWindow(App& app)
        : FormScreen(app),
          mode_(app.state.leaseWindowMode),
          roomId_(app.state.leaseWindowRoomId),
          bookingId_(checkingIn() ? app.state.leaseWindowBookingId : 0) {}

private:
    bool checkingIn() const { return mode_ == 1; }

    void onCreated() override {
        if (checkingIn()) {
            services().setText(window(), {}, "增加记录");
            services().setText(window(), kOrderNumber, newOrderNumber(database()));
            services().setText(window(), kAddress, roomAddress(database(), roomId_));
            loadBookingIntoForm();
        } else {
            services().setText(window(), {}, "修改记录");
            loadLeaseIntoForm();
        }
    }

    void loadLeaseIntoForm() {
        StatementScope statement(database(), leaseOfRoomSql(roomId_));
        if (!statement.step()) {
            return;
        }
        leaseId_ = statement.columnInt(0);
        loadedOrderNumber_ = statement.columnText(1);
        services().setText(window(), kOrderNumber, loadedOrderNumber_);
        services().setText(window(), kAddress, statement.columnText(2));
        services().setText(window(), kName, statement.columnText(3));
        services().setText(window(), kContact, statement.columnText(4));
        services().setText(window(), kDeposit, toText(statement.columnDouble(5)));
        services().setText(window(), kRent, toText(statement.columnDouble(6)));
        services().setDateTime(window(), kDate, toDateTime(statement.columnText(7)));
        services().setText(window(), kRemark, statement.columnText(11));
    }

    void loadBookingIntoForm() {
        const auto booking = bookingId_ != 0 ? findBooking(database(), bookingId_) : std::nullopt;
        if (!booking) {
            return;
        }
        services().setText(window(), kName, booking->guest);
        services().setText(window(), kContact, booking->contact);
        services().setText(window(), kDeposit, toText(booking->deposit));
        services().setText(window(), kRemark, booking->remark);
    }

    void fillLeaseFields() {
        QueryBuilder& builder = queryBuilder();
        builder.reset("b_zulin");
        builder.name("danhao").textValue(services().text(window(), kOrderNumber));
        builder.name("fangzhi").textValue(services().text(window(), kAddress));
        builder.name("xingming").textValue(services().text(window(), kName));
        builder.name("lianxifangshi").textValue(services().text(window(), kContact));
        builder.name("dingjin").doubleValue(moneyFromText(services().text(window(), kDeposit), 2));
        builder.name("zujin").doubleValue(moneyFromText(services().text(window(), kRent), 2));
        builder.name("ruzhuriqi").textValue(formatDateTime(services().dateTime(window(), kDate)));
        builder.name("zulinzhuangtai").intValue(0);
        builder.name("beizhu").textValue(services().text(window(), kRemark));
    }

    void onConfirmed() override { saveLease(); }

    // Saves only while the room is as the command that opened this window found it: another
    // window may have let the room, or settled the lease, meanwhile. The check and the writes
    // share one transaction, so nothing comes between them.
    void saveLease() {
        database().begin();
        if (!stillAsOpened()) {
            rollBackAndRefuse(checkingIn() ? kCannotLet : kNotLet);
            return;
        }
        if (!bookingStillBooked()) {
            rollBackAndRefuse(kBookingGone);
            return;
        }
        fillLeaseFields();
        if ((checkingIn() ? checkIn() : saveEdit()) && commitOrReport()) {
            refreshRoomList(app());
            close();
        }
    }

    bool stillAsOpened() {
        return checkingIn() ? roomIsLettable(database(), roomId_)
                            : isOpenLeaseOfRoom(database(), roomId_, leaseId_);
    }

    // Another window may have cancelled the booking, or let its guest in, meanwhile.
    bool bookingStillBooked() {
        if (bookingId_ == 0) {
            return true;
        }
        const auto booking = findBooking(database(), bookingId_);
        return booking && booking->booked();
    }

    // The lease row and the room's occupancy change together or not at all.
    bool checkIn() {
        const Text orderNumber = services().text(window(), kOrderNumber);
        if (!orderNumberIsFree(orderNumber)) {
            return false;
        }
        if (!database().run(queryBuilder().buildInsert()) || !markRoomLet(orderNumber) ||
            (bookingId_ != 0 && !markBookingArrived(database(), bookingId_, orderNumber))) {
            rollBackAndShowError();
            return false;
        }
        return true;
    }

    // The room finds its lease by the order number alone: a number that another lease,
    // open or settled, already carries would send this room's details, edits and check-out
    // to that lease. Such a save is refused with a fresh number in the box to confirm.
    bool orderNumberIsFree(const Text& orderNumber) {
        Text condition = "`danhao`=" + QueryBuilder::quoteText(orderNumber);
        if (!checkingIn()) {
            condition += " AND `id`<>" + std::to_string(leaseId_);
        }
        const std::int64_t carriers = countRows(database(), "b_zulin", condition);
        if (carriers < 0) {
            rollBackAndShowError();
            return false;
        }
        if (carriers > 0) {
            services().setText(window(), kOrderNumber, newOrderNumber(database()));
            rollBackAndRefuse(kOrderNumberTaken, kMessageTitle);
            return false;
        }
        return true;
    }

    bool markRoomLet(const Text& orderNumber) {
        QueryBuilder& builder = queryBuilder();
        builder.reset("b_fangjian").name("chuzuzhuangtai").intValue(1);
        builder.name("danhao").textValue(orderNumber);
        return database().run(builder.buildUpdate({}, "`id`=" + std::to_string(roomId_)));
    }

    // The edit writes the lease it loaded, by its id, so leases that share an old order
    // number keep theirs. A changed number moves to the room in the same transaction, so
    // the room still finds its lease.
    bool saveEdit() {
        const Text orderNumber = services().text(window(), kOrderNumber);
        const bool renumbered = orderNumber != loadedOrderNumber_;
        if (renumbered && !orderNumberIsFree(orderNumber)) {
            return false;
        }
        const Text leaseRow = "`id`=" + std::to_string(leaseId_);
        if (!database().run(queryBuilder().buildUpdate({}, leaseRow)) ||
            (renumbered && !markRoomLet(orderNumber))) {
            rollBackAndShowError();
            return false;
        }
        return true;
    }

    // Kept from the moment the window opened (see RoomWindow).
    const int mode_;
    const int roomId_;
    const int bookingId_;
    int leaseId_ = 0;  // the lease an edit loaded, and its order number
    Text loadedOrderNumber_;
};

}  // namespace

Text newOrderNumber(Database& database) {
    const Text stamp = formatDateTime(currentDateTime(), "yyyyMMddHHmmss");
    const double serial = static_cast<double>(maxId(database, "b_zulin", "id")) + 1000;
    return stamp + "-" + rightText("00000000" + toText(serial), 8);
}

double moneyFromText(const Text& text, int places) {
    return roundNumber(static_cast<double>(toFloat(text)), places);
}

void openArrivalWindow(App& app, const Booking& booking) {
    app.state.leaseWindowMode = 1;
    app.state.leaseWindowRoomId = booking.roomId;
    app.state.leaseWindowBookingId = booking.id;
    openLeaseWindow(app);
}

void openLeaseWindow(App& app) {
    app.services.loadWindow(WindowKind::Lease, std::make_unique<LeaseWindow>(app),
                            app.state.mainWindow);
}

}  // namespace tamrivo
