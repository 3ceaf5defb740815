#include "app/search_window.h"

#include <utility>
#include <vector>

#include "app/lease_record_window.h"
#include "app/register_log_window.h"
#include "app/screen.h"
#include "base/date_format.h"
#include "base/date_time.h"
#include "base/text_encoding.h"
#include "base/value_text.h"
#include "records/csv_export.h"
#include "records/lease_search.h"
#include "records/length_of_stay.h"
#include "ui/layout_keeper.h"
#include "ui/windows/window_list.h"

namespace tamrivo {
namespace {

constexpr char kKeyword[] = "编辑框_关键字";
constexpr char kState[] = "组合框_状态";
constexpr char kByDate[] = "选择框_日期";
constexpr char kFirstDay[] = "日期框_起";
constexpr char kLastDay[] = "日期框_止";
constexpr char kResults[] = "表格_结果";
constexpr char kTotals[] = "标签_合计";
constexpr char kOpen[] = "按钮_查看";
constexpr int kDaysShownAtFirst = 30;
constexpr char kExportTitle[] = "导出";

// How the controls follow the window's size (the layout keeper's modes): the table takes
// what the window gains, the totals and buttons keep to its bottom.
constexpr std::pair<const char*, int> kLayout[] = {
    {kResults, 0}, {kTotals, 2}, {"按钮_登记", 3}, {"按钮_导出", 3}, {kOpen, 3}};

TableRow resultRow(const LeaseRow& lease, DateTime now) {
    const bool settled = lease.settled();
    const auto days = daysOfStay(lease, now);
    return {
        lease.id,
        {lease.danhao, lease.fangzhi, lease.xingming, lease.lianxifangshi, lease.ruzhuriqi,
         settled ? lease.jiesuanriqi : Text(), days ? toText(*days) : Text(), toText(lease.dingjin),
         toText(lease.zujin), settled ? toText(lease.jiesuanjine) : Text(),
         settled ? "已结算" : "未结算", lease.beizhu}};
}

// The table's titles, as the CSV's header.
std::vector<std::string> resultHeaders() {
    std::vector<std::string> headers;
    for (const TableColumn& column : windows::searchWindow().control(kResults)->columns) {
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
                services().setDisabled(window(), kOpen, event.argument < 0);
                break;
            case Handler::OpenFoundLease:
                openSelected(event.kind == EventKind::RowActivated
                                 ? event.argument
                                 : services().selectedIndex(window(), kResults));
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
        services().setDateTime(window(), kFirstDay, DateTime{now.days - kDaysShownAtFirst});
        services().setDateTime(window(), kLastDay, now);
        runSearch();
    }

    // The days count only while the box is ticked.
    bool isUnusedDate(const Text& control) {
        return (control == kFirstDay || control == kLastDay) &&
               !services().isChecked(window(), kByDate);
    }

    LeaseFilter filter() {
        LeaseFilter filter;
        filter.keyword = services().text(window(), kKeyword);
        filter.state = static_cast<LeaseFilter::State>(
            std::max(services().selectedIndex(window(), kState), 0));
        if (services().isChecked(window(), kByDate)) {
            filter.firstDay =
                formatDateTime(services().dateTime(window(), kFirstDay), "yyyy-MM-dd");
            filter.lastDay = formatDateTime(services().dateTime(window(), kLastDay), "yyyy-MM-dd");
        }
        return filter;
    }

    void runSearch() {
        const LeaseFilter wanted = filter();
        services().setDisabled(window(), kOpen, true);
        if (wanted.firstDay && wanted.lastDay && *wanted.lastDay < *wanted.firstDay) {
            // Said where the totals stand: the search runs at every change, and a box at each
            // would stop the person halfway through moving both dates.
            services().listClear(window(), kResults);
            services().setText(window(), kTotals, kEndBeforeStart);
            return;
        }
        const auto found = leases_.find(wanted, kShownSearchRows);
        if (!found) {
            services().listClear(window(), kResults);
            services().setText(window(), kTotals, "搜索失败：" + database().errorMessage());
            return;
        }
        const DateTime now = currentDateTime();
        std::vector<TableRow> rows;
        rows.reserve(found->rows.size());
        for (const LeaseRow& lease : found->rows) {
            rows.push_back(resultRow(lease, now));
        }
        services().tableSetRows(window(), kResults, std::move(rows));
        Text totals =
            "共 " + toText(found->total) + " 条 实收合计 " + toText(found->received) + " 元";
        if (found->total > kShownSearchRows) {
            totals += "（列出最新的 " + toText(kShownSearchRows) + " 条）";
        }
        services().setText(window(), kTotals, totals);
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
            openLeaseRecordWindow(app(), services().listRowNumber(window(), kResults, row));
        }
    }

    LeaseSearch leases_;
    LayoutKeeper layout_;
};

}  // namespace

void openSearchWindow(App& app) {
    if (app.services.windowHandle(app.state.searchWindow) != 0) {
        app.services.bringToFront(app.state.searchWindow);
        return;
    }
    app.services.loadWindow(WindowKind::Search, std::make_unique<SearchWindow>(app),
                            app.state.mainWindow);
}

}  // namespace tamrivo
