#pragma once

#include "net/download_types.h"
#include "net/downloader.h"
#include "net/update_download.h"
#include "net/update_package.h"
#include "ui/window_services.h"

namespace tamrivo {

// The windows an update download reports to: the update window, and the main window that
// is closed once the updater has been started.
struct UpdateWindows {
    WindowHandle update = 0;
    WindowHandle main = 0;
};

// Click handler of the upgrade button: downloads the package into up.tmp beside the program
// (at the bounds its stated size gives, unless told others), shows how it goes in the update
// window, and hands it to the updater when it is the genuine package. The services must
// outlive the downloader's worker.
void startUpdateDownload(WindowServices& services, Downloader& downloader, UpdateWindows windows,
                         const UpdatePackage& package, const Text& publicKey);
void startUpdateDownload(WindowServices& services, Downloader& downloader, UpdateWindows windows,
                         const UpdatePackage& package, const Text& publicKey,
                         const DownloadLimits& limits);

// Shows an update download in the update window and hands over to the updater when the
// package is in. Built on the window thread; what it is told arrives on the download's
// worker.
class UpdateDownloadView {
public:
    // The package offered, and the key its download is checked with.
    UpdateDownloadView(WindowServices& services, UpdateWindows windows, UpdatePackage package = {},
                       Text publicKey = {});

    void onProgress(ProgressEvent event, const DownloadState& state);
    void onPackage(PackageStep step);
    // Appends the text and a line end to the log.
    void appendLog(const Text& text);

    // Beside the program.
    Text packagePath() const;
    Text updaterPath() const;

private:
    void showProgress(const DownloadState& state);
    void handOff();

    WindowServices& services_;
    UpdateWindows windows_;
    UpdatePackage package_;
    Text publicKey_;
    Text directory_;
    int progressMaximum_;
};

}  // namespace tamrivo
