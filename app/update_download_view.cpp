#include "app/update_download_view.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <memory>
#include <span>

#include "base/text_encoding.h"
#include "net/download_percent.h"
#include "ui/windows/update_window.h"
#include "update_format/updater_image.h"

namespace tamrivo {

namespace {

constexpr char kAuthorContact[] = "800018888";
constexpr char kSeparator = static_cast<char>(std::filesystem::path::preferred_separator);

// Writes the updater as a new file of this program's own, startable: whatever stood at its
// place (an earlier updater, a link planted there) is taken away, never written through, and
// a file that appears meanwhile is not written into.
bool writeUpdater(const std::filesystem::path& path, std::span<const std::uint8_t> image) {
    ::unlink(path.c_str());
    const int descriptor =
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0700);
    if (descriptor < 0) {
        return false;
    }
    std::size_t done = 0;
    while (done < image.size()) {
        const ssize_t written = ::write(descriptor, image.data() + done, image.size() - done);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            break;
        }
        done += static_cast<std::size_t>(written);
    }
    const bool whole = done == image.size() && ::fsync(descriptor) == 0;
    if (::close(descriptor) != 0 || !whole) {
        ::unlink(path.c_str());
        return false;
    }
    return true;
}

}  // namespace

void startUpdateDownload(WindowServices& services, Downloader& downloader, UpdateWindows windows,
                         const UpdatePackage& package, const Text& publicKey) {
    startUpdateDownload(services, downloader, windows, package, publicKey,
                        packageDownloadLimits(package.statement.size));
}

void startUpdateDownload(WindowServices& services, Downloader& downloader, UpdateWindows windows,
                         const UpdatePackage& package, const Text& publicKey,
                         const DownloadLimits& limits) {
    // The report owns the view, so it lives as long as the download may still report.
    auto view = std::make_shared<UpdateDownloadView>(services, windows, package, publicKey);
    downloadUpdatePackage(
        downloader, package, publicKey, view->packagePath(),
        {.progress = [view](ProgressEvent event,
                            const DownloadState& state) { view->onProgress(event, state); },
         .package = [view](PackageStep step) { view->onPackage(step); }},
        limits);
}

UpdateDownloadView::UpdateDownloadView(WindowServices& services, UpdateWindows windows,
                                       UpdatePackage package, Text publicKey)
    : services_(services),
      windows_(windows),
      package_(std::move(package)),
      publicKey_(std::move(publicKey)),
      directory_(services.programDirectory()),
      progressMaximum_(services.progressMaximum(windows.update, update_window::kProgressBar)) {}

Text UpdateDownloadView::packagePath() const {
    return updatePackagePath(directory_);
}

Text UpdateDownloadView::updaterPath() const {
    return directory_ + kSeparator + kUpdaterFileName;
}

void UpdateDownloadView::onProgress(ProgressEvent event, const DownloadState& state) {
    switch (event) {
        case ProgressEvent::Sending:
            appendLog("正在发送升级请求信息");
            break;
        case ProgressEvent::Sent:
            appendLog("发送升级请求信息成功");
            break;
        case ProgressEvent::EndingRequest:
        case ProgressEvent::HeadersReceived:
            appendLog("等待服务器响应");
            break;
        case ProgressEvent::LengthKnown:
            services_.setText(windows_.update, {}, "正在下载.......");
            // Without a length there is no percentage; the bar shows that work goes on.
            services_.setProgressBusy(windows_.update, update_window::kProgressBar,
                                      state.totalBytes == 0);
            break;
        case ProgressEvent::Progress:
            services_.setText(windows_.update, {}, "正在下载...");
            showProgress(state);
            break;
        case ProgressEvent::EndOfData:
            appendLog("新版本下载完成");
            services_.setProgressBusy(windows_.update, update_window::kProgressBar, false);
            services_.setProgressPosition(windows_.update, update_window::kProgressBar,
                                          progressMaximum_);
            break;
        case ProgressEvent::Finished:
            break;  // what it ended as comes as a package step
    }
}

void UpdateDownloadView::onPackage(PackageStep step) {
    switch (step) {
        case PackageStep::Cancelled:
        case PackageStep::Failed:
            services_.setProgressBusy(windows_.update, update_window::kProgressBar, false);
            appendLog(step == PackageStep::Cancelled
                          ? Text("下载异常被取消")
                          : Text("新版本下载错误,请联系作者 QQ:") + kAuthorContact);
            break;
        case PackageStep::Arrived:
            services_.setProgressBusy(windows_.update, update_window::kProgressBar, false);
            // The package is the updater's now: another download would write over it just as
            // it is checked or opened.
            services_.setDisabled(windows_.update, update_window::kUpgradeButton, true);
            break;
        case PackageStep::Refused:
            appendLog(Text("升级文件签名校验失败,已删除,请联系作者 QQ:") + kAuthorContact);
            services_.setDisabled(windows_.update, update_window::kUpgradeButton, false);
            break;
        case PackageStep::Genuine:
            handOff();
            break;
    }
}

void UpdateDownloadView::appendLog(const Text& text) {
    services_.editAppend(windows_.update, update_window::kLogEdit, text + "\r\n");
}

void UpdateDownloadView::showProgress(const DownloadState& state) {
    if (state.totalBytes <= 0) {
        services_.setProgressBusy(windows_.update, update_window::kProgressBar, true);
        return;
    }
    services_.setProgressPosition(windows_.update, update_window::kProgressBar,
                                  downloadPercent(state.receivedBytes, state.totalBytes));
}

// Runs on the download's worker: the program ends once the updater is on its way.
void UpdateDownloadView::handOff() {
    appendLog("下载成功,准备更新!");
    const Text updater = updaterPath();
    if (!writeUpdater(std::filesystem::path(gbkToUtf8(updater)), updaterImage())) {
        services_.setDisabled(windows_.update, update_window::kUpgradeButton,
                              false);  // to be tried again
        return;
    }
    services_.runProgram({updater, packagePath(), package_.signature, publicKey_});
    services_.destroyWindow(windows_.main);
}

}  // namespace tamrivo
