#include "app/guest_register_window.h"

#include <chrono>
#include <future>
#include <utility>

#include "app/records_key.h"
#include "app/screen.h"
#include "id_card/card_reader.h"
#include "records/guest_register.h"
#include "records/resident_id_number.h"
#include "records/stored_dates.h"
#include "ui/windows/guest_register_window.h"

namespace tamrivo {
namespace {

constexpr int kReadPollMilliseconds = 100;

constexpr char kProtectHint[] =
    "记录未受保护:证件号码、住址、签发机关和有效期限不能保存。"
    "请先在“修改密码”窗口中打开“保护记录”,再登记证件。";
constexpr char kChooseGuest[] = "请先在列表中选择住客";
constexpr char kNoReader[] = "未找到身份证阅读器,请检查阅读器是否接好";
constexpr char kNoCard[] = "阅读器上没有身份证,请放好证件后再读卡";
constexpr char kSilentReader[] = "阅读器没有应答,请重新插拔阅读器后再试";
constexpr char kBadAnswer[] = "读卡出错(数据不完整或校验错误),请重新放好证件后再读卡";
constexpr char kUnreadable[] = "证件上的文字无法识别,请手工填写";
constexpr char kCannotView[] = "无法读取该住客的登记";

const char* const kSexes[] = {"", "男", "女"};

int sexIndex(const Text& sex) {
    return sex == "男" ? 1 : sex == "女" ? 2 : 0;
}

// The card's YYYYMMDD as the register writes dates; "长期" and anything else as it is.
Text cardDate(const std::string& date) {
    if (date.size() != 8) {
        return date;
    }
    return date.substr(0, 4) + "-" + date.substr(4, 2) + "-" + date.substr(6, 2);
}

Guest guestFromCard(const id_card::CardText& card) {
    Guest guest;
    guest.name = card.name;
    guest.sex = card.sex;
    guest.nation = card.nation;
    guest.birthDate = cardDate(card.birthDate);
    guest.documentType = DocumentType::ResidentIdCard;
    guest.documentNumber = card.number;
    guest.address = card.address;
    guest.authority = card.authority;
    guest.validUntil = cardDate(card.validUntil);
    return guest;
}

const char* readFailure(id_card::CardReadOutcome outcome) {
    using enum id_card::CardReadOutcome;
    switch (outcome) {
        case NoCard:
            return kNoCard;
        case Silent:
            return kSilentReader;
        case BadAnswer:
            return kBadAnswer;
        case Unreadable:
            return kUnreadable;
        default:
            return kNoReader;
    }
}

class GuestRegisterWindow final : public Screen {
public:
    GuestRegisterWindow(App& app, std::shared_ptr<StayRegister> stay)
        : Screen(app), stay_(std::move(stay)), guests_(stay_->guests) {}

private:
    bool onEvent(const WindowEvent& event) override {
        switch (event.handler) {
            case Handler::GuestRegisterCreated:
                showGuests();
                break;
            case Handler::ShowGuestSelection:
                showSelectedGuest();
                break;
            case Handler::LookUpGuestDocument:
                lookUpReturningGuest();
                break;
            case Handler::ReadIdCard:
                startCardRead();
                break;
            case Handler::PollCardRead:
                finishCardRead();
                break;
            case Handler::AddGuest:
                addGuest();
                break;
            case Handler::ChangeGuest:
                changeGuest();
                break;
            case Handler::RemoveGuest:
                removeGuest();
                break;
            case Handler::ViewGuestNumber:
                viewNumber();
                break;
            case Handler::SaveGuests:
                save();
                break;
            case Handler::CloseWindow:
                close();
                break;
            default:
                break;
        }
        return false;
    }

    bool isProtected() { return recordsKeyOf(app()) == RecordsKey::Landlords; }

    void showGuests() {
        std::vector<TableRow> rows;
        for (std::size_t i = 0; i < guests_.size(); ++i) {
            const Guest& guest = guests_[i];
            // A number not yet stored is shown masked too, as every list shows one.
            rows.push_back(
                {static_cast<int>(i),
                 {guest.name, guest.sex, guest.nation, Text(documentTypeName(guest.documentType)),
                  guest.documentNumber.find('*') == Text::npos
                      ? maskedDocumentNumber(guest.documentNumber)
                      : guest.documentNumber,
                  guest.nationality, guest.reported ? guest.reportedAt : Text("否")}});
        }
        services().tableSetRows(window(), guest_register_window::kGuestsTable, std::move(rows));
    }

    // The guest of the selected row, or -1.
    int selectedGuest() {
        const int row = services().selectedIndex(window(), guest_register_window::kGuestsTable);
        const int index =
            row < 0 ? -1
                    : services().listRowNumber(window(), guest_register_window::kGuestsTable, row);
        return index >= 0 && index < static_cast<int>(guests_.size()) ? index : -1;
    }

