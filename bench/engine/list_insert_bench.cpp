// Filling the main window's room list: 10,000 rows through listInsertRow against the same
// rows put straight into the Qt widget, in the same run. Run by hand, with the repetitions
// interleaved so a busy machine favours neither side:
//   build/bench/engine/tamrivo_engine_bench --benchmark_repetitions=10
//       --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QListWidget>

#include <memory>
#include <string>
#include <vector>

#include "base/text_encoding.h"
#include "engine/artwork.h"
#include "engine/qt_window_services.h"
#include "ui/windows/main_window.h"

namespace {

using tamrivo::Text;

constexpr int kRows = 10'000;
const Text kList = tamrivo::main_window::kRoomList;

struct Fixture {
    tamrivo::QtWindowServices services;
    tamrivo::WindowHandle window = services.loadWindow(tamrivo::WindowKind::Main, nullptr);
    QListWidget* view = qobject_cast<QListWidget*>(services.widget(window, kList));
    tamrivo::Artwork artwork;
    std::vector<Text> titles;       // GBK, as the program holds them
    std::vector<std::string> utf8;  // the same titles as Qt takes them

    Fixture() {
        for (int i = 0; i < kRows; ++i) {
            titles.push_back("幸福小区" + std::to_string(i / 100) + "号楼" + std::to_string(i) +
                             "室");
            utf8.push_back(tamrivo::gbkToUtf8(titles.back()));
        }
    }
};

Fixture* fixture = nullptr;

void BM_ListInsertRowThroughServices(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        fixture->services.listClear(fixture->window, kList);
        state.ResumeTiming();
        for (int i = 0; i < kRows; ++i) {
            fixture->services.listInsertRow(fixture->window, kList, -1, fixture->titles[i], i % 3,
                                            i);
        }
    }
}

void BM_ListInsertStraightIntoQt(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        fixture->view->clear();
        state.ResumeTiming();
        for (int i = 0; i < kRows; ++i) {
            auto* item = new QListWidgetItem(fixture->artwork.roomStateImage(i % 3),
                                             QString::fromUtf8(fixture->utf8[i]));
            item->setData(Qt::UserRole, i);
            fixture->view->insertItem(fixture->view->count(), item);
        }
    }
}

BENCHMARK(BM_ListInsertRowThroughServices)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListInsertStraightIntoQt)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    auto owned = std::make_unique<Fixture>();
    fixture = owned.get();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
