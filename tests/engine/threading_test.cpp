#include <QLabel>
#include <QProgressBar>

#include <atomic>
#include <thread>

#include "tests/support/engine_fixture.h"
#include "ui/windows/main_window.h"
#include "ui/windows/room_window.h"
#include "ui/windows/update_window.h"

namespace tamrivo {
namespace {

using testing::EngineFixture;

class Threading : public EngineFixture {};

TEST_F(Threading, WritesFromAWorkerLandOnTheWindowInOrder) {
    const WindowHandle main = open(WindowKind::Main);
    const WindowHandle update = open(WindowKind::Update, {}, main);
    std::atomic<bool> done = false;
    std::thread worker([&] {
        services.statusText(main, main_window::kStatusBar, 5, "正在检测升级..请稍后");
        services.setText(update, update_window::kLogEdit, "2.0.0.0\r\n说明");
        services.setDisabled(update, update_window::kUpgradeButton, false);
        for (int percent = 0; percent <= 100; percent += 10) {
            services.setProgressPosition(update, update_window::kProgressBar, percent);
        }
        services.editAppend(update, update_window::kLogEdit, "新版本下载完成\r\n");
        services.setText(update, "", "正在下载...");
        services.statusText(main, main_window::kStatusBar, 5, "有新版本可以升级");
        done = true;
    });
    ASSERT_TRUE(testing::waitUntil([&] {
        return done && services.text(update, "") == Text("正在下载...") &&
               services.widget(main, main_window::kStatusBar)->findChildren<QLabel*>()[5]->text() ==
                   QStringLiteral("有新版本可以升级");
    }));
    worker.join();
    EXPECT_TEXT_EQ(services.text(update, update_window::kLogEdit),
                   "2.0.0.0\r\n说明新版本下载完成\r\n");
    EXPECT_TRUE(services.widget(update, update_window::kUpgradeButton)->isEnabled());
    EXPECT_EQ(
        qobject_cast<QProgressBar*>(services.widget(update, update_window::kProgressBar))->value(),
        100);
}

TEST_F(Threading, AWorkersMessageBoxWaitsForItsAnswer) {
    open(WindowKind::Main);
    responder.answer(kAnswerNo);
    std::atomic<int> answer = -2;
    std::thread worker([&] {
        answer = services.messageBox("发现新版本,如果需要更新,请手动点击升级按钮进行升级!",
                                     kMessageYesNo, "");
    });
    ASSERT_TRUE(testing::waitUntil([&] { return answer != -2; }));
    worker.join();
    EXPECT_EQ(answer, kAnswerNo);
    ASSERT_EQ(responder.count(), 1u);
    EXPECT_TEXT_EQ(responder.boxes()[0].title, "");
    EXPECT_EQ(responder.boxes()[0].flags, kMessageYesNo);
}

TEST_F(Threading, AWorkerMayCloseAWindowAndThenWriteToItHarmlessly) {
    const WindowHandle update = open(WindowKind::Update);
    std::atomic<bool> done = false;
    std::thread worker([&] {
        services.setText(update, update_window::kLogEdit, "未发现新版本!3秒后自动退出");
        services.destroyWindow(update);
        services.setText(update, update_window::kLogEdit, "too late");
        services.editAppend(update, update_window::kLogEdit, "too late");
        services.statusText(update, main_window::kStatusBar, 0, "too late");
        services.destroyWindow(update);
        done = true;
    });
    ASSERT_TRUE(testing::waitUntil([&] { return done && services.windowHandle(update) == 0; }));
    worker.join();
    testing::processEvents();
    EXPECT_TRUE(log->controllerDestroyed);
}

TEST_F(Threading, ReadsFromAWorkerAreAnsweredByTheWindowThread) {
    const WindowHandle room = open(WindowKind::Room);
    std::atomic<int> selected = -2;
    std::thread worker(
        [&] { selected = services.selectedIndex(room, room_window::kConditionCombo); });
    ASSERT_TRUE(testing::waitUntil([&] { return selected != -2; }));
    worker.join();
    EXPECT_EQ(selected, 0);
}

}  // namespace
}  // namespace tamrivo
