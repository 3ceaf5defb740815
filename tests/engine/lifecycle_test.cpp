#include <QApplication>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <thread>

#include "tests/support/engine_fixture.h"
#include "ui/windows/login_window.h"
#include "ui/windows/main_window.h"
#include "ui/windows/room_window.h"

namespace tamrivo {
namespace {

using testing::EngineFixture;

class Lifecycle : public EngineFixture {};

TEST_F(Lifecycle, RunReturnsWhenTheLastWindowIsClosed) {
    const WindowHandle login = open(WindowKind::Login);
    const WindowHandle about = open(WindowKind::About);
    QTimer::singleShot(0, [&] { services.destroyWindow(about); });
    QTimer::singleShot(5, [&] { services.destroyWindow(login); });
    EXPECT_EQ(services.run(), 0);
    EXPECT_EQ(services.windowHandle(login), 0);
    EXPECT_EQ(services.windowHandle(about), 0);
}

// Preparing a window for start-up leaves nothing behind: no window to run, none on the
// screen, and the first real one gets the first handle.
TEST_F(Lifecycle, APreparedWindowIsNeitherOpenNorShown) {
    services.prepareWindow(WindowKind::Main);
    services.doEvents();
    EXPECT_TRUE(services.openWindows(WindowKind::Main).empty());
    const QWidgetList windows = QApplication::topLevelWidgets();
    EXPECT_TRUE(std::none_of(windows.begin(), windows.end(),
                             [](const QWidget* window) { return window->isVisible(); }));
    EXPECT_EQ(services.run(), 0);  // nothing to wait for
    EXPECT_EQ(open(WindowKind::Login), 1);
}

TEST_F(Lifecycle, RunReturnsAtOnceWithoutWindowsAndThenNoWorkerWaits) {
    EXPECT_EQ(services.run(), 0);
    std::atomic<int> answer = -2;
    std::thread worker([&] { answer = services.messageBox("x", kMessageOk); });
    worker.join();  // a stopped window thread answers no more; the worker is not left hanging
    EXPECT_EQ(answer, -1);
    EXPECT_EQ(responder.count(), 0u);
}

TEST_F(Lifecycle, ClosingAWindowWaitsForTheHandlerThatAsksForIt) {
    WindowHandle login = 0;
    bool stillThere = false;
    login = open(WindowKind::Login, [&](const WindowEvent& event) {
        if (event.kind == EventKind::Clicked) {
            services.destroyWindow(login);
            stillThere = services.windowHandle(login) != 0 && !log->controllerDestroyed;
        }
        return false;
    });
    ASSERT_TRUE(testing::clickControl(services, login, login_window::kCancelButton));
    EXPECT_TRUE(stillThere);
    ASSERT_TRUE(testing::waitUntil([&] { return services.windowHandle(login) == 0; }));
    testing::processEvents();
    EXPECT_TRUE(log->controllerDestroyed);
    services.destroyWindow(login);  // already gone: nothing happens
    testing::processEvents();
}

TEST_F(Lifecycle, AWindowClosedWhileItsHandlerShowsABoxEndsAfterTheHandler) {
    WindowHandle main = 0;
    bool controllerAliveAfterBox = false;
    main = open(WindowKind::Main, [&](const WindowEvent& event) {
        if (event.kind == EventKind::ToolbarClicked) {
            services.messageBox("升级检测需要释放解压文件", kMessageOk);
            controllerAliveAfterBox = !log->controllerDestroyed;
        }
        return false;
    });
    // While the box is up the close arrives, as from the download thread.
    responder.whileShown([&](const MessageBoxRequest&) {
        services.destroyWindow(main);
        testing::processEvents();
    });
    ASSERT_TRUE(testing::clickToolbarItem(services, main, main_window::kToolbar, "升级检测"));
    EXPECT_TRUE(controllerAliveAfterBox);
    EXPECT_EQ(services.windowHandle(main), 0);
    ASSERT_TRUE(testing::waitUntil([&] { return log->controllerDestroyed; }));
}

TEST_F(Lifecycle, ClosingAnOwnerClosesTheWindowsItOwns) {
    const WindowHandle main = open(WindowKind::Main);
    const WindowHandle room = open(WindowKind::Room, {}, main);
    const WindowHandle about = open(WindowKind::About);
    services.destroyWindow(main);
    ASSERT_TRUE(testing::waitUntil([&] { return services.windowHandle(main) == 0; }));
    EXPECT_EQ(services.windowHandle(room), 0);
    EXPECT_NE(services.windowHandle(about), 0);
}

TEST_F(Lifecycle, ClosingFromTheFrameEndsTheWindowLikeDestroyWindow) {
    const WindowHandle about = open(WindowKind::About);
    services.widget(about)->close();
    ASSERT_TRUE(testing::waitUntil([&] { return services.windowHandle(about) == 0; }));
    testing::processEvents();
    EXPECT_TRUE(log->controllerDestroyed);
}

TEST_F(Lifecycle, TheCreatedHandlerRunsBeforeTheWindowShowsWithItsControlsInPlace) {
    Text seen;
    bool visibleDuringCreation = true;
    WindowHandle created = 0;
    const WindowHandle room = open(WindowKind::Room, [&](const WindowEvent& event) {
        if (event.kind == EventKind::Created) {
            created = event.window;
            seen = services.text(event.window, room_window::kConditionCombo);
            visibleDuringCreation = services.widget(event.window)->isVisible();
            services.setText(event.window, "", "修改房屋信息");
        }
        return false;
    });
    EXPECT_EQ(created, room);
    EXPECT_EQ(log->events.front().handler, Handler::RoomWindowCreated);
    EXPECT_TEXT_EQ(seen, "正常");
    EXPECT_FALSE(visibleDuringCreation);
    EXPECT_TRUE(services.widget(room)->isVisible());
    EXPECT_TEXT_EQ(services.text(room, ""), "修改房屋信息");
}

}  // namespace
}  // namespace tamrivo
