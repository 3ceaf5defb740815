// Renders the main window as a landlord sees it after logging in to the demo database, and,
// given more files, the search window opened from it over every stay and the statistics
// window on March 2024, the demo's month:
//   tamrivo_render_main_window [file [search-file [statistics-file]]]
//   (default: renders/main_window.png)
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QWidget>

#include <cstdio>
#include <filesystem>

#include "app/program_state.h"
#include "app/startup.h"
#include "engine/qt_window_services.h"
#include "records/database_setup.h"
#include "tests/support/engine_harness.h"
#include "tests/support/temporary_folder.h"
#include "ui/text_encoding.h"
#include "ui/text_to_value.h"

namespace {

bool save(QWidget* window, const QString& file) {
    QDir().mkpath(QFileInfo(file).absolutePath());
    const bool saved = window != nullptr && window->grab().save(file);
    std::printf("%s %s\n", saved ? "wrote" : "could not write", qPrintable(file));
    return saved;
}

}  // namespace

int main(int argc, char* argv[]) {
    using namespace tamrivo;
    QApplication& application = testing::application();
    const QString file = argc > 1 ? QString::fromLocal8Bit(argv[1]) : "renders/main_window.png";

    testing::TemporaryFolder folder;
    std::filesystem::create_directories(folder.path() / "Data");
    if (!createDatabase(folder.path() / "Data" / "Data.db", true).created) {
        std::fprintf(stderr, "could not create the demo database\n");
        return 1;
    }
    QtWindowServices services;
    services.setProgramDirectory(utf8ToGbk(folder.path().string()));
    ProgramState state(services, "http://127.0.0.1:9/autoUpdate.php", {});
    App app{services, state};
    if (!startProgram(app)) {
        return 1;
    }
    const WindowHandle login = services.openWindows(WindowKind::Login).front();
    services.setText(login, "编辑框_用户名", "admin");
    services.setText(login, "编辑框_密码", "904817");
    testing::clickControl(services, login, "按钮_确认");
    testing::waitUntil([&] { return !services.openWindows(WindowKind::Main).empty(); });
    const WindowHandle main = services.openWindows(WindowKind::Main).front();
    testing::selectListRow(services, main, "超级列表框1", 2);
    testing::processEvents();

    bool saved = save(services.widget(main), file);
    if (argc > 2) {
        testing::clickToolbarItem(services, main, "工具条1", "搜索数据");
        testing::processEvents();
        const auto search = services.openWindows(WindowKind::Search);
        saved = !search.empty() &&
                save(services.widget(search.front()), QString::fromLocal8Bit(argv[2])) && saved;
    }
    if (argc > 3) {
        testing::clickToolbarItem(services, main, "工具条1", "数据统计");
        testing::processEvents();
        const auto statistics = services.openWindows(WindowKind::Statistics);
        if (!statistics.empty()) {
            testing::pickComboItem(services, statistics.front(), "组合框_期间", 5);
            services.setDateTime(statistics.front(), "日期框_起", toDateTime("2024-03-01"));
            services.setDateTime(statistics.front(), "日期框_止", toDateTime("2024-03-31"));
            testing::processEvents();
        }
        saved = !statistics.empty() &&
                save(services.widget(statistics.front()), QString::fromLocal8Bit(argv[3])) && saved;
    }
    services.destroyWindow(main);
    testing::processEvents();
    application.processEvents();
    return saved ? 0 : 1;
}
