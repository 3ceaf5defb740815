#include "net/update_checker.h"

#include <system_error>

#include "net/http_client.h"
#include "net/json_object.h"
#include "update_format/update_format.h"
#include "update_format/version_order.h"

namespace tamrivo {
namespace {

constexpr char kStatusBar[] = "状态条1";
constexpr int kUpdatePart = 5;
constexpr char kLogEdit[] = "编辑框1";
constexpr char kUpgradeButton[] = "按钮_升级";
constexpr std::chrono::seconds kCloseDelay{3};
// What the start-up check leaves in the status bar when there is nothing to offer.
constexpr char kNothingNew[] = "admin";
constexpr char kCheckFailedStatus[] = "检测升级失败";
constexpr char kCheckFailedLog[] = "检测升级失败,请检查网络连接后重新打开本窗口";
constexpr char kSystemUpdatesNote[] =
    "\r\n\r\n新版本随系统的软件更新提供,请在软件更新中安装,或在终端运行:\r\n"
    "sudo apt update && sudo apt upgrade";

}  // namespace

UpdateChecker::UpdateChecker(WindowServices& services, Text endpoint, Text runningVersion,
                             Text publicKey, UpdateDelivery delivery, FetchLimits limits)
    : services_(services),
      endpoint_(std::move(endpoint)),
      runningVersion_(std::move(runningVersion)),
      publicKey_(std::move(publicKey)),
      delivery_(delivery),
      limits_(limits) {}

UpdateChecker::~UpdateChecker() {
    std::list<Check> ending;
    {
        const std::lock_guard lock(checksMutex_);
        for (Check& check : checks_) {
            check.thread.request_stop();
        }
        ending.splice(ending.end(), checks_);
    }
    // Each jthread joins as the list goes.
}

void UpdateChecker::checkOnStartup(WindowHandle mainWindow) {
    start(mainWindow,
          [this, mainWindow](std::stop_token stop) { reportOnStartup(stop, mainWindow); });
}

void UpdateChecker::checkInUpdateWindow(WindowHandle updateWindow) {
    start(updateWindow,
          [this, updateWindow](std::stop_token stop) { reportInUpdateWindow(stop, updateWindow); });
}

void UpdateChecker::stopChecks(WindowHandle window) {
    const std::lock_guard lock(checksMutex_);
    for (Check& check : checks_) {
        if (check.window == window) {
            check.thread.request_stop();
        }
    }
}

void UpdateChecker::waitForChecks() {
    std::list<Check> running;
    {
        const std::lock_guard lock(checksMutex_);
        running.splice(running.end(), checks_);
    }
    for (Check& check : running) {
        check.thread.join();
    }
}

UpdatePackage UpdateChecker::updatePackage() const {
    const std::lock_guard lock(packageMutex_);
    return updatePackage_;
}

template <class Work>
void UpdateChecker::start(WindowHandle window, Work work) {
    const std::lock_guard lock(checksMutex_);
    checks_.remove_if([](const Check& check) { return check.finished; });  // joins them
    Check& check = checks_.emplace_back();
    check.window = window;
    try {
        check.thread = std::jthread([this, &check, work](std::stop_token stop) {
            work(stop);
            const std::lock_guard finishing(checksMutex_);
            check.finished = true;
        });
    } catch (const std::system_error&) {
        checks_.pop_back();  // no thread to be had: this check does not happen
    }
}

bool UpdateChecker::fetchReply(std::stop_token stop, JsonObject& reply) const {
    const Bytes body = fetchPage({.url = endpoint_, .limits = limits_}, nullptr, stop);
    return !stop.stop_requested() && reply.parse(Text(body.begin(), body.end()));
}

// The reply's version and notes are what the landlord reads: they must be those the
// publisher signed, as must the package's size and digest.
std::optional<ReleaseStatement> UpdateChecker::statedRelease(JsonObject& reply) const {
    std::optional<ReleaseStatement> statement = verifiedStatement(
        reply.text(kReplyStatement), reply.text(kReplyStatementSignature), publicKey_);
    if (!statement || reply.text("版本") != statement->version ||
        reply.text("更新说明") != statement->notes) {
        return std::nullopt;
    }
    return statement;
}

// No going back: an older release, genuine as it may be, is not offered.
bool UpdateChecker::newerThanRunning(const ReleaseStatement& release) const {
    return versionNewer(release.version, runningVersion_);
}

void UpdateChecker::reportOnStartup(std::stop_token stop, WindowHandle mainWindow) {
    JsonObject reply;
    {
        const std::lock_guard lock(lockA_);
        services_.statusText(mainWindow, kStatusBar, kUpdatePart, "正在检测升级..请稍后");
    }
    // However the check ends, the status bar no longer says it is checking.
    if (!fetchReply(stop, reply)) {
        if (!stop.stop_requested()) {
            services_.statusText(mainWindow, kStatusBar, kUpdatePart, kCheckFailedStatus);
        }
        return;
    }
    const std::optional<ReleaseStatement> release = statedRelease(reply);
    if (!release || !newerThanRunning(*release)) {
        // what the publisher does not stand by offers nothing
        services_.statusText(mainWindow, kStatusBar, kUpdatePart, kNothingNew);
        return;
    }
    const std::lock_guard lock(lockA_);
    services_.statusText(mainWindow, kStatusBar, kUpdatePart, "有新版本可以升级");
    services_.messageBox("发现新版本,如果需要更新,请手动点击升级按钮进行升级!", kMessageOk);
}

void UpdateChecker::reportInUpdateWindow(std::stop_token stop, WindowHandle updateWindow) {
    JsonObject reply;
    if (!fetchReply(stop, reply)) {
        if (!stop.stop_requested()) {
            services_.setText(updateWindow, kLogEdit, kCheckFailedLog);
        }
        return;
    }
    const std::optional<ReleaseStatement> release = statedRelease(reply);
    {
        const std::lock_guard lock(packageMutex_);
        updatePackage_ = release
                             ? UpdatePackage{reply.text("更新地址"), reply.text("签名"), *release}
                             : UpdatePackage{};
    }
    if (!release) {
        services_.setText(updateWindow, kLogEdit, "升级信息未通过发布者的签名校验,不能升级");
        return;
    }
    if (newerThanRunning(*release)) {
        const std::lock_guard lock(lockB_);
        const Text shown = release->version + "\r\n" + release->notes;
        if (delivery_ == UpdateDelivery::SystemPackages) {
            // The package manager owns the installed files: the button stays off.
            services_.setText(updateWindow, kLogEdit, shown + kSystemUpdatesNote);
            return;
        }
        services_.setText(updateWindow, kLogEdit, shown);
        services_.setDisabled(updateWindow, kUpgradeButton, false);
        return;
    }
    services_.setText(updateWindow, kLogEdit, "未发现新版本!3秒后自动退出");
    if (pause(stop, kCloseDelay)) {
        services_.destroyWindow(updateWindow);
    }
}

bool UpdateChecker::pause(std::stop_token stop, std::chrono::milliseconds duration) {
    std::unique_lock lock(pauseMutex_);
    pauseWake_.wait_for(lock, stop, duration, [] { return false; });  // only a stop wakes it
    return !stop.stop_requested();
}

}  // namespace tamrivo
