// Renders each of the nine windows to a PNG file so a reviewer can look at them:
//   tamrivo_render_windows [folder]   (default: renders)
#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QWidget>

#include <cstdio>
#include <utility>
#include <vector>

#include "engine/artwork.h"
#include "engine/qt_window_services.h"
#include "ui/windows/calendar_window.h"
#include "ui/windows/checkout_window.h"
#include "ui/windows/main_window.h"

namespace {

using tamrivo::QtWindowServices;
using tamrivo::WindowHandle;
using tamrivo::WindowKind;

// The main window as it looks with a few rooms in it, one of each state.
void fillMainWindow(QtWindowServices& services, WindowHandle main) {
    const std::vector<std::pair<tamrivo::Text, int>> rooms{{"幸福小区1号楼101室", 0},
                                                           {"幸福小区1号楼102室", 2},
                                                           {"幸福小区2号楼201室", 1},
                                                           {"阳光公寓305", 0},
                                                           {"阳光公寓306", 2}};
    int id = 1;
    for (const auto& [address, image] : rooms) {
        services.listInsertRow(main, tamrivo::main_window::kRoomList, -1, address, image, id++);
    }
    services.setText(main, tamrivo::main_window::kOrderNumberLabel, "编    号:202002170905031");
    services.setText(main, tamrivo::main_window::kNameLabel, "姓    名:张三");
    services.setText(main, tamrivo::main_window::kAddressLabel, "入住房址:幸福小区1号楼102室");
    services.setText(main, tamrivo::main_window::kRentLabel, "租    金:120");
    services.statusText(main, tamrivo::main_window::kStatusBar, 1, "2020-02-17 09:05:03");
    services.statusText(main, tamrivo::main_window::kStatusBar, 2, "房间数量:4/1");
}

// The check-out window on a long stay, its widest figures in the boxes that follow the date.
void fillCheckoutWindow(QtWindowServices& services, WindowHandle checkout) {
    services.setText(checkout, tamrivo::checkout_window::kDaysLabel, "入住天数：1007.92天");
    services.setText(checkout, tamrivo::checkout_window::kNightsLabel, "计费晚数：1008");
    services.setText(checkout, tamrivo::checkout_window::kRentTotalLabel, "租金合计：302400.00");
    services.setText(checkout, tamrivo::checkout_window::kSettledDepositLabel, "定金：300.00");
    services.setText(checkout, tamrivo::checkout_window::kDueLabel, "应收：302100.00");
    services.setText(checkout, tamrivo::checkout_window::kAmountEdit, "302100.00");
}

// The calendar's header on a busy day: arrivals, departures and guests still in after theirs.
void fillCalendarHeader(QtWindowServices& services, WindowHandle calendar) {
    services.setText(calendar, tamrivo::calendar_window::kTodayLabel,
                     "今日 2026-12-09  预计到达：幸福小区1号楼101室 周敏；阳光公寓305 吴刚\r\n"
                     "应离开：幸福小区1号楼102室 王芳  已超期：幸福小区2号楼201室 张伟；"
                     "阳光公寓306 李四");
}

// Every picture at its size of 32 x 32 (top row) and three times larger (below): the
// toolbar images in their order, the room states, the window icon.
QImage artworkSheet() {
    const tamrivo::Artwork artwork;
    std::vector<QIcon> icons;
    for (int i = 0; i < 11; ++i) {
        icons.push_back(artwork.toolbarImage(i));
    }
    for (int i = 0; i < 3; ++i) {
        icons.push_back(artwork.roomStateImage(i));
    }
    icons.push_back(artwork.windowIcon());
    constexpr int kCell = 100;
    QImage sheet(kCell * static_cast<int>(icons.size()), 40 + kCell, QImage::Format_ARGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    for (std::size_t i = 0; i < icons.size(); ++i) {
        const int x = kCell * static_cast<int>(i);
        const QPixmap pixmap = icons[i].pixmap(32, 32);
        painter.drawPixmap(x + 34, 4, pixmap);
        painter.drawPixmap(QRect(x + 2, 40, 96, 96), pixmap);
    }
    return sheet;
}

}  // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("renders");
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(folder));
        return 1;
    }
    QtWindowServices services;
    const std::vector<std::pair<WindowKind, const char*>> windows{
        {WindowKind::Main, "main_window"},
        {WindowKind::Login, "login_window"},
        {WindowKind::Room, "room_window"},
        {WindowKind::Lease, "lease_window"},
        {WindowKind::Checkout, "checkout_window"},
        {WindowKind::Statistics, "statistics_window"},
        {WindowKind::About, "about_window"},
        {WindowKind::Password, "password_window"},
        {WindowKind::Update, "update_window"},
        {WindowKind::Search, "search_window"},
        {WindowKind::LeaseRecord, "lease_record_window"},
        {WindowKind::Calendar, "calendar_window"},
        {WindowKind::Booking, "booking_window"},
        {WindowKind::CalendarSync, "calendar_sync_window"},
        {WindowKind::Landlord, "landlord_window"},
        {WindowKind::Recovery, "recovery_window"},
        {WindowKind::Protection, "protection_window"}};
    int failures = 0;
    for (const auto& [kind, name] : windows) {
        const WindowHandle window = services.loadWindow(kind, nullptr);
        if (kind == WindowKind::Main) {
            fillMainWindow(services, window);
        } else if (kind == WindowKind::Checkout) {
            fillCheckoutWindow(services, window);
        } else if (kind == WindowKind::Calendar) {
            fillCalendarHeader(services, window);
        }
        QApplication::processEvents();
        const QString file = QDir(folder).filePath(QString::fromLatin1(name) + ".png");
        if (!services.widget(window)->grab().save(file)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            ++failures;
        }
    }
    if (!artworkSheet().save(QDir(folder).filePath(QStringLiteral("artwork.png")))) {
        ++failures;
    }
    return failures == 0 ? 0 : 1;
}
