#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QHeaderView>
#include <QTableView>
#include <QTest>

#include <vector>

#include "tests/support/engine_fixture.h"
#include "ui/windows/checkout_window.h"
#include "ui/windows/search_window.h"

namespace tamrivo {
namespace {

using testing::EngineFixture;

// The search window's table: 单号 房址 姓名 联系方式 入住日期 退房日期 入住天数 定金 租金 实收金额
// 状态 备注.
TableRow row(int number, const Text& danhao, const Text& name, const Text& days,
             const Text& deposit) {
    return {number,
            {danhao, "一号房", name, "138", "2020-02-17 12:00:00", "", days, deposit, "80", "",
             "未结算", ""}};
}

class Tables : public EngineFixture {
protected:
    void SetUp() override {
        search = open(WindowKind::Search);
        view = qobject_cast<QTableView*>(services.widget(search, search_window::kResultsTable));
        ASSERT_NE(view, nullptr);
        services.tableSetRows(search, search_window::kResultsTable,
                              {row(7, "B-2", "乙", "10", "100"), row(8, "A-1", "甲", "2.5", ""),
                               row(9, "C-3", "丙", "-1", "20.5")});
    }

    // Column 0 of every row as shown, joined by commas.
    Text shownOrder() {
        Text order;
        for (int r = 0; r < view->model()->rowCount(); ++r) {
            order += (r == 0 ? "" : ",") +
                     services.listCellText(search, search_window::kResultsTable, r, 0);
        }
        return order;
    }

    void clickTitle(int column) {
        QHeaderView* header = view->horizontalHeader();
        const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
    }

    QPoint cellCentre(int r, int column) {
        return view->visualRect(view->model()->index(r, column)).center();
    }

    WindowHandle search = 0;
    QTableView* view = nullptr;
};

TEST_F(Tables, ShowRowsInTheOrderGivenWithTheirTitlesAndNumbers) {
    EXPECT_TEXT_EQ(shownOrder(), "B-2,A-1,C-3");
    EXPECT_EQ(view->model()->columnCount(), 12);
    EXPECT_EQ(view->model()->headerData(9, Qt::Horizontal).toString(), QStringLiteral("实收金额"));
    EXPECT_EQ(services.listRowNumber(search, search_window::kResultsTable, 1), 8);
    EXPECT_TEXT_EQ(services.listCellText(search, search_window::kResultsTable, 1, 2), "甲");
    EXPECT_EQ(services.listRowNumber(search, search_window::kResultsTable, 3), -1);
    EXPECT_TEXT_EQ(services.listCellText(search, search_window::kResultsTable, 0, 12), "");
    EXPECT_EQ(services.selectedIndex(search, search_window::kResultsTable), -1);
}

TEST_F(Tables, NumbersStandRightAndTextsLeft) {
    const auto alignment = [&](int column) {
        return view->model()->index(0, column).data(Qt::TextAlignmentRole).value<Qt::Alignment>() &
               Qt::AlignHorizontal_Mask;
    };
    for (const int column : {6, 7, 8, 9}) {
        EXPECT_EQ(alignment(column), Qt::AlignRight) << column;
    }
    for (const int column : {0, 1, 2, 3, 4, 5, 10, 11}) {
        EXPECT_EQ(alignment(column), Qt::AlignLeft) << column;
    }
}

TEST_F(Tables, ATitleClickSortsNumbersByValueAndTextsAsTextAndASecondClickReverses) {
    clickTitle(6);  // days: -1 < 2.5 < 10, which as texts would be -1, 10, 2.5
    EXPECT_TEXT_EQ(shownOrder(), "C-3,A-1,B-2");
    clickTitle(6);
    EXPECT_TEXT_EQ(shownOrder(), "B-2,A-1,C-3");
    clickTitle(7);  // deposits: the empty cell first
    EXPECT_TEXT_EQ(shownOrder(), "A-1,C-3,B-2");
    clickTitle(0);
    EXPECT_TEXT_EQ(shownOrder(), "A-1,B-2,C-3");
    EXPECT_EQ(services.listRowNumber(search, search_window::kResultsTable, 0),
              8);  // numbers travel with their rows
}

TEST_F(Tables, SharesSortByTheirNumber) {
    services.tableSetRows(search, search_window::kResultsTable,
                          {row(1, "A", "a", "9.5%", ""), row(2, "B", "b", "10.0%", ""),
                           row(3, "C", "c", "—", ""), row(4, "D", "d", "-3%", "")});
    clickTitle(6);  // as texts: -3%, 10.0%, 9.5%, —
    EXPECT_TEXT_EQ(shownOrder(), "C,D,A,B");
}

TEST_F(Tables, TheSelectionFollowsItsRowThroughASortAndNewRowsDropIt) {
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cellCentre(2, 1));
    ASSERT_EQ(services.selectedIndex(search, search_window::kResultsTable), 2);
    EXPECT_EQ(log->last(EventKind::CurrentItemChanged).argument, 2);
    EXPECT_EQ(log->last(EventKind::CurrentItemChanged).handler, Handler::ShowSearchSelection);
    clickTitle(0);
    EXPECT_EQ(services.selectedIndex(search, search_window::kResultsTable), 2);  // C-3 sorts last
    clickTitle(6);
    EXPECT_EQ(services.selectedIndex(search, search_window::kResultsTable), 0);
    EXPECT_EQ(services.listRowNumber(search, search_window::kResultsTable, 0), 9);

