#pragma once
// The program logged in on a database of leases, with the search window open.

#include <QHeaderView>
#include <QTableView>
#include <QTest>

#include <filesystem>
#include <string>
#include <vector>

#include "base/text_encoding.h"
#include "records/statement_scope.h"
#include "tests/app/app_fixture.h"
#include "tests/support/file_contents.h"
#include "ui/windows/search_window.h"

namespace tamrivo::testing {

struct StoredLease {
    Text danhao{};
    Text fangzhi = "一号房";
    Text xingming = "张三";
    Text lianxifangshi = "13800000000";
    double dingjin = 100;
    double zujin = 80;
    Text ruzhuriqi = "2020-02-17 12:00:00";
    int zulinzhuangtai = 0;
    double jiesuanjine = 0;
    Text jiesuanriqi{};
    Text beizhu{};
    Text jiesuanbeizhu{};
};

class SearchTest : public AppTest {
protected:
    static constexpr const char* kResults = search_window::kResultsTable;

    void SetUp() override {
        main = startAndLogIn();
        ASSERT_NE(main, 0);
    }

    // Stores the lease as it is, quotes and all; its id.
    int addLease(const StoredLease& lease) {
        Database& db = state.database;
        StatementScope insert(
            db,
            "INSERT INTO b_zulin (danhao, fangzhi, xingming, lianxifangshi, dingjin, zujin, "
            "ruzhuriqi, zulinzhuangtai, jiesuanjine, jiesuanriqi, beizhu, jiesuanbeizhu) "
            "VALUES(:a, :b, :c, :d, :e, :f, :g, :h, :i, :j, :k, :l)");
        insert.bindText(":a", lease.danhao);
        insert.bindText(":b", lease.fangzhi);
        insert.bindText(":c", lease.xingming);
        insert.bindText(":d", lease.lianxifangshi);
        insert.bindDouble(":e", lease.dingjin);
        insert.bindDouble(":f", lease.zujin);
        insert.bindText(":g", lease.ruzhuriqi);
        insert.bindInt(":h", lease.zulinzhuangtai);
        insert.bindDouble(":i", lease.jiesuanjine);
        insert.bindText(":j", lease.jiesuanriqi);
        insert.bindText(":k", lease.beizhu);
        insert.bindText(":l", lease.jiesuanbeizhu);
        EXPECT_FALSE(insert.step());
        EXPECT_TRUE(insert.finish()) << db.errorMessage();
        return static_cast<int>(db.lastInsertRowid());
    }

    WindowHandle openSearch() {
        command(main, -1, "搜索数据");
        return only(WindowKind::Search);
    }

    QTableView* table(WindowHandle search) {
        return qobject_cast<QTableView*>(services.widget(search, kResults));
    }
    int rowCount(WindowHandle search) { return table(search)->model()->rowCount(); }

    // One column of every shown row, joined by commas.
    Text column(WindowHandle search, int c) {
        Text joined;
        for (int r = 0; r < rowCount(search); ++r) {
            joined += (r == 0 ? "" : ",") + services.listCellText(search, kResults, r, c);
        }
        return joined;
    }
    Text orderNumbers(WindowHandle search) { return column(search, 0); }

    void typeKeyword(WindowHandle search, const Text& keyword) {
        services.setText(search, search_window::kKeywordEdit, {});
        typeText(services, search, search_window::kKeywordEdit, keyword);
        processEvents();
    }

    void clickTitle(WindowHandle search, int c) {
        QHeaderView* header = table(search)->horizontalHeader();
        table(search)->scrollTo(table(search)->model()->index(0, c));
        const int x = header->sectionViewportPosition(c) + header->sectionSize(c) / 2;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
    }

    // Picks the file in the save dialog, clicks 导出 and reads back what was written.
    std::string exportTo(WindowHandle search, const std::string& file) {
        services.setSaveDialogPresenter([&](const SaveDialogRequest& request) {
            EXPECT_TEXT_EQ(request.suggestedName, "搜索结果.csv");
            return utf8ToGbk(file);
        });
        clickControl(services, search, search_window::kExportButton);
        processEvents();
        return std::filesystem::exists(file) ? readFile(file) : std::string();
    }

    Text totals(WindowHandle search) { return services.text(search, search_window::kTotalsLabel); }

    WindowHandle main = 0;
};

}  // namespace tamrivo::testing