    Guest typedGuest() {
        Guest guest;
        guest.name = services().text(window(), guest_register_window::kNameEdit);
        guest.sex = kSexes[std::max(0, services().selectedIndex(window(),
                                                                guest_register_window::kSexCombo)) %
                           3];
        guest.nation = services().text(window(), guest_register_window::kNationEdit);
        guest.birthDate = services().text(window(), guest_register_window::kBirthDateEdit);
        guest.documentType = documentTypeFrom(
            services().selectedIndex(window(), guest_register_window::kDocumentTypeCombo) + 1);
        guest.documentNumber =
            services().text(window(), guest_register_window::kDocumentNumberEdit);
        guest.nationality = services().text(window(), guest_register_window::kNationalityEdit);
        guest.address = services().text(window(), guest_register_window::kAddressEdit);
        guest.authority = services().text(window(), guest_register_window::kAuthorityEdit);
        guest.validUntil = services().text(window(), guest_register_window::kValidUntilEdit);
        guest.phone = services().text(window(), guest_register_window::kPhoneEdit);
        guest.reported = services().isChecked(window(), guest_register_window::kReportedCheck);
        return guest;
    }

    void showGuest(const Guest& guest) {
        filling_ = true;
        services().setText(window(), guest_register_window::kNameEdit, guest.name);
        services().setSelectedIndex(window(), guest_register_window::kSexCombo,
                                    sexIndex(guest.sex));
        services().setText(window(), guest_register_window::kNationEdit, guest.nation);
        services().setText(window(), guest_register_window::kBirthDateEdit, guest.birthDate);
        services().setSelectedIndex(window(), guest_register_window::kDocumentTypeCombo,
                                    static_cast<int>(guest.documentType) - 1);
        services().setText(window(), guest_register_window::kDocumentNumberEdit,
                           guest.documentNumber);
        services().setText(window(), guest_register_window::kNationalityEdit, guest.nationality);
        services().setText(window(), guest_register_window::kAddressEdit, guest.address);
        services().setText(window(), guest_register_window::kAuthorityEdit, guest.authority);
        services().setText(window(), guest_register_window::kValidUntilEdit, guest.validUntil);
        services().setText(window(), guest_register_window::kPhoneEdit, guest.phone);
        services().setChecked(window(), guest_register_window::kReportedCheck, guest.reported);
        filling_ = false;
        showProtectionHint(guest);
    }

    // Unprotected records keep no identity; the window says so as soon as some is typed.
    void showProtectionHint(const Guest& guest) {
        const bool refused = holdsIdentity(guest) && !isProtected();
        services().setText(window(), guest_register_window::kHintLabel,
                           refused ? Text(kProtectHint) : Text());
    }

    void showSelectedGuest() {
        if (const int index = selectedGuest(); index >= 0) {
            showGuest(guests_[index]);
        }
    }

    // A guest as typed may join the list once it has a name and, in unprotected records, no
    // identity; the full checks run when the register is confirmed.
    bool acceptable(const Guest& guest) {
        showProtectionHint(guest);
        if (guest.name.empty()) {
            showMessage("请填写住客姓名");
            return false;
        }
        if (holdsIdentity(guest) && !isProtected()) {
            showMessage(kProtectHint);
            return false;
        }
        return true;
    }

    // The reported time is the moment the box was first ticked.
    void keepReportTime(Guest& guest, const Guest* before) {
        if (!guest.reported) {
            guest.reportedAt.clear();
        } else if (before != nullptr && before->reported) {
            guest.reportedAt = before->reportedAt;
        } else {
            guest.reportedAt = registerUser(app()).now;
        }
    }

    void addGuest() {
        Guest guest = typedGuest();
        if (!acceptable(guest)) {
            return;
        }
        keepReportTime(guest, nullptr);
        guests_.push_back(std::move(guest));
        showGuests();
        showGuest(Guest{});
    }

    void changeGuest() {
        const int index = selectedGuest();
        if (index < 0) {
            showMessage(kChooseGuest);
            return;
        }
        Guest guest = typedGuest();
        if (!acceptable(guest)) {
            return;
        }
        guest.id = guests_[index].id;
        keepReportTime(guest, &guests_[index]);
        guests_[index] = std::move(guest);
        showGuests();
        services().setSelectedIndex(window(), guest_register_window::kGuestsTable,
                                    index);  // still the one in the fields
    }

    void removeGuest() {
        const int index = selectedGuest();
        if (index < 0) {
            showMessage(kChooseGuest);
            return;
        }
        guests_.erase(guests_.begin() + index);
        showGuests();
        showGuest(Guest{});
    }

