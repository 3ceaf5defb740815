#pragma once

#include <cstdint>

#include "net/download_types.h"
#include "net/downloader.h"
#include "net/update_package.h"
#include "ui/window_services.h"

namespace tamrivo {

// The windows an update download reports to: the update window, and the main window that
// is closed once the updater has been started.
struct UpdateWindows {
    WindowHandle update = 0;
    WindowHandle main = 0;
};

// A package download slower than this, over a whole window, ends as failed.
inline constexpr std::int64_t kLowestPackageSpeed = kLowestDownloadSpeed;
// The whole download may take the time the package needs at the lowest speed, and this.
inline constexpr std::chrono::seconds kPackageDownloadAllowance{60};

// The bounds of downloading a package of the size the publisher states: the usual waits, the
// lowest speed, a whole duration sized from the package, and no byte more than it.
DownloadLimits packageDownloadLimits(std::uint64_t packageBytes);

// Click handler of the upgrade button: fetches the package into up.tmp beside the program,
// replacing a download that runs (which then ends as cancelled), removes what a download
// that failed or was cancelled left of it, and hands it to the updater
// only when it is the package the checked statement describes and carries its signature by
// the holder of publicKey (PEM). The services must outlive the downloader's worker.
void startUpdateDownload(WindowServices& services, Downloader& downloader, UpdateWindows windows,
                         const UpdatePackage& package, const Text& publicKey);
void startUpdateDownload(WindowServices& services, Downloader& downloader, UpdateWindows windows,
                         const UpdatePackage& package, const Text& publicKey,
                         const DownloadLimits& limits);

// Shows an update download in the update window and hands over to the updater when the
// package is in. Built on the window thread; its events arrive on the download's worker.
class UpdateDownloadView {
public:
    // The package offered, and the key its download is checked with.
    UpdateDownloadView(WindowServices& services, UpdateWindows windows, UpdatePackage package = {},
                       Text publicKey = {});

    // The Downloader's callback; userData is not used.
    void onDownloadEvent(std::int32_t userData, ProgressEvent event, const DownloadState& state);
    // Appends the text and a line end to the log.
    void appendLog(const Text& text);

    // Beside the program.
    Text packagePath() const;
    Text updaterPath() const;

private:
    void showProgress(const DownloadState& state);
    void showEnd(const DownloadState& state);
    bool packageGenuine() const;
    void removePackage() const;
    void refusePackage();
    void handOff();

    WindowServices& services_;
    UpdateWindows windows_;
    UpdatePackage package_;
    Text publicKey_;
    Text directory_;
    int progressMaximum_;
};

}  // namespace tamrivo
