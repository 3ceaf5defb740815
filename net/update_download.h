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

// A package larger than this is no package of this program's.
inline constexpr std::int64_t kMaxPackageBytes = std::int64_t{256} << 20;

// The bounds of a package download: the usual waits, and the package's size.
inline DownloadLimits packageDownloadLimits() {
    DownloadLimits limits;
    limits.maxBytes = kMaxPackageBytes;
    return limits;
}

// Click handler of the upgrade button: fetches the package into up.tmp beside the program,
// replacing a download that runs (which then ends as cancelled), and hands it to the updater
// only when it carries its signature by the holder of publicKey (PEM). The services must
// outlive the downloader's worker.
void startUpdateDownload(WindowServices& services, Downloader& downloader, UpdateWindows windows,
                         const UpdatePackage& package, const Text& publicKey,
                         const DownloadLimits& limits = packageDownloadLimits());

// Shows an update download in the update window and hands over to the updater when the
// package is in. Built on the window thread; its events arrive on the download's worker.
class UpdateDownloadView {
public:
    // The signature (hexadecimal) and the key the downloaded package is checked with.
    UpdateDownloadView(WindowServices& services, UpdateWindows windows, Text signature = {},
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
    void showEnd(std::int32_t result);
    bool packageSigned() const;
    void refusePackage();
    void handOff();

    WindowServices& services_;
    UpdateWindows windows_;
    Text signature_;
    Text publicKey_;
    Text directory_;
    int progressMaximum_;
};

}  // namespace tamrivo
