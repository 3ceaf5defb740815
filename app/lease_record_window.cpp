#include "app/lease_record_window.h"

#include <algorithm>
#include <optional>

#include "app/landlord_window.h"
#include "app/lease_record.h"
#include "app/screen.h"
#include "records/lease_search.h"
#include "ui/date_time.h"

namespace tamrivo {
namespace {

constexpr char kLeaseGone[] = "没有找到这条入住记录";

class LeaseRecordWindow final : public Screen {
public:
    LeaseRecordWindow(App& app, int leaseId) : Screen(app), leaseId_(leaseId) {}

private:
    bool onEvent(const WindowEvent& event) override {
        switch (event.handler) {
            case Handler::LeaseRecordCreated:
                showRecord();
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
        Text name = "收据-" + found->danhao + ".pdf";
        std::replace(name.begin(), name.end(), '/', '-');  // a name, not a folder
        const Text path =
            services().askSaveFileName(window(), "保存收据", name, "PDF 文件 (*.pdf)");
        if (!path.empty() && !services().saveFormAsPdf(receipt(*found), path)) {
            showMessage("无法写入文件：" + path, kMessageTitle);
        }
    }

    const int leaseId_;
};

}  // namespace

void openLeaseRecordWindow(App& app, int leaseId) {
    app.services.loadWindow(WindowKind::LeaseRecord,
                            std::make_unique<LeaseRecordWindow>(app, leaseId),
                            app.state.mainWindow);
}

}  // namespace tamrivo
