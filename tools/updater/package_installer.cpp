#include "tools/updater/package_installer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <optional>
#include <set>
#include <string>
#include <system_error>

#include "base/replacement_file.h"
#include "tools/updater/install_plan.h"
#include "tools/updater/package_archive.h"
#include "update_format/install_journal.h"
#include "update_format/version_order.h"

namespace tamrivo {

namespace {

namespace fs = std::filesystem;
using Outcome = InstallReport::Outcome;

InstallReport failure(Outcome outcome, std::vector<std::string> names = {}) {
    InstallReport report;
    report.outcome = outcome;
    report.names = std::move(names);
    return report;
}

std::uint64_t freeBytes(const fs::path& folder) {
    struct statvfs status {};
    if (::statvfs(folder.c_str(), &status) != 0) {
        return 0;
    }
    return static_cast<std::uint64_t>(status.f_bavail) * status.f_frsize;
}

// The version the package names in its VERSION, which the plan places last; empty when it
// names none.
std::string packageVersion(const PackageArchive& archive, const InstallPlan& plan) {
    if (plan.steps.empty() || plan.steps.back().relative != kVersionFileName) {
        return {};
    }
    const std::optional<std::string> text =
        archive.read(plan.steps.back().entryIndex, kLongestVersion + 2);
    return text ? text->substr(0, text->find_first_of("\r\n")) : std::string();
}

// No going back: a genuine older release is refused like any other package. Only a folder
// that names no version of its own (lost, or garbled) has nothing to go back from.
bool newerThanFolder(const std::string& version, const fs::path& folder) {
    const std::string present = readVersion(folder);
    return !versionWellFormed(present) || versionNewer(version, present);
}

class Installer {
public:
    Installer(const PackageArchive& archive, const fs::path& folder,
              const BeforeChange& beforeChange)
        : archive_(archive), folder_(folder), work_(folder), beforeChange_(beforeChange) {}

    InstallReport run(const InstallPlan& plan) {
        if (!work_.create()) {
            return failure(Outcome::WriteFailed, {kUpdateWorkFolder});
        }
        std::optional<InstallReport> failed = stageAll(plan.steps);
        if (!failed && !work_.writeJournal(plan.steps)) {
            failed = failure(Outcome::WriteFailed, {kUpdateWorkFolder});
        }
        if (!failed) {
            failed = applyAll(plan.steps);
        }
        if (failed) {
            if (failed->outcome != Outcome::NotRestored) {
                work_.remove();  // else the backups stay for the next run to put back
            }
            return *failed;
        }
        work_.remove();  // the replaced files go only now
        return {};
    }

private:
    std::optional<InstallReport> stageAll(const std::vector<InstallStep>& steps) {
        for (const InstallStep& step : steps) {
            if (step.kind != InstallStep::Kind::PlaceFile) {
                continue;
            }
            switch (stage(step)) {
                case CopyResult::Copied:
                    break;
                case CopyResult::Damaged:
                    return failure(Outcome::Damaged, {step.entryName});
                case CopyResult::WriteFailed:
                    return failure(Outcome::WriteFailed, {step.entryName});
            }
        }
        return std::nullopt;
    }

    CopyResult stage(const InstallStep& step) {
        const fs::path target = work_.staged(step.relative);
        std::error_code error;
        fs::create_directories(target.parent_path(), error);
        const int descriptor =
            ::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (error || descriptor < 0) {
            return CopyResult::WriteFailed;
        }
        CopyResult result = archive_.copyTo(step.entryIndex, descriptor);
        if (result == CopyResult::Copied &&
            (::fchmod(descriptor, step.permissions) != 0 || ::fsync(descriptor) != 0)) {
            result = CopyResult::WriteFailed;
        }
        if (::close(descriptor) != 0 && result == CopyResult::Copied) {
            result = CopyResult::WriteFailed;
        }
        return result;
    }

    std::optional<InstallReport> applyAll(const std::vector<InstallStep>& steps) {
        std::set<fs::path> changedFolders;
        for (std::size_t done = 0; done < steps.size(); ++done) {
            const InstallStep& step = steps[done];
            changedFolders.insert((folder_ / step.relative).parent_path());
            if (!apply(step)) {
                return undoUpTo(steps, done, step);
            }
        }
        for (const fs::path& changed : changedFolders) {
            syncFolder(changed);
        }
        if (!work_.markCommitted()) {
            return undoUpTo(steps, steps.size() - 1, steps.back());
        }
        return std::nullopt;
    }

    // The file in place is never away: it gets a second name in the backup folder (a link
    // there is linked, never followed), then the new one is renamed over it in one step.
    bool apply(const InstallStep& step) {
        const fs::path target = folder_ / step.relative;
        if (step.kind == InstallStep::Kind::CreateFolder) {
            change();
            return ::mkdir(target.c_str(), 0755) == 0;
        }
        if (step.replaces) {
            const fs::path backup = work_.backedUp(step.relative);
            std::error_code error;
            fs::create_directories(backup.parent_path(), error);
            change();
            if (error || ::linkat(AT_FDCWD, target.c_str(), AT_FDCWD, backup.c_str(), 0) != 0) {
                return false;
            }
        }
        change();
        return ::rename(work_.staged(step.relative).c_str(), target.c_str()) == 0;
    }

    void change() const {
        if (beforeChange_) {
            beforeChange_();
        }
    }

    InstallReport undoUpTo(const std::vector<InstallStep>& steps, std::size_t last,
                           const InstallStep& failed) {
        const std::vector<InstallStep> taken(steps.begin(),
                                             steps.begin() + static_cast<std::ptrdiff_t>(last) + 1);
        std::vector<std::string> notRestored = work_.undo(taken);
        if (!notRestored.empty()) {
            return failure(Outcome::NotRestored, std::move(notRestored));
        }
        const std::string name =
            failed.entryName.empty() ? failed.relative.generic_string() : failed.entryName;
        return failure(Outcome::WriteFailed, {name});
    }

    const PackageArchive& archive_;
    const fs::path& folder_;
    InstallWork work_;
    const BeforeChange& beforeChange_;
};

}  // namespace

InstallReport installPackage(std::span<const std::uint8_t> package, const fs::path& folder,
                             const BeforeChange& beforeChange) {
    const InstallLock lock(folder);
    if (std::vector<std::string> notRestored = InstallWork(folder).recover();
        !notRestored.empty()) {
        return failure(Outcome::NotRestored, std::move(notRestored));
    }
    const std::optional<PackageArchive> archive = PackageArchive::open(package);
    if (!archive) {
        return failure(Outcome::Unreadable);
    }
    const InstallPlan plan = planInstall(*archive, folder);
    if (!plan.refused.empty()) {
        return failure(Outcome::Refused, plan.refused);
    }
    if (const std::string version = packageVersion(*archive, plan);
        !newerThanFolder(version, folder)) {
        return failure(Outcome::NotNewer, {version, readVersion(folder)});
    }
    const std::uint64_t available = freeBytes(folder);
    if (plan.bytes > available) {
        InstallReport report = failure(Outcome::NoSpace);
        report.needed = plan.bytes;
        report.available = available;
        return report;
    }
    return Installer(*archive, folder, beforeChange).run(plan);
}

}  // namespace tamrivo
