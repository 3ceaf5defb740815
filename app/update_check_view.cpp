#include "app/update_check_view.h"
#include "ui/windows/main_window.h"
#include "ui/windows/update_window.h"

#include <chrono>
#include <condition_variable>

namespace tamrivo {
namespace {

constexpr int kUpdatePart = 5;
constexpr std::chrono::seconds kCloseDelay{3};
// What the start-up check leaves in the status bar when there is nothing to offer.
constexpr char kNothingNew[] = "admin";
constexpr char kCheckFailedStatus[] = "检测升级失败";
constexpr char kCheckFailedLog[] = "检测升级失败,请检查网络连接后重新打开本窗口";
constexpr char kSystemUpdatesNote[] =
    "\r\n\r\n新版本随系统的软件更新提供,请在软件更新中安装,或在终端运行:\r\n"
    "sudo apt update && sudo apt upgrade";

// Waits the time out on the calling thread; false when a stop ends the wait first.
bool pause(std::stop_token stop, std::chrono::milliseconds duration) {
    std::mutex mutex;
    std::condition_variable_any wake;
    std::unique_lock lock(mutex);
    wake.wait_for(lock, stop, duration, [] { return false; });  // only a stop wakes it
    return !stop.stop_requested();
}

}  // namespace

UpdateCheckView::UpdateCheckView(WindowServices& services, UpdateDelivery delivery)
    : services_(services), delivery_(delivery) {}

void UpdateCheckView::checkOnStartup(UpdateChecker& checker, WindowHandle mainWindow) {
    checker.check(
        mainWindow,
        {.asking =
             [this, mainWindow] {
                 const std::lock_guard lock(updatePartMutex_);
                 services_.statusText(mainWindow, main_window::kStatusBar, kUpdatePart,
                                      "正在检测升级..请稍后");
             },
         .found = [this, mainWindow](const UpdateCheckResult& result,
                                     std::stop_token) { showOnStartup(mainWindow, result); }});
}

void UpdateCheckView::checkInUpdateWindow(UpdateChecker& checker, WindowHandle updateWindow) {
    checker.check(updateWindow, {.asking = {},
                                 .found = [this, updateWindow](const UpdateCheckResult& result,
                                                               std::stop_token stop) {
                                     showInUpdateWindow(updateWindow, result, stop);
                                 }});
}

UpdatePackage UpdateCheckView::updatePackage() const {
    const std::lock_guard lock(packageMutex_);
    return updatePackage_;
}

// However the check ends, the status bar no longer says it is checking.
void UpdateCheckView::showOnStartup(WindowHandle mainWindow, const UpdateCheckResult& result) {
    switch (result.finding) {
        case UpdateFinding::NoAnswer:
            services_.statusText(mainWindow, main_window::kStatusBar, kUpdatePart,
                                 kCheckFailedStatus);
            return;
        case UpdateFinding::NotStated:  // what the publisher does not stand by offers nothing
        case UpdateFinding::NothingNewer:
            services_.statusText(mainWindow, main_window::kStatusBar, kUpdatePart, kNothingNew);
            return;
        case UpdateFinding::Newer: {
            const std::lock_guard lock(updatePartMutex_);
            services_.statusText(mainWindow, main_window::kStatusBar, kUpdatePart,
                                 "有新版本可以升级");
            services_.messageBox("发现新版本,如果需要更新,请手动点击升级按钮进行升级!", kMessageOk);
            return;
        }
    }
}

void UpdateCheckView::showInUpdateWindow(WindowHandle updateWindow, const UpdateCheckResult& result,
                                         std::stop_token stop) {
    if (result.finding == UpdateFinding::NoAnswer) {
        services_.setText(updateWindow, update_window::kLogEdit, kCheckFailedLog);
        return;
    }
    {
        const std::lock_guard lock(packageMutex_);
        updatePackage_ = result.package;
    }
    if (result.finding == UpdateFinding::NotStated) {
        services_.setText(updateWindow, update_window::kLogEdit,
                          "升级信息未通过发布者的签名校验,不能升级");
        return;
    }
    if (result.finding == UpdateFinding::Newer) {
        showNewRelease(updateWindow, result.package.statement);
        return;
    }
    services_.setText(updateWindow, update_window::kLogEdit, "未发现新版本!3秒后自动退出");
    if (pause(stop, kCloseDelay)) {
        services_.destroyWindow(updateWindow);
    }
}

void UpdateCheckView::showNewRelease(WindowHandle updateWindow, const ReleaseStatement& release) {
    const std::lock_guard lock(newReleaseMutex_);
    const Text shown = release.version + "\r\n" + release.notes;
    if (delivery_ == UpdateDelivery::SystemPackages) {
        // The package manager owns the installed files: the button stays off.
        services_.setText(updateWindow, update_window::kLogEdit, shown + kSystemUpdatesNote);
        return;
    }
    services_.setText(updateWindow, update_window::kLogEdit, shown);
    services_.setDisabled(updateWindow, update_window::kUpgradeButton, false);
}

}  // namespace tamrivo
