#include "app/register_log_window.h"

#include <string>
#include <utility>

#include "app/records_key.h"
#include "app/screen.h"
#include "base/date_format.h"
#include "base/date_time.h"
#include "base/text_encoding.h"
#include "base/text_to_value.h"
#include "base/value_text.h"
#include "records/csv_export.h"
#include "records/identity_retention.h"
#include "records/register_access_log.h"
#include "records/register_export.h"
#include "ui/windows/register_log_window.h"

namespace tamrivo {
namespace {

constexpr char kTitle[] = "导出登记";

PrintedReport::Table registerTable(const std::vector<RegisterLine>& lines) {
    PrintedReport::Table table{{"入住时间", "房间", "姓名", "性别", "民族", "出生日期", "证件类型",
                                "证件号码", "国籍", "住址", "联系电话"}};
    for (const RegisterLine& line : lines) {
        const Guest& guest = line.guest;
        table.push_back({line.arrival, line.room, guest.name, guest.sex, guest.nation,
                         guest.birthDate, Text(documentTypeName(guest.documentType)),
                         guest.documentNumber, guest.nationality, guest.address, guest.phone});
    }
    return table;
}

class RegisterLogWindow final : public Screen {
public:
    using Screen::Screen;

private:
    bool onEvent(const WindowEvent& event) override {
        switch (event.handler) {
            case Handler::RegisterLogCreated:
                onCreated();
                break;
            case Handler::ExportRegister:
                exportCsv();
                break;
            case Handler::PrintRegister:
                print();
                break;
            case Handler::SaveRetention:
                saveRetention();
                break;
            case Handler::CloseWindow:
                close();
                break;
            default:
                break;
        }
        return false;
    }

    void onCreated() {
        const DateTime now = currentDateTime();
        services().setDateTime(window(), register_log_window::kFromPicker, now);
        services().setDateTime(window(), register_log_window::kToPicker, now);
        services().setText(window(), register_log_window::kRetentionEdit,
                           toText(identityRetentionYears(database())));
        showLog();
    }

    void showLog() {
        std::vector<TableRow> rows;
        for (const RegisterAccess& entry :
             registerAccessLog(database()).value_or(std::vector<RegisterAccess>{})) {
            rows.push_back({entry.guestId,
                            {entry.time, entry.user, registerActionName(entry.action),
                             entry.guestName, entry.detail}});
        }
        services().tableSetRows(window(), register_log_window::kLogTable, std::move(rows));
    }

    // The period's lines, the export logged; nothing, having said why, when there are none.
    std::optional<std::vector<RegisterLine>> periodLines() {
        const std::int64_t first =
            dayNumber(services().dateTime(window(), register_log_window::kFromPicker));
        const std::int64_t last =
            dayNumber(services().dateTime(window(), register_log_window::kToPicker));
        if (last < first) {
            showMessage(kEndBeforeStart);
            return std::nullopt;
        }
        auto lines = registerLines(database(), first, last, registerUser(app()));
        if (!lines) {
            showMessage("读取登记失败：" + database().errorMessage(), kErrorTitle);
        }
        showLog();
        return lines;
    }

    Text periodText() {
        return formatDateTime(services().dateTime(window(), register_log_window::kFromPicker),
                              "yyyy-MM-dd") +
               " 至 " +
               formatDateTime(services().dateTime(window(), register_log_window::kToPicker),
                              "yyyy-MM-dd");
    }

    void exportCsv() {
        const Text path =
            services().askSaveFileName(window(), kTitle, "旅客登记表.csv", "CSV 文件 (*.csv)");
        if (path.empty()) {
            return;
        }
        const auto lines = periodLines();
        if (!lines) {
            return;
        }
        const ExportOutcome written =
            exportRegister(*lines, gbkToUtf8(path), ReplacementFile::Target::Replace);
        if (written.failure == ExportOutcome::Failure::None) {
            showMessage("已导出 " + toText(written.rows) + " 位住客", kTitle);
        } else {
            showMessage("无法写入文件：" + path, kTitle);
        }
    }

    // Through the print dialog, which also writes the form as a PDF file.
    void print() {
        const auto lines = periodLines();
        if (!lines) {
            return;
        }
        PrintedReport report{"旅客登记表 " + periodText(), {{registerTable(*lines), {}}}};
        if (services().printReport(window(), report) == PrintOutcome::Failed) {
            showMessage("打印失败", kTitle);
        }
    }

    void saveRetention() {
        // What is no whole number reads as 0, which no retention is.
        const int years = toInt(services().text(window(), register_log_window::kRetentionEdit));
        if (!setIdentityRetentionYears(database(), years)) {
            showMessage("保留年限须为 1 到 " + toText(kLongestRetentionYears) + " 年");
            return;
        }
        showMessage("已保存：证件信息在退房 " + toText(years) + " 年后清除");
    }
};

}  // namespace

void openRegisterLogWindow(App& app, WindowHandle owner) {
    app.services.loadWindow(WindowKind::RegisterLog, std::make_unique<RegisterLogWindow>(app),
                            owner);
}

}  // namespace tamrivo
