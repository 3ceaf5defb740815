#include "app/search_window.h"

#include <utility>
#include <vector>

#include "app/lease_record_window.h"
#include "app/register_log_window.h"
#include "app/screen.h"
#include "app/single_window.h"
#include "base/date_format.h"
#include "base/date_time.h"
#include "base/text_encoding.h"
#include "base/value_text.h"
#include "records/csv_export.h"
#include "records/lease_search.h"
#include "records/length_of_stay.h"
#include "ui/layout_keeper.h"
#include "ui/windows/search_window.h"
#include "ui/windows/window_list.h"

namespace tamrivo {
namespace {

constexpr int kDaysShownAtFirst = 30;
constexpr char kExportTitle[] = "导出";

// How the controls follow the window's size (the layout keeper's modes): the table takes
// what the window gains, the totals and buttons keep to its bottom.
constexpr std::pair<const char*, LayoutMode> kLayout[] = {
    {search_window::kResultsTable, LayoutMode::Stretch},
    {search_window::kTotalsLabel, LayoutMode::FollowBottom},
    {search_window::kRegisterButton, LayoutMode::FollowBottomRight},
    {search_window::kExportButton, LayoutMode::FollowBottomRight},
    {search_window::kOpenButton, LayoutMode::FollowBottomRight}};

TableRow resultRow(const LeaseRow& lease, DateTime now) {
    const bool settled = lease.settled();
    const auto days = daysOfStay(lease, now);
    return {
        lease.id,
        {lease.orderNumber, lease.address, lease.guest, lease.contact, lease.checkIn,
         settled ? lease.checkOut : Text(), days ? toText(*days) : Text(), toText(lease.deposit),
         toText(lease.rent), settled ? toText(lease.amountReceived) : Text(),
         settled ? "已结算" : "未结算", lease.remark}};
}

// The table's titles, as the CSV's header.
std::vector<std::string> resultHeaders() {
    std::vector<std::string> headers;
    for (const TableColumn& column :
         windows::searchWindow().control(search_window::kResultsTable)->columns) {
        headers.push_back(gbkToUtf8(column.title));
    }
    return headers;
}

class SearchWindow final : public Screen {
public:
    explicit SearchWindow(App& app) : Screen(app), leases_(database()), layout_(app.services) {}

private:
    bool onEvent(const WindowEvent& event) override {
        switch (event.handler) {
            case Handler::SearchWindowCreated:
                onCreated();
                break;
            case Handler::RelayoutSearchWindow:
                layout_.relayout();
                break;
            case Handler::RunSearch:
                if (!isUnusedDate(event.control)) {
                    runSearch();
                }
                break;
            case Handler::ShowSearchSelection:
                services().setDisabled(window(), search_window::kOpenButton, event.argument < 0);
                break;
            case Handler::OpenFoundLease:
                openSelected(
                    event.kind == EventKind::RowActivated
                        ? event.argument
                        : services().selectedIndex(window(), search_window::kResultsTable));
                break;
            case Handler::ExportFoundLeases:
                exportFound();
                break;
            case Handler::OpenRegisterLog:
                openRegisterLogWindow(app(), window());
                break;
            default:
                break;
        }
        return false;
    }

    void onCreated() {
        app().state.searchWindow = window();
        layout_.attach(window());
        for (const auto& [control, mode] : kLayout) {
            layout_.add(services().windowHandle(window(), control), mode);
        }
        keepLeasesInMemory(database());
        const DateTime now = currentDateTime();
        services().setDateTime(window(), search_window::kFirstDayPicker,
                               DateTime{now.days - kDaysShownAtFirst});
        services().setDateTime(window(), search_window::kLastDayPicker, now);
        runSearch();
    }

    // The days count only while the box is ticked.
    bool isUnusedDate(const Text& control) {
        return (control == search_window::kFirstDayPicker ||
                control == search_window::kLastDayPicker) &&
               !services().isChecked(window(), search_window::kByDateCheckBox);
    }

