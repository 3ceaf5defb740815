#pragma once
// The whole program on a real encrypted database made by the set-up code, driven through
// the offscreen window engine with a scripted person answering message boxes.

#include <gtest/gtest.h>

#include <QApplication>
#include <QListWidget>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "app/program_state.h"
#include "app/startup.h"
#include "base/text_encoding.h"
#include "engine/bar_builders.h"
#include "engine/qt_window_services.h"
#include "engine/status_bar.h"
#include "records/database_setup.h"
#include "tests/support/engine_harness.h"
#include "tests/support/message_box_responder.h"
#include "tests/support/temporary_folder.h"
#include "ui/windows/lease_window.h"
#include "ui/windows/login_window.h"
#include "ui/windows/main_window.h"

namespace tamrivo::testing {

// A port nothing listens on: the update checks end at once and silently.
inline constexpr char kNoUpdateServer[] = "http://127.0.0.1:9/autoUpdate.php";

class AppTest : public ::testing::Test {
protected:
    explicit AppTest(Text updateEndpoint = kNoUpdateServer, Text updatePublicKey = {},
                     UpdateDelivery updateDelivery = UpdateDelivery::Download)
        : state(services, std::move(updateEndpoint), std::move(updatePublicKey), updateDelivery) {
        services.setProgramDirectory(utf8ToGbk(folder.path().string()));
    }

    ~AppTest() override {
        // The screens hold on to the program state: close them while it still exists.
        for (int kind = 0; kind <= static_cast<int>(kLastWindowKind); ++kind) {
            for (WindowHandle window : services.openWindows(static_cast<WindowKind>(kind))) {
                services.destroyWindow(window);
            }
        }
        processEvents();
    }

    std::filesystem::path databaseFile() const { return folder.path() / "Data" / "Data.db"; }

    void makeDatabase(bool demo = false) {
        std::filesystem::create_directories(databaseFile().parent_path());
        ASSERT_TRUE(createDatabase(databaseFile(), demo).created);
    }

    // Starts the program on a fresh database and logs in as admin.
    WindowHandle startAndLogIn() {
        makeDatabase();
        EXPECT_TRUE(startProgram(app));
        return logIn("admin", "904817");
    }

    // Types into the login window and confirms; the main window, or 0.
    WindowHandle logIn(const Text& user, const Text& password) {
        const WindowHandle login = only(WindowKind::Login);
        typeText(services, login, login_window::kUserNameEdit, user);
        typeText(services, login, login_window::kPasswordEdit, password);
        clickControl(services, login, login_window::kConfirmButton);
        processEvents();
        const auto main = services.openWindows(WindowKind::Main);
        return main.empty() ? 0 : main.front();
    }

    // The one open window of the kind; 0 when there is none or more than one.
    WindowHandle only(WindowKind kind) {
        const auto windows = services.openWindows(kind);
        return windows.size() == 1 ? windows.front() : 0;
    }

    // True while the window is open, whatever its kind.
    bool isOpen(WindowHandle window) {
        for (int kind = 0; kind <= static_cast<int>(kLastWindowKind); ++kind) {
            for (const WindowHandle open : services.openWindows(static_cast<WindowKind>(kind))) {
                if (open == window) {
                    return true;
                }
            }
        }
        return false;
    }

    bool run(const Text& sql) { return state.database.run(sql); }
    Text queryText(const Text& sql) { return state.database.queryText(sql); }
    int queryInt(const Text& sql) { return state.database.queryInt(sql); }

    // Adds a room and returns its id.
    int addRoom(const Text& address, int zhuangtai, int chuzuzhuangtai = 0,
                const Text& danhao = {}) {
        EXPECT_TRUE(
            run("INSERT INTO b_fangjian (dizhi, zhuangtai, chuzuzhuangtai, danhao) "
                "VALUES('" +
                address + "', " + std::to_string(zhuangtai) + ", " +
                std::to_string(chuzuzhuangtai) + ", '" + danhao + "')"));
        return static_cast<int>(state.database.lastInsertRowid());
    }

    // Adds a room that is let with an open lease of the order number.
    int addLetRoom(const Text& address, const Text& danhao, const Text& ruzhuriqi) {
        EXPECT_TRUE(
            run("INSERT INTO b_zulin (danhao, fangzhi, xingming, lianxifangshi, dingjin, "
                "zujin, ruzhuriqi, zulinzhuangtai, beizhu) VALUES('" +
                danhao + "', '" + address + "', '张三', '13800000000', 100.5, 80, '" + ruzhuriqi +
                "', 0, '备注')"));
        return addRoom(address, 1, 1, danhao);
    }

    // The main window's room list: titles and the state image of each row.
    struct Row {
        Text title;
        int image;
        bool operator==(const Row&) const = default;
    };
    std::vector<Row> roomList(WindowHandle main) {
        auto* list = qobject_cast<QListWidget*>(services.widget(main, main_window::kRoomList));
        std::vector<Row> rows;
        for (int i = 0; list != nullptr && i < list->count(); ++i) {
            rows.push_back({services.listCellText(main, main_window::kRoomList, i),
                            list->item(i)->data(kRowImageRole).toInt()});
        }
        return rows;
    }

    Text statusPart(WindowHandle main, int part) {
        auto* bar = dynamic_cast<StatusBar*>(services.widget(main, main_window::kStatusBar));
        return bar == nullptr ? Text() : utf8ToGbk(bar->partText(part).toStdString());
    }

    // Selects the row of the room list and clicks the toolbar item with the caption.
    void command(WindowHandle main, int row, const Text& caption) {
        if (row >= 0) {
            selectListRow(services, main, main_window::kRoomList, row);
        }
        clickToolbarItem(services, main, main_window::kToolbar, caption);
        processEvents();
    }

    // Runs the toolbar command on the row; the newest window of the kind, or 0.
    WindowHandle openByCommand(WindowHandle main, int row, const Text& caption, WindowKind kind) {
        command(main, row, caption);
        const auto windows = services.openWindows(kind);
        return windows.empty() ? 0 : windows.back();
    }

    // Confirms the window and lets the event loop finish what it started.
    void confirm(WindowHandle window) {
        clickControl(services, window, lease_window::kConfirmButton);
        processEvents();
    }

    Text lastBoxText() {
        const auto boxes = responder.boxes();
        return boxes.empty() ? Text() : boxes.back().content;
    }

    QApplication& application_ = application();
    TemporaryFolder folder;
    QtWindowServices services;
    MessageBoxResponder responder{services};
    ProgramState state;
    App app{services, state};
};

}  // namespace tamrivo::testing
