#pragma once

#include <chrono>
#include <cstdint>
#include <functional>

#include "base/value_types.h"
#include "net/download_types.h"
#include "net/downloader.h"
#include "net/update_package.h"

namespace tamrivo {

// A package download slower than this, over a whole window, ends as failed.
inline constexpr std::int64_t kLowestPackageSpeed = kLowestDownloadSpeed;
// The whole download may take the time the package needs at the lowest speed, and this.
inline constexpr std::chrono::seconds kPackageDownloadAllowance{60};

// The bounds of downloading a package of the size the publisher states: the usual waits, the
// lowest speed, a whole duration sized from the package, and no byte more than it.
DownloadLimits packageDownloadLimits(std::uint64_t packageBytes);

// Where the package goes: up.tmp in the program's directory (GBK, no trailing separator).
Text updatePackagePath(const Text& programDirectory);

// What becomes of the package once its download is over, in this order: Cancelled or
// Failed, what was written of it gone; or Arrived, then Refused (deleted) or Genuine (ready
// for the updater).
enum class PackageStep { Cancelled, Failed, Arrived, Refused, Genuine };

// What an update download tells, on the download's worker.
struct UpdateDownloadReport {
    // The Downloader's events as they come, all but its last (Finished).
    std::function<void(ProgressEvent event, const DownloadState& state)> progress;
    std::function<void(PackageStep step)> package;
};

// Fetches the package into packagePath, replacing a download that runs (which then ends as
// cancelled), removes what a download that failed or was cancelled left of it, and finds it
// genuine only when it is the package the checked statement describes and carries its
// signature by the holder of publicKey (PEM). A refusal to start (a paused download) tells
// nothing.
void downloadUpdatePackage(Downloader& downloader, const UpdatePackage& package,
                           const Text& publicKey, const Text& packagePath,
                           UpdateDownloadReport report, const DownloadLimits& limits);

}  // namespace tamrivo
