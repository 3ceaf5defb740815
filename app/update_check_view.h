#pragma once

#include <mutex>
#include <stop_token>

#include "net/update_checker.h"
#include "net/update_package.h"
#include "ui/window_services.h"

namespace tamrivo {

// Shows what the update checks find: in part 5 of the main window's status bar (and in a
// message box when a new version is offered) on start-up, in the update window when that
// opens. The reports run on the checks' threads; the services must outlive the checker.
class UpdateCheckView {
public:
    UpdateCheckView(WindowServices& services, UpdateDelivery delivery);
    UpdateCheckView(const UpdateCheckView&) = delete;
    UpdateCheckView& operator=(const UpdateCheckView&) = delete;

    // Starts the check the main window shows as it opens.
    void checkOnStartup(UpdateChecker& checker, WindowHandle mainWindow);

    // Starts the check that fills the update window: version and notes with the upgrade
    // button enabled (or, when the system's packages bring releases, with the command that
    // installs it), or the no-new-version text and the window closed after 3 seconds.
    void checkInUpdateWindow(UpdateChecker& checker, WindowHandle updateWindow);

    UpdateDelivery delivery() const { return delivery_; }

    // The package of the latest update-window reply; empty until then.
    UpdatePackage updatePackage() const;

private:
    void showOnStartup(WindowHandle mainWindow, const UpdateCheckResult& result);
    void showInUpdateWindow(WindowHandle updateWindow, const UpdateCheckResult& result,
                            std::stop_token stop);
    void showNewRelease(WindowHandle updateWindow, const ReleaseStatement& release);

    WindowServices& services_;
    const UpdateDelivery delivery_;

    // The main window's update part: its "checking" text and the new-version text and box.
    std::mutex updatePartMutex_;
    // The update window's log and upgrade button as a new version fills them.
    std::mutex newReleaseMutex_;

    mutable std::mutex packageMutex_;
    UpdatePackage updatePackage_;
};

}  // namespace tamrivo
