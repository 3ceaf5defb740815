#include "app/lease_record_window.h"

#include <algorithm>
#include <optional>

#include "app/landlord_window.h"
#include "app/lease_record.h"
#include "app/screen.h"
#include "base/date_time.h"
#include "records/lease_search.h"
#include "ui/layout_keeper.h"
#include "ui/windows/lease_record_window.h"

namespace tamrivo {
namespace {

constexpr char kLeaseGone[] = "没有找到这条入住记录";

class LeaseRecordWindow final : public Screen {
public:
    LeaseRecordWindow(App& app, int leaseId)
        : Screen(app), leaseId_(leaseId), layout_(app.services) {}

private:
    bool onEvent(const WindowEvent& event) override {
        switch (event.handler) {
            case Handler::LeaseRecordCreated:
                keepLayout();
                showRecord();
                break;
            case Handler::RelayoutLeaseRecordWindow:
                layout_.relayout();
                break;
            case Handler::PrintReceipt:
                printReceipt();
                break;
            case Handler::SaveReceiptPdf:
                saveReceipt();
                break;
            case Handler::OpenLandlordWindow:
                openLandlordWindow(app(), window());
                break;
            case Handler::CloseWindow:
                close();
                break;
            default:
                break;
        }
        return false;
    }

    // The lines widen with the window, the buttons keep to its bottom.
    void keepLayout() {
        layout_.attach(window());
        layout_.add(services().windowHandle(window(), lease_record_window::kDetailsGroup),
                    LayoutMode::Stretch);
        for (const RecordLine& line : recordLines({}, {})) {
            layout_.add(services().windowHandle(window(), line.label), LayoutMode::StretchSideways);
        }
        layout_.add(services().windowHandle(window(), lease_record_window::kLandlordButton),
                    LayoutMode::FollowBottom);
        for (const char* button :
             {lease_record_window::kPrintButton, lease_record_window::kPdfButton,
              lease_record_window::kCloseButton}) {
            layout_.add(services().windowHandle(window(), button), LayoutMode::FollowBottomRight);
        }
    }

    // The lease as it is stored now: another window may have settled it meanwhile.
    std::optional<LeaseRow> lease() {
        auto found = findLeaseById(database(), leaseId_);
        if (!found) {
            showMessage(kLeaseGone, kMessageTitle);
        }
        return found;
    }

    void showRecord() {
        const auto found = lease();
        if (!found) {
            close();
            return;
        }
        for (const RecordLine& line : recordLines(*found, currentDateTime())) {
            services().setText(window(), line.label, line.caption + line.value);
        }
    }

    // The receipt as it is issued now, by the landlord as saved now.
    PrintedForm receipt(const LeaseRow& lease) {
        return receiptOf(lease, loadLandlord(database()), currentDateTime());
    }

    void printReceipt() {
        if (const auto found = lease()) {
            if (services().printForm(window(), receipt(*found)) == PrintOutcome::Failed) {
                showMessage("打印失败,请检查打印机", kMessageTitle);
            }
        }
    }

    void saveReceipt() {
        const auto found = lease();
        if (!found) {
            return;
        }
        Text name = "收据-" + found->orderNumber + ".pdf";
        std::replace(name.begin(), name.end(), '/', '-');  // a name, not a folder
        const Text path =
            services().askSaveFileName(window(), "保存收据", name, "PDF 文件 (*.pdf)");
        if (!path.empty() && !services().saveFormAsPdf(receipt(*found), path)) {
            showMessage("无法写入文件：" + path, kMessageTitle);
        }
    }

    const int leaseId_;
    LayoutKeeper layout_;
};

}  // namespace

void openLeaseRecordWindow(App& app, int leaseId) {
    app.services.loadWindow(WindowKind::LeaseRecord,
                            std::make_unique<LeaseRecordWindow>(app, leaseId),
                            app.state.mainWindow);
}

}  // namespace tamrivo
