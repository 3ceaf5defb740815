// Operations on charts.
#include <QPixmap>

#include "engine/chart_view.h"
#include "engine/qt_window_services.h"
#include "engine/whole_file.h"

namespace tamrivo {

void QtWindowServices::chartSetData(WindowHandle window, const Text& chart, ChartData data) {
    windowThread_.run([this, window, chart, data = std::move(data)]() mutable {
        if (auto* view = find<ChartView>(window, chart)) {
            view->setData(std::move(data));
        }
    });
}

ChartData QtWindowServices::chartData(WindowHandle window, const Text& chart) {
    return windowThread_.call<ChartData>(
        [&] {
            const auto* view = find<ChartView>(window, chart);
            return view == nullptr ? ChartData{} : view->data();
        },
        ChartData{});
}

bool QtWindowServices::saveChartImage(WindowHandle window, const Text& chart, const Text& path) {
    return windowThread_.call<bool>(
        [&] {
            auto* view = find<ChartView>(window, chart);
            return view != nullptr && writeWholeFile(path, [view](const QString& partial) {
                       return view->grab().save(partial, "PNG");
                   });
        },
        false);
}

}  // namespace tamrivo
