// Renders the README's pictures of the program as a landlord sees it after logging in to the
// demo database, into a folder (default: renders): the main window, the search window over
// every stay, the record of the oldest (settled) stay opened from it, the statistics window on
// March 2024 (the demo's settled stay), and the room calendar with a few bookings around today.
//   tamrivo_render_main_window [folder]
#include <QApplication>
#include <QDir>
#include <QWidget>

#include <cstdio>
#include <filesystem>

#include "app/program_state.h"
#include "app/startup.h"
#include "base/date_format.h"
#include "base/text_encoding.h"
#include "base/text_to_value.h"
#include "engine/qt_window_services.h"
#include "records/bookings.h"
#include "records/database_setup.h"
#include "records/stored_dates.h"
#include "tests/support/engine_harness.h"
#include "tests/support/temporary_folder.h"
#include "ui/windows/login_window.h"
#include "ui/windows/main_window.h"
#include "ui/windows/search_window.h"
#include "ui/windows/statistics_window.h"

namespace {

bool save(QWidget* window, const QDir& folder, const char* name) {
    const QString file = folder.filePath(name);
    const bool saved = window != nullptr && window->grab().save(file);
    std::printf("%s %s\n", saved ? "wrote" : "could not write", qPrintable(file));
    return saved;
}

// Bookings on the demo rooms, from days after today to days after today.
void addBookings(tamrivo::Database& database) {
    using namespace tamrivo;
    struct Planned {
        int room;
        int arrival;
        int departure;
        const char* guest;
        bool cancelled;
    };
    const Planned planned[] = {{1, 0, 3, "周敏", false},   {1, 5, 9, "吴刚", false},
                               {4, 2, 6, "郑爽", true},    {4, 3, 12, "冯涛", false},
                               {2, 14, 20, "陈静", false}, {3, 9, 11, "褚亮", false}};
    for (const Planned& each : planned) {
        Booking booking;
        booking.roomId = each.room;
        booking.guest = each.guest;
        booking.arrival = formatDateTime(DateTime{double(today() + each.arrival)}, "yyyy-MM-dd");
        booking.departure =
            formatDateTime(DateTime{double(today() + each.departure)}, "yyyy-MM-dd");
        const BookingOutcome saved = saveBooking(database, booking);
        if (each.cancelled) {
            cancelBooking(database, saved.id);
        }
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    using namespace tamrivo;
    QApplication& application = testing::application();
    const QDir pictures(argc > 1 ? QString::fromLocal8Bit(argv[1]) : "renders");
    QDir().mkpath(pictures.path());

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
    services.setText(login, login_window::kUserNameEdit, "admin");
    services.setText(login, login_window::kPasswordEdit, "904817");
    testing::clickControl(services, login, login_window::kConfirmButton);
    testing::waitUntil([&] { return !services.openWindows(WindowKind::Main).empty(); });
    const WindowHandle main = services.openWindows(WindowKind::Main).front();
    testing::selectListRow(services, main, main_window::kRoomList, 2);
    testing::processEvents();

    bool saved = save(services.widget(main), pictures, "main_window.png");

    testing::clickToolbarItem(services, main, main_window::kToolbar, "搜索数据");
    testing::processEvents();
    const auto search = services.openWindows(WindowKind::Search);
    saved = !search.empty() &&
            save(services.widget(search.front()), pictures, "search_window.png") && saved;
    if (!search.empty()) {
        testing::doubleClickTableRow(services, search.front(), search_window::kResultsTable, 2, 2);
        testing::processEvents();
    }
    const auto record = services.openWindows(WindowKind::LeaseRecord);
    saved = !record.empty() &&
            save(services.widget(record.front()), pictures, "lease_record.png") && saved;

    testing::clickToolbarItem(services, main, main_window::kToolbar, "数据统计");
    testing::processEvents();
    const auto statistics = services.openWindows(WindowKind::Statistics);
    if (!statistics.empty()) {
        testing::pickComboItem(services, statistics.front(), statistics_window::kPeriodCombo, 5);
        services.setDateTime(statistics.front(), statistics_window::kFirstDayPicker,
                             toDateTime("2024-03-01"));
        services.setDateTime(statistics.front(), statistics_window::kLastDayPicker,
                             toDateTime("2024-03-31"));
        testing::processEvents();
    }
    saved = !statistics.empty() &&
            save(services.widget(statistics.front()), pictures, "statistics_window.png") && saved;

    addBookings(state.database);
    testing::clickToolbarItem(services, main, main_window::kToolbar, "房态预订");
    testing::processEvents();
    const auto calendar = services.openWindows(WindowKind::Calendar);
    saved = !calendar.empty() &&
            save(services.widget(calendar.front()), pictures, "calendar_window.png") && saved;
    services.destroyWindow(main);
    testing::processEvents();
    application.processEvents();
    return saved ? 0 : 1;
}