    // A stored guest's number is read whole, and the viewing logged; one not yet stored is
    // already whole in the window.
    void viewNumber() {
        const int index = selectedGuest();
        if (index < 0) {
            showMessage(kChooseGuest);
            return;
        }
        Guest& guest = guests_[index];
        if (guest.id != 0) {
            const auto whole = viewGuest(database(), guest.id, registerUser(app()));
            if (!whole) {
                showMessage(kCannotView, kErrorTitle);
                return;
            }
            guest.documentNumber = whole->documentNumber;
        }
        showMessage(guest.name + " " + Text(documentTypeName(guest.documentType)) + ":" +
                    guest.documentNumber);
    }

    // A returning guest: a whole, sound 居民身份证 number fills the rest from the last stay.
    void lookUpReturningGuest() {
        if (filling_ || !isProtected() ||
            services().selectedIndex(window(), guest_register_window::kDocumentTypeCombo) + 1 !=
                static_cast<int>(DocumentType::ResidentIdCard)) {
            return;
        }
        const Text typed = services().text(window(), guest_register_window::kDocumentNumberEdit);
        const ResidentIdNumber number =
            readResidentIdNumber(typed, std::stoi(dayText(today(), "yyyyMMdd")));
        if (number.problem == ResidentIdProblem::None) {
            fillFromLastStay(DocumentType::ResidentIdCard, number.number);
        }
    }

    void fillFromLastStay(DocumentType type, const Text& number) {
        auto last = lastRegistration(database(), type, number, registerUser(app()));
        if (last) {
            last->documentNumber = number;
            showGuest(*last);
        }
    }

    // The reader is slow to answer; it is read on a worker while the window stays live, and
    // a timer takes the outcome back to the window.
    void startCardRead() {
        if (cardRead_.valid()) {
            return;
        }
        services().setDisabled(window(), guest_register_window::kReadCardButton, true);
        cardRead_ = std::async(std::launch::async, [folder = app().state.cardReaderFolder] {
            return id_card::readCardFromAnyReader(folder);
        });
        services().setTimerInterval(window(), guest_register_window::kReadCardTimer,
                                    kReadPollMilliseconds);
    }

    void finishCardRead() {
        if (!cardRead_.valid() ||
            cardRead_.wait_for(std::chrono::seconds(0)) != std::future_status::ready) {
            return;
        }
        services().setTimerInterval(window(), guest_register_window::kReadCardTimer, 0);
        services().setDisabled(window(), guest_register_window::kReadCardButton, false);
        const id_card::CardRead read = cardRead_.get();
        if (read.outcome != id_card::CardReadOutcome::Read) {
            showMessage(readFailure(read.outcome));
            return;
        }
        Guest guest = guestFromCard(read.text);
        guest.nationality = "中国";
        showGuest(guest);
        if (isProtected()) {
            // What the card lacks (the phone) comes from the guest's last stay.
            if (const auto last = lastRegistration(database(), guest.documentType,
                                                   guest.documentNumber, registerUser(app()))) {
                guest.phone = last->phone;
                showGuest(guest);
            }
        }
    }

    void save() {
        std::vector<Guest> guests = guests_;
        const RecordsKey key = recordsKeyOf(app());
        RegisterOutcome outcome;
        if (stay_->leaseId == 0) {
            outcome = checkStayGuests(guests, key, stay_->arrival, today());
        } else if (!restoreMaskedNumbers(database(), stay_->leaseId, guests)) {
            outcome = {RegisterResult::Failed, database().errorMessage()};
        } else {
            outcome = saveStayGuests(database(), stay_->leaseId, guests, key, registerUser(app()),
                                     stay_->arrival, today());
        }
        if (outcome.result != RegisterResult::Saved) {
            showMessage(outcome.message, outcome.result == RegisterResult::Failed
                                             ? kErrorTitle
                                             : kDefaultMessageTitle);
            return;
        }
        if (stay_->leaseId != 0) {
            // Saved: show the stored numbers masked again.
            guests = stayGuests(database(), stay_->leaseId).value_or(guests);
        }
        stay_->guests = std::move(guests);
        if (stay_->confirmed && !stay_->guests.empty()) {
            stay_->confirmed(stay_->guests.front().name);
        }
        close();
    }

    std::shared_ptr<StayRegister> stay_;
    std::vector<Guest> guests_;  // as the window shows them, until confirmed
    std::future<id_card::CardRead> cardRead_;
    bool filling_ = false;  // the fields are being filled, not typed
};

}  // namespace

WindowHandle openGuestRegisterWindow(App& app, WindowHandle owner,
                                     std::shared_ptr<StayRegister> stay) {
    return app.services.loadWindow(WindowKind::GuestRegister,
                                   std::make_unique<GuestRegisterWindow>(app, std::move(stay)),
                                   owner);
}

}  // namespace tamrivo
