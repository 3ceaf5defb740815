#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChartView>
#include <QHorizontalBarSeries>
#include <QToolTip>

#include <algorithm>
#include <fstream>

#include "base/text_encoding.h"
#include "tests/support/engine_fixture.h"
#include "tests/support/temporary_folder.h"
#include "ui/windows/statistics_window.h"

namespace tamrivo {
namespace {

using testing::EngineFixture;

class Charts : public EngineFixture {
protected:
    void SetUp() override { window = open(WindowKind::Statistics); }

    QChart* chart() {
        return qobject_cast<QChartView*>(services.widget(window, statistics_window::kRoomsChart))
            ->chart();
    }

    WindowHandle window = 0;
};

TEST_F(Charts, ShowWhatTheyAreGivenAndGiveItBack) {
    const ChartData given{
        {"一号房", "二号房", "三号房"}, {{"收入", {300, 120.5, -20}}, {"晚数", {3, 2}, 1}}, true};
    services.chartSetData(window, statistics_window::kRoomsChart, given);
    EXPECT_EQ(services.chartData(window, statistics_window::kRoomsChart), given);

    // One bar series per axis; lying down, the first category stands on top, and a series
    // shorter than the categories gets zero bars.
    const QList<QAbstractSeries*> series = chart()->series();
    ASSERT_EQ(series.size(), 2);
    auto* income = qobject_cast<QHorizontalBarSeries*>(series[0]);
    auto* nights = qobject_cast<QHorizontalBarSeries*>(series[1]);
    ASSERT_TRUE(income != nullptr && nights != nullptr);
    ASSERT_EQ(income->count(), 1);
    EXPECT_EQ(income->barSets()[0]->label(), QStringLiteral("收入"));
    EXPECT_EQ(income->barSets()[0]->at(2), 300);
    EXPECT_EQ(income->barSets()[0]->at(0), -20);
    EXPECT_EQ(nights->barSets()[0]->at(0), 0);
    EXPECT_EQ(chart()->axes(Qt::Horizontal).size(), 2);  // a scale of its own for the nights

    // Hovering a bar shows its category, series and figure.
    emit income->barSets()[0]->hovered(true, 0);
    EXPECT_EQ(QToolTip::text(), QStringLiteral("三号房  收入：-20.00"));
    emit income->barSets()[0]->hovered(false, 0);
    EXPECT_TRUE(testing::waitUntil([] { return !QToolTip::isVisible(); }));

    // Empty again, nothing is left of the old bars.
    services.chartSetData(window, statistics_window::kRoomsChart, {});
    EXPECT_TRUE(chart()->series().isEmpty());
    EXPECT_EQ(services.chartData(window, statistics_window::kRoomsChart), ChartData{});
}

TEST_F(Charts, DayNumbersTooManyToStandSideBySideAreThinnedOutNeverCut) {
    ChartData days{{}, {{"收入", {}}}, false};
    for (int day = 1; day <= 31; ++day) {
        days.categories.push_back(std::to_string(day));
        days.series[0].values.push_back(day);
    }
    services.chartSetData(window, statistics_window::kRoomsChart, days);
    QWidget* view = services.widget(window, statistics_window::kRoomsChart);
    view->resize(320, 240);
    testing::processEvents();
    auto* axis = qobject_cast<QBarCategoryAxis*>(chart()->axes(Qt::Horizontal).first());
    ASSERT_NE(axis, nullptr);
    EXPECT_FALSE(axis->truncateLabels());
    const QStringList narrow = axis->categories();
    ASSERT_EQ(narrow.size(), 31);
    EXPECT_EQ(narrow[0], QStringLiteral("1"));
    const auto shown = std::count_if(narrow.begin(), narrow.end(), [](const QString& label) {
        return !label.trimmed().isEmpty();
    });
    EXPECT_LT(shown, 31);
    EXPECT_GT(shown, 3);
    // Wide enough, every day stands; the data given stays as it was.
    view->resize(2400, 240);
    testing::processEvents();
    EXPECT_EQ(axis->categories().last(), QStringLiteral("31"));
    EXPECT_EQ(axis->categories()[1], QStringLiteral("2"));
    EXPECT_EQ(services.chartData(window, statistics_window::kRoomsChart), days);
}

TEST_F(Charts, SaveAsPngOrSayTheyCannot) {
    services.chartSetData(window, statistics_window::kRoomsChart, {{"a"}, {{"x", {1}}}, false});
    testing::TemporaryFolder folder;
    const std::string file = folder.file("chart.png");
    ASSERT_TRUE(services.saveChartImage(window, statistics_window::kRoomsChart, utf8ToGbk(file)));
    std::ifstream in(file, std::ios::binary);
    std::string signature(8, '\0');
    in.read(signature.data(), 8);
    EXPECT_EQ(signature, "\x89PNG\r\n\x1A\n");
    EXPECT_FALSE(services.saveChartImage(window, statistics_window::kRoomsChart,
                                         "/nonexistent-folder/chart.png"));
    testing::UnknownControlCounter unknown;
    EXPECT_FALSE(services.saveChartImage(window, "图表_没有", utf8ToGbk(file)));
    EXPECT_EQ(unknown.count(), 1);
}

}  // namespace
}  // namespace tamrivo