    LeaseFilter filter() {
        LeaseFilter filter;
        filter.keyword = services().text(window(), search_window::kKeywordEdit);
        filter.state = static_cast<LeaseFilter::State>(
            std::max(services().selectedIndex(window(), search_window::kStateCombo), 0));
        if (services().isChecked(window(), search_window::kByDateCheckBox)) {
            filter.firstDay = formatDateTime(
                services().dateTime(window(), search_window::kFirstDayPicker), "yyyy-MM-dd");
            filter.lastDay = formatDateTime(
                services().dateTime(window(), search_window::kLastDayPicker), "yyyy-MM-dd");
        }
        return filter;
    }

    void runSearch() {
        const LeaseFilter wanted = filter();
        services().setDisabled(window(), search_window::kOpenButton, true);
        if (wanted.firstDay && wanted.lastDay && *wanted.lastDay < *wanted.firstDay) {
            // Said where the totals stand: the search runs at every change, and a box at each
            // would stop the person halfway through moving both dates.
            services().listClear(window(), search_window::kResultsTable);
            services().setText(window(), search_window::kTotalsLabel, kEndBeforeStart);
            return;
        }
        const auto found = leases_.find(wanted, kShownSearchRows);
        if (!found) {
            services().listClear(window(), search_window::kResultsTable);
            services().setText(window(), search_window::kTotalsLabel,
                               "搜索失败：" + database().errorMessage());
            return;
        }
        const DateTime now = currentDateTime();
        std::vector<TableRow> rows;
        rows.reserve(found->rows.size());
        for (const LeaseRow& lease : found->rows) {
            rows.push_back(resultRow(lease, now));
        }
        services().tableSetRows(window(), search_window::kResultsTable, std::move(rows));
        Text totals =
            "共 " + toText(found->total) + " 条 实收合计 " + toText(found->received) + " 元";
        if (found->total > kShownSearchRows) {
            totals += "（列出最新的 " + toText(kShownSearchRows) + " 条）";
        }
        services().setText(window(), search_window::kTotalsLabel, totals);
    }

    // Every lease found, not only the rows listed, as the table shows them.
    void exportFound() {
        const Text path = services().askSaveFileName(window(), "导出搜索结果", "搜索结果.csv",
                                                     "CSV 文件 (*.csv)");
        if (path.empty()) {
            return;
        }
        const LeaseFilter found = filter();
        const DateTime now = currentDateTime();
        const auto readFound = [&](const CsvRowSink& sink) {
            std::vector<std::string> fields;
            const bool read = leases_.forEachFound(found, [&](const LeaseRow& lease) {
                fields.clear();
                for (const Text& cell : resultRow(lease, now).cells) {
                    fields.push_back(gbkToUtf8(cell));
                }
                sink(fields);
            });
            return read ? std::string() : gbkToUtf8(database().errorMessage());
        };
        // The save dialog has asked before a file is replaced.
        const ExportOutcome written = exportRows(gbkToUtf8(path), resultHeaders(), readFound,
                                                 ReplacementFile::Target::Replace);
        switch (written.failure) {
            case ExportOutcome::Failure::None:
                showMessage("已导出 " + toText(written.rows) + " 条", kExportTitle);
                break;
            case ExportOutcome::Failure::Reading:
                showMessage("导出失败：" + database().errorMessage(), kExportTitle);
                break;
            case ExportOutcome::Failure::Writing:
                showMessage("无法写入文件：" + path, kExportTitle);
                break;
        }
    }

    void openSelected(int row) {
        if (row >= 0) {
            openLeaseRecordWindow(
                app(), services().listRowNumber(window(), search_window::kResultsTable, row));
        }
    }

    LeaseSearch leases_;
    LayoutKeeper layout_;
};

}  // namespace

void openSearchWindow(App& app) {
    openOrRaise<SearchWindow>(app, WindowKind::Search, app.state.searchWindow);
}

}  // namespace tamrivo
