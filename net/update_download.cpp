#include "net/update_download.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <system_error>

#include "base/text_encoding.h"
#include "net/http_client.h"
#include "update_format/package_signature.h"
#include "update_format/update_format.h"

namespace tamrivo {
namespace {

constexpr char kPackageFileName[] = "up.tmp";
constexpr char kSeparator = static_cast<char>(std::filesystem::path::preferred_separator);

// One download's package: where it goes, what it must be, and whom it tells.
class PackageDownload {
public:
    PackageDownload(UpdatePackage package, Text publicKey, Text path, UpdateDownloadReport report)
        : package_(std::move(package)),
          publicKey_(std::move(publicKey)),
          path_(std::move(path)),
          report_(std::move(report)) {}

    void onDownloadEvent(ProgressEvent event, const DownloadState& state) const {
        if (event != ProgressEvent::Finished) {
            report_.progress(event, state);
        } else if (state.result == kDownloadSucceeded) {
            check();
        } else {
            giveUp(state);
        }
    }

private:
    void giveUp(const DownloadState& state) const {
        // Part of a package is of no use. Only a file this download made, and still holds, is
        // its to remove: another copy of the program may be writing one of its own there.
        if (state.stage >= DownloadStage::FileCreated) {
            remove();
        }
        report_.package(state.result == kDownloadCancelled ? PackageStep::Cancelled
                                                           : PackageStep::Failed);
    }

    // Only the package the publisher stated and signed is handed over; the updater checks the
    // signature again over what it unpacks.
    void check() const {
        report_.package(PackageStep::Arrived);
        if (genuine()) {
            report_.package(PackageStep::Genuine);
            return;
        }
        remove();
        report_.package(PackageStep::Refused);
    }

    bool genuine() const {
        const std::optional<Bytes> package =
            readWholeFile(std::filesystem::path(gbkToUtf8(path_)), package_.statement.size);
        return package && packageMatches(*package, package_.statement) &&
               signatureValid(*package, signatureFromHex(package_.signature), publicKey_);
    }

    void remove() const {
        std::error_code ignored;
        std::filesystem::remove(std::filesystem::path(gbkToUtf8(path_)), ignored);
    }

    UpdatePackage package_;
    Text publicKey_;
    Text path_;
    UpdateDownloadReport report_;
};

}  // namespace

DownloadLimits packageDownloadLimits(std::uint64_t packageBytes) {
    DownloadLimits limits;
    limits.maxBytes = static_cast<std::int64_t>(
        std::min<std::uint64_t>(packageBytes, static_cast<std::uint64_t>(kMaxPackageBytes)));
    limits.lowestSpeed = kLowestPackageSpeed;
    limits.totalTimeout = kPackageDownloadAllowance +
                          std::chrono::milliseconds(limits.maxBytes * 1000 / kLowestPackageSpeed);
    return limits;
}

Text updatePackagePath(const Text& programDirectory) {
    return programDirectory + kSeparator + kPackageFileName;
}

void downloadUpdatePackage(Downloader& downloader, const UpdatePackage& package,
                           const Text& publicKey, const Text& packagePath,
                           UpdateDownloadReport report, const DownloadLimits& limits) {
    // The callback owns the package's download, so it lives as long as the worker may report.
    auto download =
        std::make_shared<const PackageDownload>(package, publicKey, packagePath, std::move(report));
    DownloadParams params;
    params.url = package.url;
    params.limits = limits;
    params.userAgent = kDefaultUserAgent;  // presents itself as the page fetch does
    params.filePath = packagePath;
    params.callback = [download](std::int32_t, ProgressEvent event, const DownloadState& state) {
        download->onDownloadEvent(event, state);
    };
    downloader.start(params, true);
}

}  // namespace tamrivo
