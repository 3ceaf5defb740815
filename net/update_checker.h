#pragma once

#include <chrono>
#include <condition_variable>
#include <list>
#include <mutex>
#include <optional>
#include <stop_token>
#include <thread>

#include "base/value_types.h"
#include "net/http_transfer.h"
#include "net/update_package.h"
#include "ui/window_services.h"

namespace tamrivo {

class JsonObject;

// Asks the update server whether a release newer than the running one exists, each check
// in a background thread of its own, and reports into a window: the main window's status
// bar on start-up, the update window when that opens. Only a release the publisher's signed
// statement names is believed: its version, its notes and its package.
//
// The checker owns its threads. Destroying it ends every running check promptly, its fetch
// aborted, and waits for them; the services must outlive it.
class UpdateChecker {
public:
    // publicKey: the publisher's Ed25519 public key (PEM) the statements are checked with.
    UpdateChecker(WindowServices& services, Text endpoint, Text runningVersion, Text publicKey,
                  UpdateDelivery delivery = UpdateDelivery::Download, FetchLimits limits = {});
    ~UpdateChecker();
    UpdateChecker(const UpdateChecker&) = delete;
    UpdateChecker& operator=(const UpdateChecker&) = delete;

    // Starts the check that reports in part 5 of the main window's status bar (and in a
    // message box when a new version is offered).
    void checkOnStartup(WindowHandle mainWindow);

    // Starts the check that fills the update window: version and notes with the upgrade
    // button enabled (or, when the system's packages bring releases, with the command that
    // installs it), or the no-new-version text and the window closed after 3 seconds.
    void checkInUpdateWindow(WindowHandle updateWindow);

    // Asks the checks reporting into the window to end (it is closing). Does not wait, so
    // it may be called from any thread, a check's own included.
    void stopChecks(WindowHandle window);

    // Waits until every running check has ended by itself.
    void waitForChecks();

    const Text& runningVersion() const { return runningVersion_; }
    UpdateDelivery delivery() const { return delivery_; }

    // The package of the latest update-window reply; empty until then.
    UpdatePackage updatePackage() const;

private:
    struct Check {
        WindowHandle window = 0;
        std::jthread thread;
        bool finished = false;  // guarded by checksMutex_
    };

    template <class Work>
    void start(WindowHandle window, Work work);
    bool fetchReply(std::stop_token stop, JsonObject& reply) const;
    std::optional<ReleaseStatement> statedRelease(JsonObject& reply) const;
    bool newerThanRunning(const ReleaseStatement& release) const;
    void reportOnStartup(std::stop_token stop, WindowHandle mainWindow);
    void reportInUpdateWindow(std::stop_token stop, WindowHandle updateWindow);
    bool pause(std::stop_token stop, std::chrono::milliseconds duration);

    WindowServices& services_;
    const Text endpoint_;
    const Text runningVersion_;
    const Text publicKey_;
    const UpdateDelivery delivery_;
    const FetchLimits limits_;

    std::mutex lockA_;  // the main window's check: the "checking" text and the new-version branch
    std::mutex lockB_;  // the update window's check: the new-version writes

    mutable std::mutex packageMutex_;
    UpdatePackage updatePackage_;

    std::mutex pauseMutex_;
    std::condition_variable_any pauseWake_;

    std::mutex checksMutex_;
    std::list<Check> checks_;
};

}  // namespace tamrivo
