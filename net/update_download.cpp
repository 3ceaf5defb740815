#include "net/update_download.h"

#include "net/http_client.h"

#include <filesystem>
#include <memory>
#include <system_error>

#include "net/download_percent.h"
#include "net/package_signature.h"
#include "net/updater_image.h"
#include "ui/text_encoding.h"

namespace tamrivo {

namespace {

constexpr char kAuthorContact[] = "800018888";
constexpr char kPackageFileName[] = "up.tmp";
constexpr char kSeparator = static_cast<char>(std::filesystem::path::preferred_separator);

constexpr char kLogEdit[] = "编辑框1";
constexpr char kProgressBar[] = "进度条_进度";
constexpr char kUpgradeButton[] = "按钮_升级";

// The written updater must be startable on systems that keep an execute permission.
bool makeExecutable(const Text& path) {
    using std::filesystem::perms;
    std::error_code error;
    std::filesystem::permissions(std::filesystem::path(gbkToUtf8(path)),
                                 perms::owner_exec | perms::group_exec | perms::others_exec,
                                 std::filesystem::perm_options::add, error);
    return !error;
}

}  // namespace

void startUpdateDownload(WindowServices& services, Downloader& downloader, UpdateWindows windows,
                         const UpdatePackage& package, const Text& publicKey,
                         const DownloadLimits& limits) {
    // The callback owns the view, so it lives as long as the download may still report.
    auto view =
        std::make_shared<UpdateDownloadView>(services, windows, package.signature, publicKey);
    DownloadParams params;
    params.url = package.url;
    params.limits = limits;
    params.userAgent = kDefaultUserAgent;  // presents itself as the page fetch does
    params.filePath = view->packagePath();
    params.callback = [view](std::int32_t userData, ProgressEvent event,
                             const DownloadState& state) {
        view->onDownloadEvent(userData, event, state);
    };
    downloader.start(params, true);  // a refusal (a paused download) shows nothing
}

UpdateDownloadView::UpdateDownloadView(WindowServices& services, UpdateWindows windows,
                                       Text signature, Text publicKey)
    : services_(services),
      windows_(windows),
      signature_(std::move(signature)),
      publicKey_(std::move(publicKey)),
      directory_(services.programDirectory()),
      progressMaximum_(services.progressMaximum(windows.update, kProgressBar)) {}

Text UpdateDownloadView::packagePath() const {
    return directory_ + kSeparator + kPackageFileName;
}

Text UpdateDownloadView::updaterPath() const {
    return directory_ + kSeparator + kUpdaterFileName;
}

void UpdateDownloadView::onDownloadEvent(std::int32_t, ProgressEvent event,
                                         const DownloadState& state) {
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
            services_.setProgressBusy(windows_.update, kProgressBar, state.totalBytes == 0);
            break;
        case ProgressEvent::Progress:
            services_.setText(windows_.update, {}, "正在下载...");
            showProgress(state);
            break;
        case ProgressEvent::EndOfData:
            appendLog("新版本下载完成");
            services_.setProgressBusy(windows_.update, kProgressBar, false);
            services_.setProgressPosition(windows_.update, kProgressBar, progressMaximum_);
            break;
        case ProgressEvent::Finished:
            showEnd(state.result);
            break;
    }
}

void UpdateDownloadView::appendLog(const Text& text) {
    services_.editAppend(windows_.update, kLogEdit, text + "\r\n");
}

void UpdateDownloadView::showProgress(const DownloadState& state) {
    if (state.totalBytes <= 0) {
        services_.setProgressBusy(windows_.update, kProgressBar, true);
        return;
    }
    services_.setProgressPosition(windows_.update, kProgressBar,
                                  downloadPercent(state.receivedBytes, state.totalBytes));
}

void UpdateDownloadView::showEnd(std::int32_t result) {
    services_.setProgressBusy(windows_.update, kProgressBar, false);
    if (result != kDownloadSucceeded) {
        appendLog(result == kDownloadCancelled
                      ? Text("下载异常被取消")
                      : Text("新版本下载错误,请联系作者 QQ:") + kAuthorContact);
        return;
    }
    // The package is the updater's now: another download would write over it just as it is
    // checked or opened.
    services_.setDisabled(windows_.update, kUpgradeButton, true);
    if (packageSigned()) {
        handOff();
    } else {
        refusePackage();
    }
}

// Only what the publisher signed is unpacked over the program.
bool UpdateDownloadView::packageSigned() const {
    return packageSignatureValid(packagePath(), signatureFromHex(signature_), publicKey_,
                                 kMaxPackageBytes);
}

void UpdateDownloadView::refusePackage() {
    std::error_code ignored;
    std::filesystem::remove(std::filesystem::path(gbkToUtf8(packagePath())), ignored);
    appendLog(Text("升级文件签名校验失败,已删除,请联系作者 QQ:") + kAuthorContact);
    services_.setDisabled(windows_.update, kUpgradeButton, false);
}

// Runs on the download's worker: the program ends once the updater is on its way.
void UpdateDownloadView::handOff() {
    appendLog("下载成功,准备更新!");
    const auto image = updaterImage();
    const Bytes blocks[] = {Bytes(image.begin(), image.end())};
    const Text updater = updaterPath();
    if (!services_.writeFile(updater, blocks) || !makeExecutable(updater)) {
        services_.setDisabled(windows_.update, kUpgradeButton, false);  // to be tried again
        return;
    }
    services_.runProgram({updater, packagePath()});
    services_.destroyWindow(windows_.main);
}

}  // namespace tamrivo
