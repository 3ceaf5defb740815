#pragma once

#include <cstdint>

#include "net/download_types.h"
#include "net/downloader.h"
#include "ui/window_services.h"

namespace tamrivo {

// The windows an update download reports to: the update window, and the main window that
// is closed once the updater has been started.
struct UpdateWindows {
    WindowHandle update = 0;
    WindowHandle main = 0;
};

// Click handler of the upgrade button: fetches the package into up.tmp beside the program,
// replacing a download that runs (which then ends as cancelled). The services must outlive
// the downloader's worker.
void startUpdateDownload(WindowServices& services, Downloader& downloader, UpdateWindows windows,
                         const Text& packageUrl);

// Shows an update download in the update window and hands over to the updater when the
// package is in. Built on the window thread; its events arrive on the download's worker.
class UpdateDownloadView {
public:
    UpdateDownloadView(WindowServices& services, UpdateWindows windows);

    // The Downloader's callback; userData is not used.
    void onDownloadEvent(std::int32_t userData, ProgressEvent event, const DownloadState& state);
    // Appends the text and a line end to the log.
    void appendLog(const Text& text);

    // Beside the program.
    Text packagePath() const;
    Text updaterPath() const;

private:
    void showProgress(const DownloadState& state);
    void showEnd(std::int32_t result);
    void handOff();

    WindowServices& services_;
    UpdateWindows windows_;
    Text directory_;
    int progressMaximum_;
};

}  // namespace tamrivo
