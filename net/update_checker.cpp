#include "net/update_checker.h"

#include <system_error>

#include "net/http_client.h"
#include "net/json_object.h"

namespace tamrivo {
namespace {

constexpr char kStatusBar[] = "状态条1";
constexpr int kUpdatePart = 5;
constexpr char kLogEdit[] = "编辑框1";
constexpr char kUpgradeButton[] = "按钮_升级";
constexpr std::chrono::seconds kCloseDelay{3};

}  // namespace

UpdateChecker::UpdateChecker(WindowServices& services, Text endpoint, Text runningVersion,
                             FetchLimits limits)
    : services_(services),
      endpoint_(std::move(endpoint)),
      runningVersion_(std::move(runningVersion)),
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
    Text headers;
    const Bytes body = fetchPage(endpoint_, "GET", {}, {}, std::nullopt, std::nullopt, std::nullopt,
                                 std::nullopt, headers, stop, limits_);
    return !stop.stop_requested() && reply.parse(Text(body.begin(), body.end()));
}

void UpdateChecker::reportOnStartup(std::stop_token stop, WindowHandle mainWindow) {
    JsonObject reply;
    {
        const std::lock_guard lock(lockA_);
        services_.statusText(mainWindow, kStatusBar, kUpdatePart, "正在检测升级..请稍后");
    }
    if (!fetchReply(stop, reply)) {
        return;  // no usable reply: the status keeps saying it is checking
    }
    if (reply.text("版本") == runningVersion_) {
        services_.statusText(mainWindow, kStatusBar, kUpdatePart, "admin");
        return;
    }
    const std::lock_guard lock(lockA_);
    services_.statusText(mainWindow, kStatusBar, kUpdatePart, "有新版本可以升级");
    services_.messageBox("发现新版本,如果需要更新,请手动点击升级按钮进行升级!", kMessageOk);
}

void UpdateChecker::reportInUpdateWindow(std::stop_token stop, WindowHandle updateWindow) {
    JsonObject reply;
    if (!fetchReply(stop, reply)) {
        return;  // no usable reply: the window stays as it opened
    }
    const Text version = reply.text("版本");
    UpdatePackage package{reply.text("更新地址"), reply.text("签名")};
    {
        const std::lock_guard lock(packageMutex_);
        updatePackage_ = std::move(package);
    }
    const Text notes = reply.text("更新说明");
    if (version != runningVersion_) {
        const std::lock_guard lock(lockB_);
        services_.setText(updateWindow, kLogEdit, version + "\r\n" + notes);
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