    services.tableSetRows(search, search_window::kResultsTable, {row(1, "D-4", "丁", "1", "1")});
    EXPECT_EQ(services.selectedIndex(search, search_window::kResultsTable), -1);
    EXPECT_TEXT_EQ(shownOrder(), "D-4");  // in the order given, not the old sorting's
    services.listClear(search, search_window::kResultsTable);
    EXPECT_EQ(view->model()->rowCount(), 0);
}

TEST_F(Tables, KeysMoveTheSelectionAndEnterOrADoubleClickActivatesTheRow) {
    services.setSelectedIndex(search, search_window::kResultsTable, 0);
    view->setFocus();
    QTest::keyClick(view, Qt::Key_Down);
    EXPECT_EQ(services.selectedIndex(search, search_window::kResultsTable), 1);
    QTest::keyClick(view, Qt::Key_Return);
    ASSERT_EQ(log->count(EventKind::RowActivated), 1);
    EXPECT_EQ(log->last(EventKind::RowActivated).argument, 1);
    EXPECT_EQ(log->last(EventKind::RowActivated).handler, Handler::OpenFoundLease);

    ASSERT_TRUE(testing::doubleClickTableRow(services, search, search_window::kResultsTable, 2, 3));
    EXPECT_EQ(log->count(EventKind::RowActivated), 2);
    EXPECT_EQ(log->last(EventKind::RowActivated).argument, 2);

    services.setSelectedIndex(search, search_window::kResultsTable, -1);
    QTest::keyClick(view, Qt::Key_Return);  // nothing selected: nothing to open
    EXPECT_EQ(log->count(EventKind::RowActivated), 2);
}

TEST_F(Tables, ThousandsOfRowsGoInAtOnce) {
    std::vector<TableRow> rows;
    for (int i = 0; i < 3000; ++i) {
        rows.push_back(row(i, "N-" + std::to_string(i), "客", std::to_string(i % 7), "1"));
    }
    services.tableSetRows(search, search_window::kResultsTable, std::move(rows));
    EXPECT_EQ(view->model()->rowCount(), 3000);
    EXPECT_TEXT_EQ(services.listCellText(search, search_window::kResultsTable, 2999, 0), "N-2999");
}

class Changes : public EngineFixture {};

TEST_F(Changes, EditComboCheckBoxAndDatePickerReportWhatTheyHold) {
    const WindowHandle search = open(WindowKind::Search);
    const int before = log->count(EventKind::Changed);

    ASSERT_TRUE(testing::typeText(services, search, search_window::kKeywordEdit, "张3"));
    EXPECT_EQ(log->count(EventKind::Changed), before + 2);  // one per keystroke
    EXPECT_TEXT_EQ(log->last(EventKind::Changed).control, search_window::kKeywordEdit);
    EXPECT_EQ(log->last(EventKind::Changed).handler, Handler::RunSearch);

    ASSERT_TRUE(testing::pickComboItem(services, search, search_window::kStateCombo, 2));
    EXPECT_TEXT_EQ(log->last(EventKind::Changed).control, search_window::kStateCombo);
    EXPECT_EQ(log->last(EventKind::Changed).argument, 2);

    EXPECT_FALSE(services.isChecked(search, search_window::kByDateCheckBox));
    ASSERT_TRUE(testing::clickControl(services, search, search_window::kByDateCheckBox));
    EXPECT_TRUE(services.isChecked(search, search_window::kByDateCheckBox));
    EXPECT_TEXT_EQ(log->last(EventKind::Changed).control, search_window::kByDateCheckBox);
    EXPECT_EQ(log->last(EventKind::Changed).argument, 1);
    services.setChecked(search, search_window::kByDateCheckBox, false);
    EXPECT_FALSE(services.isChecked(search, search_window::kByDateCheckBox));
    EXPECT_EQ(log->last(EventKind::Changed).argument, 0);
    EXPECT_TEXT_EQ(services.text(search, search_window::kByDateCheckBox), "入住日期：");

    services.setDateTime(search, search_window::kLastDayPicker, DateTime{43878.5});
    EXPECT_TEXT_EQ(log->last(EventKind::Changed).control, search_window::kLastDayPicker);
    const auto* picker =
        qobject_cast<QDateTimeEdit*>(services.widget(search, search_window::kLastDayPicker));
    EXPECT_EQ(picker->displayFormat(), QStringLiteral("yyyy-MM-dd"));  // days, no times
}

TEST_F(Changes, TheCheckOutWindowsReceiptButtonWaitsDisabled) {
    const WindowHandle checkout = open(WindowKind::Checkout);
    EXPECT_FALSE(services.widget(checkout, checkout_window::kReceiptButton)->isEnabled());
    EXPECT_TRUE(services.widget(checkout, checkout_window::kConfirmButton)->isEnabled());
}

}  // namespace
}  // namespace tamrivo
